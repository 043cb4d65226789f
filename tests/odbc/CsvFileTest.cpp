// SPDX-License-Identifier: GPL-3.0-or-later
// The driver's CSV reader and writer on their own.
#include "CsvFile.h"

#include <gtest/gtest.h>

#include "Charset.h"

namespace {

using Fields = std::vector<std::string>;

struct ReadCase {
  std::string text;
  std::vector<Fields> records;
  std::vector<int> lines;
  std::optional<int> faultLine;
};

TEST(CsvReader, RecordsLinesAndFaults) {
  const std::vector<ReadCase> cases = {
      {"a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}, {}},
      {"a\n\n\nb", {{"a"}, {"b"}}, {1, 4}, {}},
      {"a\r\r\nb\r", {{"a"}, {"b"}}, {1, 3}, {}},
      {"\"x\r\ny\",z\r\nw\r\n", {{"x\r\ny", "z"}, {"w"}}, {1, 3}, {}},
      {"\"\"\r\n,\r\n", {{""}, {"", ""}}, {1, 2}, {}},
      {" a , b ", {{" a ", " b "}}, {1}, {}},
      {"a\r\n\"open\r\nmore\r\n", {{"a"}}, {1}, 2},
      {"", {}, {}, {}},
  };
  for (const ReadCase& c : cases) {
    CsvText csv = ReadCsv(c.text, ',');
    std::vector<Fields> records;
    std::vector<int> lines;
    for (const CsvRecord& r : csv.records) {
      records.push_back(r.fields);
      lines.push_back(r.line);
    }
    EXPECT_EQ(records, c.records) << c.text;
    EXPECT_EQ(lines, c.lines) << c.text;
    EXPECT_EQ(csv.fault ? std::optional<int>(csv.fault->line) : std::nullopt, c.faultLine)
        << c.text;
  }
}

TEST(CsvReader, ReadsInPiecesLikeAtOnce) {
  std::string text = "h1,h2\r\n\"a,\"\"b\"\"\r\nc\",d\r\ne,f";
  CsvReader reader(',');
  for (char c : text) ASSERT_TRUE(reader.Feed(std::string_view(&c, 1)));
  ASSERT_TRUE(reader.Finish());
  std::vector<Fields> records;
  for (const CsvRecord& r : reader.records()) records.push_back(r.fields);
  EXPECT_EQ(records, (std::vector<Fields>{{"h1", "h2"}, {"a,\"b\"\r\nc", "d"}, {"e", "f"}}));
}

TEST(CsvWriter, QuotesOnlyWhereNeeded) {
  struct Case {
    Fields fields;
    char delimiter;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"a", "b c"}, ',', "a,b c\r\n"},
      {{"a,b", "say \"x\""}, ',', "\"a,b\",\"say \"\"x\"\"\"\r\n"},
      {{"line\r\nbreak", "cr\r", "lf\n"}, ',', "\"line\r\nbreak\",\"cr\r\",\"lf\n\"\r\n"},
      {{" lead", "trail ", "in side"}, ',', "\" lead\",\"trail \",in side\r\n"},
      {{"", ""}, ',', ",\r\n"},
      {{""}, ',', "\"\"\r\n"},
      {{"a,b", "c\td"}, '\t', "a,b\t\"c\td\"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatCsvRecord(c.fields, c.delimiter), c.line);
    CsvText back = ReadCsv(c.line, c.delimiter);
    ASSERT_EQ(back.records.size(), 1u) << c.line;
    EXPECT_EQ(back.records[0].fields, c.fields) << c.line;
  }
}

TEST(Charset, ValidityAndConversions) {
  EXPECT_TRUE(IsValidText("\x8E\xE8\xF9", Charset::Ansi));
  for (char bad : {'\x81', '\x83', '\x88', '\x90', '\x98', '\0'}) {
    EXPECT_FALSE(IsValidText(std::string("a") + bad, Charset::Ansi)) << int(bad);
  }
  EXPECT_TRUE(IsValidText("\xC5\xBD", Charset::Utf8));
  EXPECT_FALSE(IsValidText("\xC5", Charset::Utf8));
  EXPECT_FALSE(IsValidText("\xE8\x65", Charset::Utf8));
  EXPECT_EQ(Utf16FromText("\x8E\x9D", Charset::Ansi), std::u16string(u"\u017D\u0165"));
  EXPECT_EQ(TextFromUtf16(u"\u017D\u0165", Charset::Ansi), std::string("\x8E\x9D"));
  EXPECT_EQ(TextFromUtf16(u"\u017D\u0165", Charset::Utf8), std::string("\xC5\xBD\xC5\xA5"));
  EXPECT_EQ(TextFromUtf16(u"\u4E2D", Charset::Ansi), std::nullopt);
  EXPECT_EQ(TextFromUtf16(std::u16string(1, char16_t(0xD800)), Charset::Utf8), std::nullopt);
  EXPECT_EQ(CharsetFromName("utf-8"), Charset::Utf8);
  EXPECT_EQ(CharsetFromName("ansi"), Charset::Ansi);
  EXPECT_EQ(CharsetFromName("OEM"), std::nullopt);
}

}  // namespace
