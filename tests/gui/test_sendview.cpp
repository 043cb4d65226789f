// SPDX-License-Identifier: GPL-3.0-or-later
// A send started from a Telephone view through the main frame's link to casio-sim on a
// pseudo-terminal; closing the window mid-send asks message 32, Cancel keeps the document
// open and sending, and the diary gets every record.

#include <memory>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "ModalAnswerer.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "viewmodel/ViewCommands.h"
#include "views/CDuxelView.h"

namespace {
// Runs the event loop until `done` or `ms` milliseconds, waking for every event.
template <typename Pred>
void WaitUntil(Pred done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}
}  // namespace

class SendViewTest : public QObject {
  Q_OBJECT

 private slots:
  void sendAndCloseMidSend() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    const QString link = dir.filePath(QStringLiteral("diary"));
    const QString got = dir.filePath(QStringLiteral("got.dux"));
    {
      QSettings profile(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
      profile.clear();
      profile.setValue(QStringLiteral("Casio/Port"), QStringLiteral("COM1"));
      profile.setValue(QStringLiteral("Casio/Device1"), link);
      profile.setValue(QStringLiteral("Casio/Delay"), 1);
      profile.setValue(QStringLiteral("Casio/Autoreceive"), QStringLiteral("no"));
      profile.setValue(QStringLiteral("Duxel/RememberWindows"), QStringLiteral("no"));
    }
    QProcess sim;
    sim.start(QStringLiteral(CASIO_SIM),
              {QStringLiteral("--pty"), link, QStringLiteral("--delay"), QStringLiteral("1"),
               QStringLiteral("accept"), QStringLiteral("--out"), got, QStringLiteral("--timeout"),
               QStringLiteral("20")});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(link), 5000);

    auto frame = std::make_unique<CMainFrame>();
    frame->show();
    frame->startUp({});
    CDuxelDoc* doc = frame->activeDocument();
    QVERIFY(doc);
    constexpr int kEntries = 20;
    for (int i = 0; i < kEntries; ++i) {
      auto* t = new CcTelefon;
      t->m_fields[0] = Format("Novak %02d", i);
      t->m_fields[1] = Format("+420 602 000 %03d", i);
      doc->GetList(kTelephone)->InsertSorted(t);
    }
    QMdiSubWindow* window = frame->openModeWindow(doc, kTelephone);
    auto* view = qobject_cast<CDuxelView*>(window->widget());
    QVERIFY(view);
    view->refresh();

    ModalAnswerer answers;
    answers.then([](QWidget* d) {
      for (QCheckBox* box : d->findChildren<QCheckBox*>())
        if (box->objectName().startsWith(QStringLiteral("mode"))) box->setChecked(false);
      d->findChild<QCheckBox*>(QStringLiteral("mode11"))->click();
      static_cast<QDialog*>(d)->accept();
    });
    QVERIFY(view->commandState(ViewCommand::kSend, nullptr));
    view->runCommand(ViewCommand::kSend);
    QCOMPARE(frame->sendingDocument(), doc);
    // QTest::qWait sleeps between its event turns, which would stretch every character delay.
    WaitUntil([] { return false; }, 300);

    // Mid-send: closing asks message 32; Cancel keeps the window and the send.
    answers.then(ModalAnswerer::press(QMessageBox::Cancel));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen.last(),
             QStringLiteral("question|Aktivní dokument právě posílá data do\ndiáře Casio, "
                            "přesto chcete pokračovat?"));
    QVERIFY(frame->mdiArea()->subWindowList().contains(window));
    QCOMPARE(frame->sendingDocument(), doc);

    WaitUntil([&] { return frame->sendingDocument() == nullptr; }, 30000);
    QCOMPARE(frame->sendingDocument(), nullptr);
    QVERIFY(!doc->IsSending());
    QVERIFY(sim.waitForFinished(20000));
    CDuxelDoc received;
    QVERIFY(received.LoadFile(QFile::encodeName(got).toStdString(), nullptr).ok());
    QCOMPARE(int(received.GetList(kTelephone)->GetCount()), kEntries);
    QCOMPARE(static_cast<CcTelefon*>(received.GetList(kTelephone)->GetHead())->m_fields[0],
             std::string("Novak 00"));

    doc->SetModifiedFlag(false);
    frame.reset();
  }
};

QTEST_MAIN(SendViewTest)
#include "test_sendview.moc"
