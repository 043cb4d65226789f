// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from a record view: the preview of the print command shows the pages the print
// job lays out, with the program's "Printing" settings.
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <memory>

#include "FakeViewHost.h"
#include "ModalAnswerer.h"
#include "document/CDuxelDoc.h"
#include "link/ReceiveBuffer.h"
#include "records/CcTelefon.h"
#include "records/Cp1250.h"
#include "settings/AppSettings.h"
#include "viewmodel/FieldCaptions.h"
#include "viewmodel/ViewCommands.h"
#include "views/CDuxelView.h"
#include "views/FontCache.h"
#include "views/ViewFactory.h"
#include "views/ViewHost.h"
#include "views/print/ModePrintJob.h"

namespace {

using FakeHost = FakeViewHost;

void AddTel(CDuxelDoc& doc, const char* name, const char* number, const char* address,
            bool marked = false) {
  auto* t = new CcTelefon;
  t->m_fields[0] = Cp1250FromUtf8(name);
  t->m_fields[1] = number;
  t->m_fields[2] = Cp1250FromUtf8(address);
  t->m_mark = marked ? 1 : 0;
  doc.GetList(kTelephone)->InsertSorted(t);
}

}  // namespace

class TestPrinting : public QObject {
  Q_OBJECT

 private slots:
  void previewFromTheTelephoneView() {
    CDuxelDoc doc;
    for (int i = 0; i < 30; ++i)
      AddTel(doc, QStringLiteral("Dvořáková %1").arg(i, 2, 10, QLatin1Char('0')).toUtf8().constData(),
             "377 123 987", "Plzeň\rKlatovská 5", i == 3);
    AddTel(doc, "Novák Jan", "+420 602 123 456", "Praha 4, Na Pankráci 12");
    FakeHost host;
    host.settings().printing.font = {"DejaVu Sans", 1, 12};
    std::unique_ptr<CDuxelView> view(CreateModeView(&doc, kTelephone, host));
    view->resize(700, 400);
    view->show();

    // The job over the printer the preview uses predicts the pages it must show.
    QPrinter printer(QPrinter::HighResolution);
    ModePrintJob job(*doc.GetList(kTelephone), FieldCaptions(kTelephone, host.settings()),
                     host.settings().printing, 16);
    job.Begin(printer);
    QVERIFY(job.PageCount() >= 2);

    int shownPages = -1;
    ModalAnswerer answerer;
    answerer.then([&](QWidget* w) {
      QApplication::processEvents();
      if (auto* preview = w->findChild<QPrintPreviewWidget*>()) {
        shownPages = preview->pageCount();
        preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
      }
      QApplication::processEvents();
      const QByteArray folder = qgetenv("DUXEL_SCREENSHOTS");
      if (!folder.isEmpty()) w->grab().save(QString::fromLocal8Bit(folder) + "/print-preview-telephone.png");
      static_cast<QDialog*>(w)->reject();
    });
    view->runCommand(ViewCommand::kPrintPreview);
    QCOMPARE(answerer.seen, QStringList{QStringLiteral("dialog|Telefony")});
    QCOMPARE(shownPages, job.PageCount());

    // Only the marked entry: one page.
    host.settings().printing.filter = 1;
    ModePrintJob marked(*doc.GetList(kTelephone), FieldCaptions(kTelephone, host.settings()),
                        host.settings().printing, 16);
    marked.Begin(printer);
    QCOMPARE(marked.PageCount(), 1);
    QCOMPARE(marked.ItemLines(), (std::vector<int>{4, 0}));
  }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
