// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/exchange/ModeExchange.h"

#include <clocale>

#include <QApplication>
#include <QDir>
#include <QSettings>

#include "document/CDuxelDoc.h"
#include "document/TextDriverSetup.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/exchange/ExchangeFilePicker.h"

namespace {

// Our own driver is offered like any installed one: registered in the user's driver list
// when it is missing there and in the system's.
void RegisterTextDriver() {
  std::string error;
  if (EnsureTextDriverRegistered(FindTextDriverLibrary(ProgramFolder()), UserDriverListPath(),
                                 error) == DriverRegistration::Failed)
    qWarning("Duxel text driver: %s", error.c_str());
}

ModeExchangeResult Exchange(QWidget* parent, CDuxelDoc& doc, int mode, ExchangeSettings& settings,
                            bool forExport) {
  RegisterTextDriver();
  QtExchangeUi ui(parent, doc, settings);
  OdbcExchange exchange(settings, ui);
  ui.setExchange(&exchange);
  char decimal = '.', monetary = '.';
  SystemDecimalSeparators(decimal, monetary);
  exchange.SetDecimalSeparators(decimal, monetary);

  ModeExchangeResult out;
  out.result = forExport ? exchange.Export(doc, mode) : exchange.Import(doc, mode);
  if (!out.result.ok()) return out;
  const QString file = QDir::toNativeSeparators(QFile::decodeName(out.result.path.c_str()));
  if (forExport) {
    out.statusText = UiText(IDS_EXPORT_STATUS).arg(file).arg(out.result.records);
  } else {
    out.lastInserted = ui.lastInserted();
    out.statusText =
        UiText(IDS_IMPORT_STATUS).arg(file).arg(out.result.records).arg(out.result.duplicates);
  }
  return out;
}

}  // namespace

ModeExchangeResult ExportModeRecords(QWidget* parent, CDuxelDoc& doc, int mode,
                                     ExchangeSettings& settings) {
  return Exchange(parent, doc, mode, settings, true);
}

ModeExchangeResult ImportModeRecords(QWidget* parent, CDuxelDoc& doc, int mode,
                                     ExchangeSettings& settings) {
  return Exchange(parent, doc, mode, settings, false);
}

void SystemDecimalSeparators(char& decimal, char& monetary) {
  // The application set the C library's locale from the environment when it started.
  const lconv* conv = std::localeconv();
  decimal = conv && conv->decimal_point && *conv->decimal_point ? *conv->decimal_point : '.';
  monetary =
      conv && conv->mon_decimal_point && *conv->mon_decimal_point ? *conv->mon_decimal_point : '.';
  QSettings profile(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
  const auto override = [&profile](const char* key, char& value) {
    const QString text = profile.value(QStringLiteral("intl/") + QLatin1String(key)).toString();
    if (text.size() == 1 && text[0].unicode() < 0x80) value = char(text[0].unicode());
  };
  override("sDecimal", decimal);
  override("sMonDecimalSep", monetary);
}

QtExchangeUi::~QtExchangeUi() {
  if (m_waiting) QApplication::restoreOverrideCursor();
}

void QtExchangeUi::ShowMessage(int stringId, MessageIcon icon) {
  // A message box at the end shows the normal pointer, not the wait cursor.
  if (m_waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  AskStringMessage(m_parent, stringId, BoxIcon(icon));
  if (m_waiting) QApplication::restoreOverrideCursor();
}

bool QtExchangeUi::AskOkCancel(int stringId, MessageIcon icon) {
  return AskStringMessage(m_parent, stringId, BoxIcon(icon),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtExchangeUi::ChooseFile(ExchangeFileDialog& dialog) {
  if (!m_exchange) return false;
  ExchangeFilePicker picker(dialog, m_settings, m_doc, *m_exchange, m_parent);
  return picker.exec() == QDialog::Accepted && !dialog.path.empty();
}

void QtExchangeUi::SetWaitCursor(bool on) {
  if (on == m_waiting) return;
  m_waiting = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
