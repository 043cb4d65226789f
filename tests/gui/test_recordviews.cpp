// SPDX-License-Identifier: GPL-3.0-or-later
// The record views as a user works them: editing, adding, deleting, marking, finding,
// the clipboard between documents, the send dialog, the password, the forms' storing
// rules, FreeFile's text import, and closing a document while it is being sent.

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "FakeViewHost.h"
#include "ModalAnswerer.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "document/CDuxelDoc.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"
#include "settings/AppSettings.h"
#include "viewmodel/ViewCommands.h"
#include "views/CDuxelView.h"
#include "views/FileChooser.h"
#include "views/FontCache.h"
#include "views/Messages.h"
#include "views/ViewFactory.h"
#include "views/ViewHost.h"
#include "views/controls/FieldEdit.h"
#include "views/controls/MarkingListBox.h"

using namespace ViewCommand;

namespace {

std::string cp(const char* utf8) { return Cp1250FromUtf8(utf8); }

using FakeHost = FakeViewHost;

CcTelefon* Tel(const char* name, const char* number = "1") {
  auto* t = new CcTelefon;
  t->m_fields[0] = cp(name);
  t->m_fields[1] = number;
  return t;
}

// A document whose Telephone list holds these names (inserted sorted).
void FillTelephone(CDuxelDoc& doc, const QStringList& names) {
  for (const QString& n : names) doc.GetList(kTelephone)->InsertSorted(Tel(n.toUtf8().constData()));
}

}  // namespace

class TestRecordViews : public QObject {
  Q_OBJECT

 private:
  FakeHost host;
  std::unique_ptr<CDuxelView> open(CDuxelDoc& doc, int mode) {
    std::unique_ptr<CDuxelView> view(CreateModeView(&doc, mode, host));
    view->resize(760, 420);
    view->show();
    return view;
  }
  // The keyboard focus as a click gives it: the window becomes active first.
  static void focus(QWidget* w) {
    w->window()->activateWindow();
    QApplication::setActiveWindow(w->window());
    w->setFocus();
  }
  static void selectByUser(CDuxelView& view, int row) {
    focus(view.listBox());
    view.selectRow(row);
    view.CommitAndShow();
  }

 private slots:
  void initTestCase() {
    SetRegionalSettings(RegionalSettings{1, '.', ':'});
    SetNowProvider([] { return LocalDateTime{2001, 3, 15, 10, 20, 0}; });
  }
  void init() { MessageTestHook::takeShown(); }

  // An edited record is filed again in order when the user moves on; one edited into a copy
  // of another merges with it and counts as its duplicate.
  void commitResortsAndMerges() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam", "Cyril", "Eva"});
    auto view = open(doc, kTelephone);
    QCOMPARE(view->currentIndex(), 0);
    focus(view->fieldEdit());
    view->fieldEdit()->typeText(QStringLiteral("Z"));  // "ZAdam"
    selectByUser(*view, 1);
    QCOMPARE(view->rowTexts().size(), 3);
    QVERIFY(view->rowTexts()[0].startsWith(QStringLiteral("Cyril")));
    QVERIFY(view->rowTexts()[2].startsWith(QStringLiteral("ZAdam")));
    QVERIFY(doc.IsModified());
    // Cyril (now row 0) becomes Eva: it goes and Eva counts one duplicate.
    selectByUser(*view, 0);
    view->fieldEdit()->setFields({cp("Eva"), "1"});
    view->fieldEdit()->setModified(true);
    selectByUser(*view, 1);
    QCOMPARE(view->rowCount(), 2);
    QVERIFY(view->rowTexts()[0].startsWith(QStringLiteral("Eva")));
    QCOMPARE(doc.GetList(kTelephone)->GetHead()->m_duplicates, 1u);
    QCOMPARE(view->itemCounter()->text(), QStringLiteral("Položek: 2"));
  }

  void addAndNewRules() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam"});
    auto view = open(doc, kTelephone);
    bool checked = false;
    // New gives a blank record; New again while it is blank does nothing.
    view->runCommand(kNew);
    QCOMPARE(view->rowCount(), 2);
    QVERIFY(!view->commandState(kAdd, &checked));  // empty fields: Add is off
    view->runCommand(kNew);
    QCOMPARE(view->rowCount(), 2);
    // Typing a copy of Adam and adding it adds nothing and counts a duplicate.
    view->fieldEdit()->typeText(QStringLiteral("Adam"));
    view->fieldEdit()->moveCursor(QTextCursor::End);
    QVERIFY(view->commandState(kAdd, &checked));
    // Field 1 of Adam holds "1".
    view->fieldEdit()->setFields({cp("Adam"), "1"});
    view->fieldEdit()->setModified(true);
    view->runCommand(kAdd);
    CCasioPol* adam = nullptr;
    for (CCasioPol* r : *doc.GetList(kTelephone))
      if (static_cast<CcTelefon*>(r)->m_fields[0] == "Adam") adam = r;
    QVERIFY(adam);
    QCOMPARE(adam->m_duplicates, 1u);
    // The blank record goes when the user leaves it unfilled... it was filled with Adam,
    // which merged: one record is left.
    selectByUser(*view, 0);
    QCOMPARE(view->rowCount(), 1);
    // Add with new content files a second record and leaves Adam as he was.
    view->fieldEdit()->setFields({cp("Bára"), "2"});
    view->fieldEdit()->setModified(true);
    view->runCommand(kAdd);
    QCOMPARE(view->rowCount(), 2);
    QVERIFY(view->rowTexts()[0].startsWith(QStringLiteral("Adam")));
    QVERIFY(view->rowTexts()[1].startsWith(QStringLiteral("Bára")));
  }

  void deleteLastAndOnlyRow() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam", "Bára", "Cyril"});
    auto view = open(doc, kTelephone);
    selectByUser(*view, 2);
    view->runCommand(kDelete);
    QCOMPARE(view->rowCount(), 2);
    QCOMPARE(view->currentIndex(), 1);
    QCOMPARE(view->fieldEdit()->field(0), cp("Bára"));
    view->runCommand(kDelete);
    view->runCommand(kDelete);
    QCOMPARE(view->rowCount(), 0);
    QCOMPARE(view->currentRecord(), nullptr);
    QCOMPARE(view->fieldEdit()->field(0), std::string());
    QVERIFY(!view->commandState(kDelete, nullptr));
  }

  void marksAndCountersAfterMarkFound() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam", "Bára", "Dana", "Petr"});
    auto view = open(doc, kTelephone);
    selectByUser(*view, 3);
    view->runCommand(kMarkToggle);  // Petr marked by hand
    QCOMPARE(view->markedCounter()->text(), QStringLiteral("Označeno: 1"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    CDuxelView::FindOptions o;
    o.text = QStringLiteral("a");
    o.fromEdge = true;
    o.markFound = true;
    view->runFind(o);  // every name holds an "a" except Petr
    QCOMPARE(MessageTestHook::takeShown(), QStringList{QStringLiteral("Nalezeno: 3")});
    QCOMPARE(view->markedCounter()->text(), QStringLiteral("Označeno: 4"));
    QCOMPARE(view->currentIndex(), 0);
    view->runCommand(kMarkInvert);
    QCOMPARE(view->markedCounter()->text(), QStringLiteral("Označeno: 0"));
    QCOMPARE(view->itemCounter()->text(), QStringLiteral("Položek: 4"));
  }

  void findNextAndTheEnds() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam", "Bára", "Dana"});
    auto view = open(doc, kTelephone);
    CDuxelView::FindOptions o;
    o.text = QStringLiteral("ADAM");
    o.fromEdge = true;  // the first row itself is examined
    view->runFind(o);
    QCOMPARE(view->currentIndex(), 0);
    o.text = QStringLiteral("a");
    o.fromEdge = false;
    view->runFind(o);
    QCOMPARE(view->currentIndex(), 1);
    view->runCommand(kFindNext);
    QCOMPARE(view->currentIndex(), 2);
    view->runCommand(kFindNext);  // the last row, direction down: a beep, nothing moves
    QCOMPARE(view->currentIndex(), 2);
  }

  // A record copied in one document is pasted into another; pasting it again selects it.
  void clipboardBetweenDocumentsAndPlainText() {
    CDuxelDoc a, b;
    FillTelephone(a, {"Adam"});
    FillTelephone(b, {"Cyril"});
    auto va = open(a, kTelephone);
    auto vb = open(b, kTelephone);
    focus(va->listBox());
    va->runCommand(kCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Adam\n1\n\n\n\n\n\n\n\n"));
    focus(vb->listBox());
    QVERIFY(vb->commandState(kPaste, nullptr));
    vb->runCommand(kPaste);
    QCOMPARE(vb->rowCount(), 2);
    QCOMPARE(vb->currentIndex(), 0);
    QCOMPARE(vb->fieldEdit()->field(0), std::string("Adam"));
    focus(vb->listBox());
    selectByUser(*vb, 1);
    focus(vb->listBox());
    vb->runCommand(kPaste);
    QCOMPARE(vb->rowCount(), 2);
    QCOMPARE(vb->currentIndex(), 0);
    // Data of a version before 390 is not read.
    auto* old = new QMimeData;
    QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(
        QStringLiteral("application/x-qt-windows-mime;value=\"DuxelCF1\""));
    bytes[0] = char(0x85);
    bytes[1] = 0x01;
    old->setData(QStringLiteral("application/x-qt-windows-mime;value=\"DuxelCF1\""), bytes);
    QGuiApplication::clipboard()->setMimeData(old);
    focus(vb->listBox());
    vb->runCommand(kPaste);
    QCOMPARE(vb->rowCount(), 2);
    // Plain text of another program into the field edit: a space becomes 0xA0, a line break
    // 0xB6 CR LF.
    QGuiApplication::clipboard()->setText(QStringLiteral("a b\nc"));
    focus(vb->fieldEdit());
    vb->fieldEdit()->moveCursor(QTextCursor::Start);
    QVERIFY(vb->commandState(kPaste, nullptr));
    vb->runCommand(kPaste);
    QCOMPARE(vb->fieldEdit()->encodedText().substr(0, 8), std::string("a\xa0" "b\xb6\r\nc" "A"));
  }

  // Checking SpreadSheet alone forces "only marked" and locks the rest; unchecking restores.
  void sendDialogSpreadSheetRule() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam"});
    auto view = open(doc, kTelephone);
    ModalAnswerer answers;
    QStringList states;
    auto state = [&states](QWidget* d) {
      auto* r111 = d->findChild<QRadioButton*>(QStringLiteral("radio111"));
      auto* r112 = d->findChild<QRadioButton*>(QStringLiteral("radio112"));
      auto* c114 = d->findChild<QCheckBox*>(QStringLiteral("check114"));
      auto* m11 = d->findChild<QCheckBox*>(QStringLiteral("mode11"));
      states << QStringLiteral("111:%1%2 112:%3 114:%4%5 tel:%6")
                    .arg(r111->isChecked()).arg(r111->isEnabled()).arg(r112->isChecked())
                    .arg(c114->isChecked()).arg(c114->isEnabled()).arg(m11->isEnabled());
    };
    answers.then([&](QWidget* d) {
      d->findChild<QCheckBox*>(QStringLiteral("check114"))->click();
      state(d);
      d->findChild<QCheckBox*>(QStringLiteral("mode19"))->click();
      state(d);
      d->findChild<QCheckBox*>(QStringLiteral("mode19"))->click();
      state(d);
      d->findChild<QCheckBox*>(QStringLiteral("mode11"))->click();
      static_cast<QDialog*>(d)->accept();
    });
    view->runCommand(kSend);
    QCOMPARE(states, (QStringList{QStringLiteral("111:11 112:0 114:11 tel:1"),
                                  QStringLiteral("111:00 112:1 114:00 tel:0"),
                                  QStringLiteral("111:11 112:0 114:11 tel:1")}));
    QCOMPARE(host.log, (QStringList{QStringLiteral("prepare"), QStringLiteral("start 0 1")}));
    QCOMPARE(doc.GetList(kTelephone)->m_selected, 1u);
    // While it runs, the command asks whether to stop it.
    bool checked = false;
    QVERIFY(view->commandState(kSend, &checked) && checked);
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    view->runCommand(kSend);
    QCOMPARE(host.log.last(), QStringLiteral("stop"));
    host.log.clear();
  }

  // Closing a document that is being sent asks message 32; Cancel keeps it open and sending.
  void closingWhileSending() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam"});
    auto view = open(doc, kTelephone);
    host.startSend(SendRequest{&doc, 0, false});
    MessageTestHook::setNextAnswer(QMessageBox::Cancel);
    QVERIFY(!view->canClose());
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{QStringLiteral("Aktivní dokument právě posílá data do\ndiáře Casio, "
                                        "přesto chcete pokračovat?")});
    QCOMPARE(host.sendingDocument(), &doc);
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    QVERIFY(view->canClose());
    QCOMPARE(host.sendingDocument(), nullptr);
    host.log.clear();
  }

  // "Vymaž režimy…" with "Jen označené" over two modes, one of them shown in another window.
  void deleteMarkedOfTwoModes() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam", "Bára"});
    doc.GetList(kTelephone)->GetHead()->m_mark = 1;
    auto* memo = new CcMemo;
    memo->m_text = "m";
    doc.GetList(kMemo)->InsertSorted(memo);
    auto tel = open(doc, kTelephone);
    auto memos = open(doc, kMemo);
    ModalAnswerer answers;
    answers.then([](QWidget* d) {
      d->findChild<QCheckBox*>(QStringLiteral("mode10"))->setChecked(true);
      d->findChild<QCheckBox*>(QStringLiteral("mode11"))->setChecked(true);
      d->findChild<QRadioButton*>(QStringLiteral("radio112"))->click();
      static_cast<QDialog*>(d)->accept();
    });
    tel->runCommand(kDeleteModes);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("dialog|Mazání režimů")});
    QCOMPARE(tel->rowCount(), 1);
    QCOMPARE(tel->fieldEdit()->field(0), cp("Bára"));
    QCOMPARE(tel->markedCounter()->text(), QStringLiteral("Označeno: 0"));
    QCOMPARE(doc.GetList(kMemo)->GetCount(), std::size_t(1));
    QVERIFY(doc.IsModified());
  }

  // "Režim do dokumentu": buffered records join the list; a duplicate of a held one goes.
  void bufferModeIntoDocument() {
    CDuxelDoc doc;
    FillTelephone(doc, {"Adam"});
    auto view = open(doc, kTelephone);
    host.receiveBuffer().GetList(kTelephone)->InsertSorted(Tel("Bára"));
    host.receiveBuffer().GetList(kTelephone)->InsertSorted(Tel("Adam"));
    QVERIFY(view->commandState(kBufferMode, nullptr));
    QVERIFY(!view->commandState(kBufferMode + 1000, nullptr));
    view->runCommand(kBufferMode);
    QCOMPARE(view->rowCount(), 2);
    QCOMPARE(view->fieldEdit()->field(0), cp("Bára"));
    QCOMPARE(host.receiveBuffer().GetList(kTelephone)->GetCount(), std::size_t(0));
    QVERIFY(!view->commandState(kBufferMode, nullptr));
    QVERIFY(doc.IsModified());
  }

  void removingThePassword() {
    CDuxelDoc doc;
    doc.SetPassword("abc");
    doc.SetModifiedFlag(false);
    auto view = open(doc, kMemo);
    ModalAnswerer answers;
    answers.then(ModalAnswerer::typeAndEnter(QStringLiteral("abc")))
        .then(ModalAnswerer::typeAndEnter(QString()));
    view->runCommand(kPassword);
    QCOMPARE(answers.seen, (QStringList{QStringLiteral("dialog|Duxel - Tajný soubor"),
                                        QStringLiteral("dialog|Duxel - Tajný soubor")}));
    QVERIFY(!doc.IsProtected());
    QVERIFY(doc.IsModified());
  }

  // Each form's storing rules as the user fills the form and adds the record.
  void formsStoreTheirRules() {
    CDuxelDoc doc;
    // Scheduler, multi-day with no end date: it ends on its first day.
    auto s = open(doc, kScheduler);
    s->findChild<QRadioButton*>(QStringLiteral("radio203"))->click();
    s->findChild<QLineEdit*>(QStringLiteral("edit197"))->setText(QStringLiteral("3.5.2001"));
    s->fieldEdit()->typeText(QStringLiteral("Dovolená"));
    s->runCommand(kAdd);
    QCOMPARE(s->rowCount(), 1);
    auto* sched = static_cast<CcScheduler*>(doc.GetList(kScheduler)->GetHead());
    QCOMPARE(QList<int>({sched->m_end.m_day, sched->m_end.m_month, sched->m_start.m_hour}),
             QList<int>({3, 5, -1}));
    // Single day with only an end time: no times at all.
    s->findChild<QRadioButton*>(QStringLiteral("radio202"))->click();
    s->findChild<QLineEdit*>(QStringLiteral("edit200"))->setText(QString());
    s->findChild<QLineEdit*>(QStringLiteral("edit208"))->setText(QStringLiteral("12:00"));
    s->runCommand(kNew);
    selectByUser(*s, 0);
    QCOMPARE(QList<int>({sched->m_end.m_day, sched->m_end.m_hour, sched->m_start.m_hour}),
             QList<int>({-1, -1, -1}));

    // ReminderOne: "Březen" without a day is the 1st of March.
    auto r1 = open(doc, kReminderOne);
    r1->findChild<QComboBox*>(QStringLiteral("combo205"))->setCurrentIndex(3);
    r1->fieldEdit()->typeText(QStringLiteral("Jaro"));
    r1->runCommand(kAdd);
    auto* rem = static_cast<CcReminder*>(doc.GetList(kReminderOne)->GetHead());
    QCOMPARE(QList<int>({rem->m_pattern.m_day, rem->m_pattern.m_month}), QList<int>({1, 3}));

    // ReminderTwo refuses week 6 with message 124 and keeps the record; week 0 is taken.
    auto r2 = open(doc, kReminderTwo);
    r2->findChild<QLineEdit*>(QStringLiteral("edit206"))->setText(QStringLiteral("6"));
    r2->fieldEdit()->typeText(QStringLiteral("Schůze"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    r2->runCommand(kAdd);
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{QStringLiteral("Chyba:\nChybné datum nebo čas.")});
    QCOMPARE(r2->rowCount(), 0);
    r2->findChild<QLineEdit*>(QStringLiteral("edit206"))->setText(QStringLiteral("0"));
    r2->runCommand(kAdd);
    QCOMPARE(r2->rowCount(), 1);
    QCOMPARE(static_cast<CcReminder*>(doc.GetList(kReminderTwo)->GetHead())->m_pattern.m_week, 0);

    // ToDo without "Hotovo" stores no date, whatever the edits hold.
    auto t = open(doc, kToDo);
    t->findChild<QLineEdit*>(QStringLiteral("edit197"))->setText(QStringLiteral("3.5.2001"));
    t->fieldEdit()->typeText(QStringLiteral("Úkol"));
    t->runCommand(kAdd);
    auto* todo = static_cast<CcTodo*>(doc.GetList(kToDo)->GetHead());
    QCOMPARE(QList<int>({todo->m_done, todo->m_completed.m_day}), QList<int>({0, -1}));
  }

  void schedulerSelectsToday() {
    CDuxelDoc doc;
    const int days[] = {14, 15, 15, 16};
    const char* texts[] = {"vcera", "dnes 1", "dnes 2", "zitra"};
    for (int i = 0; i < 4; ++i) {
      auto* s = new CcScheduler;
      s->m_start.m_year = 2001;
      s->m_start.m_month = 3;
      s->m_start.m_day = int16_t(days[i]);
      s->m_start.m_hour = int16_t(8 + i);
      s->m_start.m_minute = 0;
      s->m_text = texts[i];
      doc.GetList(kScheduler)->InsertSorted(s);
    }
    auto view = open(doc, kScheduler);
    QCOMPARE(view->currentIndex(), 1);
    QCOMPARE(view->fieldEdit()->field(0), std::string("dnes 1"));
  }

  void freeFileImportsTheFirst61440Bytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dopis.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray bytes;
    while (bytes.size() < 70000) bytes += "abcdefghi\r\n";
    bytes.resize(70000);
    file.write(bytes);
    file.close();
    CDuxelDoc doc;
    auto view = open(doc, kFreeFile);
    FileChooserTestHook::setNextFileName(path);
    view->runCommand(kImport);
    QCOMPARE(view->rowCount(), 1);
    auto* f = static_cast<CcFreefile*>(doc.GetList(kFreeFile)->GetHead());
    QCOMPARE(f->m_title, std::string("dopis.txt"));
    // 20480 characters (CRs included) kept, each CR with its LF again.
    QCOMPARE(f->m_body.size(), std::size_t(20480 + 20480 / 10));
    QCOMPARE(f->m_body.substr(0, 12), std::string("abcdefghi\r\na"));
    QCOMPARE(view->fieldEdit()->field(0).substr(0, 11), std::string("abcdefghi\ra"));
    // The body goes out as a text file with CR LF again.
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    FileChooserTestHook::setNextFileName(out);
    focus(view->listBox());
    view->runCommand(kExport);
    QFile back(out);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll().toStdString(), f->m_body);
  }

  // Saving from the program's window files what was typed into the form, even before the
  // user moved to another record.
  void saveFilesWhatWasTyped() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seznam.dux"));
    {
      CDuxelDoc seed;
      FillTelephone(seed, {"Adam"});
      QVERIFY(seed.SaveFile(QFile::encodeName(path).toStdString()).ok());
    }
    CMainFrame frame;
    frame.show();
    CDuxelDoc* doc = frame.documentManager()->openDocument(path);
    QVERIFY(doc);
    auto* view = qobject_cast<CDuxelView*>(frame.openModeWindow(doc, kTelephone)->widget());
    QVERIFY(view);
    view->fieldEdit()->typeText(QStringLiteral("Ž"));
    frame.runCommand(57603);
    CDuxelDoc back;
    QVERIFY(back.LoadFile(QFile::encodeName(path).toStdString(), nullptr).ok());
    QCOMPARE(static_cast<CcTelefon*>(back.GetList(kTelephone)->GetHead())->m_fields[0],
             cp("ŽAdam"));
    QVERIFY(!doc->IsModified());
  }

  // Every mode form with records in it, for looking at: set DUXEL_SCREENSHOTS to a folder.
  void screenshots() {
    const QString folder = qEnvironmentVariable("DUXEL_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("DUXEL_SCREENSHOTS not set");
    CDuxelDoc doc;
    auto time = [](CCasTime& t, int y, int m, int d, int h, int min) {
      t.m_year = int16_t(y), t.m_month = int16_t(m), t.m_day = int16_t(d);
      t.m_hour = int16_t(h), t.m_minute = int16_t(min);
    };
    for (const char* text : {"Nákup: mléko\rchléb\rmáslo", "Zavolat panu Novákovi", "Heslo k Wi-Fi je v šuplíku"}) {
      auto* m = new CcMemo;
      m->m_text = cp(text);
      doc.GetList(kMemo)->InsertSorted(m);
    }
    FillTelephone(doc, {"Novák Jan", "Dvořáková Eva", "Černý Petr"});
    static_cast<CcTelefon*>(doc.GetList(kTelephone)->GetHead())->m_fields[2] = cp("Praha 6\rNa Petynce 12");
    doc.GetList(kTelephone)->GetHead()->m_mark = 1;
    for (int i = 0; i < 4; ++i) {
      auto* s = new CcScheduler;
      time(s->m_start, 2001, 3, 14 + i, 9 + i, 30);
      if (i == 1) time(s->m_end, -1, -1, -1, 11, 0);
      if (i == 2) s->m_alarm.m_hour = 8, s->m_alarm.m_minute = 0;
      s->m_text = cp(i == 1 ? "Porada u ředitele" : "Schůzka");
      doc.GetList(kScheduler)->InsertSorted(s);
    }
    auto* card = new CcBuscard;
    card->m_fields[0] = cp("Škoda Auto a.s.");
    card->m_fields[1] = cp("Ing. Jana Malá");
    card->m_fields[2] = "326 811 111";
    card->m_fields[3] = cp("vedoucí nákupu");
    doc.GetList(kBusinessCards)->InsertSorted(card);
    for (int i = 0; i < 3; ++i) {
      auto* t = new CcTodo;
      t->m_text = cp(i == 0 ? "Zaplatit nájem" : i == 1 ? "Koupit dárek" : "Vrátit knihy");
      if (i == 0) t->m_done = 1, time(t->m_completed, 2001, 3, 12, 18, 5);
      doc.GetList(kToDo)->InsertSorted(t);
    }
    auto* f = new CcFreefile;
    f->m_title = "Recept";
    f->m_body = cp("Bábovka:\r\n4 vejce\r\n200 g cukru\r\n250 g mouky");
    doc.GetList(kFreeFile)->InsertSorted(f);
    for (int i = 0; i < 3; ++i) {
      auto* r = new CcReminder;
      r->m_text = cp(i == 0 ? "Narozeniny mámy" : i == 1 ? "Zaplatit pojistku" : "Kontrola");
      if (i == 0) r->m_pattern.m_day = 24, r->m_pattern.m_month = 12;
      if (i == 1) r->m_pattern.m_day = 15;
      if (i == 2) r->m_pattern.m_hour = 7, r->m_pattern.m_minute = 45;
      doc.GetList(kReminderOne)->InsertSorted(r);
      auto* w = new CcReminder;
      w->m_weekdayPattern = 1;
      w->m_text = cp(i == 0 ? "Tenis" : i == 1 ? "Výbor" : "Úklid");
      w->m_pattern.m_weekday = int16_t(2 + i);
      if (i == 1) w->m_pattern.m_week = 1;
      if (i == 2) w->m_pattern.m_month = 4, w->m_pattern.m_week = 2;
      doc.GetList(kReminderTwo)->InsertSorted(w);
    }
    for (int i = 0; i < 3; ++i) {
      auto* e = new CcExpense;
      time(e->m_date, 2001, 3, 10 + i, -1, -1);
      e->m_amount = i == 0 ? 125.5 : i == 1 ? 1890 : 42.9;
      e->m_payment = i == 0 ? "Cash" : "VISA";
      e->m_expense = i == 1 ? "Fuel" : "Meals";
      e->m_note = cp(i == 1 ? "Cesta do Brna" : "Oběd");
      doc.GetList(kExpenses)->InsertSorted(e);
    }
    const char* names[] = {"memo", "telephone", "scheduler", "businesscards", "todo",
                           "freefile", "reminderone", "remindertwo", "expenses"};
    for (int mode = 0; mode < 9; ++mode) {
      auto view = open(doc, mode);
      view->resize(640, 300);
      QApplication::processEvents();
      QVERIFY(view->grab().save(QDir(folder).filePath(QStringLiteral("view-%1.png").arg(names[mode]))));
    }
    // The program's window with a document saved from these records, opened as a user does.
    const QString path = QDir(folder).filePath(QStringLiteral("ukazka.dux"));
    QVERIFY(doc.SaveFile(QFile::encodeName(path).toStdString()).ok());
    CMainFrame frame;
    frame.resize(1000, 600);
    frame.show();
    CDuxelDoc* opened = frame.documentManager()->openDocument(path);
    QVERIFY(opened);
    frame.openModeWindow(opened, kScheduler);
    QApplication::processEvents();
    QVERIFY(frame.grab().save(QDir(folder).filePath(QStringLiteral("mainframe.png"))));
    QFile::remove(path);
  }
};

QTEST_MAIN(TestRecordViews)
#include "test_recordviews.moc"
