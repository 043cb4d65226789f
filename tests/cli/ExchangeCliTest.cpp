// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli export and import: the real program with the text driver registered in a private
// unixODBC configuration and a private profile.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"

namespace {

namespace fs = std::filesystem;

const char kDriver[] = "Duxel Text Driver (*.txt; *.csv)";

// The driver built beside the program: src/cli/duxel-cli and src/odbc/libduxeltxt.so.
std::string DriverLibrary() {
  return fs::weakly_canonical(fs::path(DUXEL_CLI).parent_path() / ".." / "odbc" / "libduxeltxt.so")
      .string();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string W(const std::string& utf8) { return Cp1250FromUtf8(utf8); }

class ExchangeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/duxel-exchange-cli-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    m_dir = folder;
    fs::create_directories(m_dir / "odbc");
    fs::create_directories(m_dir / "config");
    fs::create_directories(m_dir / "home");
    Register(DriverLibrary());
    WriteBytes(m_dir / "odbc" / "odbc.ini", "");
  }
  void TearDown() override {
    // The temporary data source never stays behind.
    EXPECT_EQ(ReadWholeFile(m_dir / "odbc" / "odbc.ini").find("Duxel39"), std::string::npos);
    fs::remove_all(m_dir);
  }

  void Register(const std::string& library) {
    WriteBytes(m_dir / "odbc" / "odbcinst.ini",
               std::string("[") + kDriver + "]\nDriver=" + library + "\nSetup=" + library + "\n");
  }

  // The program's profile (QSettings' INI file under the private configuration folder).
  void Profile(const std::string& ini) {
    WriteBytes(m_dir / "config" / "VORT" / "Duxel39.conf", ini);
  }

  // Runs `argv` (the program first) in the private configuration, in the test's folder.
  ProgramResult Spawn(const std::vector<std::string>& argv) const {
    ProgramOptions options;
    options.environment = EnvironmentWith({{"HOME", (m_dir / "home").string()},
                                           {"ODBCSYSINI", (m_dir / "odbc").string()},
                                           {"ODBCINI", (m_dir / "odbc" / "odbc.ini").string()},
                                           {"XDG_CONFIG_HOME", (m_dir / "config").string()}},
                                          {"DUXEL_TEXT_DRIVER"});
    options.workingDirectory = m_dir;
    return RunProgram(argv, m_dir, options);
  }

  ProgramResult Cli(std::vector<std::string> args) const {
    args.insert(args.begin(), DUXEL_CLI);
    return Spawn(args);
  }

  std::string Path(const std::string& name) const { return (m_dir / name).string(); }

  fs::path m_dir;
};

::testing::AssertionResult FailedWithOneLine(const ProgramResult& r, const std::string& line) {
  if (!r.exited || r.exitCode == 0)
    return ::testing::AssertionFailure()
           << "exit code " << r.exitCode << ", stdout [" << r.out << "]";
  if (!r.out.empty()) return ::testing::AssertionFailure() << "standard output: " << r.out;
  if (r.err != "duxel-cli: " + line + "\n")
    return ::testing::AssertionFailure() << "standard error: [" << r.err << "]";
  return ::testing::AssertionSuccess();
}

// Two telephone entries and two memos, saved as a document.
void SaveSample(const std::string& path, const std::string& password = "") {
  CDuxelDoc doc;
  auto* a = new CcTelefon;
  a->m_fields[0] = W("Novák Jan");
  a->m_fields[1] = "+420 602 123 456";
  a->m_fields[2] = W("Husova 5\rPraha");
  a->m_fields[8] = W("poslední");
  doc.GetList(kTelephone)->InsertSorted(a);
  auto* b = new CcTelefon;
  b->m_fields[0] = W("Černý Adam");
  b->m_fields[1] = "603 000 111";
  doc.GetList(kTelephone)->InsertSorted(b);
  auto* m = new CcMemo;
  m->m_text = W("poznámka, s čárkou");
  doc.GetList(kMemo)->InsertSorted(m);
  if (!password.empty()) doc.SetPassword(password);
  ASSERT_TRUE(doc.SaveFile(path).ok());
}

std::vector<std::vector<std::string>> Telephones(const std::string& path) {
  CDuxelDoc doc;
  EXPECT_TRUE(doc.LoadFile(path, [] { return std::nullopt; }).ok());
  std::vector<std::vector<std::string>> out;
  for (const CCasioPol* r : *doc.GetList(kTelephone)) {
    const auto* t = static_cast<const CcTelefon*>(r);
    out.emplace_back(t->m_fields, t->m_fields + CcTelefon::kFields);
  }
  return out;
}

// Telephone with mapping 0: the free fields named "Free_1".."Free_6" when the profile names
// none; Windows-1250 text; CR LF lines; the address with its line break quoted.
const std::string kTelephoneCsv =
    "Jmeno,Telefon,Adresa,Free_1,Free_2,Free_3,Free_4,Free_5,Free_6\r\n"
    "Nov\xE1k Jan,+420 602 123 456,\"Husova 5\r\nPraha\",,,,,,posledn\xED\r\n"  // Novák, poslední
    "\xC8\x65rn\xFD Adam,603 000 111,,,,,,,\r\n";                               // Černý Adam

TEST_F(ExchangeCli, ExportWritesTheTableAndImportReadsItBack) {
  SaveSample(Path("doc.dux"));
  ProgramResult r = Cli({"export", "doc.dux", "--mode", "Telephone", "--out", "telefony.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "exported 2 records to " + Path("telefony.csv") + "\n");
  EXPECT_EQ(ReadWholeFile(Path("telefony.csv")), kTelephoneCsv);

  r = Cli({"import", "copy.dux", "--mode", "Telephone", "--in", Path("telefony.csv")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "imported 2 records from " + Path("telefony.csv") +
                       " (2 rows, 0 already in the document)\n");
  EXPECT_EQ(Telephones(Path("copy.dux")), Telephones(Path("doc.dux")));

  // Again: nothing is added and the document is not rewritten.
  const std::string before = ReadWholeFile(Path("copy.dux"));
  const auto stamp = fs::last_write_time(Path("copy.dux"));
  r = Cli({"import", "copy.dux", "--mode", "Telephone", "--in", "telefony.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "imported 0 records from " + Path("telefony.csv") +
                       " (2 rows, 2 already in the document)\n");
  EXPECT_EQ(ReadWholeFile(Path("copy.dux")), before);
  EXPECT_EQ(fs::last_write_time(Path("copy.dux")), stamp);
}

TEST_F(ExchangeCli, ImportAddsToAnExistingDocumentAndKeepsItsPassword) {
  SaveSample(Path("doc.dux"), "tajne");
  WriteBytes(Path("nove.csv"), "Jmeno,Telefon\r\nAdam,1\r\n\xC8\x65rn\xFD Adam,603 000 111\r\n");
  const ProgramResult r =
      Cli({"import", "doc.dux", "--mode", "Telephone", "--in", "nove.csv", "--password", "tajne"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "imported 1 records from " + Path("nove.csv") +
                       " (2 rows, 1 already in the document)\n");
  CDuxelDoc doc;
  ASSERT_TRUE(
      doc.LoadFile(Path("doc.dux"), [] { return std::optional<std::string>("tajne"); }).ok());
  EXPECT_EQ(doc.GetList(kTelephone)->GetCount(), 3u);
  EXPECT_EQ(doc.GetList(kMemo)->GetCount(), 1u);
}

TEST_F(ExchangeCli, TheProfileGivesMappingsFreeFieldNamesAndTheMergeCharacter) {
  Profile(
      "[Mappings]\n"
      "Prohozeni=\"0 1,1 0\"\n"
      "[Telephone]\n"
      "Free_6=Pozn\xC3\xA1mka\n"  // Poznámka
      "[Duxel]\n"
      "MapMergeChar=1\n");
  SaveSample(Path("doc.dux"));
  ProgramResult r = Cli(
      {"export", "doc.dux", "--mode", "Telephone", "--out", "swap.csv", "--mapping", "PROHOZENI"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadWholeFile(Path("swap.csv")),
            "Telefon,Jmeno\r\n"
            "+420 602 123 456,Nov\xE1k Jan\r\n"
            "603 000 111,\xC8\x65rn\xFD Adam\r\n");

  r = Cli({"export", "doc.dux", "--mode", "Telephone", "--out", "all.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string all = ReadWholeFile(Path("all.csv"));
  EXPECT_EQ(all.substr(0, all.find('\n') + 1),
            "Jmeno,Telefon,Adresa,Free_1,Free_2,Free_3,Free_4,Free_5,Poznamka\r\n");

  // Surplus columns all go into the last field, joined by a blank.
  WriteBytes(Path("wide.csv"), "a,b,c,d,e,f,g,h,i,j\r\nJan,1,2,3,4,5,6,7,osm,devet\r\n");
  r = Cli({"import", "wide.dux", "--mode", "Telephone", "--in", "wide.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Telephones(Path("wide.dux")),
            (std::vector<std::vector<std::string>>{
                {"Jan", "1", "2", "3", "4", "5", "6", "7", "osm devet"}}));
}

TEST_F(ExchangeCli, FailuresSayWhatWentWrongOnOneLineAndChangeNothing) {
  SaveSample(Path("doc.dux"));
  SaveSample(Path("locked.dux"), "heslo");
  const std::string doc = ReadWholeFile(Path("doc.dux"));
  struct Case {
    std::vector<std::string> args;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"export", "doc.dux", "--mode", "Phones", "--out", "x.csv"},
       "unknown mode \"Phones\" (Memo, Telephone, Scheduler, BusinessCards, ToDo, ReminderOne, "
       "ReminderTwo, Expenses, SpreadSheet)"},
      {{"import", "doc.dux", "--mode", "FreeFile", "--in", "x.csv"},
       "FreeFile records are not exchanged through ODBC (the FreeFile view reads and writes "
       "plain text files)"},
      {{"export", "doc.dux", "--mode", "Telephone", "--out", "x.csv", "--mapping", "Nic"},
       "no mapping \"Nic\" in the profile"},
      {{"import", "doc.dux", "--mode", "Telephone", "--in", "missing.csv"},
       Path("missing.csv") +
           ": Nepodařilo se zjistit typ polí v souboru, nebo aktivní mapování neobsahuje žádná "
           "propojení. (42S02 [Duxel][Text Driver]Table file \"" +
           Path("missing.csv") + "\" not found)"},
      {{"export", "doc.dux", "--mode", "Telephone", "--out", "x.csv", "--driver", "SQLite3 (*.db)"},
       "the ODBC driver \"SQLite3 (*.db)\" is not installed as a file driver (a name with its "
       "file types in parentheses, such as \"Duxel Text Driver (*.txt; *.csv)\")"},
      {{"export", "locked.dux", "--mode", "Telephone", "--out", "x.csv"},
       "locked.dux: the document is protected; give its --password"},
      {{"export", "doc.dux", "--mode", "SpreadSheet", "--out", "x.csv"},
       Path("x.csv") + ": Není označena žádná tabulka."},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(FailedWithOneLine(Cli(c.args), c.line)) << c.args[2] << " " << c.args[3];
    EXPECT_FALSE(fs::exists(Path("x.csv")));
    EXPECT_EQ(ReadWholeFile(Path("doc.dux")), doc);
  }

  // A bad row ends the import: the document stays as it was on disk.
  WriteBytes(Path("bad.csv"), "Jmeno,Telefon\r\nNovy,1\r\n\"Zly,2\r\n");
  EXPECT_TRUE(FailedWithOneLine(
      Cli({"import", "doc.dux", "--mode", "Telephone", "--in", "bad.csv"}),
      Path("bad.csv") + ": Chyba při čtení ze souboru.. (HY000 [Duxel][Text Driver]File \"" +
          Path("bad.csv") +
          "\" line 3: a quoted field in the record that starts in line 3 is never closed)"));
  EXPECT_EQ(ReadWholeFile(Path("doc.dux")), doc);
}

// The driver is missing from the configuration, or the user's list names a library that is
// gone: the program registers it in the user's own list, $HOME/.odbcinst.ini, where the
// driver manager reads it; HOME here is not the password database's home.
TEST_F(ExchangeCli, TheTextDriverIsRegisteredForTheUserWhenItIsMissing) {
  const fs::path fakeHome = m_dir / "home";
  const std::string passwdHome = getpwuid(getuid())->pw_dir;
  const std::string passwdList = ReadWholeFile(fs::path(passwdHome) / ".odbcinst.ini");
  auto exportAtHome = [&] { return Cli({"export", "doc.dux", "--mode", "Telephone", "--out", "t.csv"}); };
  SaveSample(Path("doc.dux"));
  const std::string entry = std::string("[") + kDriver + "]\n";
  const std::string userList = (fakeHome / ".odbcinst.ini").string();

  // Missing everywhere.
  WriteBytes(m_dir / "odbc" / "odbcinst.ini", "");
  ProgramResult r = exportAtHome();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadWholeFile(Path("t.csv")), kTelephoneCsv);
  EXPECT_EQ(ReadWholeFile(userList), entry + "Description=Duxel text files\nDriver=" +
                                         DriverLibrary() + "\nSetup=" + DriverLibrary() + "\n\n");
  EXPECT_EQ(ReadWholeFile(m_dir / "odbc" / "odbcinst.ini"), "");

  // The user's entry names a library that is gone; another driver of the list stays.
  WriteBytes(userList, "[Other (*.oth)]\nDriver=/other/libother.so\n\n" + entry +
                           "Driver=/gone/libduxeltxt.so\nSetup=/gone/libduxeltxt.so\n");
  fs::remove(Path("t.csv"));
  r = exportAtHome();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadWholeFile(Path("t.csv")), kTelephoneCsv);
  EXPECT_EQ(ReadWholeFile(userList),
            "[Other (*.oth)]\nDriver=/other/libother.so\n\n" + entry + "Driver=" + DriverLibrary() +
                "\nSetup=" + DriverLibrary() + "\nDescription=Duxel text files\n\n");

  // The system's list names a library that is gone: its entry comes first, so that is said.
  Register("/gone/libduxeltxt.so");
  fs::remove(Path("t.csv"));
  r = exportAtHome();
  EXPECT_TRUE(FailedWithOneLine(
      r, "the system's ODBC driver list " + (m_dir / "odbc" / "odbcinst.ini").string() +
             " names \"" + kDriver +
             "\" with the library /gone/libduxeltxt.so, which does not exist; correct or remove "
             "that entry (the user's list " + userList + " was written)"));
  EXPECT_FALSE(fs::exists(Path("t.csv")));
  // The password database's home, which the driver manager does not read, was never written.
  EXPECT_EQ(ReadWholeFile(fs::path(passwdHome) / ".odbcinst.ini"), passwdList);
}

}  // namespace
