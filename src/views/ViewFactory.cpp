// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewFactory.h"

#include "views/CDuxelView.h"

CDuxelView* CreateModeView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent) {
  return new CDuxelView(doc, mode, host, parent);
}
