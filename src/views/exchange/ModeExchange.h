// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "document/OdbcExchange.h"

class CCasioPol;
class CDuxelDoc;

// What a view needs after an export or import of its mode.
struct ModeExchangeResult {
  ExchangeResult result;  // status, message shown, file, counts
  // Import: the last record inserted, which the view selects in its list and shows (the
  // document's list holds it); null when nothing was inserted.
  CCasioPol* lastInserted = nullptr;
  // For the status bar: how many records went to which file, or how many an import added and
  // how many were already there. Empty when the exchange did not run to its end.
  QString statusText;
};

// "Exportuj data…" (32785) of a mode view: the file dialog with the mappings, then the
// export with the wait cursor; a failure is shown (stop icon) before this returns. Mode 9
// writes the first marked worksheet (message 318 when none is marked) and clears its mark.
// The text driver is registered for the user first when it is missing.
ModeExchangeResult ExportModeRecords(QWidget* parent, CDuxelDoc& doc, int mode,
                                     ExchangeSettings& settings);
// "Importuj data…" (32784): the same dialog, then the rows of the file added to the mode's
// list in sorted place. The document is marked modified when a record was added; the view
// refreshes its list and selects `lastInserted`.
ModeExchangeResult ImportModeRecords(QWidget* parent, CDuxelDoc& doc, int mode,
                                     ExchangeSettings& settings);

// The system's decimal separators for the decimal-comma question: the locale's decimal point
// and monetary decimal point (localeconv), overridden by "sDecimal" and "sMonDecimalSep" of
// the profile's "intl" section.
void SystemDecimalSeparators(char& decimal, char& monetary);

// The exchange's questions and messages as message boxes and its file dialog as
// ExchangeFilePicker, over `parent`.
class QtExchangeUi : public ExchangeUi {
 public:
  QtExchangeUi(QWidget* parent, CDuxelDoc& doc, ExchangeSettings& settings)
      : m_parent(parent), m_doc(doc), m_settings(settings) {}
  ~QtExchangeUi() override;

  // The exchange whose driver reads an import file's columns for the mapping editor.
  void setExchange(OdbcExchange* exchange) { m_exchange = exchange; }

  void ShowMessage(int stringId, MessageIcon icon) override;
  bool AskOkCancel(int stringId, MessageIcon icon) override;
  bool ChooseFile(ExchangeFileDialog& dialog) override;
  void SetWaitCursor(bool on) override;
  void RecordInserted(CCasioPol& record) override { m_last = &record; }
  void ImportFinished(CCasioPol& last) override { m_last = &last; }

  CCasioPol* lastInserted() const { return m_last; }

 private:
  QPointer<QWidget> m_parent;
  CDuxelDoc& m_doc;
  ExchangeSettings& m_settings;
  OdbcExchange* m_exchange = nullptr;
  CCasioPol* m_last = nullptr;
  bool m_waiting = false;
};
