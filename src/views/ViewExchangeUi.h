// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/OdbcExchange.h"

class CDuxelView;

// What the ODBC import and export ask of the user, for a record view: message boxes, the wait
// cursor and the file chooser. The chooser here is a plain file dialog with the file types of
// the installed drivers; the exchange dialogs with the mapping choice replace ChooseFile.
class ViewExchangeUi : public ExchangeUi {
 public:
  explicit ViewExchangeUi(CDuxelView& view) : m_view(view) {}
  ~ViewExchangeUi() override;

  void ShowMessage(int stringId, MessageIcon icon) override;
  bool AskOkCancel(int stringId, MessageIcon icon) override;
  bool ChooseFile(ExchangeFileDialog& dialog) override;
  void SetWaitCursor(bool on) override;
  void RecordInserted(CCasioPol& record) override { m_last = &record; }
  void ImportFinished(CCasioPol& last) override { m_last = &last; }

  // The last record an import inserted, or null.
  CCasioPol* lastInserted() const { return m_last; }

 private:
  CDuxelView& m_view;
  CCasioPol* m_last = nullptr;
  bool m_wait = false;
};
