// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/print/PrintModeRecords.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "document/CDuxelDoc.h"
#include "viewmodel/FieldCaptions.h"
#include "views/GuiText.h"
#include "views/print/ModePrintJob.h"

bool PrintModeRecords(QWidget* parent, CDuxelDoc& doc, int mode, AppSettings& settings,
                      bool preview, int displayWidth) {
  if (mode < 0 || mode >= kModeCount) return false;
  ModePrintJob job(*doc.GetList(mode), FieldCaptions(mode, settings), settings.printing,
                   displayWidth);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(ModeName(mode));

  if (preview) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(ModeName(mode));
    bool printed = false;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* target) { printed = job.Print(*target) || printed; });
    dialog.resize(900, 700);
    dialog.exec();
    return printed;
  }

  // The page count for the dialog's range comes from the printer as it is set up now.
  job.Begin(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, std::max(1, job.PageCount()));
  if (dialog.exec() != QDialog::Accepted) return false;
  const bool range = printer.printRange() == QPrinter::PageRange;
  return job.Print(printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}
