// SPDX-License-Identifier: GPL-3.0-or-later
// The file menu's vCard and iCalendar entries as the user meets them: enabled only in the
// views whose records the format carries, an export that another program can read, and an
// import into an empty document that brings the same entries back with a status summary.

#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "document/CDuxelDoc.h"
#include "records/CCasioList.h"
#include "records/CcTelefon.h"
#include "records/Cp1250.h"
#include "views/CDuxelView.h"
#include "views/FileChooser.h"
#include "views/Messages.h"

namespace {
QStringList phoneBook(CDuxelDoc& doc) {
  QStringList lines;
  for (const CCasioPol* record : *doc.GetList(1)) {
    const auto* phone = static_cast<const CcTelefon*>(record);
    lines << QString::fromStdString(Utf8FromCp1250(phone->m_fields[0] + "|" + phone->m_fields[1]));
  }
  return lines;
}
}  // namespace

class InterchangeMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void telephoneBookGoesOutAsVCardAndComesBack() {
    QTemporaryDir dir;
    CMainFrame frame;
    frame.show();
    MessageTestHook::takeShown();  // the missing port at start-up

    CDuxelDoc* source = frame.documentManager()->newDocument();
    const char* entries[][2] = {{"Dvořák Antonín", "+420 603 111 222"},
                                {"Nováková Jana", "241 000 555"}};
    for (const auto& e : entries) {
      auto* phone = new CcTelefon;
      phone->m_fields[0] = Cp1250FromUtf8(e[0]);
      phone->m_fields[1] = Cp1250FromUtf8(e[1]);
      source->GetList(1)->InsertSorted(phone);
    }
    frame.openModeWindow(source, 1);
    frame.updateCommandStates();
    QVERIFY(frame.action(33001)->isEnabled());   // vCard export
    QVERIFY(!frame.action(33002)->isEnabled());  // a phone book is no calendar
    QVERIFY(frame.action(33003)->isEnabled());

    const QString path = dir.filePath(QStringLiteral("kontakty.vcf"));
    FileChooserTestHook::setNextFileName(path);
    frame.action(33001)->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString vcf = QString::fromUtf8(file.readAll());
    QCOMPARE(vcf.count(QStringLiteral("BEGIN:VCARD")), 2);
    QVERIFY(vcf.contains(QStringLiteral("FN:Dvořák Antonín")));
    QVERIFY(vcf.contains(QStringLiteral("+420 603 111 222")));
    QCOMPARE(frame.statusBar()->currentMessage(),
             QStringLiteral("Do souboru kontakty.vcf exportováno záznamů: 2"));

    CDuxelDoc* target = frame.documentManager()->newDocument();
    frame.openModeWindow(target, 1);
    FileChooserTestHook::setNextFileName(path);
    frame.action(33003)->trigger();
    QCOMPARE(target->GetList(1)->GetCount(), std::size_t(2));
    QCOMPARE(phoneBook(*target), phoneBook(*source));
    QCOMPARE(frame.activeView()->rowTexts().size(), 2);
    QVERIFY(target->IsModified());
    QVERIFY(!frame.statusBar()->currentMessage().isEmpty());
    QCOMPARE(MessageTestHook::takeShown(), QStringList());
    for (CDuxelDoc* doc : frame.documentManager()->documents()) doc->SetModifiedFlag(false);
  }
};

QTEST_MAIN(InterchangeMenuTest)
#include "test_interchangemenu.moc"
