// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli sheet end to end: documents holding worksheet images written out byte by byte,
// the program's listing compared whole with the text written out by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Bytes.h"
#include "RunProgram.h"
#include "document/CDuxelDoc.h"
#include "records/CcSpreadsheet.h"

namespace {

namespace fs = std::filesystem;

// The Lucid banner, the header bytes up to X = 1 (records from offset 49).
Bytes Header(uint16_t total) {
  return Bytes{uint8_t(total >> 8), uint8_t(total)} + A("Copyright 1991,92 v2.00, Lucid Corp. ") +
         H("00  00 00 00 00 00 00 00  00 01");
}

// Cells stored out of order: C2 formula, A1 label, B1 value, A2 undecodable, then A1 again.
Bytes BudgetImage() {
  const Bytes records = H("00 20 00 02 03 81  40 00 00 00 00 00 00 00 00 00 00 00"
                          "A0 21 B0 00 01 02 00 00 01 03 00 29  00 00") +  // C2: SUM(B1:C1)
                        H("00 0E 00 01 01 00") +
                        A("Rent") + H("E8 00  00 00") +  // A1: "Rent" and č
                        H("00 12 00 01 02 80  00 00") + A("1 234 ") +
                        H("E8 00  00 00") +                              // B1: "1 234 č"
                        H("00 09 00 02 01 82  41  00 00") +              // A2: kind 0x82
                        H("00 0B 00 01 01 00") + A("Old") + H("00 00");  // A1 again: unseen
  return Header(uint16_t(49 + records.size() + 8)) + records + Bytes(8, 0x00);
}

class SheetCli : public testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "duxel-sheet-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    m_root = base;
  }
  void TearDown() override { fs::remove_all(m_root); }

  std::string Path(const std::string& name) const { return (m_root / name).string(); }

  // A document whose SpreadSheet list holds these images, saved with the core.
  void WriteDocument(const std::string& name, const std::vector<Bytes>& images,
                     const std::string& password = "") {
    CDuxelDoc doc;
    for (const Bytes& image : images) {
      auto* sheet = new CcSpreadsheet;
      sheet->m_name = "Sheet";
      sheet->m_data = image;
      doc.GetList(kSpreadSheet)->AddTail(sheet);
    }
    if (!password.empty()) doc.SetPassword(password);
    ASSERT_TRUE(doc.SaveFile(Path(name)).ok());
  }

  ProgramResult Run(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{DUXEL_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProgramResult r = RunProgram(argv, m_root);
    if (r.startError != 0) ADD_FAILURE() << "cannot start " << DUXEL_CLI;
    return r;
  }

  // Ran to its end, non-zero exit, nothing on standard output, one line on standard error.
  static testing::AssertionResult FailedWithOneLine(const ProgramResult& r) {
    if (!r.exited || r.exitCode == 0) return testing::AssertionFailure() << "exit " << r.exitCode;
    if (!r.out.empty()) return testing::AssertionFailure() << "standard output: " << r.out;
    if (std::count(r.err.begin(), r.err.end(), '\n') != 1 || r.err.back() != '\n')
      return testing::AssertionFailure() << "standard error: [" << r.err << "]";
    return testing::AssertionSuccess();
  }

  fs::path m_root;
};

TEST_F(SheetCli, ListsEveryUsedCellByRowThenColumnInUtf8) {
  WriteDocument("budget.dux", {H("00 00"), BudgetImage()});
  const ProgramResult r = Run({"sheet", Path("budget.dux"), "--index", "1"});
  ASSERT_TRUE(r.exited);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The label drops its non-ASCII byte; the value keeps it, as UTF-8.
  EXPECT_EQ(r.out,
            "A1\tRent\n"
            "B1\t1 234 č\n"
            "A2\tchyba dekodovani Cell\n"
            "C2\tSUM(B1:C1)\n");
}

TEST_F(SheetCli, TheFirstWorksheetByDefaultAndEmptyOnesPrintNothing) {
  WriteDocument("two.dux", {H("00 00"), BudgetImage()});
  const ProgramResult empty = Run({"sheet", Path("two.dux")});
  EXPECT_EQ(empty.exitCode, 0) << empty.err;
  EXPECT_EQ(empty.out, "");
  WriteDocument("noimage.dux", {Bytes{}});
  const ProgramResult none = Run({"sheet", Path("noimage.dux"), "--index", "0"});
  EXPECT_EQ(none.exitCode, 0) << none.err;
  EXPECT_EQ(none.out, "");
}

TEST_F(SheetCli, AProtectedDocumentNeedsItsPassword) {
  WriteDocument("secret.dux", {BudgetImage()}, "heslo");
  EXPECT_TRUE(FailedWithOneLine(Run({"sheet", Path("secret.dux")})));
  EXPECT_TRUE(FailedWithOneLine(Run({"sheet", Path("secret.dux"), "--password", "jine"})));
  const ProgramResult r = Run({"sheet", Path("secret.dux"), "--password", "heslo"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 8), "A1\tRent\n");
}

TEST_F(SheetCli, FailuresAreOneLine) {
  WriteDocument("one.dux", {BudgetImage()});
  std::ofstream(Path("junk.dux"), std::ios::binary) << "D390NP\xFF\xFF\x01";
  const std::vector<std::vector<std::string>> cases = {
      {"sheet", Path("one.dux"), "--index", "1"},    // no such worksheet
      {"sheet", Path("one.dux"), "--index", "-1"},   // nor this
      {"sheet", Path("missing.dux")},                // no file
      {"sheet", Path("junk.dux")},                   // not a document
      {"sheet", Path("one.dux"), "--index", "one"},  // not a number
  };
  for (const auto& args : cases) {
    const ProgramResult r = Run(args);
    EXPECT_TRUE(FailedWithOneLine(r)) << args[1] << " " << (args.size() > 3 ? args[3] : "");
  }
  const ProgramResult r = Run({"sheet", Path("one.dux"), "--index", "1"});
  EXPECT_NE(r.err.find("no worksheet 1"), std::string::npos) << r.err;
}

}  // namespace
