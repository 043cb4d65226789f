// SPDX-License-Identifier: GPL-3.0-or-later
// The application shell as the user meets it: start-up with an empty and with a remembered
// profile, the mode commands, the toolbar sets, a reception from the diary simulator into
// the buffer window, a port that vanishes mid-reception, and the options sheet's scopes.

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "app/BufferWindow.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/OptionsSheet.h"
#include "document/CDuxelDoc.h"
#include "link/ReceiveBuffer.h"
#include "records/CCasioList.h"
#include "records/Cp1250.h"
#include "views/CDuxelView.h"
#include "views/Messages.h"

namespace {

QStringList windowTitles(CMainFrame& frame) {
  QStringList titles;
  for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
    QString title = w->windowTitle();
    titles << title.remove(QStringLiteral("[*]"));
  }
  return titles;
}

QStringList toolbarIds(CMainFrame& frame) {
  QStringList ids;
  for (QAction* a : frame.toolBar()->actions())
    ids << (a->isSeparator() ? QStringLiteral("|") : a->objectName().mid(6));
  return ids;
}

// A diary's worth of telephone entries in the simulator's JSON.
QByteArray TelephoneJson(int count) {
  QJsonArray entries;
  for (int i = 0; i < count; ++i) {
    entries.append(QJsonObject{
        {"mark", 0},
        {"fields", QJsonArray{QStringLiteral("Novák %1").arg(i, 3, 10, QLatin1Char('0')),
                              QStringLiteral("+420 602 %1").arg(100000 + i), "Praha", "", "", "",
                              "", "", ""}}});
  }
  QJsonObject modes;
  for (const char* mode : {"Memo", "Telephone", "Scheduler", "BusinessCards", "ToDo", "FreeFile",
                           "ReminderOne", "ReminderTwo", "Expenses", "SpreadSheet"})
    modes[mode] = QJsonArray();
  modes["Telephone"] = entries;
  return QJsonDocument(QJsonObject{{"modes", modes}}).toJson();
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CMainFrame> m_frame;
  std::unique_ptr<QProcess> m_sim;
  QString m_link;

  static QSettings profile() {
    return QSettings(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
  }

  // A frame started as the program starts; the port named in the profile is missing unless
  // a test set one, and its message is answered.
  void start() {
    QSettings p(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
    if (!p.contains(QStringLiteral("Casio/Device1")))
      p.setValue(QStringLiteral("Casio/Device1"), m_dir->filePath(QStringLiteral("no-such-port")));
    p.sync();
    MessageTestHook::takeShown();
    m_frame = std::make_unique<CMainFrame>();
    if (!QFile::exists(p.value(QStringLiteral("Casio/Device1")).toString()))
      MessageTestHook::setNextAnswer(QMessageBox::Ok);
    m_frame->startUp({});
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
  }

  // casio-sim transmitting `json` on a pseudo-terminal that the profile names as COM1.
  void startSimulator(const QByteArray& json, int delayMs) {
    const QString input = m_dir->filePath(QStringLiteral("diary.json"));
    QFile file(input);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    m_link = m_dir->filePath(QStringLiteral("diary-pty"));
    m_sim = std::make_unique<QProcess>();
    m_sim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sim->start(QStringLiteral(CASIO_SIM),
                 {"--pty", m_link, "--delay", QString::number(delayMs), "transmit", input});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_link), 5000);
    QSettings p = profile();
    p.setValue(QStringLiteral("Casio/Device1"), m_link);
    p.setValue(QStringLiteral("Casio/Delay"), 1);
    p.setValue(QStringLiteral("Casio/Baud"), 9600);
    p.setValue(QStringLiteral("Duxel/AutoOpenBuffer"), QStringLiteral("yes"));
    p.sync();
  }

 private slots:
  void init() {
    profile().clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
  }

  void cleanup() {
    if (m_frame)
      for (CDuxelDoc* doc : m_frame->documentManager()->documents()) doc->SetModifiedFlag(false);
    m_frame.reset();
    if (m_sim) {
      m_sim->kill();
      m_sim->waitForFinished(3000);
      m_sim.reset();
    }
    m_dir.reset();
  }

  void emptyProfileStartsWithoutDocument() {
    start();
    // Nothing remembered: no document, the main window as it is, the reduced toolbar; the
    // missing port was reported and receiving is off.
    QCOMPARE(m_frame->documentManager()->documents().size(), std::size_t(0));
    QVERIFY(m_frame->isVisible());
    QVERIFY(!m_frame->isMaximized());
    QCOMPARE(toolbarIds(*m_frame),
             (QStringList{"57600", "57601", "|", "32777", "|", "57664", "57669"}));
    const QStringList shown = MessageTestHook::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral(
                 "Nejde otevřít sériové rozhraní.\nZkuste nastavit nové přenosové parametry.")),
             qPrintable(shown[0]));
    QVERIFY(!m_frame->linkEngine().receiving());
    QCOMPARE(m_frame->linkPane()->text(), QStringLiteral("Komunikace vypnuta"));
    QVERIFY(!m_frame->action(32777)->isEnabled());
    // The link pane is wide enough for the longest count.
    // "SaveOnExit" off: closing writes only that key.
    m_frame->action(32807)->trigger();
    QVERIFY(!m_frame->action(32807)->isChecked());
    QVERIFY(m_frame->close());
    QSettings written = profile();
    QCOMPARE(written.value(QStringLiteral("Duxel/SaveOnExit")).toString(), QStringLiteral("no"));
    QVERIFY(!written.contains(QStringLiteral("Casio/Baud")));
    QVERIFY(m_frame->linkPane()->minimumWidth() >
            m_frame->linkPane()->fontMetrics().horizontalAdvance(
                QStringLiteral("Přijato: 0000 / 000")));
  }

  void rememberedLayoutIsRestored() {
    QSettings p = profile();
    // A diary type without the Scheduler.
    p.setValue(QStringLiteral("Model/SF-3000"),
               QStringLiteral("16,1200,16,16,0,16,16,16,16,16,16,16"));
    p.setValue(QStringLiteral("Casio/Type"), QStringLiteral("SF-3000"));
    p.setValue(QStringLiteral("Telephone/Window"), QStringLiteral("maximized"));
    p.setValue(QStringLiteral("Memo/Window"), QStringLiteral("20,30,320,230"));
    p.setValue(QStringLiteral("Scheduler/Window"), QStringLiteral("maximized"));
    p.setValue(QStringLiteral("ToDo/Window"), QStringLiteral("no"));
    p.setValue(QStringLiteral("Expenses/Window"), QStringLiteral("9000,9000,9300,9200"));
    p.sync();
    start();
    QCOMPARE(m_frame->documentManager()->documents().size(), std::size_t(1));
    // Memo first (the first remembered mode), then Telephone; no Scheduler. Expenses is
    // opened, but its rectangle lies off every screen, so it keeps its own place.
    QCOMPARE(
        windowTitles(*m_frame),
        (QStringList{"Bezejmenný1 - Poznámky", "Bezejmenný1 - Telefony", "Bezejmenný1 - Výdaje"}));
    QMdiSubWindow* memo = m_frame->mdiArea()->subWindowList().at(0);
    QMdiSubWindow* telephone = m_frame->mdiArea()->subWindowList().at(1);
    QMdiSubWindow* expenses = m_frame->mdiArea()->subWindowList().at(2);
    QCOMPARE(memo->geometry(), QRect(20, 30, 300, 200));
    QVERIFY(!memo->isMaximized());
    QVERIFY(telephone->isMaximized());
    QCOMPARE(m_frame->mdiArea()->activeSubWindow(), telephone);
    QVERIFY(expenses->geometry().left() < 9000);
    QVERIFY(!m_frame->action(32822)->isEnabled());  // the type lacks the Scheduler
    QVERIFY(m_frame->action(32821)->isChecked());
    // The full toolbar with a child window.
    QCOMPARE(toolbarIds(*m_frame).size(), 30);

    // Saving writes the layout back; the closed Scheduler is "no" again.
    QVERIFY(m_frame->SaveSettings());
    QSettings back = profile();
    QCOMPARE(back.value(QStringLiteral("Telephone/Window")).toString(),
             QStringLiteral("maximized"));
    QCOMPARE(back.value(QStringLiteral("Memo/Window")).toString(), QStringLiteral("20,30,320,230"));
    QCOMPARE(back.value(QStringLiteral("Scheduler/Window")).toString(), QStringLiteral("no"));
  }

  void modeCommandsActivateAndToolbarSwitches() {
    start();
    m_frame->fileNew();
    QCOMPARE(toolbarIds(*m_frame),
             (QStringList{"57600", "57601", "57603", "57607", "|",     "57635", "57634", "57637",
                          "32792", "32793", "32791", "|",     "57636", "32804", "|",     "32778",
                          "32777", "32776", "32813", "|",     "32821", "32823", "32820", "32822",
                          "32826", "32827", "32824", "32825", "32828", "32829"}));
    QCOMPARE(m_frame->toolBar()->actions().at(3)->toolTip(), QStringLiteral("Tisk"));
    m_frame->action(32820)->trigger();  // Memo
    m_frame->action(32823)->trigger();  // Business cards
    QCOMPARE(
        windowTitles(*m_frame),
        (QStringList{"Bezejmenný1 - Telefony", "Bezejmenný1 - Poznámky", "Bezejmenný1 - Vizitky"}));
    QMdiSubWindow* memo = m_frame->mdiArea()->subWindowList().at(1);
    m_frame->mdiArea()->activeSubWindow()->showMaximized();
    // Memo again: its window is activated (maximised like the active one), not a second.
    m_frame->action(32820)->trigger();
    QCOMPARE(m_frame->mdiArea()->subWindowList().size(), 3);
    QCOMPARE(m_frame->mdiArea()->activeSubWindow(), memo);
    QVERIFY(memo->isMaximized());
    QVERIFY(m_frame->action(32820)->isChecked());
    QVERIFY(!m_frame->action(32821)->isChecked());

    // "Zavři vše" closes everything; the reduced buttons come back.
    m_frame->action(32809)->trigger();
    QTRY_COMPARE(m_frame->mdiArea()->subWindowList().size(), 0);
    QCOMPARE(toolbarIds(*m_frame).size(), 7);
    QVERIFY(m_frame->reducedToolbar());
  }

  void receptionFillsTheBufferWindow() {
    startSimulator(TelephoneJson(40), 1);
    start();
    QVERIFY(m_frame->linkEngine().receiving());
    QCOMPARE(MessageTestHook::takeShown(), QStringList());
    QCOMPARE(m_frame->linkPane()->text(), QStringLiteral("Příjem připraven"));
    // The first record opens the buffer window.
    QTRY_VERIFY_WITH_TIMEOUT(m_frame->bufferWindow() != nullptr, 10000);
    BufferWindow* window = m_frame->bufferWindow();
    QTRY_VERIFY_WITH_TIMEOUT(window->countLabel(1)->text().toInt() >= 3, 10000);
    QVERIFY(m_frame->linkPane()->text().startsWith(QStringLiteral("Přijato: ")));
    window->grab().save(m_dir->filePath("buffer.png"));
    // The user closes it during the reception: it stays closed for the rest of it.
    window->close();
    QVERIFY(m_frame->receiveBuffer().m_userClosed);
    QCOMPARE(m_frame->linkEngine().receiveStatus(), 2);
    // Switching receiving off during a reception asks first; Cancel leaves it on.
    MessageTestHook::setNextAnswer(QMessageBox::Cancel);
    m_frame->action(32777)->trigger();
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"Duxel právě přijímá data z diáře\nCasio, přesto chcete pokračovat?"});
    QVERIFY(m_frame->linkEngine().receiving());
    // Closing the program now asks first (records pending, then the reception).
    MessageTestHook::setNextAnswer(QMessageBox::Cancel);
    QVERIFY(!m_frame->close());
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"Zásobník Duxelu obsahuje nepoužitá data\nnačtená z diáře Casio, přesto "
                         "chcete pokračovat ?"});

    // The simulator hangs up when it has sent everything, as a pulled adapter would.
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    QTRY_COMPARE_WITH_TIMEOUT(m_frame->receiveBuffer().GetList(1)->GetCount(), 40, 30000);
    QVERIFY(m_frame->bufferWindow() == nullptr);
    QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitCode(), 0);
    // The reception is over: the user's close is forgotten.
    QTRY_VERIFY_WITH_TIMEOUT(!m_frame->receiveBuffer().m_userClosed, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_frame->linkEngine().portOpen(), 5000);
    const QStringList shown = MessageTestHook::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("Sériové rozhraní přestalo být dostupné")),
             qPrintable(shown[0]));

    // The window opened by its command shows the counts; "Vše" moves them into the
    // document of the active window.
    m_frame->fileNew();
    m_frame->action(32818)->trigger();
    window = m_frame->bufferWindow();
    QVERIFY(window);
    QCOMPARE(window->countLabel(1)->text(), QStringLiteral("40"));
    QCOMPARE(window->countLabel(0)->text(), QStringLiteral("0"));
    auto* all = window->findChild<QPushButton*>(QStringLiteral("button541"));
    auto* mode = window->findChild<QPushButton*>(QStringLiteral("button542"));
    QVERIFY(all->isEnabled());
    QVERIFY(mode->isEnabled());  // the active window is the Telephone
    all->click();
    QCOMPARE(m_frame->activeDocument()->GetList(1)->GetCount(), 40);
    QCOMPARE(window->countLabel(1)->text(), QStringLiteral("0"));
    QVERIFY(!all->isEnabled());
    QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("button32814"))->isEnabled());
    QVERIFY(m_frame->activeDocument()->IsModified());
  }

  void portVanishingKeepsWhatArrived() {
    startSimulator(TelephoneJson(200), 2);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(m_frame->receiveBuffer().GetList(1)->GetCount() >= 5, 10000);
    // The adapter is pulled out: the far end of the line goes.
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    m_sim->kill();
    QVERIFY(m_sim->waitForFinished(3000));
    QTRY_VERIFY_WITH_TIMEOUT(
        !MessageTestHook::takeShown().isEmpty() || !m_frame->linkEngine().portOpen(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_frame->linkEngine().portOpen(), 5000);
    const int kept = m_frame->receiveBuffer().GetList(1)->GetCount();
    QVERIFY(kept >= 5 && kept < 200);
    QVERIFY(m_frame->receiveBuffer().AnyPendingData());
    QVERIFY(!m_frame->action(32777)->isEnabled());
    // The buffered records still move into a document.
    m_frame->fileNew();
    m_frame->runCommand(32776);
    QCOMPARE(m_frame->activeDocument()->GetList(1)->GetCount(), kept);
  }

  void optionSheetScopes() {
    QSettings p = profile();
    p.setValue(QStringLiteral("Model/SF-bez poznámek"),
               QStringLiteral("16,1200,0,16,16,16,16,16,16,16,16,16"));
    p.setValue(QStringLiteral("Casio/Type"), QStringLiteral("SF-bez poznámek"));
    p.setValue(QStringLiteral("Duxel/FirstOpen"), QStringLiteral("2"));  // Memo
    p.sync();
    start();
    AppSettings& s = m_frame->settings();
    m_frame->fileNew();                 // Telephone: the type lacks Memo
    m_frame->action(32823)->trigger();  // and the business cards
    QCOMPARE(windowTitles(*m_frame),
             (QStringList{"Bezejmenný1 - Telefony", "Bezejmenný1 - Vizitky"}));
    const AppSettings before = s;

    {
      // Cancel keeps nothing.
      OptionsSheet sheet(*m_frame);
      sheet.findChild<QLineEdit*>(QStringLiteral("edit1000"))->setText(QStringLiteral("Mobil"));
      sheet.setListFont({"DejaVu Serif", 1, 12}, Qt::red);
      sheet.reject();
      QCOMPARE(s.freeNames, before.freeNames);
      QCOMPARE(s.modes[3].listFont.face, before.modes[3].listFont.face);
    }
    {
      // "Nový": Memo cannot be chosen and the stored Memo shows as the first mode the type has.
      OptionsSheet sheet(*m_frame);
      QVERIFY(!sheet.findChild<QRadioButton*>(QStringLiteral("radio10"))->isEnabled());
      QVERIFY(sheet.findChild<QRadioButton*>(QStringLiteral("radio11"))->isChecked());
      // List font in the active window only (the business cards).
      sheet.setListFont({"DejaVu Serif", 1, 12}, Qt::red);
      sheet.findChild<QRadioButton*>(QStringLiteral("radio326"))->setChecked(true);
      // Free names in the active document only.
      sheet.findChild<QLineEdit*>(QStringLiteral("edit1100"))->setText(QStringLiteral("Web"));
      sheet.findChild<QRadioButton*>(QStringLiteral("radio332"))->setChecked(true);
      // An emptied expense type gets its default name back.
      sheet.findChild<QLineEdit*>(QStringLiteral("edit349"))->clear();
      sheet.findChild<QLineEdit*>(QStringLiteral("edit348"))->setText(QStringLiteral("Šek"));
      sheet.pages()->setCurrentIndex(4);
      sheet.accept();
    }
    QCOMPARE(s.modes[3].listFont.face, std::string("DejaVu Serif"));
    QCOMPARE(s.modes[3].listFont.size, 12);
    QCOMPARE(int(s.modes[3].listRed), 255);
    QCOMPARE(s.modes[1].listFont.face, before.modes[1].listFont.face);
    QCOMPARE(s.modes[3].editFont.face, before.modes[3].editFont.face);
    QCOMPARE(s.freeNames, before.freeNames);
    QCOMPARE(s.expenses.payment[2], std::string("Savings"));
    QCOMPARE(s.expenses.payment[1], Cp1250FromUtf8("Šek"));
    QCOMPARE(s.firstOpen, 0);  // the Telephone radio was the one ticked
    {
      // The page active at OK opens first; the whole document's scope changes every mode.
      OptionsSheet sheet(*m_frame);
      QCOMPARE(sheet.pages()->currentIndex(), 4);
      sheet.setEditFont({"DejaVu Sans Mono", 1, 11});
      sheet.findChild<QRadioButton*>(QStringLiteral("radio341"))->setChecked(true);
      sheet.findChild<QLineEdit*>(QStringLiteral("edit1100"))->setText(QStringLiteral("Web"));
      sheet.findChild<QRadioButton*>(QStringLiteral("radio330"))->setChecked(true);
      sheet.accept();
    }
    for (int mode = 0; mode < 10; ++mode)
      QCOMPARE(s.modes[mode].editFont.face, std::string("DejaVu Sans Mono"));
    QCOMPARE(s.freeNames[1][0], std::string("Web"));
    QCOMPARE(GetFreeFieldCaption(3, 0), std::string("Web: "));
  }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
