// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile worksheet images: every cut of a valid image, broken record chains,
// random bytes. The decoder must stay inside the bytes (the fuzz and sanitizer builds check
// that), end, and show the failure text only for cells it cannot decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "SheetBuilder.h"
#include "spreadsheet/CellDecoder.h"

namespace {

const std::string kError = "chyba dekodovani Cell";

// A worksheet with a cell of every kind, stored out of row order, and what each shows.
struct RichSheet {
  Bytes image;
  std::vector<SheetBuilder::Placed> placed;
  std::vector<std::string> texts;  // by record, as written out by hand
};

RichSheet MakeRichSheet() {
  SheetBuilder b;
  b.Label(2, 1, "Costs");
  b.Value(2, 2, "1250.5");
  b.Formula(3, 2, H("A0 21  B0 00 02 02 00 00 02 02 00  29"));  // SUM(B2:B2)
  b.Formula(1, 3,
            H("A0 19 80 00 01 01 00 9B 30 2C A0 1F B0 00 01 02 00"
              "00 03 02 00 29 2C D0 31 29"));                              // IF(...)
  b.Formula(1, 1, H("A0 33 00 01 01 00 7A 61 62 00 29  81 00 02 02 00"));  // REF(A1,ab)+B2
  b.Cell(4, 4, 0x82, A("??"));
  b.Formula(4, 1, H("A0 06 80 00 01 01 00 93 32 29  D1 35 00"), 0x61);  // (A1*2)+-5
  b.Label(5, 27, "wide", 3);
  return RichSheet{b.Build(),
                   b.PlacedCells(),
                   {"Costs", "1250.5", "SUM(B2:B2)", "IF(A1>0,MAX(B1:B3),-1)", "REF(A1,ab)+B2",
                    kError, "(A1*2)+-5", "wide"}};
}

TEST(DamagedImageTest, TheRichSheetDecodes) {
  const RichSheet sheet = MakeRichSheet();
  const std::vector<SheetCell> expected = {
      {1, 1, "REF(A1,ab)+B2"}, {1, 3, "IF(A1>0,MAX(B1:B3),-1)"},
      {2, 1, "Costs"},         {2, 2, "1250.5"},
      {3, 2, "SUM(B2:B2)"},    {4, 1, "(A1*2)+-5"},
      {4, 4, kError},          {5, 27, "wide"},
  };
  EXPECT_EQ(ListCells(sheet.image), expected);
}

// Cutting the image keeps its size word, so the scan runs into the cut: a record whose head
// is cut ends the scan (it and all after it are not found), a record whose content is cut
// shows the failure text, and every record before the cut shows what it showed.
TEST(DamagedImageTest, EveryCutOfAValidImageDecodesWhatIsLeft) {
  const RichSheet sheet = MakeRichSheet();
  constexpr std::size_t kHeaderEnd = 49;  // the size word, banner, 7 bytes and X
  for (std::size_t cut = 0; cut <= sheet.image.size(); ++cut) {
    // An exact-size copy, so that a sanitizer sees any read past the cut.
    const Bytes image(sheet.image.begin(), sheet.image.begin() + std::ptrdiff_t(cut));
    std::vector<SheetCell> expectedList;
    for (std::size_t i = 0; i < sheet.placed.size(); ++i) {
      const auto& p = sheet.placed[i];
      CellText expected;
      if (cut >= kHeaderEnd && p.offset + 6 <= cut) {
        expected.found = true;
        expected.text = p.offset + p.length - 2 <= cut ? sheet.texts[i] : kError;
        expectedList.push_back({p.row, p.column, expected.text});
      }
      EXPECT_EQ(GetCellText(image, p.row, p.column), expected) << "cut at " << cut;
    }
    std::sort(expectedList.begin(), expectedList.end(), [](const SheetCell& a, const SheetCell& b) {
      return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    EXPECT_EQ(ListCells(image), expectedList) << "cut at " << cut;
  }
}

TEST(DamagedImageTest, ARecordOfLengthZeroEndsTheChain) {
  const Bytes image = SheetBuilder()
                          .Label(1, 1, "a")
                          .RawRecord(H("00 00 00 02 02 00"))  // L = 0 at B2
                          .Label(3, 3, "c")
                          .Build();
  EXPECT_EQ(GetCellText(image, 1, 1), (CellText{true, "a"}));
  EXPECT_EQ(GetCellText(image, 2, 2), (CellText{true, kError}));
  EXPECT_EQ(GetCellText(image, 3, 3), (CellText{false, ""}));
  EXPECT_EQ(ListCells(image), (std::vector<SheetCell>{{1, 1, "a"}, {2, 2, kError}}));
}

TEST(DamagedImageTest, RecordsShorterThanTheirFrameFail) {
  // L = 5 at B2: the next record is read 5 bytes further, inside this one, where zeros make a
  // record of length 0 at row 0, column 0 that ends the chain.
  const Bytes image = SheetBuilder().RawRecord(H("00 05 00 02 02 00 00 00")).Build();
  EXPECT_EQ(GetCellText(image, 2, 2), (CellText{true, kError}));
  EXPECT_EQ(ListCells(image), (std::vector<SheetCell>{{0, 0, kError}, {2, 2, kError}}));
}

TEST(DamagedImageTest, AChainRunningPastTheLastOffsetEnds) {
  // L = 0xFFFF from offset 448 would pass offset 65535; the record is found but its content
  // lies outside the bytes, and the chain ends instead of wrapping round to the header.
  const Bytes image =
      SheetBuilder().RawRecord(H("FF FF 00 01 01 00") + A("abc")).Total(0xFFFF).Build();
  EXPECT_EQ(GetCellText(image, 1, 1), (CellText{true, kError}));
  EXPECT_EQ(GetCellText(image, 2, 2), (CellText{false, ""}));
}

TEST(DamagedImageTest, TheFirstRecordOffsetWrapsAt65536) {
  // Text "B" puts X at offset 11; X = 0xFFE0 makes X + 48 wrap to offset 16.
  const Bytes image =
      H("00 21  42 00  00 00 00 00 00 00 00  FF E0  00 00 00"
        "00 09 00 01 01 00 5A 00 00"  // at 16: A1, label "Z"
        "00 00 00 00 00 00 00 00");
  ASSERT_EQ(image.size(), 0x21u);
  EXPECT_EQ(GetCellText(image, 1, 1), (CellText{true, "Z"}));
}

TEST(DamagedImageTest, ABrokenHeaderHoldsNoCells) {
  const Bytes valid = SheetBuilder().Label(1, 1, "x").Build();
  Bytes noTerminator = valid;
  std::fill(noTerminator.begin() + 2, noTerminator.end(), uint8_t('x'));
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"one byte", H("01")},
      {"size word only", H("01 00")},
      {"text without its zero", noTerminator},
      {"X missing", H("00 40 41 42 00 00 00 00 00 00 00 00 01")},
      {"size below the trailer", SheetBuilder().Label(1, 1, "x").Total(7).Build()},
  };
  for (const auto& [name, image] : cases) {
    EXPECT_EQ(GetCellText(image, 1, 1), (CellText{false, ""})) << name;
    EXPECT_EQ(ListCells(image), std::vector<SheetCell>{}) << name;
  }
}

TEST(DamagedImageTest, ASizeWordBeyondTheBytesStopsAtTheBytes) {
  SheetBuilder b;
  b.Label(1, 1, "one").Label(1, 2, "two").Total(0xFFFF);
  const Bytes image = b.Build();
  // The trailer's zeros read as a record of length 0 at row 0, column 0, which ends the chain.
  EXPECT_EQ(ListCells(image),
            (std::vector<SheetCell>{{0, 0, kError}, {1, 1, "one"}, {1, 2, "two"}}));
  EXPECT_EQ(GetCellText(image, 0, 0), (CellText{true, kError}));
  EXPECT_EQ(GetCellText(image, 1, 3), (CellText{false, ""}));
}

TEST(DamagedImageTest, DeepNestingDoesNotExhaustTheStack) {
  // 32000 opening parentheses in one formula and no closing one: the stream's end closes them.
  Bytes tokens;
  for (int i = 0; i < 32000; ++i) tokens.insert(tokens.end(), {0xA0, 0x06});
  const Bytes image = SheetBuilder().Formula(1, 1, tokens).Build();
  ASSERT_LE(image.size(), 0xFFFFu);
  EXPECT_EQ(GetCellText(image, 1, 1), (CellText{true, std::string(32000, '(')}));
}

TEST(DamagedImageTest, AFullImageOfSmallRecordsIsScannedToItsEnd) {
  SheetBuilder b;
  for (int row = 1; row <= 8000; ++row) b.Cell(row, 1, 0x00, Bytes{});
  const Bytes image = b.Build();
  EXPECT_EQ(GetCellText(image, 8000, 1), (CellText{true, ""}));
  EXPECT_EQ(GetCellText(image, 8001, 1), (CellText{false, ""}));
  EXPECT_EQ(ListCells(image).size(), 8000u);
}

// What holds for any image: every listed cell is what the lookup finds, the list is ordered
// and free of repeats, and the used range spans exactly the listed cells.
void ExpectConsistent(const Bytes& image, const std::string& what) {
  const std::vector<SheetCell> cells = ListCells(image);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(GetCellText(image, cells[i].row, cells[i].column), (CellText{true, cells[i].text}))
        << what;
    if (i > 0) {
      EXPECT_TRUE(cells[i - 1].row < cells[i].row ||
                  (cells[i - 1].row == cells[i].row && cells[i - 1].column < cells[i].column))
          << what;
    }
  }
  const auto range = GetUsedRange(image);
  ASSERT_EQ(range.has_value(), !cells.empty()) << what;
  if (range) {
    int firstColumn = 1000, lastColumn = -1;
    for (const SheetCell& c : cells) {
      firstColumn = std::min(firstColumn, c.column);
      lastColumn = std::max(lastColumn, c.column);
    }
    EXPECT_EQ(
        (std::vector<int>{range->firstRow, range->lastRow, range->firstColumn, range->lastColumn}),
        (std::vector<int>{cells.front().row, cells.back().row, firstColumn, lastColumn}))
        << what;
  }
}

TEST(DamagedImageTest, RandomImagesDecodeAndEnd) {
  std::mt19937 random(20240229);
  auto byte = [&] { return uint8_t(random() & 0xFF); };
  const Bytes header = SheetBuilder(1).Build();  // banner, X = 1, records from 49
  for (int round = 0; round < 3000; ++round) {
    // Pure noise.
    Bytes noise(random() % 300);
    for (auto& b : noise) b = byte();
    ExpectConsistent(noise, "noise " + std::to_string(round));

    // A sound header followed by noise, the size word telling the truth or not.
    Bytes sheet(header.begin(), header.begin() + 49);
    sheet.resize(49 + random() % 400);
    for (std::size_t i = 49; i < sheet.size(); ++i) sheet[i] = byte();
    // Small record lengths and rows make matches and records of every kind likely.
    for (std::size_t i = 49; i + 6 <= sheet.size(); i += 6 + random() % 24) {
      sheet[i] = 0;
      sheet[i + 1] = uint8_t(random() % 40);
      sheet[i + 2] = 0;
      sheet[i + 3] = uint8_t(random() % 4);
      sheet[i + 4] = uint8_t(random() % 4);
      const uint8_t kinds[] = {0x00, 0x80, 0x81, 0x81, 0x82};
      sheet[i + 5] = kinds[random() % 5];
    }
    const std::size_t total = random() % 2 ? sheet.size() : random() % 0x10000;
    sheet[0] = uint8_t(total >> 8);
    sheet[1] = uint8_t(total);
    ExpectConsistent(sheet, "sheet " + std::to_string(round));
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column) (void)GetCellText(sheet, row, column);
  }
}

TEST(DamagedImageTest, ChangedBytesOfAValidImageDecodeAndEnd) {
  const RichSheet rich = MakeRichSheet();
  std::mt19937 random(318);
  for (int round = 0; round < 3000; ++round) {
    Bytes image = rich.image;
    const int changes = 1 + int(random() % 8);
    for (int i = 0; i < changes; ++i) {
      // Mostly inside the records, where the formulas are.
      const std::size_t at =
          random() % 4 ? 448 + random() % (image.size() - 448) : random() % image.size();
      image[at] = uint8_t(random());
    }
    ExpectConsistent(image, "round " + std::to_string(round));
  }
}

TEST(DamagedImageTest, RandomContentOfEveryKindDecodesAndEnds) {
  std::mt19937 random(7);
  // Token bytes of the kinds the renderer knows, so that the streams get deep.
  const uint8_t pool[] = {0x00, 0x80, 0x81, 0x90, 0x93, 0xD1, 0xA0, 0xA3, 0xB0, 0x29,
                          0x2C, 0x06, 0x21, 0x33, 0x00, 0x01, 0x31, 0x45, 0xC0, 0xFF};
  for (int round = 0; round < 20000; ++round) {
    Bytes content(random() % 64);
    for (auto& b : content) b = random() % 3 ? pool[random() % std::size(pool)] : uint8_t(random());
    if (!content.empty()) content[0] = random() % 2 ? 0x40 : uint8_t(random());
    const uint8_t kind = round % 4 == 0 ? uint8_t(random()) : 0x81;
    const CellContent c = DecodeCellContent(kind, content);
    if (!c.ok) {
      EXPECT_TRUE(c.text == "Neznamy obsah kodu LUCID v Cell." ||
                  c.text == "Neobvykly kod funkce v Cell." || c.text == "Neobvykla funkce v Cell.")
          << c.text;
    }
  }
}

}  // namespace
