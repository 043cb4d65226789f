// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli end to end: the real program, run in a private folder, on documents and JSON
// written out here byte by byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "Bytes.h"
#include "DocumentJson.h"
#include "RunProgram.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A failure of the program: it ran to its end, exit code not 0, nothing on standard output
// and exactly one non-empty line on standard error.
testing::AssertionResult FailedWithOneLine(const ProgramResult& r) {
  if (!r.exited) return testing::AssertionFailure() << "the program did not exit normally";
  if (r.exitCode == 0) return testing::AssertionFailure() << "exit code 0";
  if (!r.out.empty()) return testing::AssertionFailure() << "standard output: " << r.out;
  const auto lines = std::count(r.err.begin(), r.err.end(), '\n');
  if (r.err.size() < 2 || lines != 1 || r.err.back() != '\n')
    return testing::AssertionFailure() << "standard error is not one line: [" << r.err << "]";
  return testing::AssertionSuccess();
}

testing::AssertionResult Succeeded(const ProgramResult& r) {
  if (r.exited && r.exitCode == 0 && r.err.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "exit code " << r.exitCode << ", standard error [" << r.err << "]";
}

// Records of every mode: Czech texts, CR LF line ends, unset time parts, control characters,
// the five bytes Windows-1250 leaves unassigned, a zero byte in a FreeFile body, duplicates
// and an unsorted order that build must keep as given.
json AllModesDocument() {
  const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy";
  const std::vector<std::string> phone = {"Zdeněk Nový", "+420 602 123 456",
                                           "Husova 5\r\n110 00 Praha 1", "", "zdenek@example.cz",
                                           "", "", "", "poslední pole"};
  return Document({
      {"Memo", json::array({
           {{"mark", 0}, {"text", czech}},
           {{"mark", 1}, {"text", "\u0081\u0083\u0088\u0090\u0098 € „ok“ \x01\t§ ¤ ˇ"}},
           {{"mark", 0}, {"text", ""}},
           {{"mark", 0}, {"text", czech}},
           {{"mark", 0}, {"text", "první řádek\r\ndruhý řádek\r\n"}}})},
      {"Telephone", json::array({
           {{"mark", 0}, {"fields", phone}},
           {{"mark", 1}, {"fields", Fields({"Adam Černý", "603 000 111"}, 9)}},
           {{"mark", 0}, {"fields", phone}}})},
      {"Scheduler", json::array({
           {{"mark", 0}, {"start", T(2024, 3, 15, -1, -1, 9, 30)},
            {"end", T(2024, 3, 15, -1, -1, 10, 45)}, {"alarm", T(-1, -1, -1, -1, -1, 9, 15)},
            {"text", "Porada – oddělení vývoje"}},
           {{"mark", 1}, {"start", Unset()}, {"end", Unset()}, {"alarm", Unset()},
            {"text", "bez data"}},
           {{"mark", 0}, {"start", T(1999, 12, 31, 6, 5, 23, 59)},
            {"end", T(2000, 1, 1, -1, -1, -1, -1)}, {"alarm", Unset()}, {"text", "Silvestr"}}})},
      {"BusinessCards", json::array({
           {{"mark", 0}, {"fields", {"Výroba s.r.o.", "Ing. Šárka Dvořáková", "+420 555 111 222",
                                     "ředitelka", "obchodní oddělení", "P.O.Box 12",
                                     "Žižkova 7, Brno", "123456", "+420 555 111 223", "a", "b",
                                     "c", "d", "e", "šestnácté? ne, patnácté"}}},
           {{"mark", 1}, {"fields", Fields({"Firma"}, 15)}}})},
      {"ToDo", json::array({
           {{"mark", 0}, {"text", "Koupit mléko"}, {"done", 0}, {"completed", Unset()}},
           {{"mark", 1}, {"text", "Zaplatit nájem"}, {"done", 1},
            {"completed", T(2023, 12, 31, -1, -1, 23, 59)}},
           {{"mark", 0}, {"text", "Jen čas"}, {"done", 1},
            {"completed", T(-1, -1, -1, -1, -1, 7, 0)}}})},
      {"FreeFile", json::array({
           {{"mark", 0}, {"title", "Recept: bábovka"},
            {"body", "Mouka 250 g\r\nCukr 150 g\r\n\r\nPéct 50 minut.\0konec"s}},
           {{"mark", 1}, {"title", "prázdný"}, {"body", ""}},
           {{"mark", 0}, {"title", ""}, {"body", "jen tělo\r\n"}}})},
      {"ReminderOne", json::array({
           {{"mark", 0}, {"weekday_pattern", 0}, {"pattern", T(-1, 12, 24, -1, -1, 18, 0)},
            {"text", "Štědrý den"}},
           {{"mark", 1}, {"weekday_pattern", 1}, {"pattern", T(-1, -1, -1, 2, 1, 7, 30)},
            {"text", "První pondělí v měsíci"}}})},
      {"ReminderTwo", json::array({
           {{"mark", 0}, {"weekday_pattern", 0}, {"pattern", Unset()}, {"text", "Denně"}}})},
      {"Expenses", json::array({
           {{"mark", 0}, {"date", T(2024, 1, 2, 3, -1, -1, -1)}, {"amount", 1234.5},
            {"payment", "hotově"}, {"expense", "jídlo"}, {"note", "oběd s klientem"}},
           {{"mark", 1}, {"date", Unset()}, {"amount", -1.0}, {"payment", ""}, {"expense", ""},
            {"note", ""}},
           {{"mark", 0}, {"date", T(2023, 6, 30, -1, -1, 12, 5)}, {"amount", 0.1},
            {"payment", "karta"}, {"expense", "drobné"}, {"note", "řádek\r\nřádek"}}})},
      {"SpreadSheet", json::array({
           {{"mark", 0}, {"name", "Rozpočet"}, {"changed", T(2024, 2, 29, 5, -1, 14, 5)},
            {"size", 6}, {"data", "00ff10a0807f"}},
           {{"mark", 1}, {"name", ""}, {"changed", Unset()}, {"size", 0}, {"data", ""}}})},
  });
}

// Texts long enough for every length prefix of a stored string: one byte, 0xFF and a word,
// 0xFF FF FF and a double word.
json LongTextsDocument() {
  std::string spreadsheet;
  for (int i = 0; i < 4000; ++i) spreadsheet += "0123456789abcdef";  // 32000 bytes
  return Document({
      {"Memo", json::array({{{"mark", 0}, {"text", std::string(254, 'a')}},
                            {{"mark", 0}, {"text", std::string(255, 'b')}},
                            {{"mark", 0}, {"text", std::string(65533, 'c')}},
                            {{"mark", 0}, {"text", std::string(65534, 'd')}},
                            {{"mark", 1}, {"text", std::string(70000, 'e')}}})},
      {"Telephone", json::array({{{"mark", 0}, {"fields", Fields({std::string(300, 'x')}, 9)}}})},
      {"FreeFile", json::array({{{"mark", 0}, {"title", std::string(256, 't')},
                                 {"body", std::string(100000, 'y') + "\r\n"}}})},
      {"SpreadSheet", json::array({{{"mark", 0}, {"name", "velká"}, {"changed", Unset()},
                                    {"size", 32000}, {"data", spreadsheet}}})},
  });
}

class Cli : public testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "duxel-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    m_root = base;
    m_dir = m_root / "work";
    fs::create_directory(m_dir);
  }
  void TearDown() override { fs::remove_all(m_root); }

  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

  void WriteText(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  void WriteBytes(const std::string& name, const Bytes& bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  Bytes ReadBytes(const std::string& name) const {
    const std::string text = ReadWholeFile(Path(name));
    return Bytes(text.begin(), text.end());
  }

  // The names in the work folder, sorted.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Runs duxel-cli with `args`, standard input empty, both outputs captured.
  ProgramResult Run(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{DUXEL_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProgramResult r = RunProgram(argv, m_root);
    if (r.startError != 0) ADD_FAILURE() << "cannot start " << DUXEL_CLI << ": " << r.startError;
    return r;
  }

  // dump of a document that must succeed; its JSON parsed.
  json Dump(const std::string& name, std::optional<std::string> password = std::nullopt) {
    std::vector<std::string> args{"dump", Path(name)};
    if (password) args.insert(args.end(), {"--password", *password});
    const ProgramResult r = Run(args);
    EXPECT_TRUE(Succeeded(r)) << name;
    try {
      return json::parse(r.out);
    } catch (const json::exception& e) {
      ADD_FAILURE() << "dump printed no JSON (" << e.what() << "): " << r.out;
      return json();
    }
  }

  ProgramResult Build(const std::string& jsonName, const std::string& outName,
                      std::optional<std::string> password = std::nullopt) {
    std::vector<std::string> args{"build", Path(jsonName), Path(outName)};
    if (password) args.insert(args.end(), {"--password", *password});
    return Run(args);
  }

  fs::path m_root;  // holds the work folder and the captured outputs
  fs::path m_dir;   // the folder the program works in
};

// ---------------------------------------------------------------------------------------
// build then dump gives the JSON back; build of the dump writes the same bytes again.

struct RoundTripCase {
  const char* name;
  json document;
  std::optional<std::string> password;
};

TEST_F(Cli, BuildThenDumpGivesTheSameJsonAndTheSameBytes) {
  const std::vector<RoundTripCase> cases = {
      {"empty document", Document({}), std::nullopt},
      {"all ten modes", AllModesDocument(), std::nullopt},
      {"all ten modes, protected", AllModesDocument(), "Tajné1"},
      {"ten-character Czech password", AllModesDocument(), "ěščřžýáíéú"},
      {"long texts", LongTextsDocument(), std::nullopt},
      {"long texts, protected", LongTextsDocument(), "x"},
  };
  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_dir);
    fs::create_directory(m_dir);
    WriteText("in.json", c.document.dump(2));

    const ProgramResult built = Build("in.json", "first.dux", c.password);
    ASSERT_TRUE(Succeeded(built));
    EXPECT_EQ(built.out, "");
    // Written through a temporary file that is gone once the document is in place.
    EXPECT_EQ(Listing(), (std::vector<std::string>{"first.dux", "in.json"}));

    json expected = c.document;
    expected["protected"] = c.password.has_value();
    const json dumped = Dump("first.dux", c.password);
    EXPECT_EQ(dumped, expected);

    WriteText("dumped.json", dumped.dump());
    ASSERT_TRUE(Succeeded(Build("dumped.json", "second.dux", c.password)));
    EXPECT_EQ(ReadBytes("second.dux"), ReadBytes("first.dux"));
  }
}

// ---------------------------------------------------------------------------------------
// build writes exactly the bytes of the file format.

// The lists of modes 0 to 7 with one memo in the first: what both older formats hold.
// `text` gives the memo text's stored bytes.
Bytes EightListsWithOneMemo(const Bytes& text, uint16_t mark = 1) {
  return NewClass("CcMemoList") + H("01 00") +                 // class 1, list 2
         NewClass("CcMemo") + Bytes{uint8_t(mark), 0} + text +  // class 3, record 4
         NewClass("CcTelefonList") + H("00 00") +              // 5, 6
         NewClass("CcSchedulerList") + H("00 00") +            // 7, 8
         NewClass("CcBuscardList") + H("00 00") +              // 9, 10
         NewClass("CcTodoList") + H("00 00") +                 // 11, 12
         NewClass("CcFreefileList") + H("00 00") +             // 13, 14
         NewClass("CcReminderList") + H("00 00") +             // 15, 16
         H("0F 80 00 00");                                     // ReminderTwo: class 15
}

Bytes LastTwoLists() {
  return NewClass("CcExpenseList") + H("00 00") + NewClass("CcSpreadsheetList") + H("00 00");
}

struct ExactCase {
  const char* name;
  const char* json;
  std::optional<std::string> password;
  Bytes expected;
};

TEST_F(Cli, BuildWritesTheExpectedBytes) {
  // Class and object indexes come from one counter: a new class takes one for itself and one
  // for the object after it, a known class one for the object.
  // clang-format off
  const std::vector<ExactCase> cases = {
      {"one memo",
       R"({"modes": {"Memo": [{"text": "AB"}]}})",
       std::nullopt,
       A("D390") + A("NP") +
       H("FF FF 00 00 0A 00") + A("CcMemoList") + H("01 00") +       // class 1, list 2, 1 record
       H("FF FF 00 00 06 00") + A("CcMemo") +                        // class 3, record 4
       H("00 00") +                                                  // mark
       H("02 41 42") +                                               // "AB"
       H("FF FF 00 00 0D 00") + A("CcTelefonList") + H("00 00") +    // 5, 6
       H("FF FF 00 00 0F 00") + A("CcSchedulerList") + H("00 00") +  // 7, 8
       H("FF FF 00 00 0D 00") + A("CcBuscardList") + H("00 00") +    // 9, 10
       H("FF FF 00 00 0A 00") + A("CcTodoList") + H("00 00") +       // 11, 12
       H("FF FF 00 00 0E 00") + A("CcFreefileList") + H("00 00") +   // 13, 14
       H("FF FF 00 00 0E 00") + A("CcReminderList") + H("00 00") +   // 15, 16
       H("0F 80 00 00") +                     // ReminderTwo: known class 15, list 17, empty
       H("FF FF 00 00 0D 00") + A("CcExpenseList") + H("00 00") +
       H("FF FF 00 00 11 00") + A("CcSpreadsheetList") + H("00 00")},

      {"one memo, protected by \"abc\"",
       R"({"modes": {"Memo": [{"text": "Ahoj"}]}})",
       "abc",
       A("D390") + A("PW") +
       // s[i] = NOT p[i] XOR p[i+1], p padded with zeros to 10 and chained to 'd' (64)
       H("FC FE 9C FF FF FF FF FF FF 9B") +
       // "Ahoj": key[i] XOR NOT c; the length as it is
       EightListsWithOneMemo(H("04 DF F5 F3 95"), 0) + LastTwoLists()},

      {"second record of a kind, raw and object times, a double, a byte block",
       R"({"modes": {
            "Memo": [{"mark": 1, "text": "x"}, {}],
            "ToDo": [{"text": "Nákup", "done": 1,
                      "completed": {"year": 2024, "month": 5, "day": 31, "hour": 8}}],
            "FreeFile": [{"title": "T", "body": "a\r\nb"}],
            "Expenses": [{"date": {"year": 2024, "month": 1, "day": 2, "week": 3},
                          "amount": 12.5, "expense": "jídlo"}],
            "SpreadSheet": [{"mark": 1, "name": "S1", "size": 3, "data": "010203"}]}})",
       std::nullopt,
       A("D390") + A("NP") +
       NewClass("CcMemoList") + H("02 00") +           // class 1, list 2, 2 records
       NewClass("CcMemo") + H("01 00") + H("01 78") +  // class 3, record 4: mark 1, "x"
       H("03 80") + H("00 00") + H("00") +             // known class 3, record 5: mark 0, ""
       NewClass("CcTelefonList") + H("00 00") +        // 6, 7
       NewClass("CcSchedulerList") + H("00 00") +      // 8, 9
       NewClass("CcBuscardList") + H("00 00") +        // 10, 11
       NewClass("CcTodoList") + H("01 00") +           // 12, 13
       NewClass("CcTodo") + H("00 00") +               // 14, 15; mark
       H("05 4E E1 6B 75 70") +                        // "Nákup" in Windows-1250
       H("78 ED 45 00") +                              // raw time: constant, then 7 words:
       H("E8 07 05 00 1F 00 FF FF FF FF 08 00 FF FF") +  // 2024-05-31, no weekday/week, 8:--
       H("01 00") +                                    // done
       NewClass("CcFreefileList") + H("01 00") +       // 16, 17
       NewClass("CcFreefile") + H("00 00") +           // 18, 19; mark
       H("01 54") +                                    // "T"
       H("04 00 00 00 61 0D 0A 62") +                  // body length, body
       NewClass("CcReminderList") + H("00 00") +       // 20, 21
       H("14 80 00 00") +                              // ReminderTwo: known class 20, list 22
       NewClass("CcExpenseList") + H("01 00") +        // 23, 24
       NewClass("CcExpense") + H("00 00") +            // 25, 26; mark
       NewClass("CCasTime") +                          // 27, 28: year, month, day, weekday,
       H("E8 07 01 00 02 00 FF FF FF FF FF FF") +      //   hour, minute (the week is not kept)
       H("00 00 00 00 00 00 29 40") +                  // 12.5
       H("00") + H("05 6A ED 64 6C 6F") + H("00") +    // payment "", "jídlo", note ""
       NewClass("CcSpreadsheetList") + H("01 00") +    // 29, 30
       NewClass("CcSpreadsheet") + H("01 00") +        // 31, 32; mark
       H("02 53 31") +                                 // "S1"
       H("1B 80") +                                    // known class 27 (CCasTime), object 33
       H("FF FF FF FF FF FF FF FF FF FF FF FF") +      // all six parts unset
       H("03 00 01 02 03")},                           // size, data
  };
  // clang-format on
  for (const ExactCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText("in.json", c.json);
    ASSERT_TRUE(Succeeded(Build("in.json", "out.dux", c.password)));
    EXPECT_EQ(ReadBytes("out.dux"), c.expected);
  }
}

// ---------------------------------------------------------------------------------------
// What build fills in and what the file cannot hold.

TEST_F(Cli, MissingMembersTakeTheValuesOfANewRecord) {
  WriteText("in.json", R"({"modes": {
      "Memo": [{}], "Telephone": [{"fields": ["Jan"]}], "Scheduler": [{}],
      "BusinessCards": [{}], "ToDo": [{}], "FreeFile": [{}], "ReminderOne": [{}],
      "ReminderTwo": [{}], "Expenses": [{}], "SpreadSheet": [{}]}})");
  ASSERT_TRUE(Succeeded(Build("in.json", "out.dux")));
  const json expected = Document({
      {"Memo", json::array({{{"mark", 0}, {"text", ""}}})},
      {"Telephone", json::array({{{"mark", 0}, {"fields", Fields({"Jan"}, 9)}}})},
      {"Scheduler", json::array({{{"mark", 0}, {"start", Unset()}, {"end", Unset()},
                                  {"alarm", Unset()}, {"text", ""}}})},
      {"BusinessCards", json::array({{{"mark", 0}, {"fields", Fields({}, 15)}}})},
      {"ToDo", json::array({{{"mark", 0}, {"text", ""}, {"done", 0}, {"completed", Unset()}}})},
      {"FreeFile", json::array({{{"mark", 0}, {"title", ""}, {"body", ""}}})},
      {"ReminderOne",
       json::array({{{"mark", 0}, {"weekday_pattern", 0}, {"pattern", Unset()}, {"text", ""}}})},
      {"ReminderTwo",
       json::array({{{"mark", 0}, {"weekday_pattern", 0}, {"pattern", Unset()}, {"text", ""}}})},
      {"Expenses", json::array({{{"mark", 0}, {"date", Unset()}, {"amount", -1.0}, {"payment", ""},
                                 {"expense", ""}, {"note", ""}}})},
      {"SpreadSheet",
       json::array({{{"mark", 0}, {"name", ""}, {"changed", Unset()}, {"size", 0}, {"data", ""}}})},
  });
  EXPECT_EQ(Dump("out.dux"), expected);
}

TEST_F(Cli, WhatTheFileCannotHoldComesBackNormalised) {
  // "format" and "protected" are ignored; the week of an Expense or SpreadSheet date is not
  // stored; two-digit years are read as 1970 to 2037; a character outside Windows-1250 is "?".
  WriteText("in.json", R"({"format": "D303", "protected": true, "modes": {
      "Memo": [{"text": "sněhulák ☃"}],
      "Scheduler": [{"start": {"year": 99, "month": 1, "day": 2},
                     "end": {"year": 37}, "alarm": {"year": 38}, "text": "roky"}],
      "ToDo": [{"text": "a", "done": 1, "completed": {"year": 0}}],
      "Expenses": [{"date": {"year": 70, "month": 6, "week": 2}, "amount": 5.0}],
      "SpreadSheet": [{"name": "S", "changed": {"year": 69, "week": 4}}]}})");
  ASSERT_TRUE(Succeeded(Build("in.json", "out.dux")));
  const json expected = Document({
      {"Memo", json::array({{{"mark", 0}, {"text", "sněhulák ?"}}})},
      {"Scheduler", json::array({{{"mark", 0}, {"start", T(1999, 1, 2, -1, -1, -1, -1)},
                                  {"end", T(2037, -1, -1, -1, -1, -1, -1)},
                                  {"alarm", T(38, -1, -1, -1, -1, -1, -1)}, {"text", "roky"}}})},
      {"ToDo", json::array({{{"mark", 0}, {"text", "a"}, {"done", 1},
                             {"completed", T(2000, -1, -1, -1, -1, -1, -1)}}})},
      {"Expenses", json::array({{{"mark", 0}, {"date", T(1970, 6, -1, -1, -1, -1, -1)},
                                 {"amount", 5.0}, {"payment", ""}, {"expense", ""},
                                 {"note", ""}}})},
      {"SpreadSheet", json::array({{{"mark", 0}, {"name", "S"},
                                    {"changed", T(69, -1, -1, -1, -1, -1, -1)}, {"size", 0},
                                    {"data", ""}}})},
  });
  EXPECT_EQ(Dump("out.dux"), expected);
}

// ---------------------------------------------------------------------------------------
// Passwords.

TEST_F(Cli, PasswordIsNeededToDumpAProtectedDocument) {
  WriteText("in.json", AllModesDocument().dump());
  ASSERT_TRUE(Succeeded(Build("in.json", "secret.dux", "Tajné1")));
  // Record texts are not stored in the clear.
  const std::string raw = ReadWholeFile(Path("secret.dux"));
  EXPECT_EQ(raw.substr(0, 6), "D390PW");
  EXPECT_EQ(raw.find("Koupit"), std::string::npos);

  struct Attempt {
    const char* name;
    std::vector<std::string> extra;
  };
  const std::vector<Attempt> refused = {
      {"no password", {}},
      {"wrong password", {"--password", "heslo"}},
      {"other case", {"--password", "TAJNÉ1"}},
      {"a prefix", {"--password", "Tajné"}},
      {"empty", {"--password", ""}},
  };
  for (const Attempt& a : refused) {
    SCOPED_TRACE(a.name);
    std::vector<std::string> args{"dump", Path("secret.dux")};
    args.insert(args.end(), a.extra.begin(), a.extra.end());
    const ProgramResult r = Run(args);
    EXPECT_TRUE(FailedWithOneLine(r));
    EXPECT_NE(r.err.find("password"), std::string::npos) << r.err;
  }

  json expected = AllModesDocument();
  expected["protected"] = true;
  EXPECT_EQ(Dump("secret.dux", "Tajné1"), expected);
  // A password given for an unprotected document is not needed and does no harm.
  ASSERT_TRUE(Succeeded(Build("in.json", "open.dux")));
  EXPECT_EQ(Dump("open.dux", "Tajné1"), AllModesDocument());
}

// ---------------------------------------------------------------------------------------
// Failures of build: one line, and no document written, left half-written or replaced.

enum class OutKind { File, InMissingFolder, IsAFolder };

struct BuildFailure {
  const char* name;
  std::optional<std::string> json;  // nullopt: the JSON file does not exist
  std::vector<std::string> extra = {};
  OutKind out = OutKind::File;
};

TEST_F(Cli, BuildFailsCleanly) {
  const std::string valid = R"({"modes": {"Memo": [{"text": "a"}]}})";
  const std::string tooLong(2 * 65536, '0');
  const std::vector<BuildFailure> cases = {
      {"missing JSON file", std::nullopt},
      {"empty JSON file", ""},
      {"invalid JSON", R"({"modes": {"Memo": [)"},
      {"garbage after the JSON", R"({"modes": {}} x)"},
      {"not an object", "[1, 2]"},
      {"modes not an object", R"({"modes": []})"},
      {"unknown mode name", R"({"modes": {"Memo": [], "Notes": [{"text": "x"}]}})"},
      {"mode name in lower case", R"({"modes": {"memo": []}})"},
      {"mode not an array", R"({"modes": {"Memo": {"text": "x"}}})"},
      {"record not an object", R"({"modes": {"Memo": ["x"]}})"},
      {"fields is a number", R"({"modes": {"Telephone": [{"fields": 3}]}})"},
      {"ten telephone fields",
       R"({"modes": {"Telephone": [{"fields": ["","","","","","","","","",""]}]}})"},
      {"a field not a string", R"({"modes": {"BusinessCards": [{"fields": ["a", 1]}]}})"},
      {"text is a number", R"({"modes": {"Memo": [{"text": 5}]}})"},
      {"mark is a string", R"({"modes": {"Memo": [{"mark": "1"}]}})"},
      {"mark negative", R"({"modes": {"Memo": [{"mark": -1}]}})"},
      {"mark too large", R"({"modes": {"Memo": [{"mark": 65536}]}})"},
      {"time is a number", R"({"modes": {"Scheduler": [{"start": 5}]}})"},
      {"time part a fraction", R"({"modes": {"ToDo": [{"completed": {"year": 2024.5}}]}})"},
      {"time part too large", R"({"modes": {"ReminderOne": [{"pattern": {"hour": 32768}}]}})"},
      {"amount is a string", R"({"modes": {"Expenses": [{"amount": "12"}]}})"},
      {"odd number of hex digits", R"({"modes": {"SpreadSheet": [{"data": "abc"}]}})"},
      {"not hexadecimal", R"({"modes": {"SpreadSheet": [{"data": "zz"}]}})"},
      {"size differs from data", R"({"modes": {"SpreadSheet": [{"size": 2, "data": "00"}]}})"},
      {"data over 65535 bytes", R"({"modes": {"SpreadSheet": [{"data": ")" + tooLong + R"("}]}})"},
      {"a bad record after good ones",
       R"({"modes": {"Memo": [{"text": "a"}, {"text": "b"}], "ToDo": [{"done": "yes"}]}})"},
      {"empty password", valid, {"--password", ""}},
      {"password of 11 characters", valid, {"--password", "abcdefghijk"}},
      {"Czech password of 11 characters", valid, {"--password", "ěščřžýáíéúů"}},
      {"OUT in a missing folder", valid, {}, OutKind::InMissingFolder},
      {"OUT is a folder", valid, {}, OutKind::IsAFolder},
  };
  const std::string previous = "the previous contents of OUT";
  for (const BuildFailure& c : cases) {
    for (bool outExists : {false, true}) {
      if (c.out != OutKind::File && outExists) continue;
      SCOPED_TRACE(std::string(c.name) + (outExists ? ", OUT exists" : ""));
      fs::remove_all(m_dir);
      fs::create_directory(m_dir);
      if (c.json) WriteText("in.json", *c.json);
      if (outExists) WriteText("out.dux", previous);
      if (c.out == OutKind::IsAFolder) {
        fs::create_directory(Path("out.dux"));
        WriteText("out.dux/inside", "x");
      }
      const std::vector<std::string> before = Listing();

      std::vector<std::string> args{
          "build", Path("in.json"),
          c.out == OutKind::InMissingFolder ? Path("missing/out.dux") : Path("out.dux")};
      args.insert(args.end(), c.extra.begin(), c.extra.end());
      const ProgramResult r = Run(args);
      EXPECT_TRUE(FailedWithOneLine(r));
      EXPECT_EQ(Listing(), before);
      if (outExists) {
        EXPECT_EQ(ReadWholeFile(Path("out.dux")), previous);
      }
      if (c.out == OutKind::IsAFolder) {
        EXPECT_TRUE(fs::is_directory(Path("out.dux")));
        EXPECT_EQ(ReadWholeFile(Path("out.dux/inside")), "x");
      }
    }
  }
}

// Wrong use of the command line is a failure like any other: one line.
TEST_F(Cli, UsageErrorsFailWithOneLine) {
  WriteText("in.json", "{}");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frob"},
      {"dump"},
      {"dump", Path("in.json"), "extra"},
      {"dump", Path("in.json"), "--pasword", "x"},
      {"dump", Path("in.json"), "--password"},
      {"build", Path("in.json")},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    SCOPED_TRACE(line);
    const ProgramResult r = Run(args);
    EXPECT_TRUE(FailedWithOneLine(r));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(Listing(), std::vector<std::string>{"in.json"});
  }
}

TEST_F(Cli, VersionAndTheExitStatusesOfEveryCommandAreTold) {
  const ProgramResult version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "duxel-cli " DUXEL_VERSION "\n");
  const std::string statuses =
      "Exit status:\n  0  done\n  1  failed; the message on standard error says why\n"
      "  2  the command line was wrong\n";
  for (const char* command : {"dump", "build", "sheet", "send", "receive", "capture", "export",
                              "import", "ports"}) {
    const ProgramResult help = Run({command, "--help"});
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_NE(help.out.find(statuses), std::string::npos) << command << ": " << help.out;
  }
  EXPECT_NE(Run({"receive", "--help"}).out.find("  3  the diary aborted the transmission"),
            std::string::npos);
}

// The profile's port is listed and marked even when the system does not list it, with
// whether it may be opened.
TEST_F(Cli, PortsMarksTheProfilesPort) {
  const fs::path profile = fs::path(std::getenv("XDG_CONFIG_HOME")) / "VORT" / "Duxel39.conf";
  fs::create_directories(profile.parent_path());
  for (const auto& [device, state] : std::vector<std::pair<std::string, std::string>>{
           {Path("missing"), "not present"}, {Path("in.json"), "may be opened"}}) {
    WriteText("in.json", "{}");
    std::ofstream(profile) << "[Casio]\nPort=COM2\nDevice2=" << device << "\n";
    const ProgramResult r = Run({"ports"});
    EXPECT_TRUE(Succeeded(r));
    const std::string last = "* " + device + "  - " + state + "\n";
    ASSERT_GE(r.out.size(), last.size()) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - last.size()), last);
    // No other port is marked.
    EXPECT_EQ(r.out.find("* "), r.out.size() - last.size());
  }
  fs::remove(profile);
}

// ---------------------------------------------------------------------------------------
// dump of files that are not documents.

TEST_F(Cli, DumpOfEveryTruncationFails) {
  WriteText("in.json", AllModesDocument().dump());
  for (const auto& password : std::vector<std::optional<std::string>>{std::nullopt, "abc"}) {
    SCOPED_TRACE(password ? "protected" : "unprotected");
    ASSERT_TRUE(Succeeded(Build("in.json", "full.dux", password)));
    const Bytes full = ReadBytes("full.dux");
    ASSERT_GT(full.size(), 1000u);
    // Every prefix is refused by the document tests; here the command's one line for each
    // part of the file.
    for (std::size_t n = 0; n < full.size(); n += 61) {
      SCOPED_TRACE("first " + std::to_string(n) + " bytes");
      WriteBytes("cut.dux", Bytes(full.begin(), full.begin() + std::ptrdiff_t(n)));
      std::vector<std::string> args{"dump", Path("cut.dux")};
      if (password) args.insert(args.end(), {"--password", *password});
      ASSERT_TRUE(FailedWithOneLine(Run(args)));
    }
  }
}

struct OldFormatCase {
  const char* name;
  Bytes file;
  std::optional<std::string> password;
  const char* format;
  bool isProtected;
  std::string memo;
};

TEST_F(Cli, DumpReadsTheOlderFormats) {
  const std::vector<OldFormatCase> cases = {
      {"headerless", EightListsWithOneMemo(H("02 41 42")), std::nullopt, "headerless", false, "AB"},
      {"D303 protected by \"abc\"",
       A("D303") + A("PW") + H("FC FE 9C FF FF FF FF FF FF 9B") +
           EightListsWithOneMemo(H("04 DF F5 F3 95")),  // "Ahoj" scrambled with "abc"
       "abc", "D303", true, "Ahoj"},
      {"any other signature is the current format",
       A("XY12") + A("NP") + EightListsWithOneMemo(H("02 41 42")) + LastTwoLists(), std::nullopt,
       "D390", false, "AB"},
  };
  for (const OldFormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes("old.dux", c.file);
    json expected =
        Document({{"Memo", json::array({{{"mark", 1}, {"text", c.memo}}})}}, c.isProtected);
    expected["format"] = c.format;
    EXPECT_EQ(Dump("old.dux", c.password), expected);
  }
}

TEST_F(Cli, DumpRefusesBrokenFiles) {
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty file", {}},
      {"signature only", A("D390")},
      {"unprotected D303", A("D303") + A("NP") + EightListsWithOneMemo(H("02 41 42"))},
      {"D303 with a short password", A("D303") + A("PW") + H("FC FE 9C")},
      {"unknown class", A("D390") + A("NP") + NewClass("CcBogusList") + H("00 00")},
      {"a record where a list belongs", A("D390") + A("NP") + NewClass("CcMemo") + H("00 00 00")},
      {"a schema other than 0",
       A("D390") + A("NP") + H("FF FF 01 00 0A 00") + A("CcMemoList") + H("00 00")},
      {"a back reference to nothing", A("D390") + A("NP") + H("05 00")},
      {"a null list", A("D390") + A("NP") + H("00 00")},
      {"nine lists", A("D390") + A("NP") + EightListsWithOneMemo(H("02 41 42")) +
                         NewClass("CcExpenseList") + H("00 00")},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    WriteBytes("bad.dux", bytes);
    EXPECT_TRUE(FailedWithOneLine(Run({"dump", Path("bad.dux")})));
  }
  // No file at all; a folder, which fails in the middle of the read, not at opening it.
  fs::create_directory(Path("folder.dux"));
  EXPECT_TRUE(FailedWithOneLine(Run({"dump", Path("nowhere.dux")})));
  EXPECT_TRUE(FailedWithOneLine(Run({"dump", Path("folder.dux")})));
}

}  // namespace
