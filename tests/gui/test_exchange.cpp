// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import through the file dialog with its mappings and the mapping editor, with
// our text driver registered in this program's own ODBC configuration.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "ModalAnswerer.h"
#include "document/CDuxelDoc.h"
#include "records/CcTelefon.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/exchange/ExchangeFilePicker.h"
#include "views/exchange/MappingControl.h"
#include "views/exchange/MappingEditor.h"
#include "views/exchange/ModeExchange.h"

namespace {

const char kTextDriver[] = "Duxel Text Driver (*.txt; *.csv)";

QStringList Names(const ExchangeSettings& settings) {
  QStringList names;
  for (const FieldMapping& m : settings.mappings.All()) names << QStringFromCp1250(m.name);
  return names;
}

QList<QPair<int, int>> Links(const std::vector<uint16_t>& pairs) {
  QList<QPair<int, int>> links;
  for (uint16_t p : pairs) links.append({p >> 8, p & 0xFF});
  return links;
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

QStringList ComboItems(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

void ClickRow(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

void AddPhone(CDuxelDoc& doc, const char* name, const char* number) {
  auto* phone = new CcTelefon;
  phone->m_fields[0] = Cp1250FromUtf8(name);
  phone->m_fields[1] = number;
  doc.GetList(1)->InsertSorted(phone);
}

// The screenshots go where DUXEL_SCREENSHOTS points, when it is set.
void Screenshot(QWidget* w, const char* name) {
  const QString folder = qEnvironmentVariable("DUXEL_SCREENSHOTS");
  if (!folder.isEmpty()) w->grab().save(folder + u'/' + QLatin1String(name) + ".png");
}

}  // namespace

class TestExchange : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Our driver, one without a list of file types and one whose list has no extension.
    const QString odbc = qEnvironmentVariable("ODBCSYSINI");
    QVERIFY(!odbc.isEmpty());
    QFile drivers(odbc + "/odbcinst.ini");
    QVERIFY(drivers.open(QIODevice::WriteOnly | QIODevice::Truncate));
    drivers.write(QByteArray("[") + kTextDriver +
                  "]\nDriver=" DUXELTXT_LIBRARY "\nSetup=" DUXELTXT_LIBRARY
                  "\n[Plain SQL Driver]\nDriver=/nonexistent/libplain.so\n"
                  "[Spreadsheet Driver (workbooks)]\nDriver=/nonexistent/libbook.so\n");
    drivers.close();
    QFile sources(qEnvironmentVariable("ODBCINI"));
    QVERIFY(sources.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // Whatever the machine's locale, no decimal comma is reported unless a test sets one.
    QSettings profile(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
    profile.setValue("intl/sDecimal", ".");
    profile.setValue("intl/sMonDecimalSep", ".");
    QVERIFY(m_dir.isValid());
  }

  void init() { MessageTestHook::takeShown(); }

  void fileTypesLeaveOutDriversWithoutExtensionList() {
    CDuxelDoc doc;
    AddPhone(doc, "Novák Jan", "602");
    ExchangeSettings settings;
    QStringList filters, shownTypes, mappings;
    QString title, suffix;
    ModalAnswerer answers;
    answers.then([&](QWidget* w) {
      auto* picker = qobject_cast<ExchangeFilePicker*>(w);
      if (!picker) return;
      filters = picker->nameFilters();
      shownTypes = ComboItems(picker->findChild<QComboBox*>("fileTypeCombo"));
      mappings = ComboItems(picker->mappingCombo());
      title = picker->windowTitle();
      suffix = picker->defaultSuffix();
      picker->reject();
    });
    const ModeExchangeResult r = ExportModeRecords(nullptr, doc, 1, settings);
    QCOMPARE(answers.seen, QStringList{"dialog|Telefony - Vyberte soubor a jeho typ pro export"});
    QCOMPARE(filters, QStringList{"Duxel Text Driver (*.txt; *.csv) (*.txt *.csv)"});
    QCOMPARE(shownTypes, QStringList{kTextDriver});
    QCOMPARE(mappings, QStringList{"Všechna pole"});
    QCOMPARE(suffix, QStringLiteral("csv"));
    QCOMPARE(int(r.result.status), int(ExchangeStatus::Cancelled));
    QCOMPARE(r.statusText, QString());
    QCOMPARE(MessageTestHook::takeShown(), QStringList());

    // A decimal comma in the system's settings is asked about first; Storno ends quietly.
    QSettings profile(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
    profile.setValue("intl/sMonDecimalSep", ",");
    profile.sync();
    MessageTestHook::setNextAnswer(QMessageBox::Cancel);
    const ModeExchangeResult asked = ExportModeRecords(nullptr, doc, 1, settings);
    profile.setValue("intl/sMonDecimalSep", ".");
    QCOMPARE(MessageTestHook::takeShown(), QStringList{UiText(IDS_DECIMAL_COMMA)});
    QVERIFY(UiText(IDS_DECIMAL_COMMA).contains("v místním nastavení systému (locale)"));
    QCOMPARE(int(asked.result.status), int(ExchangeStatus::Cancelled));
    QCOMPARE(answers.seen.size(), 1);
  }

  void blankInFileNameIsRefusedAndTheDialogStaysOpen() {
    CDuxelDoc doc;
    AddPhone(doc, "Novák Jan", "602");
    ExchangeSettings settings;
    QStringList shownAfterBlank;
    bool openAfterBlank = false;
    ModalAnswerer answers;
    answers.then([&](QWidget* w) {
      auto* picker = qobject_cast<ExchangeFilePicker*>(w);
      if (!picker) return;
      picker->setDirectory(m_dir.path());
      picker->selectFile("moje telefony.csv");
      MessageTestHook::setNextAnswer(QMessageBox::Ok);
      picker->accept();
      shownAfterBlank = MessageTestHook::takeShown();
      openAfterBlank = picker->isVisible();
      // Without an extension the file type's own is added.
      picker->selectFile("telefony");
      picker->accept();
    });
    const ModeExchangeResult r = ExportModeRecords(nullptr, doc, 1, settings);
    QCOMPARE(shownAfterBlank, QStringList{UiText(IDS_BLANK_IN_FILE_NAME)});
    QVERIFY(openAfterBlank);
    const QString path = m_dir.filePath("telefony.csv");
    QCOMPARE(int(r.result.status), int(ExchangeStatus::Done));
    QCOMPARE(r.statusText, "Do souboru " + path + " exportováno záznamů: 1");
    QVERIFY(QFile::exists(path));
    QCOMPARE(QStringFromCp1250(settings.exportDriver), QString(kTextDriver));

    // The same name again: replaced only after the user agreed.
    answers.then([&](QWidget* w) {
      auto* picker = qobject_cast<ExchangeFilePicker*>(w);
      if (!picker) return;
      picker->setDirectory(m_dir.path());
      picker->selectFile("telefony.csv");
      MessageTestHook::setNextAnswer(QMessageBox::No);
      picker->accept();
      picker->reject();
    });
    QCOMPARE(int(ExportModeRecords(nullptr, doc, 1, settings).result.status),
             int(ExchangeStatus::Cancelled));
    QCOMPARE(MessageTestHook::takeShown(), QStringList{"telefony.csv již existuje.\nChcete jej "
                                                       "nahradit?"});
  }

  void aFailureIsShownWithTheStopIconAndNormalPointer() {
    CDuxelDoc doc;
    AddPhone(doc, "Novák Jan", "602");
    ExchangeSettings settings;
    // The only link goes to a field the record does not have: no column is left.
    settings.mappings.Add({"Mimo", {0x0014}});
    settings.exportMapping = 1;
    Qt::CursorShape pointer = Qt::BlankCursor;
    ModalAnswerer answers;
    answers
        .then([&](QWidget* w) {
          auto* picker = qobject_cast<ExchangeFilePicker*>(w);
          if (!picker) return;
          picker->setDirectory(m_dir.path());
          picker->selectFile("mimo.csv");
          picker->accept();
        })
        .then([&](QWidget* w) {
          if (QApplication::overrideCursor()) pointer = QApplication::overrideCursor()->shape();
          ModalAnswerer::press(QMessageBox::Ok)(w);
        });
    const ModeExchangeResult r = ExportModeRecords(nullptr, doc, 1, settings);
    QCOMPARE(answers.seen.value(1), "critical|" + UiText(IDS_NO_COLUMNS));
    QCOMPARE(pointer, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(int(r.result.status), int(ExchangeStatus::Failed));
    QCOMPARE(r.result.messageId, int(IDS_NO_COLUMNS));
    QCOMPARE(r.statusText, QString());
  }

  void editorAddsRenamesAndRemovesMappingsAndStornoPutsThemBack() {
    ExchangeSettings settings;
    settings.mappings.Add({Cp1250FromUtf8("Prohození"), {0x0001, 0x0100}});
    settings.importMapping = 1;
    const QStringList fields{"Jmeno", "Telefon", "Adresa"};
    MappingEditor editor(settings, true, fields, {}, 1);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto* combo = editor.findChild<QComboBox*>("mappingCombo");
    QPushButton* add = Button(&editor, "addButton");
    QPushButton* remove = Button(&editor, "removeButton");
    QPushButton* rename = Button(&editor, "renameButton");
    auto enabled = [&]() {
      return QList<bool>{add->isEnabled(), remove->isEnabled(), rename->isEnabled()};
    };
    QCOMPARE(editor.windowTitle(), QStringLiteral("Mapování pro export"));
    QCOMPARE(Items(editor.control()->sourceList()), fields);
    QCOMPARE(Items(editor.control()->targetList()), (QStringList{"Pole 1", "Pole 2", "Pole 3"}));
    QCOMPARE(enabled(), (QList<bool>{false, true, false}));

    combo->setEditText("Nové");
    QCOMPARE(enabled(), (QList<bool>{true, false, true}));
    add->click();
    QCOMPARE(Names(settings), (QStringList{"Všechna pole", "Prohození", "Nové"}));
    QCOMPARE(Links(settings.mappings[2].pairs), (QList<QPair<int, int>>{{0, 1}, {1, 0}}));
    QCOMPARE(editor.currentMapping(), 2);
    QCOMPARE(enabled(), (QList<bool>{false, true, false}));

    combo->setEditText("Jiné");
    rename->click();
    QCOMPARE(Names(settings), (QStringList{"Všechna pole", "Prohození", "Jiné"}));
    QCOMPARE(ComboItems(combo), Names(settings));

    // Removing takes the next entry at the same place, or the one before the last.
    combo->setCurrentIndex(1);
    remove->click();
    QCOMPARE(Names(settings), (QStringList{"Všechna pole", "Jiné"}));
    QCOMPARE(combo->currentText(), QStringLiteral("Jiné"));
    QCOMPARE(editor.currentMapping(), 1);
    QCOMPARE(settings.importMapping, 0);
    remove->click();
    QCOMPARE(Names(settings), QStringList{"Všechna pole"});
    QCOMPARE(editor.currentMapping(), 0);

    // The built-in mapping, however it is typed, is never renamed or removed.
    combo->setEditText("všechna POLE");
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));

    Button(&editor, "cancelButton")->click();
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QCOMPARE(Names(settings), (QStringList{"Všechna pole", "Prohození"}));
    QCOMPARE(Links(settings.mappings[1].pairs), (QList<QPair<int, int>>{{0, 1}, {1, 0}}));
    QCOMPARE(settings.importMapping, 1);
  }

  void mapAllAndClearAll() {
    ExchangeSettings settings;
    settings.mappings.Add({"Prazdne", {}});
    // Import of a file with more columns than the record has fields: the surplus columns all
    // go to the last field.
    const QStringList fields{"Jmeno", "Telefon", "Adresa"};
    const QStringList columns{"a", "b", "c", "d", "e"};
    MappingEditor editor(settings, false, fields, columns, 1);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Mapování pro import"));
    QCOMPARE(Items(editor.control()->sourceList()), columns);
    QCOMPARE(editor.findChild<QLabel*>("recordCaption")->text(),
             QStringLiteral("Pole položky pro import"));
    Button(&editor, "mapAllButton")->click();
    const QList<QPair<int, int>> all{{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 2}};
    QCOMPARE(Links(settings.mappings[1].pairs), all);
    QCOMPARE(editor.control()->model().Links().size(), std::size_t(5));
    Button(&editor, "clearAllButton")->click();
    QVERIFY(settings.mappings[1].pairs.empty());
    QCOMPARE(editor.control()->model().Links().size(), std::size_t(0));
    Button(&editor, "okButton")->click();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.currentMapping(), 1);
  }

  void linksFollowScrollingAndEachStateHasItsPointer() {
    MappingControl control;
    QStringList rows;
    for (int i = 1; i <= 40; ++i) rows << QString::number(i);
    control.setUp(rows, rows, {0x0A0A});
    control.resize(500, 200);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    QCOMPARE(control.sourceList()->width(), 200);
    QCOMPARE(control.linkStrip()->geometry(), QRect(200, 0, 100, 200));
    QListWidget* sources = control.sourceList();
    const int before = control.rowMiddle(sources, 10);
    const int rowHeight = sources->visualItemRect(sources->item(0)).height();
    sources->verticalScrollBar()->setValue(4);
    QCOMPARE(control.rowMiddle(sources, 10), before - 4 * rowHeight);
    QCOMPARE(control.rowMiddle(control.targetList(), 10), before);

    QCOMPARE(control.cursor().shape(), Qt::ArrowCursor);
    ClickRow(sources, 12);
    QCOMPARE(int(control.model().state()), int(MappingControlModel::State::SourceChosen));
    QCOMPARE(control.cursor().shape(), Qt::BitmapCursor);
    const QImage sourcePointer = control.cursor().pixmap().toImage();
    ClickRow(sources, 12);
    QCOMPARE(int(control.model().state()), int(MappingControlModel::State::Idle));
    QCOMPARE(control.cursor().shape(), Qt::ArrowCursor);
    ClickRow(control.targetList(), 3);
    QCOMPARE(int(control.model().state()), int(MappingControlModel::State::TargetChosen));
    QCOMPARE(control.cursor().shape(), Qt::BitmapCursor);
    QVERIFY(control.cursor().pixmap().toImage() != sourcePointer);
  }

  void exportWithASwappedMappingDrawnInTheEditor() {
    CDuxelDoc doc;
    AddPhone(doc, "Novák Jan", "+420 602 123 456");
    AddPhone(doc, "Černý Adam", "603 000 111");
    ExchangeSettings settings;
    QList<QPair<int, int>> drawn;
    QStringList pickerMappings;
    ModalAnswerer answers;
    answers
        .then([&](QWidget* w) {
          auto* picker = qobject_cast<ExchangeFilePicker*>(w);
          if (!picker) return;
          picker->resize(760, 480);
          picker->setDirectory(m_dir.path());
          picker->selectFile("prohozeni.csv");
          QTimer::singleShot(0, picker->mappingButton(), &QPushButton::click);
        })
        .then([&](QWidget* w) {
          auto* editor = qobject_cast<MappingEditor*>(w);
          if (!editor) return;
          editor->findChild<QComboBox*>("mappingCombo")->setEditText("Prohození");
          Button(editor, "addButton")->click();
          Button(editor, "clearAllButton")->click();
          MappingControl* control = editor->control();
          ClickRow(control->sourceList(), 0);
          ClickRow(control->targetList(), 1);
          ClickRow(control->sourceList(), 1);
          ClickRow(control->targetList(), 0);
          drawn = Links(control->pairs());
          Screenshot(editor, "mapping-editor");
          Button(editor, "okButton")->click();
        })
        .then([&](QWidget* w) {
          auto* picker = qobject_cast<ExchangeFilePicker*>(w);
          if (!picker) return;
          pickerMappings = ComboItems(picker->mappingCombo());
          pickerMappings << picker->mappingCombo()->currentText();
          Screenshot(picker, "exchange-file-dialog");
          picker->accept();
        });
    const ModeExchangeResult r = ExportModeRecords(nullptr, doc, 1, settings);
    QCOMPARE(answers.seen, (QStringList{"dialog|Telefony - Vyberte soubor a jeho typ pro export",
                                        "dialog|Mapování pro export",
                                        "dialog|Telefony - Vyberte soubor a jeho typ pro export"}));
    QCOMPARE(drawn, (QList<QPair<int, int>>{{0, 1}, {1, 0}}));
    QCOMPARE(pickerMappings, (QStringList{"Všechna pole", "Prohození", "Prohození"}));
    QCOMPARE(int(r.result.status), int(ExchangeStatus::Done));
    QCOMPARE(settings.exportMapping, 1);

    // What a spreadsheet program reads.
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "with open(sys.argv[1], encoding='cp1250', newline='') as f:\n"
                             "    print(json.dumps(list(csv.reader(f)), ensure_ascii=False))\n",
                             m_dir.filePath("prohozeni.csv")});
    QVERIFY(python.waitForFinished(10000));
    QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
             QStringLiteral("[[\"Telefon\", \"Jmeno\"], [\"+420 602 123 456\", \"Novák Jan\"], "
                            "[\"603 000 111\", \"Černý Adam\"]]"));
  }

  void importOfTheSameFileTwiceAddsNothing() {
    const QString path = m_dir.filePath("dovoz.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Jmeno,Telefon\r\nNov\xE1k Jan,602\r\n\xC8\x65rn\xFD Adam,603\r\n");
    file.close();
    CDuxelDoc doc;
    ExchangeSettings settings;
    QStringList editorSources, missing;
    auto choose = [&](ModalAnswerer& answers, bool lookAtColumns) {
      answers.then([&, lookAtColumns](QWidget* w) {
        auto* picker = qobject_cast<ExchangeFilePicker*>(w);
        if (!picker) return;
        picker->setDirectory(m_dir.path());
        // A file that is not there is refused and the dialog stays.
        picker->selectFile("chybi.csv");
        MessageTestHook::setNextAnswer(QMessageBox::Ok);
        picker->accept();
        missing = MessageTestHook::takeShown();
        picker->selectFile("dovoz.csv");
        if (lookAtColumns)
          QTimer::singleShot(0, picker->mappingButton(), &QPushButton::click);
        else
          picker->accept();
      });
      if (!lookAtColumns) return;
      answers
          .then([&](QWidget* w) {
            auto* editor = qobject_cast<MappingEditor*>(w);
            if (!editor) return;
            editorSources = Items(editor->control()->sourceList());
            Button(editor, "cancelButton")->click();
          })
          .then([&](QWidget* w) {
            if (auto* picker = qobject_cast<ExchangeFilePicker*>(w)) picker->accept();
          });
    };
    QStringList seen;
    ModeExchangeResult once;
    {
      ModalAnswerer first;
      choose(first, true);
      once = ImportModeRecords(nullptr, doc, 1, settings);
      seen = first.seen;
    }
    QCOMPARE(missing, QStringList{UiText(IDS_FILE_OPEN_FAILED)});
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[1], QStringLiteral("dialog|Mapování pro import"));
    QCOMPARE(editorSources, (QStringList{"Jmeno", "Telefon"}));
    QCOMPARE(int(once.result.status), int(ExchangeStatus::Done));
    QCOMPARE(once.statusText, "Ze souboru " + path + " přidáno záznamů: 2, již v dokumentu: 0");
    QCOMPARE(int(doc.GetList(1)->GetCount()), 2);
    QVERIFY(doc.IsModified());
    QVERIFY(once.lastInserted);
    QCOMPARE(QStringFromCp1250(static_cast<CcTelefon*>(once.lastInserted)->m_fields[0]),
             QStringLiteral("Černý Adam"));

    ModalAnswerer second;
    choose(second, false);
    const ModeExchangeResult twice = ImportModeRecords(nullptr, doc, 1, settings);
    QCOMPARE(int(twice.result.status), int(ExchangeStatus::Done));
    QCOMPARE(twice.statusText, "Ze souboru " + path + " přidáno záznamů: 0, již v dokumentu: 2");
    QCOMPARE(twice.lastInserted, nullptr);
    QCOMPARE(int(doc.GetList(1)->GetCount()), 2);
    QCOMPARE(MessageTestHook::takeShown(), QStringList());
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(TestExchange)
#include "test_exchange.moc"
