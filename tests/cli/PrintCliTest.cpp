// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli print end to end: PDFs of every mode read back with pdftotext and pdfinfo, the
// profile's "Printing" settings in a private configuration folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "viewmodel/Pagination.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

json Time(int y, int mo, int d, int h = -1, int mi = -1) {
  return {{"year", y}, {"month", mo}, {"day", d}, {"weekday", -1}, {"week", -1},
          {"hour", h}, {"minute", mi}};
}

class PrintCli : public testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "duxel-print-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    m_dir = base;
    fs::create_directories(m_dir / "config" / "VORT");
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

  void Profile(const std::string& ini) const {
    std::ofstream(m_dir / "config" / "VORT" / "Duxel39.conf") << ini;
  }

  ProgramResult Run(const std::vector<std::string>& argv) const {
    ProgramOptions options;
    options.environment = EnvironmentWith(
        {{"HOME", m_dir.string()}, {"XDG_CONFIG_HOME", (m_dir / "config").string()},
         {"QT_QPA_PLATFORM", "offscreen"}});
    options.workingDirectory = m_dir;
    const ProgramResult r = RunProgram(argv, m_dir, options);
    if (r.startError != 0) ADD_FAILURE() << "cannot start " << argv[0];
    return r;
  }

  // A document built from its JSON form.
  void Build(const json& modes, const std::string& name) {
    std::ofstream(Path(name + ".json")) << json{{"modes", modes}}.dump();
    const ProgramResult r = Run({DUXEL_CLI, "build", Path(name + ".json"), Path(name + ".dux")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }

  // Prints and returns the page count and lines per page the program reports.
  std::pair<int, int> Print(const std::string& name, const std::string& mode,
                            const std::string& filter = "all") {
    const ProgramResult r = Run({DUXEL_CLI, "print", Path(name + ".dux"), "--mode", mode, "--out",
                                 Path(name + "-" + mode + ".pdf"), "--filter", filter});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::smatch m;
    if (!std::regex_search(r.out, m, std::regex("pages: (\\d+)\nlines per page: (\\d+)\n"))) {
      ADD_FAILURE() << "output: " << r.out;
      return {-1, -1};
    }
    return {std::stoi(m[1]), std::stoi(m[2])};
  }

  std::string Text(const std::string& pdf, int page = 0) const {
    std::vector<std::string> argv{"pdftotext"};
    if (page > 0) argv.insert(argv.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    argv.insert(argv.end(), {Path(pdf), "-"});
    return Run(argv).out;
  }

  int PdfPages(const std::string& pdf) const {
    std::smatch m;
    const std::string info = Run({"pdfinfo", Path(pdf)}).out;
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
  }

  fs::path m_dir;
};

TEST_F(PrintCli, EveryModeWithCaptions) {
  const json modes = {
      {"Memo", {{{"text", "memoalpha"}}, {{"text", "memobeta\rmemogamma"}, {"mark", 1}}}},
      {"Telephone", {{{"fields", {"telalpha", "602111222", "Brno", "", "", "", "", "", ""}}}}},
      {"Scheduler",
       {{{"start", Time(2024, 5, 6, 9, 30)}, {"end", Time(-1, -1, -1, 10, 0)},
         {"alarm", Time(-1, -1, -1)}, {"text", "schedalpha"}}}},
      {"BusinessCards",
       {{{"fields", {"cardalpha", "Jan", "", "", "", "", "", "", "", "", "", "", "", "", ""}}}}},
      {"ToDo", {{{"text", "todoalpha"}, {"done", 1}, {"completed", Time(2024, 5, 7)}}}},
      {"FreeFile", {{{"title", "freealpha"}, {"body", "freebody"}}}},
      {"ReminderOne", {{{"weekday_pattern", 0}, {"pattern", Time(-1, 3, 1)}, {"text", "remonealpha"}}}},
      {"ReminderTwo", {{{"weekday_pattern", 1}, {"pattern", Time(-1, -1, -1)}, {"text", "remtwoalpha"}}}},
      {"Expenses",
       {{{"date", Time(2024, 5, 8)}, {"amount", 12.5}, {"payment", "Cash"}, {"expense", "Fuel"},
         {"note", "expnote"}}}},
      {"SpreadSheet", {{{"name", "sheetalpha"}, {"changed", Time(2024, 5, 9, 8, 0)}, {"data", ""}}}}};
  ASSERT_NO_FATAL_FAILURE(Build(modes, "all"));
  struct Row {
    const char* mode;
    std::vector<std::string> texts;  // record texts and the first caption
  };
  const std::vector<Row> rows = {
      {"Memo", {"memoalpha", "memobeta", "memogamma", "Text:"}},
      {"Telephone", {"telalpha", "602111222", "Brno", "Jméno:", "Telefon:", "Adresa:"}},
      {"Scheduler", {"schedalpha", "Čas:", "Popis:"}},
      {"BusinessCards", {"cardalpha", "Jan", "Firma:"}},
      {"ToDo", {"todoalpha", "Co dělat:", "Hotovo:"}},
      {"FreeFile", {"freealpha", "freebody", "Název:"}},
      {"ReminderOne", {"remonealpha", "Čas:"}},
      {"ReminderTwo", {"remtwoalpha", "Čas:"}},
      {"Expenses", {"expnote", "12.5", "Cash", "Fuel", "Datum:", "Poznámka:"}},
      {"SpreadSheet", {"sheetalpha", "Jméno:", "Velikost:"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    EXPECT_EQ(Print("all", row.mode).first, 1);
    const std::string pdf = std::string("all-") + row.mode + ".pdf";
    EXPECT_EQ(PdfPages(pdf), 1);
    const std::string text = Text(pdf);
    for (const std::string& expected : row.texts)
      EXPECT_NE(text.find(expected), std::string::npos) << expected << " in [" << text << "]";
  }
  // Only the marked memo; with captions switched off no caption is printed.
  Profile("[Printing]\nPrintCaption=no\n");
  EXPECT_EQ(Print("all", "Memo", "marked").first, 1);
  const std::string marked = Text("all-Memo.pdf");
  EXPECT_EQ(marked.find("memoalpha"), std::string::npos) << marked;
  EXPECT_NE(marked.find("memobeta"), std::string::npos) << marked;
  EXPECT_EQ(marked.find("Text:"), std::string::npos) << marked;
}

TEST_F(PrintCli, PagesAsPaginationPredicts) {
  // 40 memos of 1 to 5 lines ("m7l2" is line 2 of memo 7), split across pages where allowed.
  json memos = json::array();
  std::vector<int> itemLines;
  for (int i = 0; i < 40; ++i) {
    std::string text;
    const int lines = i % 5 + 1;
    for (int j = 0; j < lines; ++j) text += (j ? "\r" : "") + ("m" + std::to_string(i) + "l" + std::to_string(j));
    memos.push_back({{"text", text}});
    itemLines.push_back(lines);
  }
  itemLines.push_back(0);
  // Sorted memos would reorder them: the JSON form keeps the order given.
  ASSERT_NO_FATAL_FAILURE(Build({{"Memo", memos}}, "long"));
  Profile("[Printing]\nPrintCaption=no\nAllowBreak=yes\nFontSize=14\nTop=2.5\nBottom=3\n");
  const auto [pages, linesPerPage] = Print("long", "Memo");
  ASSERT_GT(linesPerPage, 10);
  const PageTable table = Paginate(itemLines, linesPerPage, true);
  ASSERT_GT(table.PageCount(), 2);
  EXPECT_EQ(pages, table.PageCount());
  EXPECT_EQ(PdfPages("long-Memo.pdf"), table.PageCount());
  for (int page = 1; page <= table.PageCount(); ++page) {
    const std::vector<PageRow> rows = PageRows(table, page - 1, itemLines);
    std::string expected;
    for (const PageRow& r : rows)
      expected += "m" + std::to_string(r.item) + "l" + std::to_string(r.line) + "\n";
    // pdftotext separates blocks by blank lines and ends a page with a form feed.
    std::string text = Text("long-Memo.pdf", page), lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
      if (!line.empty() && line != "\f") lines += line + "\n";
    EXPECT_EQ(lines, expected) << "page " << page;
  }
}

TEST_F(PrintCli, FailuresGiveOneLine) {
  ASSERT_NO_FATAL_FAILURE(Build({{"Memo", {{{"text", "x"}}}}}, "one"));
  struct Row {
    std::vector<std::string> args;
    std::string line;
  };
  const std::vector<Row> rows = {
      {{"--mode", "Memos", "--out", Path("a.pdf")}, "duxel-cli: unknown mode Memos\n"},
      {{"--mode", "Memo", "--out", Path("no/such/folder/a.pdf")}, ""},
  };
  for (const Row& row : rows) {
    std::vector<std::string> argv{DUXEL_CLI, "print", Path("one.dux")};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    const ProgramResult r = Run(argv);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    if (!row.line.empty()) EXPECT_EQ(r.err, row.line);
    EXPECT_EQ(r.err.rfind("duxel-cli: ", 0), 0u) << r.err;
  }
  EXPECT_FALSE(fs::exists(m_dir / "a.pdf"));
}

}  // namespace
