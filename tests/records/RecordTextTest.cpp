// SPDX-License-Identifier: GPL-3.0-or-later
// Presentation of the diary records: search, print lines and the list-box row layout.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "records/Cp1250.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"
#include "RecordBuilders.h"
#include "TimeParts.h"

namespace {

// Czech literals of the tests are written in UTF-8 and handed to the records in Windows-1250.
std::string Cp(const std::string& utf8) { return Cp1250FromUtf8(utf8); }

// Fixed day-month-year display and a fixed clock, so that display forms with unset parts
// are known: "now" is 29 February 2024, 13:45.
class RecordTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegionalSettings settings;
    settings.dateOrder = 1;
    settings.dateSep = '.';
    settings.timeSep = ':';
    SetRegionalSettings(settings);
    SetNowProvider([] {
      LocalDateTime now;
      now.year = 2024;
      now.month = 2;
      now.day = 29;
      now.hour = 13;
      now.minute = 45;
      return now;
    });
  }
  void TearDown() override {
    SetNowProvider({});
    SetRegionalSettings(RegionalSettings{});
  }
};

// Paints with 6 pixels per character and a 16-pixel alarm bitmap, and records every call.
class FakePainter : public RowPainter {
 public:
  std::vector<std::string> calls;

  int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  void DrawText(int x, int y, const std::string& text, RowColour colour) override {
    static const char* const names[] = {"Text", "Secondary", "Highlight"};
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " +
                    names[static_cast<int>(colour)] + " '" + Utf8FromCp1250(text) + "'");
  }
  int DrawAlarmBitmap(int x, int y) override {
    calls.push_back("alarm " + std::to_string(x) + "," + std::to_string(y));
    return 16;
  }
  void DrawTick(int x0, int y0, int x1, int y1, int x2, int y2) override {
    calls.push_back("tick " + std::to_string(x0) + "," + std::to_string(y0) + " " +
                    std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
                    std::to_string(y2));
  }
};

// Print lines as "label:text" in UTF-8, "+" standing for the continuation label 0xFFFF.
std::vector<std::string> Lines(const PrintLines& lines) {
  EXPECT_EQ(lines.labels.size(), lines.texts.size());
  std::vector<std::string> out;
  for (std::size_t i = 0; i < lines.texts.size() && i < lines.labels.size(); ++i) {
    const std::string label =
        lines.labels[i] == 0xFFFF ? std::string("+") : std::to_string(lines.labels[i]);
    out.push_back(label + ":" + Utf8FromCp1250(lines.texts[i]));
  }
  return out;
}

using Records = RecordsOf<Cp>;
const auto Memo = Records::Memo;
const auto Telefon = Records::Telefon;
const auto Buscard = Records::Buscard;
const auto Freefile = Records::Freefile;
const auto Scheduler = Records::Scheduler;
const auto Reminder = Records::Reminder;
const auto Expense = Records::Expense;

// A done item carries a completion time; it is not shown.
std::unique_ptr<CCasioPol> Todo(const std::string& text, bool done) {
  return Records::Todo(text, done, done ? DateTime(2001, 5, 3, 12, 0) : CCasTime());
}

std::unique_ptr<CCasioPol> Sheet(const std::string& name, const CCasTime& changed,
                                 std::size_t size) {
  auto r = std::make_unique<CcSpreadsheet>();
  r->m_name = Cp(name);
  r->m_changed = changed;
  r->m_data.assign(size, 0x5A);
  return r;
}

const CCasTime kUnset;

// ---------------------------------------------------------------------------------------
// Row layout

struct RowCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  bool selected;
  std::vector<std::string> calls;  // at row top 40, so texts are drawn at y = 42
  int width;                       // DrawRow's result: width of the last text drawn
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class DrawRowTest : public RecordTextTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(DrawRowTest, PartsPositionsAndColours) {
  const RowCase& c = GetParam();
  FakePainter painter;
  const int width = c.make()->DrawRow(painter, 40, c.selected);
  EXPECT_EQ(c.calls, painter.calls);
  EXPECT_EQ(c.width, width);
}

const RowCase kRowCases[] = {
    {"MemoCutAtLineBreak", [] { return Memo("Nákup\r\nmléko"); }, false,
     {"text 10,42 Text 'Nákup'"}, 30},
    {"MemoCutAtTab", [] { return Memo("a\tb"); }, false, {"text 10,42 Text 'a'"}, 6},
    {"MemoEmpty", [] { return Memo(""); }, false, {"text 10,42 Text ''"}, 0},
    {"TelefonField0", [] { return Telefon({"Novák\x01x", "123"}); }, false,
     {"text 10,42 Text 'Novák'"}, 30},
    {"BuscardCompanyAndName", [] { return Buscard({"VORT", "Jan Novák"}); }, false,
     {"text 10,42 Text 'VORT'", "text 34,42 Secondary ' - '", "text 52,42 Secondary 'Jan Novák'"},
     54},
    {"BuscardNoCompanyNoDash", [] { return Buscard({"", "Jan"}); }, false,
     {"text 10,42 Text ''", "text 10,42 Secondary 'Jan'"}, 18},
    {"TodoOpen", [] { return Todo("Koupit\rchléb", false); }, false, {"text 20,42 Text 'Koupit'"},
     36},
    {"TodoDoneTick", [] { return Todo("Hotovo", true); }, false,
     {"tick 10,50 13,53 17,46", "text 20,42 Text 'Hotovo'"}, 36},
    {"FreefileTitle", [] { return Freefile("Dopis\r\n", "Tělo"); }, false,
     {"text 10,42 Text 'Dopis'"}, 30},
    {"SchedulerDayOnly", [] { return Scheduler(Date(2001, 5, 3), kUnset, kUnset, "Porada"); },
     false, {"text 10,42 Secondary '3.5.2001'", "text 58,42 Text ' Porada'"}, 42},
    {"SchedulerTimeRangeAndAlarm", [] {
       return Scheduler(DateTime(2001, 5, 3, 9, 5), Time(10, 30), Time(8, 50), "Porada\r\nsál"); },
     false,
     {"text 10,42 Secondary '3.5.2001, 9:05~10:30'", "alarm 130,42", "text 146,42 Secondary '8:50'",
      "text 170,42 Text ' Porada'"}, 42},
    {"SchedulerStartTimeOnly",
     [] { return Scheduler(DateTime(2001, 12, 24, 18, 0), kUnset, kUnset, "Večeře"); }, false,
     {"text 10,42 Secondary '24.12.2001, 18:00'", "text 112,42 Text ' Večeře'"}, 42},
    // A date range hides the times.
    {"SchedulerDateRange",
     [] { return Scheduler(DateTime(2001, 5, 3, 9, 0), Date(2001, 5, 7), kUnset, "Dovolená"); },
     false, {"text 10,42 Secondary '3.5.2001~7.5.2001'", "text 112,42 Text ' Dovolená'"}, 54},
    // Without an end year the end is no date range; the end's day alone does not make one.
    {"SchedulerEndWithoutYearIsNoRange",
     [] { return Scheduler(Date(2001, 5, 3), Date(-1, 5, 7), kUnset, "X"); }, false,
     {"text 10,42 Secondary '3.5.2001'", "text 58,42 Text ' X'"}, 12},
    // An unset start date shows today's date.
    {"SchedulerUnsetStartShowsToday", [] { return Scheduler(kUnset, kUnset, kUnset, "Y"); }, false,
     {"text 10,42 Secondary '29.2.2024'", "text 64,42 Text ' Y'"}, 12},
    {"ReminderWeekdayMonthAndWeek",
     [] { return Reminder(true, Pattern(3, -1, 2, 2, -1, -1), "Schůze"); }, false,
     {"text 10,42 Secondary '3.,2.Týdně, Po'", "text 94,42 Text ' Schůze'"}, 42},
    {"ReminderWeekdayOnlySunday",
     [] { return Reminder(true, Pattern(-1, -1, -1, 1, -1, -1), "Mše"); }, false,
     {"text 10,42 Secondary 'Ne'", "text 22,42 Text ' Mše'"}, 24},
    {"ReminderWeekdayWeekAndAlarm",
     [] { return Reminder(true, Pattern(-1, -1, 5, 7, 7, 30), "Trh\r\n"); }, false,
     {"text 10,42 Secondary '5.Týdně, So'", "alarm 76,42", "text 92,42 Secondary '7:30'",
      "text 116,42 Text ' Trh'"}, 24},
    {"ReminderDaily", [] { return Reminder(false, Pattern(-1, -1, -1, -1, -1, -1), "Léky"); },
     false, {"text 10,42 Secondary 'Denně'", "text 40,42 Text ' Léky'"}, 30},
    {"ReminderMonthly", [] { return Reminder(false, Pattern(-1, 15, -1, -1, 6, 0), "Nájem"); },
     false, {"text 10,42 Secondary 'Měsíčně 15.'", "alarm 76,42", "text 92,42 Secondary '6:00'",
      "text 116,42 Text ' Nájem'"}, 36},
    {"ReminderYearly", [] { return Reminder(false, Pattern(3, 15, -1, -1, -1, -1), "Výročí"); },
     false, {"text 10,42 Secondary '15.3.'", "text 40,42 Text ' Výročí'"}, 42},
    {"ExpenseAllParts",
     [] { return Expense(Date(2001, 5, 3), 1234.5, "Hotově", "Jídlo", "oběd\r\nx"); }, false,
     {"text 10,42 Secondary '3.5.2001 - 1234.5 Hotově : '", "text 172,42 Text 'Jídlo, oběd'"}, 66},
    {"ExpenseNoAmountNoPayment", [] { return Expense(Date(2001, 5, 3), -1.0, "", "Jídlo", ""); },
     false, {"text 10,42 Secondary '3.5.2001'", "text 58,42 Text 'Jídlo'"}, 30},
    {"ExpensePaymentOnly", [] { return Expense(Date(2001, 5, 3), 12.0, "Karta", "", ""); }, false,
     {"text 10,42 Secondary '3.5.2001 - 12 Karta'", "text 124,42 Text ''"}, 0},
    {"ExpenseNoteWithoutExpenseType",
     [] { return Expense(Date(2001, 5, 3), 99999999.0, "", "", "pozn"); }, false,
     {"text 10,42 Secondary '3.5.2001 - 99999999 '", "text 130,42 Text ', pozn'"}, 36},
    {"SpreadsheetNameAndDetails",
     [] { return Sheet("Rozpočet\r\n", DateTime(2001, 5, 3, 10, 0), 300); }, false,
     {"text 10,42 Text 'Rozpočet'",
      "text 58,42 Secondary ', poslední změna: 3.5.2001 (velikost: 300)'"}, 252},
    {"SelectedMemo", [] { return Memo("Nákup"); }, true, {"text 10,42 Highlight 'Nákup'"}, 30},
    {"SelectedBuscard", [] { return Buscard({"VORT", "Jan"}); }, true,
     {"text 10,42 Highlight 'VORT'", "text 34,42 Highlight ' - '", "text 52,42 Highlight 'Jan'"},
     18},
    {"SelectedTodoDone", [] { return Todo("Hotovo", true); }, true,
     {"tick 10,50 13,53 17,46", "text 20,42 Highlight 'Hotovo'"}, 36},
    {"SelectedSchedulerWithAlarm",
     [] { return Scheduler(DateTime(2001, 5, 3, 9, 5), kUnset, Time(8, 50), "P"); }, true,
     {"text 10,42 Highlight '3.5.2001, 9:05'", "alarm 94,42", "text 110,42 Highlight '8:50'",
      "text 134,42 Highlight ' P'"}, 12},
    {"SelectedReminder",
     [] { return Reminder(false, Pattern(3, 15, -1, -1, 6, 0), "R"); },
     true, {"text 10,42 Highlight '15.3.'", "alarm 40,42", "text 56,42 Highlight '6:00'",
      "text 80,42 Highlight ' R'"}, 12},
    {"SelectedExpense", [] { return Expense(Date(2001, 5, 3), 5.0, "A", "B", ""); }, true,
     {"text 10,42 Highlight '3.5.2001 - 5 A : '", "text 112,42 Highlight 'B'"}, 6},
    {"SelectedSpreadsheet", [] { return Sheet("S", Date(2001, 5, 3), 0); }, true,
     {"text 10,42 Highlight 'S'",
      "text 16,42 Highlight ', poslední změna: 3.5.2001 (velikost: 0)'"}, 240},
};

INSTANTIATE_TEST_SUITE_P(Kinds, DrawRowTest, ::testing::ValuesIn(kRowCases),
                         [](const ::testing::TestParamInfo<RowCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(RecordTextTest, RowCursorAdvancesByDrawnWidth) {
  FakePainter painter;
  RowCursor row(painter, 7, 100, false);
  EXPECT_EQ(12, row.Text("ab", RowColour::Text));
  row.AlarmBitmap();
  EXPECT_EQ(7 + 12 + 16, row.X());
  EXPECT_EQ(12, row.LastWidth());  // the bitmap is no text
  EXPECT_EQ(18, row.Text("cde", RowColour::Secondary));
  EXPECT_EQ(18, row.LastWidth());
  EXPECT_EQ(53, row.X());
  const std::vector<std::string> expected = {"text 7,102 Text 'ab'", "alarm 19,102",
                                             "text 35,102 Secondary 'cde'"};
  EXPECT_EQ(expected, painter.calls);
}

// ---------------------------------------------------------------------------------------
// Line splitting

struct SplitCase {
  const char* name;
  std::string text;
  int width;
  std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, Lines) {
  const SplitCase& c = GetParam();
  PrintLines lines;
  AddPrintText(lines, 7, c.text, c.width);
  EXPECT_EQ(c.lines, Lines(lines));
}

const SplitCase kSplitCases[] = {
    {"EmptyTextOneLine", "", 5, {"7:"}},
    {"ExactlyWidth", "abcde", 5, {"7:abcde"}},
    {"WidthPlusOne", "abcdef", 5, {"7:abcde", "+:f"}},
    {"ThreeLines", "abcdefghijk", 5, {"7:abcde", "+:fghij", "+:k"}},
    {"ShorterThanWidth", "abc", 80, {"7:abc"}},
    {"CrBreaksAndIsDropped", "ab\rcd", 80, {"7:ab", "+:cd"}},
    {"LfAfterCrStartsNextLine", "ab\r\ncd", 80, {"7:ab", "+:\ncd"}},
    {"TrailingCrNoExtraLine", "ab\r", 80, {"7:ab"}},
    {"TrailingCrLf", "ab\r\n", 80, {"7:ab", "+:\n"}},
    {"OnlyCr", "\r", 80, {"7:"}},
    {"TwoCrs", "\r\r", 80, {"7:", "+:"}},
    // The line ends after `width` characters; the CR that follows then ends an empty line.
    {"CrRightAfterFullLine", "abcde\rf", 5, {"7:abcde", "+:", "+:f"}},
    {"LoneLfIsText", "ab\ncd", 80, {"7:ab\ncd"}},
    {"WidthOneEachCharacter", "abc", 1, {"7:a", "+:b", "+:c"}},
    {"CzechBytesCountOnce", "žluťoučký", 4, {"7:žluť", "+:oučk", "+:ý"}},
};

INSTANTIATE_TEST_SUITE_P(Texts, SplitTest, ::testing::ValuesIn([] {
                           std::vector<SplitCase> cases(std::begin(kSplitCases),
                                                        std::end(kSplitCases));
                           for (SplitCase& c : cases) c.text = Cp(c.text);
                           return cases;
                         }()),
                         [](const ::testing::TestParamInfo<SplitCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(PrintLinesTest, AppendsAfterExistingLines) {
  PrintLines lines;
  AddPrintText(lines, 3, "ab", 80);
  AddPrintText(lines, 4, "cd\ref", 80);
  const std::vector<std::string> expected = {"3:ab", "4:cd", "+:ef"};
  EXPECT_EQ(expected, Lines(lines));
}

// ---------------------------------------------------------------------------------------
// Print lines of every kind

struct PrintCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  bool includeEmpty;
  int width;
  std::vector<std::string> lines;
};

void PrintTo(const PrintCase& c, std::ostream* os) { *os << c.name; }

class PrintLinesKindTest : public RecordTextTest,
                           public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintLinesKindTest, Lines) {
  const PrintCase& c = GetParam();
  PrintLines lines;
  c.make()->GetPrintLines(lines, c.includeEmpty, c.width);
  EXPECT_EQ(c.lines, Lines(lines));
}

const std::vector<std::string> kNineEmpty = {"0:", "1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:"};

const PrintCase kPrintCases[] = {
    {"MemoEmptyAlwaysOneLine", [] { return Memo(""); }, false, 10, {"0:"}},
    {"MemoSplit", [] { return Memo("abcdefgh\r\nij"); }, false, 5, {"0:abcde", "+:fgh", "+:\nij"}},
    {"TelefonNonEmptyFields", [] { return Telefon({"Novák", "", "Praha", "", "", "", "", "", "x"});
     }, false, 80, {"0:Novák", "2:Praha", "8:x"}},
    {"TelefonIncludeEmpty", [] { return Telefon({"Novák", "", "Praha"}); }, true, 80,
     {"0:Novák", "1:", "2:Praha", "3:", "4:", "5:", "6:", "7:", "8:"}},
    {"TelefonAllEmptyIncludeEmpty", [] { return Telefon({}); }, true, 80, kNineEmpty},
    {"TelefonFieldSplit", [] { return Telefon({"abcdefg"}); }, false, 4, {"0:abcd", "+:efg"}},
    {"BuscardNonEmptyFields", [] {
       return Buscard({"VORT", "Jan", "", "", "", "", "", "", "", "", "", "", "", "", "poslední"});
     }, false, 80, {"0:VORT", "1:Jan", "14:poslední"}},
    {"BuscardIncludeEmpty", [] { return Buscard({"VORT"}); }, true, 80, {"0:VORT",
      "1:", "2:", "3:", "4:", "5:", "6:", "7:", "8:", "9:", "10:", "11:", "12:", "13:", "14:"}},
    {"TodoEmptyNothing", [] { return Todo("", false); }, false, 80, {}},
    {"TodoEmptyIncludeEmpty", [] { return Todo("", false); }, true, 80, {"0:", "1:ne"}},
    {"TodoDone", [] { return Todo("Koupit chléb", true); }, false, 6,
     {"0:Koupit", "+: chléb", "1:ano"}},
    {"TodoOpen", [] { return Todo("Psát", false); }, false, 80, {"0:Psát", "1:ne"}},
    {"FreefileTitleAtWidth32",
     [] { return Freefile("0123456789012345678901234567890123456789", "a\r\nb"); }, false, 80,
     {"0:01234567890123456789012345678901", "+:23456789", "1:a", "+:\nb"}},
    {"FreefileEmpty", [] { return Freefile("", ""); }, false, 80, {"0:", "1:"}},
    {"FreefileBodyAtWidth", [] { return Freefile("T", "abcdefg"); }, false, 3,
     {"0:T", "1:abc", "+:def", "+:g"}},
    // The date and alarm lines keep their own width even when the page is narrower.
    {"SchedulerFull",
     [] { return Scheduler(DateTime(2001, 5, 3, 9, 5), Time(10, 30), Time(8, 50), "Porada sál"); },
     false, 6, {"0:3.5.2001, 9:05~10:30", "1:8:50", "2:Porada", "+: sál"}},
    {"SchedulerDateOnly", [] { return Scheduler(Date(2001, 5, 3), kUnset, kUnset, ""); }, false, 80,
     {"0:3.5.2001"}},
    {"SchedulerDateOnlyIncludeEmpty",
     [] { return Scheduler(Date(2001, 5, 3), kUnset, kUnset, ""); }, true, 80,
     {"0:3.5.2001", "1:", "2:"}},
    {"SchedulerRange",
     [] { return Scheduler(DateTime(2001, 5, 3, 9, 0), Date(2001, 5, 7), kUnset, "D"); }, false, 80,
     {"0:3.5.2001~7.5.2001", "2:D"}},
    {"SchedulerStartTimeNoEnd",
     [] { return Scheduler(DateTime(2001, 5, 3, 9, 0), kUnset, kUnset, "D"); }, false, 80,
     {"0:3.5.2001, 9:00", "2:D"}},
    // The print line names the month of a weekday pattern, not its week as well.
    {"ReminderWeekdayMonthWins",
     [] { return Reminder(true, Pattern(3, -1, 2, 2, -1, -1), "Schůze"); }, false, 80,
     {"0:3.,Po", "2:Schůze"}},
    {"ReminderWeekdayWeekWithoutMonth",
     [] { return Reminder(true, Pattern(-1, -1, 2, 4, 7, 5), "Schůze"); }, false, 80,
     {"0:2.Týdně, St", "1:7:05", "2:Schůze"}},
    {"ReminderDailyIncludeEmpty",
     [] { return Reminder(false, Pattern(-1, -1, -1, -1, -1, -1), ""); }, true, 80,
     {"0:Denně", "1:", "2:"}},
    {"ReminderTextAlwaysPrinted",
     [] { return Reminder(false, Pattern(-1, 15, -1, -1, -1, -1), ""); }, false, 80,
     {"0:Měsíčně 15.", "2:"}},
    {"ReminderDayAndMonth",
     [] { return Reminder(false, Pattern(12, 24, -1, -1, 18, 0), "Štědrý večer"); }, false, 6,
     {"0:24.12.", "1:18:00", "2:Štědrý", "+: večer"}},
    {"ExpenseFiveLinesOwnWidth",
     [] { return Expense(Date(2001, 5, 3), 1234.5, "Hotově", "Jídlo", "oběd"); }, false, 3,
     {"0:3.5.2001", "1:1234.5 ", "2:Hotově", "3:Jídlo", "4:oběd"}},
    {"ExpenseEmptyTexts", [] { return Expense(Date(2001, 12, 24), 0.1 + 0.2, "", "", ""); }, false,
     80, {"0:24.12.2001", "1:0.3 ", "2:", "3:", "4:"}},
    {"ExpenseNoteBrokenAtCr", [] { return Expense(Date(2001, 5, 3), 7.0, "", "", "a\r\nb"); },
     false, 80, {"0:3.5.2001", "1:7 ", "2:", "3:", "4:a", "+:\nb"}},
    {"SpreadsheetNameAt20",
     [] { return Sheet("Rozpočet na rok 2001 a dál", DateTime(2001, 5, 3, 10, 0), 300); }, false,
     80, {"0:Rozpočet na rok 2001", "+: a dál", "1:3.5.2001", "2:300"}},
    {"SpreadsheetEmpty", [] { return Sheet("", kUnset, 0); }, false, 80,
     {"0:", "1:29.2.2024", "2:0"}},
};

INSTANTIATE_TEST_SUITE_P(Kinds, PrintLinesKindTest, ::testing::ValuesIn(kPrintCases),
                         [](const ::testing::TestParamInfo<PrintCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Search in one text

struct SearchCase {
  const char* name;
  std::string text;
  std::string pattern;
  bool matchCase;
  bool wholeWord;
  bool found;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class FindInTextTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FindInTextTest, Found) {
  const SearchCase& c = GetParam();
  EXPECT_EQ(c.found, FindInText(Cp(c.text), Cp(c.pattern), c.matchCase, c.wholeWord));
}

const SearchCase kSearchCases[] = {
    {"AnyOccurrence", "Ahoj světe", "HOJ", false, false, true},
    {"NotFound", "Ahoj světe", "SVET", false, false, false},
    {"CzechCaseBlind", "Ahoj světe", "SVĚTE", false, false, true},
    {"CzechCaseBlindAllLetters", "žluťoučký kůň úpěl ďábelské ódy",
     "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY", false, false, true},
    {"MatchCaseRefusesOtherCase", "Ahoj světe", "SVĚTE", true, false, false},
    {"MatchCaseSameCase", "Ahoj světe", "světe", true, false, true},
    // Without matching case only the text is turned to upper case; the caller does the pattern.
    {"CaseBlindNeedsUpperPattern", "abc", "abc", false, false, false},
    {"WholeWordAlone", "cat", "CAT", false, true, true},
    {"WholeWordBetweenBlanks", "a cat b", "CAT", false, true, true},
    {"WholeWordLetterAfter", "cats", "CAT", false, true, false},
    {"WholeWordLetterBefore", "bobcat", "CAT", false, true, false},
    {"WholeWordDigitBefore", "1cat", "CAT", false, true, false},
    {"WholeWordDigitAfter", "cat9", "CAT", false, true, false},
    {"WholeWordPunctuation", "(cat)_", "CAT", false, true, true},
    {"WholeWordUnderscore", "a_cat_b", "CAT", false, true, true},
    // Czech letters are no ASCII letters, so they do not join a word.
    {"WholeWordCzechNeighbours", "čcatž", "CAT", false, true, true},
    // Only the first occurrence is tested: a later one standing alone does not count.
    {"WholeWordFirstOccurrenceOnly", "concatenate cat", "CAT", false, true, false},
    {"WholeWordFirstOccurrenceAlone", "cat concatenate", "CAT", false, true, true},
    {"WithoutWholeWordPartOfWord", "concatenate", "CAT", false, false, true},
};

INSTANTIATE_TEST_SUITE_P(Texts, FindInTextTest, ::testing::ValuesIn(kSearchCases),
                         [](const ::testing::TestParamInfo<SearchCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(FindInTextBytes, CzechUpperCaseBytes) {
  // "kůň" in Windows-1250 is 6B F9 F2; its capitals "KŮŇ" are 4B D9 D2.
  const std::string text = "\x6B\xF9\xF2";
  EXPECT_TRUE(FindInText(text, "\x4B\xD9\xD2", false, true));
  EXPECT_FALSE(FindInText(text, "\x4B\xD9\xD2", true, false));
  EXPECT_TRUE(FindInText(text, "\x6B\xF9\xF2", true, true));
}

TEST(CutAtControlTest, Texts) {
  EXPECT_EQ("abc", CutAtControl("abc"));
  EXPECT_EQ("ab", CutAtControl("ab\r\ncd"));
  EXPECT_EQ("", CutAtControl("\x1F"
                             "ab"));
  EXPECT_EQ("a b\x7F\xE8", CutAtControl("a b\x7F\xE8\x01z"));  // 0x7F and above stay
}

// Format's own part: a text of any length comes back whole, an empty one as empty.
TEST(FormatTest, TextsOfAnyLengthComeBackWhole) {
  EXPECT_EQ("", Format("%s", ""));
  const std::string longText(100000, 'x');
  EXPECT_EQ(longText + "!", Format("%s!", longText.c_str()));
}

// ---------------------------------------------------------------------------------------
// Find of every kind

struct FindCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  std::string pattern;  // UTF-8, as the caller hands it (upper case unless case matters)
  bool matchCase;
  bool wholeWord;
  int found;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class FindKindTest : public RecordTextTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindKindTest, Found) {
  const FindCase& c = GetParam();
  EXPECT_EQ(c.found, c.make()->Find(Cp(c.pattern), c.matchCase, c.wholeWord));
}

const FindCase kFindCases[] = {
    {"MemoText", [] { return Memo("Koupit mléko"); }, "MLÉKO", false, false, 1},
    {"MemoMissing", [] { return Memo("Koupit mléko"); }, "CHLÉB", false, false, 0},
    {"MemoWholeWordFirstOccurrence", [] { return Memo("kočkami a kočka"); }, "KOČKA", false, true,
     0},
    {"TelefonField8", [] { return Telefon({"A", "", "", "", "", "", "", "", "poznámka"}); },
     "POZNÁMKA", false, false, 1},
    {"TelefonMatchCase", [] { return Telefon({"Novák"}); }, "novák", true, false, 0},
    {"BuscardField14", [] {
       return Buscard({"F", "J", "", "", "", "", "", "", "", "", "", "", "", "", "volné"}); },
     "VOLNÉ", false, false, 1},
    {"BuscardMissing", [] { return Buscard({"Firma", "Jan"}); },
     "PETR", false, false, 0},
    {"TodoText", [] { return Todo("Zavolat", false); }, "VOLAT", false, false, 1},
    {"TodoWholeWord", [] { return Todo("Zavolat", false); }, "VOLAT", false, true, 0},
    {"FreefileTitle", [] { return Freefile("Dopis", "text"); }, "DOPIS", false, true, 1},
    {"FreefileBody", [] { return Freefile("Dopis", "Vážený pane,\r\nděkuji"); }, "DĚKUJI", false,
     true, 1},
    {"SchedulerDescription", [] { return Scheduler(Date(2001, 5, 3), kUnset, kUnset, "Porada"); },
     "PORADA", false, false, 1},
    {"SchedulerDateNotSearched",
     [] { return Scheduler(Date(2001, 5, 3), kUnset, kUnset, "Porada"); }, "2001", false, false, 0},
    {"ReminderText", [] { return Reminder(false, Pattern(-1, 1, -1, -1, -1, -1), "Nájem"); },
     "NÁJEM", false, false, 1},
    {"ExpensePayment", [] { return Expense(Date(2001, 5, 3), 10.0, "Hotově", "B", "C"); }, "HOTOVĚ",
     false, false, 1},
    {"ExpenseNote", [] { return Expense(Date(2001, 5, 3), 10.0, "A", "B", "oběd"); }, "OBĚD", false,
     false, 1},
    // The amount is searched as "%.8g " with its trailing blank.
    {"ExpenseAmountWithBlank", [] { return Expense(Date(2001, 5, 3), 1234.5, "", "", ""); },
     "1234.5 ", false, false, 1},
    {"ExpenseAmountBlankIsLast", [] { return Expense(Date(2001, 5, 3), 1234.5, "", "", ""); },
     "1234.5  ", false, false, 0},
    {"ExpenseAmountEightDigits", [] { return Expense(Date(2001, 5, 3), 12.345678912, "", "", ""); },
     "12.345679 ", false, false, 1},
    {"ExpenseAmountExponentCaseBlind",
     [] { return Expense(Date(2001, 5, 3), 123456789.0, "", "", ""); }, "1.2345679E+08 ", false,
     false, 1},
    {"ExpenseAmountExponentMatchCase",
     [] { return Expense(Date(2001, 5, 3), 123456789.0, "", "", ""); }, "1.2345679E+08 ", true,
     false, 0},
    {"ExpenseUnsetAmount", [] { return Expense(Date(2001, 5, 3), -1.0, "", "", ""); }, "-1 ", false,
     false, 1},
    {"ExpenseDateNotSearched", [] { return Expense(Date(2001, 5, 3), 7.0, "", "", ""); }, "2001",
     false, false, 0},
    {"SpreadsheetName", [] { return Sheet("Rozpočet", Date(2001, 5, 3), 10); }, "ROZPOČET", false,
     false, 1},
    {"SpreadsheetChangedDisplayForm", [] { return Sheet("S", Date(2001, 5, 3), 10); }, "3.5.2001",
     false, true, 1},
    {"SpreadsheetChangedUnsetIsToday", [] { return Sheet("S", kUnset, 10); }, "29.2.2024", false,
     false, 1},
    {"SpreadsheetSizeNotSearched", [] { return Sheet("S", Date(2001, 5, 3), 345); }, "345", false,
     false, 0},
};

INSTANTIATE_TEST_SUITE_P(Kinds, FindKindTest, ::testing::ValuesIn(kFindCases),
                         [](const ::testing::TestParamInfo<FindCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
