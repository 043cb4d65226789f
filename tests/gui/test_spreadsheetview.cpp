// SPDX-License-Identifier: GPL-3.0-or-later
// The SpreadSheet mode as a user works it: the grid and its headers while scrolling, the
// focused cell's text, copying cells, deleting worksheets and exporting a marked one.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "FakeViewHost.h"
#include "document/CDuxelDoc.h"
#include "document/OdbcExchange.h"
#include "link/ReceiveBuffer.h"
#include "records/CcSpreadsheet.h"
#include "records/Regional.h"
#include "resources/StringTable.h"
#include "settings/AppSettings.h"
#include "viewmodel/ViewCommands.h"
#include "views/FontCache.h"
#include "views/ViewHost.h"
#include "views/controls/MarkingListBox.h"
#include "views/sheet/CSpreadsheetView.h"
#include "views/sheet/SpreadsheetGrid.h"

namespace {

using FakeHost = FakeViewHost;

// The exchange's user: chooses `path` as the text driver's file, remembers the messages.
class FakeUi : public ExchangeUi {
 public:
  std::string path;
  std::vector<int> messages;
  void ShowMessage(int id, MessageIcon) override { messages.push_back(id); }
  bool AskOkCancel(int, MessageIcon) override { return true; }
  bool ChooseFile(ExchangeFileDialog& dialog) override {
    for (std::size_t i = 0; i < dialog.fileTypes.types.size(); ++i)
      if (dialog.fileTypes.types[i].driver == "Duxel Text Driver (*.txt; *.csv)") dialog.type = int(i);
    dialog.path = path;
    return true;
  }
};

// A worksheet image as the diary sends it: size, the 37-character banner, header bytes with
// X = 400 (cells from offset 448), label cells, an 8-byte trailer.
std::vector<uint8_t> Image(const std::vector<std::tuple<int, int, std::string>>& labels) {
  std::vector<uint8_t> b(2, 0);
  const std::string banner = "Copyright 1991,92 v2.00, Lucid Corp. ";
  b.insert(b.end(), banner.begin(), banner.end());
  b.push_back(0);
  b.insert(b.end(), 7, 0);
  b.push_back(400 >> 8);
  b.push_back(400 & 0xFF);
  b.resize(448, 0);
  for (const auto& [row, column, text] : labels) {
    const std::size_t length = text.size() + 8;
    b.insert(b.end(), {uint8_t(length >> 8), uint8_t(length), uint8_t(row >> 8), uint8_t(row),
                       uint8_t(column), 0});
    b.insert(b.end(), text.begin(), text.end());
    b.insert(b.end(), 2, 0);
  }
  b.insert(b.end(), 8, 0);
  b[0] = uint8_t(b.size() >> 8);
  b[1] = uint8_t(b.size());
  return b;
}

CcSpreadsheet* Sheet(const char* name, std::vector<uint8_t> image, bool marked = false) {
  auto* s = new CcSpreadsheet;
  s->m_name = name;
  s->m_data = std::move(image);
  s->m_changed.m_year = 2024;
  s->m_changed.m_month = 5;
  s->m_changed.m_day = 9;
  s->m_mark = marked ? 1 : 0;
  return s;
}

QStringList Headers(const SpreadsheetGrid& g, bool columns) {
  QStringList texts;
  for (int i = 0; i < (columns ? SpreadsheetGrid::kColumns : SpreadsheetGrid::kRows); ++i)
    texts << (columns ? g.columnHeader(i) : g.rowHeader(i));
  return texts;
}

QStringList Cells(const SpreadsheetGrid& g) {
  QStringList texts;
  for (int r = 0; r < SpreadsheetGrid::kRows; ++r)
    for (int c = 0; c < SpreadsheetGrid::kColumns; ++c) texts << g.cellText(r, c);
  return texts;
}

}  // namespace

class TestSpreadsheetView : public QObject {
  Q_OBJECT

 private:
  FakeHost host;
  std::unique_ptr<CSpreadsheetView> open(CDuxelDoc& doc) {
    auto view = std::make_unique<CSpreadsheetView>(&doc, host);
    view->initialUpdate();
    view->resize(900, 460);
    view->show();
    view->activateWindow();
    QApplication::setActiveWindow(view.get());
    if (!QTest::qWaitForWindowActive(view.get())) qWarning("the view did not become active");
    return view;
  }

 private slots:
  void initTestCase() { SetRegionalSettings({1, '.', ':'}); }

  void headersFollowTheScrollBars() {
    SpreadsheetGrid grid;
    QCOMPARE(Headers(grid, true), (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(Headers(grid, false), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    grid.horizontalBar()->setValue(248);
    grid.horizontalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(grid.columnPosition(), 250);
    QCOMPARE(Headers(grid, true), (QStringList{"IQ", "IR", "IS", "IT"}));
    grid.horizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(grid.columnPosition(), 250);
    grid.horizontalBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(Headers(grid, true), (QStringList{"IM", "IN", "IO", "IP"}));
    grid.verticalBar()->setValue(9990);
    grid.verticalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(grid.rowPosition(), 9991);
    QCOMPARE(Headers(grid, false),
             (QStringList{"9992", "9993", "9994", "9995", "9996", "9997", "9998", "9999"}));
    grid.verticalBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(grid.rowPosition(), 0);
    QCOMPARE(grid.rowHeader(0), QStringLiteral("1"));
  }

  void cellsFocusAndCopy() {
    CDuxelDoc doc;
    doc.GetList(kSpreadSheet)->AddTail(
        Sheet("Budget", Image({{1, 1, "Rent"}, {2, 2, "x"}, {9, 3, "far away text"}, {1, 2, "1200"}})));
    auto view = open(doc);
    SpreadsheetGrid* g = view->grid();
    QCOMPARE(view->nameEdit()->text(), QStringLiteral("Budget"));
    QCOMPARE(view->changedLabel()->text(), QStringLiteral("9.5.2024"));
    QStringList expected(32);
    expected[0] = "Rent";
    expected[1] = "1200";
    expected[5] = "x";
    QCOMPARE(Cells(*g), expected);
    // The arrow keys move the focus; leaving the last visible row scrolls by one.
    g->cell(7, 2)->setFocus();
    QTest::keyClick(g->cell(7, 2), Qt::Key_Down);
    QCOMPARE(g->rowPosition(), 1);
    QCOMPARE(g->cellText(7, 2), QStringLiteral("far away text"));
    QCOMPARE(QApplication::focusWidget(), g->cell(7, 2));
    QCOMPARE(view->cellEdit()->toPlainText(), QStringLiteral("far away text"));
    QCOMPARE(view->findChild<QLabel*>("counter140")->text(), QString::fromUtf8("Volných znaků: 242"));
    // Shift with the arrows widens the selection; Ctrl+C copies it as tab-separated text.
    g->verticalBar()->setValue(0);
    g->cell(0, 0)->setFocus();
    QTest::keyClick(g->cell(0, 0), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(g->cell(0, 1), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(g->cell(1, 1), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Rent\t1200\n\tx\n"));
    QCOMPARE(view->commandState(ViewCommand::kCopy, nullptr), true);
    QCOMPARE(view->commandState(ViewCommand::kDelete, nullptr), false);
    const QByteArray folder = qgetenv("DUXEL_SCREENSHOTS");
    if (!folder.isEmpty()) view->grab().save(QString::fromLocal8Bit(folder) + "/spreadsheet-view.png");
  }

  void emptyWorksheetAndDeletingTheLast() {
    CDuxelDoc doc;
    doc.GetList(kSpreadSheet)->AddTail(Sheet("Empty", {}));
    doc.GetList(kSpreadSheet)->AddTail(Sheet("Full", Image({{1, 1, "a"}, {8, 4, "b"}})));
    auto view = open(doc);
    QCOMPARE(Cells(*view->grid()), QStringList(32));  // a worksheet without an image
    view->selectRow(1);
    view->CommitAndShow();
    QCOMPARE(view->grid()->cellText(7, 3), QStringLiteral("b"));
    view->listBox()->setFocus();
    view->runCommand(ViewCommand::kDelete);
    QCOMPARE(view->rowCount(), 1);
    view->listBox()->setFocus();
    view->runCommand(ViewCommand::kDelete);
    QCOMPARE(view->rowCount(), 0);
    QCOMPARE(Cells(*view->grid()), QStringList(32));
    QCOMPARE(view->nameEdit()->text(), QString());
  }

  // Worksheets from the receive buffer are numbered by the view's counter, which starts at
  // the document's worksheet count plus one and keeps running.
  void bufferedWorksheetsAreNumbered() {
    CDuxelDoc doc;
    doc.GetList(kSpreadSheet)->AddTail(Sheet("Mine", Image({{1, 1, "a"}})));
    auto view = open(doc);
    QCOMPARE(view->tableCounter(), 2);
    for (int round = 0; round < 2; ++round) {
      CCasioList* buffered = host.receiveBuffer().GetList(kSpreadSheet);
      buffered->AddTail(Sheet("", Image({{1, 1, round ? "c" : "b"}})));
      buffered->m_modified = 1;
      view->listBox()->setFocus();
      view->runCommand(round ? ViewCommand::kBufferMode : ViewCommand::kBufferAll);
    }
    QStringList names;
    for (const CCasioPol* r : *doc.GetList(kSpreadSheet))
      names << QString::fromStdString(static_cast<const CcSpreadsheet*>(r)->m_name);
    QCOMPARE(names, (QStringList{"Mine", "Tabulka 2", "Tabulka 3"}));
    QCOMPARE(view->nameEdit()->text(), QStringLiteral("Tabulka 3"));
    QCOMPARE(view->grid()->cellText(0, 0), QStringLiteral("c"));
  }

  void exportMarkedWorksheet() {
    const QString library =
        QDir(QCoreApplication::applicationDirPath()).filePath("../../src/odbc/libduxeltxt.so");
    if (!QFile::exists(library)) QSKIP("the text driver is not built");
    // The driver is registered in the test's own ODBC folder only, never the machine's.
    const QString odbc = qEnvironmentVariable("ODBCSYSINI");
    if (odbc.isEmpty() || qEnvironmentVariableIsEmpty("ODBCINI")) QSKIP("no private ODBC folder");
    QFile ini(odbc + "/odbcinst.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Duxel Text Driver (*.txt; *.csv)]\nDriver=%1\nSetup=%1\n")
                  .arg(QFileInfo(library).canonicalFilePath()).toUtf8());
    ini.close();

    CDuxelDoc doc;
    doc.GetList(kSpreadSheet)->AddTail(Sheet("Other", Image({{5, 5, "no"}})));
    doc.GetList(kSpreadSheet)->AddTail(
        Sheet("Shop", Image({{1, 1, "Item"}, {1, 2, "Price"}, {2, 1, "Bread"}, {3, 2, "25"}}), true));
    auto view = open(doc);
    QCOMPARE(view->markedCount(), 1);
    QTemporaryDir dir;
    FakeUi ui;
    ui.path = dir.filePath("shop.csv").toStdString();
    view->setExchangeUi(&ui);
    view->runCommand(ViewCommand::kExport);
    QFile out(dir.filePath("shop.csv"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), QByteArray("Sloupec_1,Sloupec_2\r\nItem,Price\r\nBread,\r\n,25\r\n"));
    QCOMPARE(ui.messages, std::vector<int>{});
    QCOMPARE(view->markedCount(), 0);
    QVERIFY(doc.IsModified());
    // The mark went with the export: a second one has no worksheet to write.
    view->runCommand(ViewCommand::kExport);
    QCOMPARE(ui.messages, std::vector<int>{IDS_NO_MARKED_SHEET});
  }
};

QTEST_MAIN(TestSpreadsheetView)
#include "test_spreadsheetview.moc"
