// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/interchange/InterchangeMenu.h"

#include <QFileInfo>

#include "document/CDuxelDoc.h"
#include "interchange/Interchange.h"
#include "records/CCasioList.h"
#include "views/FileChooser.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/ViewHost.h"

namespace {
const QString kVCardFilter = QStringLiteral("vCard (*.vcf *.vcard)|*.vcf;*.vcard|Všechny soubory (*)|*||");
const QString kCalendarFilter =
    QStringLiteral("iCalendar (*.ics *.ical)|*.ics;*.ical|Všechny soubory (*)|*||");

bool isVCard(int id) { return id == kCmdExportVCard || id == kCmdImportVCard; }

QString chooseFile(QWidget* parent, bool save, bool vcard) {
  const QString filter = vcard ? kVCardFilter : kCalendarFilter;
  const QString title = QString::fromUtf8(save ? "Exportovat do %1" : "Importovat z %1")
                            .arg(vcard ? QStringLiteral("vCard") : QStringLiteral("iCalendar"));
  if (!save) return ChooseOpenFile(parent, title, filter);
  return ChooseSaveFile(parent, title, filter, QString(),
                        vcard ? QStringLiteral("vcf") : QStringLiteral("ics"));
}
}  // namespace

bool InterchangeCommandEnabled(int id, const CDuxelDoc& doc, int mode) {
  const bool carries = isVCard(id) ? VCardCarries(mode) : CalendarCarries(mode);
  if (!carries) return false;
  if (id == kCmdExportVCard || id == kCmdExportCalendar) {
    return !const_cast<CDuxelDoc&>(doc).GetList(mode)->IsEmpty();
  }
  return true;
}

bool RunInterchangeCommand(int id, QWidget* parent, CDuxelDoc& doc, int mode, ViewHost& host) {
  if (!InterchangeCommandEnabled(id, doc, mode)) return false;
  const bool vcard = isVCard(id);
  const bool save = id == kCmdExportVCard || id == kCmdExportCalendar;
  const QString path = chooseFile(parent, save, vcard);
  if (path.isEmpty()) return false;
  const std::string file = CorePath(path);
  const QString name = QFileInfo(path).fileName();

  if (save) {
    InterchangeExportOptions options;
    options.modes = {mode};
    const ExportSummary summary = vcard ? ExportVCardFile(doc, file, options)
                                        : ExportCalendarFile(doc, file, options);
    if (!summary.ok) {
      ShowMessage(parent, QMessageBox::Critical, UiText(IDS_WRITE_FAILED),
                  QString::fromStdString(summary.error));
      return false;
    }
    QString text = QString::fromUtf8("Do souboru %1 exportováno záznamů: %2").arg(name).arg(summary.records);
    if (summary.skipped > 0) {
      text += QString::fromUtf8(", vynecháno: %1").arg(summary.skipped);
    }
    host.showStatus(text);
    return false;
  }

  const ImportSummary summary =
      vcard ? ImportVCardFile(doc, file, mode) : ImportCalendarFile(doc, file);
  const QString status = QString::fromStdString(summary.StatusText());
  if (!summary.ok) {
    ShowMessage(parent, QMessageBox::Critical, status);
    return false;
  }
  host.showStatus(status);
  if (summary.added > 0) host.documentEdited(&doc, nullptr);
  return summary.added > 0;
}
