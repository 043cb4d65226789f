// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewFactory.h"

#include "views/CDuxelView.h"
#include "views/CFreefileView.h"
#include "views/CMemoView.h"
#include "views/CScheduleView.h"
#include "views/sheet/CSpreadsheetView.h"

CDuxelView* CreateModeView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent) {
  CDuxelView* view = nullptr;
  switch (mode) {
    case 0:
      view = new CMemoView(doc, host, parent);
      break;
    case 1:
      view = new CTelView(doc, host, parent);
      break;
    case 2:
      view = new CScheduleView(doc, host, parent);
      break;
    case 3:
      view = new CBuscardView(doc, host, parent);
      break;
    case 4:
      view = new CTodoView(doc, host, parent);
      break;
    case 5:
      view = new CFreefileView(doc, host, parent);
      break;
    case 6:
      view = new CRemin1View(doc, host, parent);
      break;
    case 7:
      view = new CRemin2View(doc, host, parent);
      break;
    case 8:
      view = new CExpenseView(doc, host, parent);
      break;
    case 9:
      view = new CSpreadsheetView(doc, host, parent);
      break;
    default:
      view = new CDuxelView(doc, mode, host, parent);
      break;
  }
  view->initialUpdate();
  return view;
}
