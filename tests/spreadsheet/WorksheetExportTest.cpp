// SPDX-License-Identifier: GPL-3.0-or-later
// The rows a worksheet export writes, and the plain text of worksheets on the clipboard.
#include <gtest/gtest.h>

#include "resources/StringTable.h"

#include <string>
#include <vector>

#include "SheetBuilder.h"
#include "records/CcSpreadsheet.h"
#include "records/Cp1250.h"
#include "records/Regional.h"
#include "spreadsheet/WorksheetExport.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

class WorksheetExportTest : public testing::Test {
 protected:
  void TearDown() override { m_sheets.DeleteAll(); }

  CcSpreadsheet* AddSheet(const std::string& name, const Bytes& image, bool marked) {
    auto* sheet = new CcSpreadsheet;
    sheet->m_name = name;
    sheet->m_data = image;
    sheet->m_mark = marked ? 1 : 0;
    m_sheets.AddTail(sheet);
    return sheet;
  }

  static Table RowsOf(const WorksheetExport& e) {
    Table table;
    for (const CCasioPol* record : e.Rows()) {
      const auto* row = dynamic_cast<const CcSpreadsheetIE*>(record);
      table.push_back(row ? row->m_cells : std::vector<std::string>{"<not an export row>"});
    }
    return table;
  }

  CcSpreadsheetList m_sheets;
};

TEST_F(WorksheetExportTest, RowsOneToThreeAndColumnsOneToTwoGiveThreeRowsOfTwo) {
  SheetBuilder b;
  b.Label(1, 1, "Item").Label(1, 2, "Price");
  b.Label(2, 1, "Bread").Value(2, 2, "25");
  b.Label(3, 1, "Total").Formula(3, 2, H("A0 21 B0 00 02 02 00 00 02 02 00 29"));
  AddSheet("Shop", b.Build(), true);
  const WorksheetExport e(m_sheets);
  ASSERT_EQ(e.Status(), WorksheetExportStatus::Ok);
  EXPECT_EQ(RowsOf(e), (Table{{"Item", "Price"}, {"Bread", "25"}, {"Total", "SUM(B2:B2)"}}));
  EXPECT_EQ((std::vector<int>{e.FirstRow(), e.FirstColumn(), e.RowCount(), e.ColumnCount()}),
            (std::vector<int>{1, 1, 3, 2}));
  // The rows list names its columns after the first row's cells.
  EXPECT_EQ(e.Rows().GetFieldWidth(-1), 2);
}

TEST_F(WorksheetExportTest, AWorksheetNotStartingAtA1ExportsItsOwnCells) {
  // Cells in rows 3..5 and columns 2..3, stored out of order, C4... gaps are empty texts.
  SheetBuilder b;
  b.Label(5, 2, "B5").Label(3, 3, "C3").Label(3, 2, "B3").Label(4, 3, "C4");
  AddSheet("Offset", b.Build(), true);
  const WorksheetExport e(m_sheets);
  ASSERT_EQ(e.Status(), WorksheetExportStatus::Ok);
  EXPECT_EQ(RowsOf(e), (Table{{"B3", "C3"}, {"", "C4"}, {"B5", ""}}));
  EXPECT_EQ((std::vector<int>{e.FirstRow(), e.FirstColumn(), e.RowCount(), e.ColumnCount()}),
            (std::vector<int>{3, 2, 3, 2}));
}

TEST_F(WorksheetExportTest, TheRecordsAreFoundFromTheHeader) {
  // X = 420: the records begin at 468. At 448 lies a stray record of A1, which an export
  // reading from a fixed 448 would take.
  SheetBuilder b(420);
  b.Label(2, 2, "B2").Label(2, 3, "C2");
  Bytes image = b.Build();
  const Bytes stray = H("00 0C 00 01 01 00") + A("fake") + H("00 00");
  std::copy(stray.begin(), stray.end(), image.begin() + 448);
  AddSheet("Header", image, true);
  const WorksheetExport e(m_sheets);
  ASSERT_EQ(e.Status(), WorksheetExportStatus::Ok);
  EXPECT_EQ(RowsOf(e), (Table{{"B2", "C2"}}));
}

TEST_F(WorksheetExportTest, TheFirstMarkedWorksheetIsExported) {
  AddSheet("unmarked", SheetBuilder().Label(1, 1, "u").Build(), false);
  CcSpreadsheet* second = AddSheet("second", SheetBuilder().Label(1, 1, "s").Build(), true);
  AddSheet("third", SheetBuilder().Label(1, 1, "t").Build(), true);
  const WorksheetExport e(m_sheets);
  ASSERT_EQ(e.Status(), WorksheetExportStatus::Ok);
  EXPECT_EQ(e.Worksheet(), second);
  EXPECT_EQ(RowsOf(e), (Table{{"s"}}));
  EXPECT_EQ(second->m_mark, 1) << "the mark is the caller's to clear";
}

TEST_F(WorksheetExportTest, UndecodableCellsExportTheFailureText) {
  SheetBuilder b;
  b.Label(1, 1, "ok").Cell(1, 2, 0x82, A("x")).Formula(2, 1, H("C0"));
  AddSheet("bad", b.Build(), true);
  const WorksheetExport e(m_sheets);
  ASSERT_EQ(e.Status(), WorksheetExportStatus::Ok);
  EXPECT_EQ(RowsOf(e), (Table{{"ok", "chyba dekodovani Cell"}, {"chyba dekodovani Cell", ""}}));
}

TEST_F(WorksheetExportTest, NothingIsExportedWithoutAMarkedWorksheetWithCells) {
  {
    AddSheet("a", SheetBuilder().Label(1, 1, "x").Build(), false);
    const WorksheetExport e(m_sheets);
    EXPECT_EQ(e.Status(), WorksheetExportStatus::NoMarkedWorksheet);
    EXPECT_EQ(e.Worksheet(), nullptr);
    EXPECT_EQ(e.Rows().GetCount(), 0u);
  }
  struct Case {
    const char* name;
    Bytes image;
    WorksheetExportStatus status;
  };
  const std::vector<Case> cases = {
      {"no image", Bytes{}, WorksheetExportStatus::NoImage},
      {"empty image", H("00 00"), WorksheetExportStatus::NoCells},
      {"no records", SheetBuilder().Build(), WorksheetExportStatus::NoCells},
      {"broken header", H("00 30 41"), WorksheetExportStatus::NoCells},
  };
  for (const Case& c : cases) {
    CcSpreadsheetList one;
    auto* sheet = new CcSpreadsheet;
    sheet->m_data = c.image;
    sheet->m_mark = 1;
    one.AddTail(sheet);
    {
      const WorksheetExport e(one);
      EXPECT_EQ(e.Status(), c.status) << c.name;
      EXPECT_EQ(e.Worksheet(), sheet) << c.name;
      EXPECT_EQ(e.Rows().GetCount(), 0u) << c.name;
    }
    one.DeleteAll();
  }
  EXPECT_EQ(LoadString(IDS_NO_MARKED_SHEET), "Není označena žádná tabulka.");
}

// ---------------------------------------------------------------------------------------
// Clipboard text

class SheetClipboardTest : public testing::Test {
 protected:
  void SetUp() override {
    RegionalSettings settings;
    settings.dateOrder = 1;  // day, month, year
    settings.dateSep = '.';
    SetRegionalSettings(settings);
  }
  void TearDown() override {
    SetRegionalSettings(RegionalSettings{});
    m_sheets.DeleteAll();
  }

  void AddSheet(const std::string& name, int year, int month, int day, std::size_t size) {
    auto* sheet = new CcSpreadsheet;
    sheet->m_name = name;
    sheet->m_changed.m_year = int16_t(year);
    sheet->m_changed.m_month = int16_t(month);
    sheet->m_changed.m_day = int16_t(day);
    sheet->m_changed.m_hour = 14;
    sheet->m_changed.m_minute = 5;
    sheet->m_data.assign(size, 0x00);
    m_sheets.AddTail(sheet);
  }

  CcSpreadsheetList m_sheets;
};

TEST_F(SheetClipboardTest, ThreeLinesPerWorksheetAndAZero) {
  AddSheet(Cp1250FromUtf8("Rozpočet"), 2024, 2, 29, 1234);
  AddSheet("Plan", 1999, 12, 31, 0);
  // "Rozpočet" with č as E8; dates as the list shows them; sizes in decimal.
  const std::string expected = std::string(
                                   "Rozpo\xE8"
                                   "et\r\n29.2.2024\r\n1234\r\n") +
                               "Plan\r\n31.12.1999\r\n0\r\n";
  ASSERT_EQ(GetClipboardTextSize(m_sheets), expected.size() + 1);
  EXPECT_EQ(GetClipboardTextSize(m_sheets), 8 + 9 + 4 + 4 + 10 + 1 + 2 * 6 + 1u);
  std::vector<char> buffer(expected.size() + 1, 'x');
  EXPECT_EQ(WriteClipboardText(m_sheets, buffer.data(), buffer.size()), expected.size());
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), expected + '\0');
}

TEST_F(SheetClipboardTest, AnEmptyListIsTheZeroAlone) {
  EXPECT_EQ(GetClipboardTextSize(m_sheets), 1u);
  char buffer[2] = {'x', 'x'};
  EXPECT_EQ(WriteClipboardText(m_sheets, buffer, sizeof buffer), 0u);
  EXPECT_EQ(std::string(buffer, 2), std::string("\0x", 2));
}

TEST_F(SheetClipboardTest, AShortBufferIsFilledAndTerminated) {
  AddSheet("Plan", 1999, 12, 31, 7);
  std::vector<char> buffer(7, 'x');
  EXPECT_EQ(WriteClipboardText(m_sheets, buffer.data(), buffer.size()), 6u);
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string("Plan\r\n\0", 7));
  EXPECT_EQ(WriteClipboardText(m_sheets, buffer.data(), 0), 0u);
}

}  // namespace
