// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's dialogs as the user meets them: transfer parameters, diary types (uniqueness,
// deletion, saving), the tip of the day's place in its file. With DUXEL_SCREENSHOTS set to a
// folder, each dialog is saved there as a picture.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "ModalAnswerer.h"
#include "app/DiaryTypeDialog.h"
#include "app/PortAdvice.h"
#include "app/TransferDialog.h"
#include "extras/AboutDialog.h"
#include "extras/SplashScreen.h"
#include "extras/TipDialog.h"
#include "qtadapters/QSettingsProfile.h"
#include "records/Cp1250.h"
#include "settings/MemoryProfile.h"
#include "views/GuiText.h"
#include "views/Messages.h"

namespace {

void Snapshot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("DUXEL_SCREENSHOTS");
  if (dir.isEmpty()) return;
  w->show();
  QTest::qWait(50);
  w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

template <typename T>
T* Child(QWidget* w, const QString& name) {
  T* child = w->findChild<T*>(name);
  if (!child) qFatal("no child %s", qPrintable(name));
  return child;
}

QStringList ListTexts(QListWidget* list) {
  QStringList texts;
  for (int r = 0; r < list->count(); ++r) texts << list->item(r)->text();
  return texts;
}

// Fills the diary-type editor the way a user does and presses OK.
ModalAnswerer::Action FillType(const QString& name, const QList<int>& without = {}) {
  return [name, without](QWidget* w) {
    auto* dialog = qobject_cast<DiaryTypeEditDialog*>(w);
    if (!dialog) return;
    Child<QLineEdit>(w, QStringLiteral("name"))->setText(name);
    for (int mode : without) Child<QCheckBox>(w, QStringLiteral("mode%1").arg(mode))->click();
    dialog->accept();
  };
}

}  // namespace

class ShellDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { MessageTestHook::takeShown(); }

  // Rates above the diary type's top speed come down and cannot be chosen; the delay is
  // refused outside 1..25; the devices are typed or chosen from the system's list.
  void transferRules_data() {
    QTest::addColumn<int>("maxSpeed");
    QTest::addColumn<int>("storedBaud");
    QTest::addColumn<int>("shownBaud");
    QTest::addColumn<QString>("enabledRates");
    QTest::newRow("2400 lowers 9600") << 2400 << 9600 << 2400 << "1200,2400";
    QTest::newRow("9600 keeps 4800") << 9600 << 4800 << 4800 << "1200,2400,4800,9600";
    QTest::newRow("1200 only") << 1200 << 2400 << 1200 << "1200";
    QTest::newRow("bad stored rate") << 4800 << 3000 << 1200 << "1200,2400,4800";
  }
  void transferRules() {
    QFETCH(int, maxSpeed);
    QFETCH(int, storedBaud);
    QFETCH(int, shownBaud);
    QFETCH(QString, enabledRates);
    LinkSettings stored;
    stored.baud = storedBaud;
    TransferDialog dialog(stored, maxSpeed, nullptr, {});
    QStringList enabled;
    int checked = 0;
    for (int rate : {1200, 2400, 4800, 9600}) {
      auto* radio = Child<QRadioButton>(&dialog, QStringLiteral("baud%1").arg(rate));
      if (radio->isEnabled()) enabled << QString::number(rate);
      if (radio->isChecked()) checked = rate;
    }
    QCOMPARE(enabled.join(u','), enabledRates);
    QCOMPARE(checked, shownBaud);
    QCOMPARE(dialog.settings().baud, shownBaud);
  }

  void transferDelayAndDevices() {
    LinkSettings stored;
    stored.port = 1;
    stored.parity = 2;
    stored.bits = 7;
    stored.devices = {"/dev/ttyUSB0", "/dev/ttyS0", "", "/dev/pts/7"};
    const QList<SerialPortChoice> ports = {{"/dev/ttyUSB0", "Prolific USB-Serial Controller"},
                                           {"/dev/ttyS0", "ttyS0"}};
    TransferDialog dialog(stored, 9600, nullptr, ports);
    QCOMPARE(Child<QLabel>(&dialog, "deviceNote1")->text(),
             QStringLiteral("Prolific USB-Serial Controller"));
    QCOMPARE(Child<QComboBox>(&dialog, "device1")->count(), 2);
    QVERIFY(Child<QRadioButton>(&dialog, "parity2")->isChecked());
    QVERIFY(Child<QRadioButton>(&dialog, "bits7")->isChecked());
    Snapshot(&dialog, QStringLiteral("transfer-dialog"));

    auto* delay = Child<QLineEdit>(&dialog, "delay");
    for (const char* bad : {"0", "26", "x", ""}) {
      delay->setText(QString::fromLatin1(bad));
      MessageTestHook::setNextAnswer(QMessageBox::Ok);
      dialog.accept();
      QCOMPARE(MessageTestHook::takeShown(),
               QStringList{QStringLiteral("Zadejte celé číslo mezi 1 a 25.")});
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    delay->setText(QStringLiteral("25"));
    Child<QRadioButton>(&dialog, "port3")->click();
    Child<QComboBox>(&dialog, "device3")->setEditText(QStringLiteral("/tmp/diary"));
    Child<QRadioButton>(&dialog, "parity1")->click();
    Child<QRadioButton>(&dialog, "bits8")->click();
    Child<QRadioButton>(&dialog, "baud4800")->click();
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(MessageTestHook::takeShown(), QStringList());
    const LinkSettings chosen = dialog.settings();
    QCOMPARE(chosen.port, 3);
    QCOMPARE(chosen.delay, 25);
    QCOMPARE(chosen.parity, 1);
    QCOMPARE(chosen.bits, 8);
    QCOMPARE(chosen.baud, 4800);
    QCOMPARE(chosen.devices, (std::array<std::string, 4>{"/dev/ttyUSB0", "/dev/ttyS0", "/tmp/diary",
                                                         "/dev/pts/7"}));
    // The chosen device does not exist: the dialog says so in the system's words.
    QCOMPARE(Child<QLabel>(&dialog, "deviceState")->text(),
             QStringLiteral("COM3: /tmp/diary: No such file or directory"));
  }

  void portAdviceNamesTheGroup() {
    qputenv("USER", "jana");
    QCOMPARE(PortFailureDetail("/dev/ttyUSB0", {LineError::PermissionDenied,
                                                "/dev/ttyUSB0: Permission denied", "dialout"}),
             QStringLiteral("/dev/ttyUSB0: Permission denied\n"
                            "Zařízení patří skupině dialout, přidejte se do ní:\n"
                            "  sudo usermod -a -G dialout jana\n"
                            "a pak se odhlaste a znovu přihlaste."));
    QCOMPARE(PortFailureDetail("/dev/ttyUSB0",
                               {LineError::Busy, "/dev/ttyUSB0: Device or resource busy", ""}),
             QStringLiteral("/dev/ttyUSB0: Device or resource busy"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    ShowPortOpenFailed(nullptr, "/dev/ttyUSB0",
                       {LineError::PermissionDenied, "/dev/ttyUSB0: Permission denied", "dialout"});
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"Nejde otevřít sériové rozhraní.\nZkuste nastavit nové přenosové "
                         "parametry.\n\n/dev/ttyUSB0: Permission denied\nZařízení patří "
                         "skupině dialout, přidejte se do ní:\n  sudo usermod -a -G "
                         "dialout jana\na pak se odhlaste a znovu přihlaste."});
    if (!qEnvironmentVariableIsEmpty("DUXEL_SCREENSHOTS")) {
      ModalAnswerer answer;
      answer.then([](QWidget* box) {
        Snapshot(box, QStringLiteral("port-permission"));
        ModalAnswerer::press(QMessageBox::Ok)(box);
      });
      ShowPortOpenFailed(
          nullptr, "/dev/ttyUSB0",
          {LineError::PermissionDenied, "/dev/ttyUSB0: Permission denied", "dialout"});
      MessageTestHook::takeShown();
    }
    QCOMPARE(CheckDeviceAccess("/dev/null").error, LineError::None);
    QCOMPARE(CheckDeviceAccess("/etc/hostname").error, LineError::Other);
  }

  // No stored types: only the default is listed, its details greyed, Edit and Delete off.
  void diaryTypesEmpty() {
    MemoryProfile profile;
    DiaryTypeDialog dialog(profile, CCasioModel(), nullptr);
    QCOMPARE(ListTexts(Child<QListWidget>(&dialog, "typeList")), QStringList{"SF-xxxx"});
    QVERIFY(!Child<QPushButton>(&dialog, "editButton")->isEnabled());
    QVERIFY(!Child<QPushButton>(&dialog, "deleteButton")->isEnabled());
    QCOMPARE(Child<QLabel>(&dialog, "screenWidth")->text(), QStringLiteral("16"));
    QCOMPARE(Child<QLabel>(&dialog, "maxSpeed")->text(), QStringLiteral("1200 BPS"));
    for (int mode = 0; mode < 10; ++mode)
      QCOMPARE(Child<QLabel>(&dialog, QStringLiteral("hasMode%1").arg(mode))->text(),
               QStringLiteral("ano"));
    QVERIFY(!Child<QLabel>(&dialog, "hasMode0")->isEnabledTo(&dialog));
  }

  // Names are unique exactly as typed: another capitalisation is a new type, the same name is
  // refused (message 34) whether created or renamed to. Names with "/" and "\" are stored
  // and come back exactly.
  void diaryTypesUniqueness() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("profile.conf"));
    QSettingsProfile profile(ini);
    DiaryTypeDialog dialog(profile, CCasioModel(), nullptr);
    auto* list = Child<QListWidget>(&dialog, "typeList");
    {
      ModalAnswerer answer;
      answer.then(FillType(QStringLiteral("SF-7/8"), {2}))
          .then(FillType(QStringLiteral("sf-7/8")))
          .then(FillType(QStringLiteral("SF-7/8")))
          .then(FillType(QStringLiteral("a\\b")));
      for (int i = 0; i < 4; ++i) {
        if (i == 2) MessageTestHook::setNextAnswer(QMessageBox::Ok);
        dialog.newModel();
      }
      QCOMPARE(answer.seen,
               QStringList({"dialog|Definice nového modelu", "dialog|Definice nového modelu",
                            "dialog|Definice nového modelu", "dialog|Definice nového modelu"}));
    }
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{QStringLiteral("SF-7/8\ntento typ diáře Casio již existuje.\n"
                                        "Poslední provedené změny budou zrušeny.")});
    QCOMPARE(ListTexts(list), QStringList({"a\\b", "SF-7/8", "sf-7/8"}));
    QCOMPARE(Child<QLabel>(&dialog, "typeName")->text(), QStringLiteral("a\\b"));

    // Renaming "sf-7/8" to the name of another type is refused; the type keeps its name.
    list->setCurrentRow(2);
    {
      ModalAnswerer answer;
      answer.then(FillType(QStringLiteral("SF-7/8")));
      MessageTestHook::setNextAnswer(QMessageBox::Ok);
      dialog.editModel();
      QCOMPARE(answer.seen, QStringList{"dialog|Editace již existujícího modelu"});
    }
    QCOMPARE(MessageTestHook::takeShown().size(), 1);
    QCOMPARE(ListTexts(list), QStringList({"a\\b", "SF-7/8", "sf-7/8"}));

    list->setCurrentRow(1);
    QCOMPARE(Child<QLabel>(&dialog, "hasMode2")->text(), QStringLiteral("ne"));
    Snapshot(&dialog, QStringLiteral("diary-types"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QStringFromCp1250(dialog.currentModel().m_name), QStringLiteral("SF-7/8"));
    QCOMPARE(dialog.currentModel().m_modeWidths[2], 0);

    QSettingsProfile again(ini);
    ModelList loaded;
    LoadModels(again, loaded);
    QStringList names;
    for (const auto& model : loaded) names << QStringFromCp1250(model->m_name);
    names.sort();
    QCOMPARE(names, QStringList({"SF-7/8", "a\\b", "sf-7/8"}));
    FreeModels(loaded);
  }

  // Deleting asks first; the entries after the deleted type still lead to their own types;
  // deleting the last type brings back the default.
  void diaryTypesDeletion() {
    MemoryProfile profile;
    profile.writeString("Model", "B", "20,2400,16,16,16,16,16,16,16,16,16,16");
    profile.writeString("Model", "A", "30,4800,16,16,16,16,16,16,16,16,16,16");
    profile.writeString("Model", "C", "40,9600,16,16,16,16,16,16,16,16,16,16");
    CCasioModel current;
    current.m_name = "C";
    DiaryTypeDialog dialog(profile, current, nullptr);
    auto* list = Child<QListWidget>(&dialog, "typeList");
    QCOMPARE(ListTexts(list), QStringList({"A", "B", "C"}));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("C"));
    QCOMPARE(Child<QLabel>(&dialog, "screenWidth")->text(), QStringLiteral("40"));

    list->setCurrentRow(1);  // "B", the first stored
    MessageTestHook::setNextAnswer(QMessageBox::Cancel);
    dialog.deleteModel();
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"B\nOpravdu chcete vymazat\ntento typ diáře Casio ze seznamu?"});
    QCOMPARE(ListTexts(list), QStringList({"A", "B", "C"}));

    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.deleteModel();
    QCOMPARE(ListTexts(list), QStringList({"A", "C"}));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("C"));  // now at the deleted place
    // Each entry still shows its own type.
    QCOMPARE(Child<QLabel>(&dialog, "screenWidth")->text(), QStringLiteral("40"));
    list->setCurrentRow(0);
    QCOMPARE(Child<QLabel>(&dialog, "maxSpeed")->text(), QStringLiteral("4800 BPS"));

    list->setCurrentRow(1);
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.deleteModel();
    QCOMPARE(list->currentItem()->text(), QStringLiteral("A"));  // the last went: the one before
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.deleteModel();
    QCOMPARE(ListTexts(list), QStringList{"SF-xxxx"});
    QVERIFY(!Child<QPushButton>(&dialog, "deleteButton")->isEnabled());
    MessageTestHook::takeShown();

    dialog.accept();
    QCOMPARE(dialog.currentModel().m_name, std::string("SF-xxxx"));
    QCOMPARE(profile.valueNames("Model"), std::vector<std::string>());
  }

  // When the old list cannot be removed, nothing changes: message 22, the dialog rejected.
  void diaryTypesSaveFailure() {
    MemoryProfile profile;
    profile.writeString("Model", "A", "30,4800,16,16,16,16,16,16,16,16,16,16");
    profile.setFailDeletes(true);
    DiaryTypeDialog dialog(profile, CCasioModel(), nullptr);
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.deleteModel();
    MessageTestHook::takeShown();
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.accept();
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"Definice typů diářů Casio nejdou uložit na\ndisk. Provedené změny "
                         "budou zrušeny."});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(profile.valueNames("Model"), std::vector<std::string>{"A"});
  }

  // The editor: a box ticked off keeps its width for when it is ticked again; a mode the
  // type lacked shows 0 and blocks OK; empty name and no mode are refused.
  void diaryTypeEditor() {
    CCasioModel model;
    model.m_name = "SF-4980";
    model.m_maxSpeed = 4800;
    model.m_modeWidths = {20, 22, 0, 16, 16, 16, 16, 16, 16, 16};
    DiaryTypeEditDialog dialog(model, QStringLiteral("Editace"), nullptr);
    QCOMPARE(Child<QComboBox>(&dialog, "maxSpeed")->currentText(), QStringLiteral("4800"));
    auto* telephone = Child<QCheckBox>(&dialog, "mode1");
    auto* telWidth = Child<QLineEdit>(&dialog, "width1");
    telWidth->setText(QStringLiteral("33"));
    telephone->click();
    QCOMPARE(telWidth->text(), QStringLiteral("16"));
    QVERIFY(!telWidth->isEnabled());
    telephone->click();
    QCOMPARE(telWidth->text(), QStringLiteral("33"));

    auto* scheduler = Child<QCheckBox>(&dialog, "mode2");
    QCOMPARE(Child<QLineEdit>(&dialog, "width2")->text(), QStringLiteral("16"));
    scheduler->click();
    QCOMPARE(Child<QLineEdit>(&dialog, "width2")->text(), QStringLiteral("0"));
    Snapshot(&dialog, QStringLiteral("diary-type-editor"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.accept();
    QCOMPARE(MessageTestHook::takeShown(), QStringList{"Zadejte celé číslo mezi 16 a 50."});
    Child<QLineEdit>(&dialog, "width2")->setText(QStringLiteral("50"));

    Child<QLineEdit>(&dialog, "name")->clear();
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.accept();
    QCOMPARE(MessageTestHook::takeShown(), QStringList{"Zadejte název typu diáře Casio"});
    Child<QLineEdit>(&dialog, "name")->setText(QStringLiteral("SF-R20"));

    for (int mode = 0; mode < 10; ++mode)
      Child<QCheckBox>(&dialog, QStringLiteral("mode%1").arg(mode))->setChecked(false);
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    dialog.accept();
    QCOMPARE(MessageTestHook::takeShown(),
             QStringList{"Typ diáře Casio musí mít\nnejméně jeden aktivní režim."});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    Child<QCheckBox>(&dialog, "mode2")->setChecked(true);
    Child<QCheckBox>(&dialog, "mode9")->setChecked(true);
    Child<QComboBox>(&dialog, "maxSpeed")->setCurrentIndex(3);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.model().m_name, std::string("SF-R20"));
    QCOMPARE(dialog.model().m_maxSpeed, 9600);
    QCOMPARE(dialog.model().m_modeWidths,
             (std::array<int32_t, 10>{0, 0, 50, 0, 0, 0, 0, 0, 0, 16}));
  }

  // The tip of the day goes on where it stopped, wraps at the end, starts again when the
  // file changes, and a file without tips does not hang.
  void tipsPosition() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tips.txt"));
    const auto writeTips = [&](const QByteArray& text) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(text);
    };
    writeTips(
        "; komentář\r\nPrvní tip\r\n\r\n  odsazený řádek není tip\n\tani tento\nDruhý tip\n"
        "; konec\n");
    MemoryProfile profile;
    {
      TipDialog dialog(profile, path, nullptr);
      QVERIFY(Child<QCheckBox>(&dialog, "showAtStartUp")->isChecked());
      QCOMPARE(dialog.tipText(), QStringLiteral("První tip"));
      Snapshot(&dialog, QStringLiteral("tip-of-the-day"));
      dialog.nextTip();
      QCOMPARE(dialog.tipText(), QStringLiteral("Druhý tip"));
      dialog.nextTip();
      QCOMPARE(dialog.tipText(), QStringLiteral("První tip"));  // wrapped
      Child<QCheckBox>(&dialog, "showAtStartUp")->setChecked(false);
      dialog.accept();
    }
    QCOMPARE(profile.getInt("Tip", "StartUp", -1), 1);
    QVERIFY(!ShowTipsAtStartUp(profile));
    {
      TipDialog dialog(profile, path, nullptr);
      QCOMPARE(dialog.tipText(), QStringLiteral("Druhý tip"));  // after the last one shown
      dialog.reject();
    }
    // An edited file (a new modification time) starts at its first tip again.
    QTest::qWait(20);
    writeTips("Nový první\nNový druhý\n");
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadWrite));
      QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5),
                               QFileDevice::FileModificationTime));
    }
    {
      TipDialog dialog(profile, path, nullptr);
      QCOMPARE(dialog.tipText(), QStringLiteral("Nový první"));
      dialog.reject();
    }
    // Comments only: one pass, then a text saying so and no further tips.
    writeTips("; jen komentáře\n\n  a odsazení\n");
    {
      TipDialog dialog(profile, path, nullptr);
      QCOMPARE(dialog.tipText(), UiText(IDS_NO_TIPS));
      QVERIFY(!Child<QPushButton>(&dialog, "nextTip")->isEnabled());
      dialog.reject();
    }
    TipDialog missing(profile, dir.filePath(QStringLiteral("none.txt")), nullptr);
    QCOMPARE(missing.tipText(), QStringLiteral("Soubor s Tipy nebyl nalezen."));
    QVERIFY(!Child<QPushButton>(&missing, "nextTip")->isEnabled());
  }

  void splashAndAbout() {
    SplashScreen* splash = ShowSplash(60000);
    QPointer<SplashScreen> alive(splash);
    Snapshot(splash, QStringLiteral("splash"));
    QTest::keyClick(splash, Qt::Key_Space);
    QTRY_VERIFY(alive.isNull());

    AboutDialog about;
    QVERIFY(Child<QLabel>(&about, "aboutText")->text().contains("GPL-3.0-or-later"));
    QVERIFY(AboutText().startsWith(QStringLiteral("Duxel ") + DuxelVersion() + u'\n'));
    Snapshot(&about, QStringLiteral("about"));
  }
};

QTEST_MAIN(ShellDialogsTest)
#include "test_shelldialogs.moc"
