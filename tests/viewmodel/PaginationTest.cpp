// SPDX-License-Identifier: GPL-3.0-or-later
// Page layout of printouts: margins, lines per page, the record selection and the page table.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "records/CcMemo.h"
#include "viewmodel/Pagination.h"

namespace {

struct PaginationCase {
  const char* name;
  std::vector<int> itemLines;  // the empty end item included
  int linesPerPage;
  bool allowBreak;
  std::vector<PageStart> starts;  // the closing entry included
};

void PrintTo(const PaginationCase& c, std::ostream* os) { *os << c.name; }

class PaginationTable : public testing::TestWithParam<PaginationCase> {};

TEST_P(PaginationTable, PageStarts) {
  const PaginationCase& c = GetParam();
  const PageTable table = Paginate(c.itemLines, c.linesPerPage, c.allowBreak);
  EXPECT_EQ(table.starts, c.starts);
  EXPECT_EQ(table.PageCount(), int(c.starts.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PaginationTable,
    testing::Values(
        // Records 1 and 2 share page 1; record 3 does not fit after them.
        PaginationCase{"ThreeRecordsOfThree", {3, 3, 3, 0}, 10, false, {{0, 0}, {2, 0}, {4, kPageEnd}}},
        // Longer than a page: split without AllowBreak, 9 lines a page and the rest.
        PaginationCase{"LongRecordNoBreak", {25, 0}, 10, false, {{0, 0}, {0, 9}, {0, 18}, {2, kPageEnd}}},
        // 7 lines used: 2 of the 4 lines fit above the page's empty last line.
        PaginationCase{"BreakAfterSeven", {6, 4, 0}, 10, true, {{0, 0}, {1, 2}, {3, kPageEnd}}},
        // 8 lines used: 1 line would stay alone, so the record moves whole.
        PaginationCase{"BreakAfterEight", {7, 4, 0}, 10, true, {{0, 0}, {1, 0}, {3, kPageEnd}}},
        PaginationCase{"NoBreakAfterSeven", {6, 4, 0}, 10, false, {{0, 0}, {1, 0}, {3, kPageEnd}}},
        // Only 3 lines left of a record are never split.
        PaginationCase{"ThreeLinesNeverSplit", {6, 3, 0}, 9, true, {{0, 0}, {1, 0}, {3, kPageEnd}}},
        // Nothing selected: one empty page.
        PaginationCase{"OnlyEndItem", {0}, 10, false, {{0, 0}, {1, kPageEnd}}},
        // The last record ends the page exactly (with or without its blank line): no extra page.
        PaginationCase{"LastFillsPage", {3, 6, 0}, 10, false, {{0, 0}, {3, kPageEnd}}},
        PaginationCase{"LastFillsPageWithBlank", {3, 5, 0}, 10, false, {{0, 0}, {3, kPageEnd}}},
        // Pages of one or two lines still make progress through a long record.
        PaginationCase{"TwoLinePages", {5, 0}, 2, false, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {2, kPageEnd}}},
        PaginationCase{"OneLinePages", {2, 0}, 1, true, {{0, 0}, {0, 1}, {2, kPageEnd}}},
        PaginationCase{"NoLinesCountsAsOne", {2, 0}, 0, false, {{0, 0}, {0, 1}, {2, kPageEnd}}}),
    [](const testing::TestParamInfo<PaginationCase>& info) { return std::string(info.param.name); });

TEST(PageRows, BlankLineBetweenRecords) {
  const std::vector<int> lines = {3, 3, 3, 0};
  const PageTable table = Paginate(lines, 10, false);
  EXPECT_EQ(PageRows(table, 0, lines),
            (std::vector<PageRow>{{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {1, 0, 4}, {1, 1, 5}, {1, 2, 6}}));
  EXPECT_EQ(PageRows(table, 1, lines), (std::vector<PageRow>{{2, 0, 0}, {2, 1, 1}, {2, 2, 2}}));
  EXPECT_EQ(PageRows(table, 2, lines), std::vector<PageRow>{});
}

TEST(PageRows, SplitRecordContinuesOnNextPage) {
  const std::vector<int> lines = {6, 4, 0};
  const PageTable table = Paginate(lines, 10, true);
  EXPECT_EQ(PageRows(table, 0, lines),
            (std::vector<PageRow>{{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}, {0, 5, 5},
                                  {1, 0, 7}, {1, 1, 8}}));
  EXPECT_EQ(PageRows(table, 1, lines), (std::vector<PageRow>{{1, 2, 0}, {1, 3, 1}}));
}

TEST(Margins, Millimetres) {
  struct Row {
    double cm;
    int mm;
  };
  for (const Row& row : {Row{1.55, 15}, Row{1.5, 15}, Row{2.3, 23}, Row{0.0, 0}, Row{10.0, 100},
                         Row{0.09, 0}, Row{-1.0, 0}})
    EXPECT_EQ(MarginMillimetres(row.cm), row.mm) << row.cm;
}

TEST(Margins, MulDivRoundsHalfAway) {
  EXPECT_EQ(MulDivRound(3, 5, 10), 2);
  EXPECT_EQ(MulDivRound(-3, 5, 10), -2);
  EXPECT_EQ(MulDivRound(7, 1, 3), 2);
  EXPECT_EQ(MulDivRound(2000000000, 3, 1000), 6000000);  // no overflow
  EXPECT_EQ(MulDivRound(1, 1, 0), 0);
}

TEST(Margins, Rectangle) {
  // A 200 x 300 mm page of 2000 x 3000 pixels: 10 pixels a millimetre.
  EXPECT_EQ(PrintRectangle(200, 300, 2000, 3000, 1.55, 1.0, 2.3, 0.5),
            (PrintRect{150, 100, 1770, 2950}));
  // A4 at 600 dpi: 4961 * 15 / 210 = 354.36 rounds to 354.
  EXPECT_EQ(PrintRectangle(210, 297, 4961, 7016, 1.5, 1.5, 1.5, 1.5),
            (PrintRect{354, 354, 4961 - 354, 7016 - 354}));
  EXPECT_EQ(LinesPerPage(PrintRect{150, 100, 1770, 2950}, 50), 57);
  EXPECT_EQ(LinesPerPage(PrintRect{0, 0, 10, 10}, 50), 1);
}

TEST(PrintItems, SelectionAndEndItem) {
  CcMemoList list;
  const char* texts[] = {"one", "two\rlines", "three"};
  for (int i = 0; i < 3; ++i) {
    auto* memo = new CcMemo;
    memo->m_text = texts[i];
    memo->m_mark = i == 1 ? 1 : 0;
    list.AddTail(memo);
  }
  auto textsOf = [](const std::vector<PrintLines>& items) {
    std::vector<std::vector<std::string>> all;
    for (const PrintLines& item : items) all.push_back(item.texts);
    return all;
  };
  using Texts = std::vector<std::vector<std::string>>;
  EXPECT_EQ(textsOf(BuildPrintItems(list, kPrintAll, false, 16)),
            (Texts{{"one"}, {"two", "lines"}, {"three"}, {}}));
  EXPECT_EQ(textsOf(BuildPrintItems(list, kPrintMarked, false, 16)), (Texts{{"two", "lines"}, {}}));
  EXPECT_EQ(textsOf(BuildPrintItems(list, kPrintUnmarked, false, 16)),
            (Texts{{"one"}, {"three"}, {}}));
  EXPECT_EQ(BuildPrintItems(list, kPrintMarked, false, 16)[0].labels,
            (std::vector<uint16_t>{0, kContinuationLabel}));

  // Only marked records, none marked: one empty page.
  for (CCasioPol* record : list) record->m_mark = 0;
  const auto none = BuildPrintItems(list, kPrintMarked, false, 16);
  EXPECT_EQ(none.size(), 1u);
  EXPECT_EQ(Paginate({0}, 10, false).PageCount(), 1);
  list.DeleteAll();
}

}  // namespace
