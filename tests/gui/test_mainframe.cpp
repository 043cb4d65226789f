// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the document manager: opening, the password question, failures,
// saving, the save question on closing, recent files, dropped files.

#include <memory>

#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "ModalAnswerer.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "views/CDuxelView.h"
#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"

namespace {
std::string cp(const char* utf8) { return Cp1250FromUtf8(utf8); }

// The fixture: two memos, a telephone entry, a business card and two to-do items.
void fillFixture(CDuxelDoc& doc) {
  auto* memo1 = new CcMemo;
  memo1->m_text = cp("Nákup: mléko\r\nchléb");
  doc.GetList(kMemo)->AddTail(memo1);
  auto* memo2 = new CcMemo;
  memo2->m_text = cp("Žluťoučký kůň úpěl ďábelské ódy");
  doc.GetList(kMemo)->AddTail(memo2);

  auto* tel = new CcTelefon;
  tel->m_fields[0] = cp("Novák Jan");
  tel->m_fields[1] = cp("+420 602 123 456");
  tel->m_fields[2] = cp("Praha");
  doc.GetList(kTelephone)->AddTail(tel);

  auto* card = new CcBuscard;
  card->m_fields[0] = cp("Dvořák");
  card->m_fields[1] = cp("Antonín");
  doc.GetList(kBusinessCards)->AddTail(card);

  auto* done = new CcTodo;
  done->m_text = cp("Zaplatit nájem");
  done->m_done = 1;
  done->m_completed.m_year = 2024;
  done->m_completed.m_month = 5;
  done->m_completed.m_day = 12;
  doc.GetList(kToDo)->AddTail(done);
  auto* open = new CcTodo;
  open->m_text = cp("Koupit chléb");
  doc.GetList(kToDo)->AddTail(open);
}

// The fixture's records as the core holds them, one line per record.
QStringList describe(const CDuxelDoc& doc) {
  auto text = [](const std::string& bytes) {
    return QString::fromStdString(Utf8FromCp1250(bytes));
  };
  QStringList lines;
  for (const CCasioPol* r : *doc.GetList(kMemo))
    lines << "Memo: " + text(static_cast<const CcMemo*>(r)->m_text);
  for (const CCasioPol* r : *doc.GetList(kTelephone)) {
    QStringList fields;
    for (const std::string& f : static_cast<const CcTelefon*>(r)->m_fields) fields << text(f);
    lines << "Telephone: " + fields.join(u'|');
  }
  for (const CCasioPol* r : *doc.GetList(kBusinessCards)) {
    const auto* card = static_cast<const CcBuscard*>(r);
    lines << "BusinessCards: " + text(card->m_fields[0]) + u'|' + text(card->m_fields[1]);
  }
  for (const CCasioPol* r : *doc.GetList(kToDo)) {
    const auto* todo = static_cast<const CcTodo*>(r);
    lines << QStringLiteral("ToDo: %1 ").arg(todo->m_done) + text(todo->m_text);
  }
  for (int mode : {kScheduler, kFreeFile, kReminderOne, kReminderTwo, kExpenses, kSpreadSheet})
    if (!doc.GetList(mode)->IsEmpty()) lines << QStringLiteral("records in mode %1").arg(mode);
  return lines;
}

const QStringList kFixtureRecords = {
    QStringLiteral("Memo: Nákup: mléko\r\nchléb"),
    QStringLiteral("Memo: Žluťoučký kůň úpěl ďábelské ódy"),
    QStringLiteral("Telephone: Novák Jan|+420 602 123 456|Praha||||||"),
    QStringLiteral("BusinessCards: Dvořák|Antonín"),
    QStringLiteral("ToDo: 1 Zaplatit nájem"),
    QStringLiteral("ToDo: 0 Koupit chléb"),
};

// The windows of the fixture as they must be shown for a file named `name`.
QStringList fixtureWindows(const QString& name) {
  return {
      name + QStringLiteral(" - Poznámky"),
      QStringLiteral("  Nákup: mléko"),
      QStringLiteral("  Žluťoučký kůň úpěl ďábelské ódy"),
      name + QStringLiteral(" - Telefony"),
      QStringLiteral("  Novák Jan"),
      name + QStringLiteral(" - Vizitky"),
      QStringLiteral("  Dvořák - Antonín"),
      name + QStringLiteral(" - Co dělat"),
      QStringLiteral("  ✓ Zaplatit nájem"),
      QStringLiteral("  Koupit chléb"),
  };
}

// The title as the window shows it: "[*]" becomes "*" when modified, else nothing.
QString shownTitle(const QMdiSubWindow* w) {
  QString title = w->windowTitle();
  return title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : "");
}

// Every child window in creation order: its title, then its rows indented by two blanks.
QStringList windowsOf(const CMainFrame& frame) {
  QStringList lines;
  for (QMdiSubWindow* w : frame.mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
    lines << shownTitle(w);
    auto* duxelView = qobject_cast<CDuxelView*>(w->widget());
    if (!duxelView) {
      lines << QStringLiteral("  (not a mode view)");
      continue;
    }
    for (const QString& row : duxelView->rowTexts()) lines << QStringLiteral("  ") + row;
  }
  return lines;
}
}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_settingsDir;
  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CMainFrame> m_frame;

  DocumentManager& docs() { return *m_frame->documentManager(); }

  // Writes the fixture (protected when `password` is given) and returns its path.
  QString writeFixture(const QString& name, const char* password = nullptr) {
    CDuxelDoc doc;
    fillFixture(doc);
    if (password) doc.SetPassword(cp(password));
    const QString path = m_dir->filePath(name);
    const DocResult r = doc.SaveFile(QFile::encodeName(path).toStdString());
    if (!r.ok()) qFatal("cannot write the fixture: %s", r.reason.c_str());
    return path;
  }

  QString writeBytes(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }

 private slots:
  void initTestCase() {
    // Settings go to a private folder, never to the user's profile.
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
  }

  void init() {
    QSettings(QStringLiteral("VORT"), QStringLiteral("Duxel39")).clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_frame = std::make_unique<CMainFrame>();
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
  }

  void cleanup() {
    // Nothing may be left to ask about when the window goes.
    for (CDuxelDoc* doc : docs().documents()) doc->SetModifiedFlag(false);
    m_frame.reset();
    m_dir.reset();
  }

  void frameHasTitleAndMenus() {
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Duxel"));
    QStringList menus;
    for (QAction* a : m_frame->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&Soubor", "Úpr&avy", "&Diář", "Zásobní&k", "Nas&tavení",
                                 "&Zobrazit", "&Režimy", "&Okno", "Nápo&věda"}));
    auto itemsOf = [this](int menu) {
      QStringList items;
      for (QAction* a : m_frame->menuBar()->actions().at(menu)->menu()->actions())
        if (!a->isSeparator() && a->isVisible())
          items << a->text() + u'\t' + a->shortcut().toString(QKeySequence::PortableText);
      return items;
    };
    QCOMPARE(itemsOf(0),
             (QStringList{"&Nový\tCtrl+N", "&Otevřít…\tCtrl+O", "&Zavřít\t", "&Uložit\tCtrl+S",
                          "Uložit &jako…\t", "&Importuj data…\t", "&Exportuj data…\t",
                          "Exportovat do &vCard…\t", "Exportovat do i&Calendar…\t",
                          "Importovat z v&Card…\t", "Importovat z iC&alendar…\t",
                          "&Tisk..\tCtrl+P", "Ná&hled\t", "Na&stavení tisku…\t", "&Konec\t"}));
    QCOMPARE(itemsOf(2), (QStringList{"Přijímat &z diáře\t", "Poslat &do diáře…\t",
                                      "Příjem do &souboru…\t", "&Parametry přenosu…\t",
                                      "&Typ diáře…\t"}));
    QCOMPARE(itemsOf(3), (QStringList{"&Stav zásobníku…\t", "Vy&prázdnit zásobník\t",
                                      "&Vše do dokumentu\t", "&Režim do dokumentu\t"}));
    // The modes in display order, Ctrl+1 to Ctrl+0.
    QCOMPARE(itemsOf(6),
             (QStringList{"&Telefony\tCtrl+1", "&Vizitky\tCtrl+2", "Po&známky\tCtrl+3",
                          "&Plánovač\tCtrl+4", "Přip&omínky\tCtrl+5", "Připo&mínky 2\tCtrl+6",
                          "&Co dělat\tCtrl+7", "Volný &soubor\tCtrl+8", "Vý&daje\tCtrl+9",
                          "Ta&bulkový procesor\tCtrl+0"}));
    QCOMPARE(m_frame->findChild<QAction*>("action32821")->shortcut(), QKeySequence("Ctrl+1"));
    QCOMPARE(m_frame->findChild<QAction*>("action32807")->statusTip(),
             QStringLiteral("Při skončení programu uloží nastavení okna, komunikace, tisku a "
                            "typu diáře Casio"));
  }

  void newDocumentShowsOneTelephoneWindow() {
    m_frame->fileNew();
    m_frame->fileNew();
    QCOMPARE(windowsOf(*m_frame), (QStringList{QStringLiteral("Bezejmenný1 - Telefony"),
                                               QStringLiteral("Bezejmenný2 - Telefony")}));
    QCOMPARE(docs().documents().size(), std::size_t(2));
  }

  void openShowsOneWindowPerModeWithRecords() {
    const QString path = writeFixture(QStringLiteral("diář.dux"));
    CDuxelDoc* doc = docs().openDocument(path);
    QVERIFY(doc);
    QCOMPARE(windowsOf(*m_frame), fixtureWindows(QStringLiteral("diář.dux")));
    QCOMPARE(describe(*doc), kFixtureRecords);
    QCOMPARE(docs().title(doc), QStringLiteral("diář.dux"));
    QVERIFY(!doc->IsModified());
  }

  void openingAnOpenFileActivatesIt() {
    const QString path = writeFixture(QStringLiteral("a.dux"));
    CDuxelDoc* doc = docs().openDocument(path);
    m_frame->fileNew();
    QVERIFY(m_frame->activeDocument() != doc);
    QCOMPARE(docs().openDocument(m_dir->path() + QStringLiteral("/./a.dux")), doc);
    QCOMPARE(docs().documents().size(), std::size_t(2));
    QCOMPARE(m_frame->mdiArea()->subWindowList().size(), 5);
    QCOMPARE(m_frame->activeDocument(), doc);
  }

  void protectedFileOpensWithTheRightPassword() {
    const QString path = writeFixture(QStringLiteral("tajný.dux"), "žába12");
    ModalAnswerer answers;
    int maxLength = -1;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QString prompt;
    answers.then([&](QWidget* w) {
      QLineEdit* edit = w->findChild<QLineEdit*>();
      maxLength = edit->maxLength();
      echo = edit->echoMode();
      for (QLabel* label : w->findChildren<QLabel*>()) prompt += label->text();
      ModalAnswerer::typeAndEnter(QStringLiteral("žába12"))(w);
    });
    CDuxelDoc* doc = docs().openDocument(path);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("dialog|Duxel - Tajný soubor")});
    QCOMPARE(prompt, QStringLiteral("Prosím vložte heslo:"));
    QCOMPARE(maxLength, 10);
    QCOMPARE(echo, QLineEdit::Password);
    QVERIFY(doc);
    QVERIFY(doc->IsProtected());
    QCOMPARE(windowsOf(*m_frame), fixtureWindows(QStringLiteral("tajný.dux")));
  }

  void wrongPasswordGivesNoDocument_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("upper case") << false;
    QTest::newRow("cancelled") << true;
  }

  void wrongPasswordGivesNoDocument() {
    QFETCH(bool, cancel);
    const QString path = writeFixture(QStringLiteral("tajný.dux"), "žába12");
    ModalAnswerer answers;
    answers.then(cancel ? ModalAnswerer::cancel() : ModalAnswerer::typeAndEnter("ŽÁBA12"))
        .then(ModalAnswerer::press(QMessageBox::Ok))
        .then(ModalAnswerer::press(QMessageBox::Ok));
    QCOMPARE(docs().openDocument(path), nullptr);
    QCOMPARE(answers.seen,
             (QStringList{QStringLiteral("dialog|Duxel - Tajný soubor"),
                          QStringLiteral("critical|Zadané heslo není správné!"),
                          QStringLiteral("critical|Nezdařilo se otevřít dokument.")}));
    QCOMPARE(docs().documents().size(), std::size_t(0));
    QCOMPARE(windowsOf(*m_frame), QStringList());
    QCOMPARE(docs().recentFiles(), QStringList());
  }

  void damagedFileGivesNoDocument() {
    QFile good(writeFixture(QStringLiteral("dobrý.dux")));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    // Cut inside the last list: the stream ends before its layout does.
    const QString path = writeBytes(QStringLiteral("poškozený.dux"), bytes.left(bytes.size() - 7));
    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Ok));
    QCOMPARE(docs().openDocument(path), nullptr);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("critical|Neočekávaný tvar souboru.")});
    QVERIFY2(!answers.detailedTexts.value(0).isEmpty(), "the technical reason is in the details");
    QCOMPARE(docs().documents().size(), std::size_t(0));
    QCOMPARE(windowsOf(*m_frame), QStringList());
  }

  void missingFileGivesNoDocument() {
    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Ok));
    QCOMPARE(docs().openDocument(m_dir->filePath(QStringLiteral("není.dux"))), nullptr);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("critical|Nezdařilo se otevřít dokument.")});
    QCOMPARE(docs().documents().size(), std::size_t(0));
  }

  void headerWarningOpensAnEmptyDocument_data() {
    QTest::addColumn<QByteArray>("bytes");
    // Three bytes cannot hold the 4-byte signature.
    QTest::newRow("3 bytes") << QByteArray("D39", 3);
    // "D390" and one byte of the 2-byte marker.
    QTest::newRow("no marker") << QByteArray("D390N", 5);
    // An unprotected file of the older format is refused the same way.
    QTest::newRow("unprotected D303") << QByteArray("D303NP", 6);
  }

  void headerWarningOpensAnEmptyDocument() {
    QFETCH(QByteArray, bytes);
    const QString path = writeBytes(QStringLiteral("krátký.dux"), bytes);
    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Ok));
    CDuxelDoc* doc = docs().openDocument(path);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("warning|Příkaz se nepovedlo provést.")});
    QVERIFY(doc);
    QCOMPARE(windowsOf(*m_frame), QStringList{QStringLiteral("krátký.dux - Telefony")});
    QCOMPARE(describe(*doc), QStringList());
  }

  void saveAsWritesAFileThatLoadsBack() {
    CDuxelDoc* doc = docs().openDocument(writeFixture(QStringLiteral("původní.dux")));
    QVERIFY(doc);
    docs().setModified(doc, true);
    const QString copy = m_dir->filePath(QStringLiteral("kopie.dux"));
    QVERIFY(docs().saveAs(doc, copy));
    QVERIFY(!doc->IsModified());
    QCOMPARE(windowsOf(*m_frame), fixtureWindows(QStringLiteral("kopie.dux")));
    QCOMPARE(docs().recentFiles().value(0), copy);

    CDuxelDoc loaded;
    const DocResult r = loaded.LoadFile(QFile::encodeName(copy).toStdString(), nullptr);
    QCOMPARE(QString::fromStdString(r.reason), QString());
    QVERIFY(r.ok());
    QCOMPARE(describe(loaded), kFixtureRecords);
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("kopie.dux"), QStringLiteral("původní.dux")}));
  }

  void saveOfAProtectedDocumentKeepsItsPassword() {
    const QString path = writeFixture(QStringLiteral("tajný.dux"), "heslo");
    ModalAnswerer answers;
    answers.then(ModalAnswerer::typeAndEnter(QStringLiteral("heslo")));
    CDuxelDoc* doc = docs().openDocument(path);
    QVERIFY(doc);
    QVERIFY(m_frame->fileSave());

    CDuxelDoc loaded;
    bool asked = false;
    const DocResult r = loaded.LoadFile(QFile::encodeName(path).toStdString(), [&asked]() {
      asked = true;
      return std::optional<std::string>("heslo");
    });
    QVERIFY(r.ok());
    QVERIFY(asked);
    QCOMPARE(describe(loaded), kFixtureRecords);
  }

  void failedSaveKeepsTheDocumentModified() {
    m_frame->fileNew();
    CDuxelDoc* doc = m_frame->activeDocument();
    QVERIFY(doc);
    docs().setModified(doc, true);
    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Ok));
    QVERIFY(!docs().saveAs(doc, m_dir->filePath(QStringLiteral("chybí/nový.dux"))));
    QCOMPARE(answers.seen.size(), 1);
    QVERIFY2(answers.seen[0].startsWith(QStringLiteral("critical|Nezdařilo se uložit dokument.\n")),
             qPrintable(answers.seen[0]));
    QVERIFY2(answers.seen[0].contains(QStringLiteral("chybí/nový.dux")),
             qPrintable(answers.seen[0]));
    QVERIFY(doc->IsModified());
    QCOMPARE(windowsOf(*m_frame), QStringList{QStringLiteral("Bezejmenný1* - Telefony")});
    QCOMPARE(docs().path(doc), QString());
  }

  void closingTheLastWindowAsksToSave() {
    m_frame->fileNew();
    CDuxelDoc* doc = m_frame->activeDocument();
    docs().setModified(doc, true);
    QMdiSubWindow* window = m_frame->mdiArea()->subWindowList().first();

    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Cancel));
    QVERIFY(!window->close());
    QCOMPARE(answers.seen, QStringList{QStringLiteral("question|Uložit změny do Bezejmenný1?")});
    QCOMPARE(docs().documents().size(), std::size_t(1));
    QCOMPARE(windowsOf(*m_frame), QStringList{QStringLiteral("Bezejmenný1* - Telefony")});

    answers.then(ModalAnswerer::press(QMessageBox::No));
    QVERIFY(window->close());
    QTRY_COMPARE(docs().documents().size(), std::size_t(0));
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(windowsOf(*m_frame), QStringList());
  }

  void closingTheLastWindowSavesOnYes() {
    const QString path = writeFixture(QStringLiteral("uložit.dux"));
    CDuxelDoc* doc = docs().openDocument(path);
    // Empty the document so that the file on disk shows whether it was saved.
    for (int mode = 0; mode < kModeCount; ++mode) doc->GetList(mode)->DeleteAll();
    docs().setModified(doc, true);
    const QList<QMdiSubWindow*> windows = m_frame->mdiArea()->subWindowList();
    // The views hold the records they show: they let go of the deleted ones.
    for (QMdiSubWindow* w : windows) qobject_cast<CDuxelView*>(w->widget())->refresh();
    QCOMPARE(windows.size(), 4);

    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::Yes));
    // Only the last window of a document asks.
    for (QMdiSubWindow* w : windows) QVERIFY(w->close());
    QCOMPARE(answers.seen, QStringList{QStringLiteral("question|Uložit změny do ") + path + u'?'});
    QTRY_COMPARE(docs().documents().size(), std::size_t(0));

    CDuxelDoc loaded;
    QVERIFY(loaded.LoadFile(QFile::encodeName(path).toStdString(), nullptr).ok());
    QCOMPARE(describe(loaded), QStringList());
  }

  void closingTheFrameAsksForEveryModifiedDocument() {
    m_frame->fileNew();
    docs().setModified(m_frame->activeDocument(), true);
    m_frame->fileNew();
    m_frame->fileNew();
    docs().setModified(m_frame->activeDocument(), true);

    ModalAnswerer answers;
    answers.then(ModalAnswerer::press(QMessageBox::No))
        .then(ModalAnswerer::press(QMessageBox::Cancel));
    QVERIFY(!m_frame->close());
    QCOMPARE(docs().documents().size(), std::size_t(3));

    answers.then(ModalAnswerer::press(QMessageBox::No)).then(ModalAnswerer::press(QMessageBox::No));
    QVERIFY(m_frame->close());
    QCOMPARE(answers.seen, (QStringList{QStringLiteral("question|Uložit změny do Bezejmenný1?"),
                                        QStringLiteral("question|Uložit změny do Bezejmenný3?"),
                                        QStringLiteral("question|Uložit změny do Bezejmenný1?"),
                                        QStringLiteral("question|Uložit změny do Bezejmenný3?")}));
    QCOMPARE(docs().documents().size(), std::size_t(0));
    QCOMPARE(windowsOf(*m_frame), QStringList());
  }

  void modifiedDocumentShowsAStar() {
    CDuxelDoc* doc = docs().openDocument(writeFixture(QStringLiteral("hvězda.dux")));
    docs().setModified(doc, true);
    QStringList titles;
    for (QMdiSubWindow* w : m_frame->documentWindows(doc)) titles << shownTitle(w);
    QCOMPARE(titles, (QStringList{QStringLiteral("hvězda.dux* - Poznámky"),
                                  QStringLiteral("hvězda.dux* - Telefony"),
                                  QStringLiteral("hvězda.dux* - Vizitky"),
                                  QStringLiteral("hvězda.dux* - Co dělat")}));
  }

  void recentFilesKeepTheLastFour() {
    QStringList paths;
    for (int i = 1; i <= 5; ++i) paths << writeFixture(QStringLiteral("s%1.dux").arg(i));
    for (const QString& p : paths) QVERIFY(docs().openDocument(p));
    const QStringList newestFirst{paths[4], paths[3], paths[2], paths[1]};
    QCOMPARE(docs().recentFiles(), newestFirst);

    // Opening one again moves it to the front.
    QVERIFY(docs().openDocument(paths[2]));
    QCOMPARE(docs().recentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    // The list lives in the profile, where the next run finds it.
    QSettings profile(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
    QCOMPARE(profile.value(QStringLiteral("Recent File List/File1")).toString(), paths[2]);
    QCOMPARE(profile.value(QStringLiteral("Recent File List/File4")).toString(), paths[1]);
    QVERIFY(!profile.contains(QStringLiteral("Recent File List/File5")));

    // And in the file menu.
    QStringList shown;
    for (QAction* a : m_frame->menuBar()->actions().first()->menu()->actions())
      if (a->isVisible() && a->data().isValid()) shown << a->text();
    QCOMPARE(shown,
             (QStringList{"&1 " + paths[2], "&2 " + paths[4], "&3 " + paths[3], "&4 " + paths[1]}));
  }

  void droppedFilesOpen() {
    const QString a = writeFixture(QStringLiteral("a.dux"));
    const QString b = writeFixture(QStringLiteral("b.dux"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &drop);
    QStringList titles;
    for (CDuxelDoc* doc : docs().documents()) titles << docs().title(doc);
    QCOMPARE(titles, (QStringList{QStringLiteral("a.dux"), QStringLiteral("b.dux")}));
  }

  void commandLineNamesOneFile() {
    // A path with a blank reaches the program as two arguments; together they are one path.
    const QString path = writeFixture(QStringLiteral("můj diář.dux"));
    m_frame->openCommandLine(path.split(u' '));
    QCOMPARE(windowsOf(*m_frame), fixtureWindows(QStringLiteral("můj diář.dux")));
    QCOMPARE(docs().documents().size(), std::size_t(1));
  }

  void screenshot() {
    // Set DUXEL_SCREENSHOT to a file name to look at the window.
    docs().openDocument(writeFixture(QStringLiteral("diář.dux")));
    m_frame->mdiArea()->tileSubWindows();
    const QImage image = m_frame->grab().toImage();
    QVERIFY(!image.isNull());
    const QByteArray target = qgetenv("DUXEL_SCREENSHOT");
    if (!target.isEmpty()) QVERIFY(image.save(QString::fromLocal8Bit(target)));
  }
};

QTEST_MAIN(MainFrameTest)
#include "test_mainframe.moc"
