// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewHooks.h"

#include <QComboBox>

#include "link/CCasioModel.h"
#include "records/CcExpense.h"
#include "views/CDuxelView.h"
#include "views/ViewHost.h"
#include "views/expenses/ExpenseTotalsDialog.h"
#include "views/print/PrintModeRecords.h"

namespace {
QStringList ComboEntries(const CDuxelView& view, const char* name) {
  QStringList entries;
  if (const auto* combo = view.findChild<QComboBox*>(QLatin1String(name)))
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  return entries;
}
}  // namespace

void PrintModeRecords(CDuxelView& view, bool preview) {
  const int mode = view.mode();
  // Records cut their fields at the width the diary shows for the mode.
  int width = 16;
  if (const CCasioModel* diary = view.host().diaryModel())
    width = diary->HasMode(mode) ? diary->m_modeWidths[std::size_t(mode)] : diary->m_screenWidth;
  PrintModeRecords(&view, *view.document(), mode, view.host().settings(), preview, width);
  if (preview && view.window() && view.window() != &view) view.window()->showMaximized();
}

void ShowExpenseTotals(CDuxelView& view) {
  ShowExpenseTotals(&view, *view.list(), dynamic_cast<const CcExpense*>(view.currentRecord()),
                    view.host().settings(), view.host().fonts(), ComboEntries(view, "combo339"),
                    ComboEntries(view, "combo338"));
}
