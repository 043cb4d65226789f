// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasTime.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "records/CArchive.h"
#include "records/Regional.h"
#include "Bytes.h"
#include "TimeParts.h"

namespace {

// year, month, day, weekday, week, hour, minute
using Parts = std::array<int, 7>;

Parts PartsOf(const CCasTime& t) {
  return {t.m_year, t.m_month, t.m_day, t.m_weekday, t.m_week, t.m_hour, t.m_minute};
}

CCasTime Make(const Parts& p) { return TimeFromParts(p[0], p[1], p[2], p[3], p[4], p[5], p[6]); }

constexpr Parts kUnset = {-1, -1, -1, -1, -1, -1, -1};
// A value every part of which is set, to see which parts an operation changes.
constexpr Parts kBefore = {1999, 1, 2, 3, 4, 5, 6};

// Every test runs with a fixed clock, 15 July 2024 13:45:20, and default regional settings;
// both are put back afterwards.
class CCasTimeTest : public testing::Test {
 protected:
  void SetUp() override {
    m_savedRegional = GetRegionalSettings();
    SetRegionalSettings(RegionalSettings{});
    SetNowProvider([] {
      LocalDateTime now;
      now.year = 2024;
      now.month = 7;
      now.day = 15;
      now.hour = 13;
      now.minute = 45;
      now.second = 20;
      return now;
    });
  }
  void TearDown() override {
    SetNowProvider(nullptr);
    SetRegionalSettings(m_savedRegional);
  }
  static void SetRegional(int order, char dateSep, char timeSep) {
    RegionalSettings r;
    r.dateOrder = order;
    r.dateSep = dateSep;
    r.timeSep = timeSep;
    SetRegionalSettings(r);
  }

 private:
  RegionalSettings m_savedRegional;
};

TEST_F(CCasTimeTest, NewValueIsUnset) {
  CCasTime t;
  EXPECT_EQ(PartsOf(t), kUnset);
}

TEST_F(CCasTimeTest, CopyAndCompareParts) {
  CCasTime a = Make(kBefore);
  CCasTime b;
  EXPECT_FALSE(b.SameParts(a));
  b.CopyParts(a);
  EXPECT_EQ(PartsOf(b), kBefore);
  EXPECT_TRUE(b.SameParts(a));
  b.m_week = 9;
  EXPECT_FALSE(b.SameParts(a));
}

// ---- Raw form ----

// 2001-05-03, weekday 5, week 1, 10:30.
// Constant lead-in, then the words year, month, day, weekday, week, hour, minute.
const Bytes kRaw2001 = H("78 ED 45 00  D1 07  05 00  03 00  05 00  01 00  0A 00  1E 00");

// The raw form: what loads from its bytes, and what is stored again.
TEST_F(CCasTimeTest, RawFormLoadsAndStores) {
  struct Case {
    Bytes in;
    Parts parts;
    Bytes out;
  };
  const Bytes lead = H("78 ED 45 00"), unset = lead + Bytes(14, 0xFF);
  const Bytes janSecond = H("01 00 02 00 FF FF FF FF FF FF FF FF");
  const Case cases[] = {
      {kRaw2001, {2001, 5, 3, 5, 1, 10, 30}, kRaw2001},
      {unset, {-1, -1, -1, -1, -1, -1, -1}, unset},
      // A two-digit year is stored again with four digits.
      {lead + H("63 00") + janSecond, {1999, 1, 2, -1, -1, -1, -1}, lead + H("CF 07") + janSecond},
  };
  for (const Case& c : cases) {
    CCasTime t;
    {
      CArchive ar(c.in.data(), c.in.size());
      t.LoadRaw(ar);
      EXPECT_EQ(ar.Remaining(), 0u);
    }
    EXPECT_EQ(PartsOf(t), c.parts);
    std::vector<uint8_t> out;
    {
      CArchive ar(out);
      t.StoreRaw(ar);
    }
    EXPECT_EQ(out, c.out);
  }
  // Built from its parts, the value stores the same bytes as the loaded one.
  std::vector<uint8_t> out;
  {
    CArchive ar(out);
    Make({2001, 5, 3, 5, 1, 10, 30}).StoreRaw(ar);
  }
  EXPECT_EQ(out, kRaw2001);
}

struct YearCase {
  uint8_t lo, hi;  // the stored year word
  int expected;
};

// Two-digit years are read as 1970..1999 and 2000..2037; others stay as stored.
const std::vector<YearCase> kYearCases = {
    {0x63, 0x00, 1999},  // 99
    {0x05, 0x00, 2005},  // 5
    {0xFF, 0xFF, -1},    // unset
    {0xD1, 0x07, 2001},  // 2001
    {0x46, 0x00, 1970},  // 70
    {0x00, 0x00, 2000},  // 0
    {0x25, 0x00, 2037},  // 37
    {0x26, 0x00, 38},    // 38: neither range
    {0x45, 0x00, 69},    // 69: neither range
    {0x64, 0x00, 100},   // 100
    {0xFE, 0xFF, -2},    // another negative: unset, left as stored
};

TEST_F(CCasTimeTest, RawLoadCorrectsTwoDigitYears) {
  for (const YearCase& c : kYearCases) {
    // The lead-in is skipped whatever it holds.
    const std::vector<uint8_t> raw = {0x00, 0x11, 0x22, 0x33, c.lo, c.hi, 0x0C, 0x00, 0x18,
                                      0x00, 0x02, 0x00, 0x03, 0x00, 0x08, 0x00, 0x00, 0x00};
    CCasTime t;
    CArchive ar(raw.data(), raw.size());
    t.LoadRaw(ar);
    EXPECT_EQ(PartsOf(t), (Parts{c.expected, 12, 24, 2, 3, 8, 0}))
        << "stored year bytes " << int(c.lo) << " " << int(c.hi);
  }
}

// ---- Object form ----

// The object's own fields: year, month, day, weekday, hour, minute; no week.
const Bytes kObjectFields2001 = H("D1 07  05 00  03 00  05 00  0A 00  1E 00");

TEST_F(CCasTimeTest, ObjectFormFieldsLeaveOutTheWeek) {
  std::vector<uint8_t> out;
  {
    CArchive ar(out);
    Make({2001, 5, 3, 5, 1, 10, 30}).Serialize(ar);
  }
  EXPECT_EQ(out, kObjectFields2001);

  CCasTime t = Make(kBefore);
  CArchive ar(kObjectFields2001.data(), kObjectFields2001.size());
  t.Serialize(ar);
  EXPECT_EQ(PartsOf(t), (Parts{2001, 5, 3, 5, -1, 10, 30}));
}

TEST_F(CCasTimeTest, ObjectFormCorrectsTwoDigitYears) {
  for (const YearCase& c : kYearCases) {
    const std::vector<uint8_t> fields = {c.lo, c.hi, 0x0C, 0x00, 0x18, 0x00,
                                         0x02, 0x00, 0x08, 0x00, 0x00, 0x00};
    CCasTime t;
    CArchive ar(fields.data(), fields.size());
    t.Serialize(ar);
    EXPECT_EQ(PartsOf(t), (Parts{c.expected, 12, 24, 2, -1, 8, 0}))
        << "stored year bytes " << int(c.lo) << " " << int(c.hi);
  }
}

// The value as a class-tagged object of the stream, as Expense records hold it.
// Year 98 (as an old file holds it), 12, 31, weekday unset, 23:59.
const Bytes kTaggedObject = NewClass("CCasTime") + H("62 00  0C 00  1F 00  FF FF  17 00  3B 00");

TEST_F(CCasTimeTest, TaggedObjectRoundTrip) {
  std::unique_ptr<CObject> obj;
  {
    CArchive ar(kTaggedObject.data(), kTaggedObject.size());
    obj = ar.ReadObject(RUNTIME_CLASS(CCasTime));
    EXPECT_EQ(ar.Remaining(), 0u);
  }
  ASSERT_NE(obj, nullptr);
  ASSERT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CCasTime)));
  const auto* t = static_cast<const CCasTime*>(obj.get());
  EXPECT_EQ(PartsOf(*t), (Parts{1998, 12, 31, -1, -1, 23, 59}));

  std::vector<uint8_t> out;
  {
    CArchive ar(out);
    ar.WriteObject(t);
  }
  std::vector<uint8_t> expected = kTaggedObject;
  expected[14] = 0xCE;  // 1998 = 0x07CE
  expected[15] = 0x07;
  EXPECT_EQ(out, expected);
}

// Both forms: a load that ends before the value does fails at the end of the data.
TEST_F(CCasTimeTest, LoadThatEndsEarlyFails) {
  for (const bool rawForm : {true, false}) {
    const std::vector<uint8_t>& bytes = rawForm ? kRaw2001 : kObjectFields2001;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
      CCasTime t;
      CArchive ar(bytes.data(), n);
      try {
        rawForm ? t.LoadRaw(ar) : t.Serialize(ar);
        ADD_FAILURE() << "a load of " << n << " bytes did not fail";
      } catch (const ArchiveError& e) {
        EXPECT_EQ(e.fault(), ArchiveFault::EndOfFile) << rawForm << " " << n << " bytes";
      }
    }
  }
}

// ---- Diary form ----

struct FormatCase {
  Parts parts;
  bool timeNotDate;
  std::string expected;
};

TEST_F(CCasTimeTest, FormatDiary) {
  const std::vector<FormatCase> cases = {
      {{2001, 5, 3, -1, -1, -1, -1}, false, "2001-05-03"},
      {kUnset, false, "----------"},
      {{2001, -1, -1, -1, -1, -1, -1}, false, "2001------"},
      {{-1, 12, 24, -1, -1, -1, -1}, false, "-----12-24"},
      {{1999, 0, 0, -1, -1, -1, -1}, false, "1999------"},  // month and day need 1 or more
      {{99, 5, 3, -1, -1, -1, -1}, false, "  99-05-03"},
      {{-1, -1, -1, -1, -1, 10, 30}, true, "10:30"},
      {{-1, -1, -1, -1, -1, 7, 5}, true, "07:05"},
      {{-1, -1, -1, -1, -1, 0, 0}, true, "00:00"},
      {kUnset, true, "--:--"},
      {{-1, -1, -1, -1, -1, 7, -1}, true, "07:--"},
      {{-1, -1, -1, -1, -1, -1, 15}, true, "--:15"},
  };
  for (const FormatCase& c : cases) {
    std::string buffer = "x";  // the text is appended
    Make(c.parts).FormatDiary(buffer, c.timeNotDate);
    EXPECT_EQ(buffer, "x" + c.expected);
  }
}

struct DiaryParseCase {
  const char* text;
  bool timeNotDate;
  int result;
  Parts expected;  // starting from kBefore
};

TEST_F(CCasTimeTest, ParseDiary) {
  const std::vector<DiaryParseCase> cases = {
      // A date always unsets the weekday and never touches the time or week.
      {"2001-05-03", false, 1, {2001, 5, 3, -1, 4, 5, 6}},
      {"----------", false, 1, {-1, -1, -1, -1, 4, 5, 6}},
      {"-----12-24", false, 1, {-1, 12, 24, -1, 4, 5, 6}},
      {"2001-05---", false, 1, {2001, 5, -1, -1, 4, 5, 6}},
      {"  99-05-03", false, 1, {99, 5, 3, -1, 4, 5, 6}},
      {"2001-ab-03", false, 0, {-1, -1, -1, -1, 4, 5, 6}},
      {"x001-05-03", false, 0, {-1, -1, -1, -1, 4, 5, 6}},
      {"2001-05-0x", false, 1, {2001, 5, 0, -1, 4, 5, 6}},  // the digits end the number
      {"2001-05", false, 0, {-1, -1, -1, -1, 4, 5, 6}},     // the day is missing
      {"", false, 0, {-1, -1, -1, -1, 4, 5, 6}},
      {"10:30", true, 1, {1999, 1, 2, 3, 4, 10, 30}},
      {"--:--", true, 1, {1999, 1, 2, 3, 4, -1, -1}},
      {"10:--", true, 1, {1999, 1, 2, 3, 4, 10, -1}},
      {"ab:30", true, 0, {1999, 1, 2, 3, 4, -1, -1}},
      {"10:xx", true, 0, {1999, 1, 2, 3, 4, -1, -1}},
      {"10:", true, 0, {1999, 1, 2, 3, 4, -1, -1}},
      {"", true, 0, {1999, 1, 2, 3, 4, -1, -1}},
  };
  for (const DiaryParseCase& c : cases) {
    CCasTime t = Make(kBefore);
    EXPECT_EQ(t.ParseDiary(c.text, c.timeNotDate), c.result) << '"' << c.text << '"';
    EXPECT_EQ(PartsOf(t), c.expected) << '"' << c.text << '"';
  }
}

TEST_F(CCasTimeTest, ParseDiaryStopsAtTerminator) {
  // The day's digits lie past the terminator and must not be read.
  const char date[] = "2001-05\0-03";
  CCasTime t = Make(kBefore);
  EXPECT_EQ(t.ParseDiary(date, false), 0);
  EXPECT_EQ(PartsOf(t), (Parts{-1, -1, -1, -1, 4, 5, 6}));

  const char time[] = "10\0:30";
  t = Make(kBefore);
  EXPECT_EQ(t.ParseDiary(time, true), 0);
  EXPECT_EQ(PartsOf(t), (Parts{1999, 1, 2, 3, 4, -1, -1}));

  const char shortMinute[] = "10:3";
  t = Make(kBefore);
  EXPECT_EQ(t.ParseDiary(shortMinute, true), 1);
  EXPECT_EQ(PartsOf(t), (Parts{1999, 1, 2, 3, 4, 10, 3}));
}

// ---- Display form ----

struct DisplayCase {
  int order;
  char dateSep;
  char timeSep;
  Parts parts;
  bool timeNotDate;
  std::string expected;
};

TEST_F(CCasTimeTest, FormatDisplay) {
  // Unset parts come from the fixed "now", 2024-07-15 13:45.
  const std::vector<DisplayCase> cases = {
      {0, '.', ':', {2001, 5, 3, -1, -1, -1, -1}, false, "5.3.2001"},
      {1, '.', ':', {2001, 5, 3, -1, -1, -1, -1}, false, "3.5.2001"},
      {2, '.', ':', {2001, 5, 3, -1, -1, -1, -1}, false, "2001.5.3"},
      {1, '/', ':', {2001, 12, 24, -1, -1, -1, -1}, false, "24/12/2001"},
      {0, '-', ':', {1999, 11, 30, -1, -1, -1, -1}, false, "11-30-1999"},
      {1, '.', ':', kUnset, false, "15.7.2024"},
      {1, '.', ':', {-1, 12, 24, -1, -1, -1, -1}, false, "24.12.2024"},
      {0, '.', ':', {2001, -1, -1, -1, -1, -1, -1}, false, "7.15.2001"},
      {0, '.', ':', {-1, -1, -1, -1, -1, 10, 30}, true, "10:30"},
      {0, '.', ':', {-1, -1, -1, -1, -1, 9, 5}, true, "9:05"},
      {0, '.', '.', {-1, -1, -1, -1, -1, 0, 0}, true, "0.00"},
      {0, '.', ':', kUnset, true, "13:45"},
      {0, '.', ':', {-1, -1, -1, -1, -1, 8, -1}, true, "8:45"},
  };
  for (const DisplayCase& c : cases) {
    SetRegional(c.order, c.dateSep, c.timeSep);
    std::string buffer = ">";
    Make(c.parts).FormatDisplay(buffer, c.timeNotDate);
    EXPECT_EQ(buffer, ">" + c.expected) << "order " << c.order;
  }
}

TEST_F(CCasTimeTest, TimeOnlyShowsTodayAndItsTime) {
  SetRegional(1, '.', '.');
  const CCasTime t = Make({-1, -1, -1, -1, -1, 9, 30});
  std::string date, time;
  t.FormatDisplay(date, false);
  t.FormatDisplay(time, true);
  EXPECT_EQ(date, "15.7.2024");
  EXPECT_EQ(time, "9.30");
}

// ---- Exchange form ----

struct ExchangeCase {
  Parts parts;
  bool timeNotDate;
  bool pattern;
  std::string expected;
};

TEST_F(CCasTimeTest, FormatExchange) {
  const std::vector<ExchangeCase> cases = {
      {{2001, 5, 3, -1, -1, -1, -1}, false, false, "2001-05-03 "},
      {kUnset, false, false, "0000-00-00 "},
      {{0, 0, 0, -1, -1, -1, -1}, false, false, "   0-00-00 "},  // 0 counts as set
      {{-1, 12, -1, -1, -1, -1, -1}, false, false, "0000-12-00 "},
      {{-1, -1, -1, -1, -1, 10, 30}, true, false, "10:30:00"},
      {{-1, -1, -1, -1, -1, 7, -1}, true, false, "07:00:00"},
      {kUnset, true, false, "00:00:00"},
      {{-1, 5, 24, 3, 2, -1, -1}, false, true, "05-02-3 "},
      {kUnset, false, true, "00-00-0 "},
      {{-1, 12, -1, 7, 0, -1, -1}, false, true, "12-00-7 "},
  };
  for (const ExchangeCase& c : cases) {
    std::string buffer = "|";
    Make(c.parts).FormatExchange(buffer, c.timeNotDate, c.pattern);
    EXPECT_EQ(buffer, "|" + c.expected);
  }
}

TEST_F(CCasTimeTest, ExchangeDateThenTime) {
  // How the export writes a date/time column.
  const CCasTime t = Make({2001, 5, 3, -1, -1, 10, 30});
  std::string buffer;
  t.FormatExchange(buffer, false, false);
  t.FormatExchange(buffer, true, false);
  EXPECT_EQ(buffer, "2001-05-03 10:30:00");
}

// ---- Typed input ----

struct TypedCase {
  int order;
  char dateSep;
  char timeSep;
  bool timeNotDate;
  std::string text;
  int result;
  Parts expected;         // starting from kBefore
  std::string textAfter;  // the caller's text after the call
};

TEST_F(CCasTimeTest, ParseTyped) {
  const Parts same = kBefore;
  const std::vector<TypedCase> cases = {
      // Dates, day-month-year.
      {1, '.', ':', false, "31.4.2001", 0, same, "31 4 2001"},  // April has 30 days
      {1, '.', ':', false, "29.2.2000", 1, {2000, 2, 29, 3, 4, 5, 6}, "29 2 2000"},
      {1, '.', ':', false, "29.2.1900", 0, same, "29 2 1900"},  // before 1970
      {1, '.', ':', false, "29.2.2001", 0, same, "29 2 2001"},
      {1, '.', ':', false, "24.12", 1, {2024, 12, 24, 3, 4, 5, 6}, "24 12"},
      {1, '.', ':', false, "24.12.99", 0, same, "24 12 99"},
      {1, '.', ':', false, "1.1.1970", 1, {1970, 1, 1, 3, 4, 5, 6}, "1 1 1970"},
      {1, '.', ':', false, "31.12.2037", 1, {2037, 12, 31, 3, 4, 5, 6}, "31 12 2037"},
      {1, '.', ':', false, "1.1.2038", 0, same, "1 1 2038"},
      {1, '.', ':', false, "0.5.2001", 0, same, "0 5 2001"},
      {1, '.', ':', false, "1.13.2001", 0, same, "1 13 2001"},
      {1, '.', ':', false, "1.0.2001", 0, same, "1 0 2001"},
      {1, '.', ':', false, "24", 0, same, "24"},  // one number is not a date
      {1, '.', ':', false, "  3 , 5 - 2001", 1, {2001, 5, 3, 3, 4, 5, 6}, "  3   5   2001"},
      {1, '.', ':', false, "3\\5/2001", 1, {2001, 5, 3, 3, 4, 5, 6}, "3 5 2001"},
      {1, '.', ':', false, "3:5:2001", 1, {2001, 5, 3, 3, 4, 5, 6}, "3 5 2001"},
      {1, '.', ':', false, "24.12.2001x", 0, same, "24 12 2001x"},
      {1, '.', ':', false, "a", 0, same, "a"},
      {1, '.', ':', false, "...", 0, same, "   "},  // no number at all
      // The regional separator counts only in its own mode.
      {1, '_', ':', false, "24_12_2001", 1, {2001, 12, 24, 3, 4, 5, 6}, "24 12 2001"},
      {1, '.', '_', false, "24_12_2001", 0, same, "24_12_2001"},
      // Month-day-year.
      {0, '.', ':', false, "12/24/2001", 1, {2001, 12, 24, 3, 4, 5, 6}, "12 24 2001"},
      {0, '.', ':', false, "2/29/2024", 1, {2024, 2, 29, 3, 4, 5, 6}, "2 29 2024"},
      {0, '.', ':', false, "2/29/2023", 0, same, "2 29 2023"},
      {0, '.', ':', false, "24/12/2001", 0, same, "24 12 2001"},
      {0, '.', ':', false, "12/24", 1, {2024, 12, 24, 3, 4, 5, 6}, "12 24"},
      // Year-month-day; two numbers are month and day of this year.
      {2, '.', ':', false, "2001-05-03", 1, {2001, 5, 3, 3, 4, 5, 6}, "2001 05 03"},
      {2, '.', ':', false, "5-3", 1, {2024, 5, 3, 3, 4, 5, 6}, "5 3"},
      {2, '.', ':', false, "2-30", 0, same, "2 30"},
      {2, '.', ':', false, "2001-02-29", 0, same, "2001 02 29"},
      // Times.
      {1, '.', ':', true, "7", 1, {1999, 1, 2, 3, 4, 7, 0}, "7"},
      {1, '.', ':', true, "7:61", 0, same, "7 61"},
      {1, '.', ':', true, "23:59:59", 1, {1999, 1, 2, 3, 4, 23, 59}, "23 59 59"},
      {1, '.', ':', true, "23:59:60", 0, same, "23 59 60"},
      {1, '.', ':', true, "24:00", 0, same, "24 00"},
      {1, '.', ':', true, "0.00", 1, {1999, 1, 2, 3, 4, 0, 0}, "0 00"},
      {1, '.', ':', true, " 8-15", 1, {1999, 1, 2, 3, 4, 8, 15}, " 8 15"},
      {1, '.', ':', true, "7h30", 0, same, "7h30"},
      {1, '.', 'h', true, "7h30", 1, {1999, 1, 2, 3, 4, 7, 30}, "7 30"},
      {1, 'h', ':', true, "7h30", 0, same, "7h30"},
  };
  for (const TypedCase& c : cases) {
    SetRegional(c.order, c.dateSep, c.timeSep);
    CCasTime t = Make(kBefore);
    std::string text = c.text;
    EXPECT_EQ(t.ParseTyped(text, c.timeNotDate), c.result)
        << '"' << c.text << "\" order " << c.order;
    EXPECT_EQ(PartsOf(t), c.expected) << '"' << c.text << "\" order " << c.order;
    EXPECT_EQ(text, c.textAfter) << '"' << c.text << "\" order " << c.order;
  }
}

TEST_F(CCasTimeTest, ParseTypedEmpty) {
  // An empty time unsets the time.
  CCasTime t = Make(kBefore);
  std::string text = "   ";
  EXPECT_EQ(t.ParseTyped(text, true), 1);
  EXPECT_EQ(PartsOf(t), (Parts{1999, 1, 2, 3, 4, -1, -1}));

  // An empty date unsets the date when there is no time...
  t = Make({1999, 1, 2, 3, 4, -1, 6});
  text = "";
  EXPECT_EQ(t.ParseTyped(text, false), 1);
  EXPECT_EQ(PartsOf(t), (Parts{-1, -1, -1, 3, 4, -1, 6}));

  // ...and becomes today when the hour is set.
  t = Make(kBefore);
  text = " ";
  EXPECT_EQ(t.ParseTyped(text, false), 1);
  EXPECT_EQ(PartsOf(t), (Parts{2024, 7, 15, 3, 4, 5, 6}));
}

// ---- Calendar ----

struct MonthCase {
  int month;
  int year;
  int days;
};

TEST_F(CCasTimeTest, DaysInMonth) {
  const std::vector<MonthCase> cases = {
      {1, 2001, 31},  {2, 2001, 28},  {3, 2001, 31}, {4, 2001, 30}, {5, 2001, 31},
      {6, 2001, 30},  {7, 2001, 31},  {8, 2001, 31}, {9, 2001, 30}, {10, 2001, 31},
      {11, 2001, 30}, {12, 2001, 31}, {2, 1900, 28}, {2, 2000, 29}, {2, 2004, 29},
      {2, 2100, 28},  {2, 1996, 29},  {2, 2024, 29}, {4, 2004, 30}, {12, 2000, 31},
  };
  for (const MonthCase& c : cases)
    EXPECT_EQ(CCasTime::DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

struct InstantCase {
  Parts parts;
  uint32_t expected;
};

TEST_F(CCasTimeTest, GetInstant) {
  // Seconds since 1970-01-01 00:00 with the parts read as universal time; unset parts come
  // from the fixed "now", 2024-07-15 13:45.
  const std::vector<InstantCase> cases = {
      {{2001, 5, 3, -1, -1, 10, 30}, 988885800u},
      {{1970, 1, 1, -1, -1, 0, 0}, 0u},
      {{2000, 2, 29, 5, 3, 0, 0}, 951782400u},  // weekday and week play no part
      {{1999, 12, 31, -1, -1, 23, 59}, 946684740u},
      {{2037, 12, 31, -1, -1, 23, 59}, 2145916740u},
      {{2038, 1, 19, -1, -1, 3, 15}, 2147483700u},  // past the 31-bit limit
      {{2106, 2, 7, -1, -1, 6, 28}, 4294967280u},   // the last minute 32 bits hold
      {kUnset, 1721051100u},                        // 2024-07-15 13:45
      {{-1, -1, -1, -1, -1, 9, 30}, 1721035800u},   // 2024-07-15 09:30
      {{-1, 2, -1, -1, -1, -1, -1}, 1708004700u},   // 2024-02-15 13:45
      {{2024, 7, 0, -1, -1, -1, -1}, 1721051100u},  // day 0 counts as unset
      {{2024, 7, 1, -1, -1, -1, -1}, 1719841500u},
      // Cannot be converted.
      {{2106, 2, 7, -1, -1, 6, 29}, 0xFFFFFFFFu},  // beyond 32 bits
      {{1969, 12, 31, -1, -1, 23, 59}, 0xFFFFFFFFu},
      {{5, 1, 1, -1, -1, 0, 0}, 0xFFFFFFFFu},  // a year never corrected
      // Out-of-range parts roll over: month 13 is January of the next year, month 0
      // December before, 31 April is 1 May, 29 February 2001 is 1 March.
      {{2001, 13, 1, -1, -1, 0, 0}, 1009843200u},  // 2002-01-01
      {{2001, 0, 1, -1, -1, 0, 0}, 975628800u},    // 2000-12-01
      {{2001, 4, 31, -1, -1, 0, 0}, 988675200u},   // 2001-05-01
      {{2001, 2, 29, -1, -1, 0, 0}, 983404800u},   // 2001-03-01
      {{2001, 5, 3, -1, -1, 24, 0}, 988934400u},   // 2001-05-04 00:00
      {{2001, 5, 3, -1, -1, 10, 60}, 988887600u},  // 2001-05-03 11:00
      {{32767, 12, 31, -1, -1, 23, 59}, 0xFFFFFFFFu},
  };
  for (const InstantCase& c : cases) {
    EXPECT_EQ(Make(c.parts).GetInstant(), c.expected)
        << c.parts[0] << "-" << c.parts[1] << "-" << c.parts[2] << " " << c.parts[5] << ":"
        << c.parts[6];
  }
}

TEST_F(CCasTimeTest, GetInstantIgnoresProcessTimeZone) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
  tzset();
  const uint32_t instant = Make({2001, 5, 3, -1, -1, 10, 30}).GetInstant();
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  EXPECT_EQ(instant, 988885800u);
}

}  // namespace
