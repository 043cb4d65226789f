// SPDX-License-Identifier: GPL-3.0-or-later
// The link end to end: casio-sim plays the diary on a pseudo-terminal, duxel-cli the
// program on the other end, both over the real serial layer. What arrives is compared
// record for record with what was sent, as `dump` prints it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "DocumentJson.h"
#include "Processes.h"

namespace {

using namespace e2e;
using namespace std::string_literals;

const std::string kCli = DUXEL_CLI;
const std::string kSim = CASIO_SIM;

// Unmarked memos with these texts.
json Memos(const std::vector<std::string>& texts) {
  json memos = json::array();
  for (const std::string& text : texts) memos.push_back({{"mark", 0}, {"text", text}});
  return memos;
}

// A free file long enough to travel in parts: 24 lines of 25 bytes, six pieces of 100,
// acknowledged after the fourth and after the last. `diary` gives the text as it comes back
// from the diary, whose character set lacks the háček letters.
std::string FreeFileBody(bool diary) {
  std::string body;
  for (int line = 1; line <= 24; ++line) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", line);
    body += (diary ? "Rádek "s : "Řádek "s) + number +
            (diary ? ": zlutoucky kun\r\n" : ": žluťoučký kůň\r\n");
  }
  return body;
}

// A worksheet image of 150 bytes: its size, the banner the receiver insists on, then
// bytes 00..6D. It goes out in blocks of 64, 64 and 22.
std::string SheetHex() {
  std::string hex =
      "0096"
      "436f7079726967687420313939312c39322076322e30302c204c7563696420436f72702e2000";
  for (int i = 0; i < 110; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02x", i);
    hex += pair;
  }
  return hex;
}

// One record of every mode (two memos), Czech texts, some marked; in the order the
// receiving lists keep, so that the received document lists them the same way.
json EveryMode() {
  return Document({
      {"Memo", json::array({{{"mark", 0}, {"text", "AB"}},
                            {{"mark", 1}, {"text", "Příliš žluťoučký kůň úpěl ďábelské ódy"}}})},
      {"Telephone", json::array({{{"mark", 1}, {"fields", {"Novák Jan", "+420 602 123 456",
                                                           "Husova 5", "", "", "", "", "",
                                                           "poznámka"}}}})},
      {"Scheduler", json::array({{{"mark", 0}, {"start", T(2024, 3, 15, -1, -1, 9, 30)},
                                  {"end", T(-1, -1, -1, -1, -1, 10, 45)},
                                  {"alarm", T(-1, -1, -1, -1, -1, 9, 15)},
                                  {"text", "Porada v kanceláři"}}})},
      {"BusinessCards", json::array({{{"mark", 0},
                                      {"fields", Fields({"Dvořák a syn s.r.o.", "Dvořák Petr",
                                                         "+420 777 888 999", "", "obchod", "",
                                                         "Brno"}, 15)}}})},
      {"ToDo", json::array({{{"mark", 1}, {"text", "Koupit mléko"}, {"done", 1},
                             {"completed", T(2024, 2, 1, -1, -1, 18, 0)}}})},
      {"FreeFile",
       json::array({{{"mark", 0}, {"title", "Zápisník"}, {"body", FreeFileBody(false)}}})},
      {"ReminderOne", json::array({{{"mark", 0}, {"weekday_pattern", 0},
                                    {"pattern", T(-1, 5, 1, -1, -1, 8, 0)},
                                    {"text", "Svátek práce"}}})},
      {"ReminderTwo", json::array({{{"mark", 1}, {"weekday_pattern", 1},
                                    {"pattern", T(-1, -1, -1, 2, 3, 7, 45)},
                                    {"text", "Úterý: schůzka"}}})},
      {"Expenses", json::array({{{"mark", 0}, {"date", T(2024, 1, 31, -1, -1, -1, -1)},
                                 {"amount", 12.5}, {"payment", "Hotově"}, {"expense", "Oběd"},
                                 {"note", "s kolegy"}}})},
      {"SpreadSheet", json::array({{{"mark", 1}, {"name", "Rozpočet"},
                                    {"changed", T(2024, 2, 29, 5, -1, 14, 5)}, {"size", 150},
                                    {"data", SheetHex()}}})},
  });
}

// The same records after a trip through the diary: the letters the diary lacks lost their
// háček or ring, marks kept.
json EveryModeFromDiary(const json& sheets) {
  json doc = EveryMode();
  auto& m = doc["modes"];
  m["Memo"][1]["text"] = "Prílis zlutoucky kun úpel dábelské ódy";
  m["Scheduler"][0]["text"] = "Porada v kancelári";
  m["BusinessCards"][0]["fields"][0] = "Dvorák a syn s.r.o.";
  m["BusinessCards"][0]["fields"][1] = "Dvorák Petr";
  m["FreeFile"][0]["body"] = FreeFileBody(true);
  m["ReminderTwo"][0]["text"] = "Útery: schuzka";
  m["Expenses"][0]["payment"] = "Hotove";
  m["Expenses"][0]["expense"] = "Obed";
  m["SpreadSheet"] = sheets;
  return doc;
}

// A worksheet as the receiving side stores it: named by its number, no date, not marked.
json ReceivedSheet() {
  return json::array({{{"mark", 0}, {"name", "Tabulka 1"}, {"changed", Unset()},
                       {"size", 150}, {"data", SheetHex()}}});
}

void ExpectSameModes(const json& got, const json& want) {
  for (const char* mode : kModeNames) EXPECT_EQ(got["modes"][mode], want["modes"][mode]) << mode;
}

std::string Describe(const ProgramResult& r) {
  return "exit " + std::to_string(r.exitCode) + (r.exited ? "" : " (killed)") + ", stdout [" +
         r.out + "], stderr [" + r.err + "]";
}

class LinkE2E : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    // The serial layer locks a device by its name: every test has its own.
    m_link = m_dir / ("diary-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  }

  void WriteJson(const std::string& name, const json& j) {
    std::ofstream(m_dir / name) << j.dump(2);
  }

  // Writes the program's profile (section "Casio") into the private profile folder.
  void WriteProfile(const std::string& casioSection) {
    fs::create_directories(m_dir / "config" / "VORT");
    std::ofstream(m_dir / "config" / "VORT" / "Duxel39.conf") << "[Casio]\n" << casioSection;
  }

  // receive into got.dux from the simulator's terminal, waiting at most 20 s.
  std::vector<std::string> ReceiveArgs(std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"receive", "--port", m_link.string(), "--out",
                                  (m_dir / "got.dux").string(), "--delay", "1", "--timeout", "20"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  // doc.dux built from `doc`.
  void BuildDoc(const json& doc) {
    WriteJson("doc.json", doc);
    ASSERT_EQ(Cli({"build", (m_dir / "doc.json").string(), (m_dir / "doc.dux").string()}).exitCode,
              0);
  }

  ProgramResult Cli(std::vector<std::string> args, double seconds = 30) {
    args.insert(args.begin(), kCli);
    return Process(args, m_dir.path(), "cli").wait(seconds);
  }

  json Dump(const std::string& name) {
    const ProgramResult r = Cli({"dump", (m_dir / name).string()});
    EXPECT_EQ(r.exitCode, 0) << Describe(r);
    return json::parse(r.out.empty() ? "{}" : r.out);
  }

  // Starts the simulator on its own pseudo-terminal, runs duxel-cli against it, and waits
  // for both.
  std::pair<ProgramResult, ProgramResult> Run(std::vector<std::string> sim,
                                              std::vector<std::string> cli, double seconds = 40) {
    sim.insert(sim.begin(), {kSim, "--pty", m_link.string(), "--delay", "1"});
    Process simulator(sim, m_dir.path(), "sim");
    EXPECT_TRUE(WaitForPath(m_link, 5)) << "the simulator made no pseudo-terminal";
    cli.insert(cli.begin(), kCli);
    ProgramResult program = Process(cli, m_dir.path(), "cli").wait(seconds);
    ProgramResult diary = simulator.wait(15);
    return {program, diary};
  }

  TempDir m_dir;
  fs::path m_link;
};

// ---------------------------------------------------------------------------------------

TEST_F(LinkE2E, DiaryTransmitsEveryModeIntoReceive) {
  WriteJson("diary.json", EveryMode());
  const auto [program, diary] = Run({"transmit", (m_dir / "diary.json").string(), "--marks"},
          {"receive", "--port", m_link.string(), "--out", (m_dir / "got.dux").string(), "--delay",
           "1", "--timeout", "40"});
  EXPECT_EQ(diary.exitCode, 0) << Describe(diary);
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  // The link pane shows the last thing received: the worksheet.
  EXPECT_EQ(program.out, "Přijato: 1\n");
  EXPECT_EQ(program.err, "");
  ExpectSameModes(Dump("got.dux"), EveryModeFromDiary(ReceivedSheet()));
}

TEST_F(LinkE2E, SendEveryModeIntoDiary) {
  BuildDoc(EveryMode());
  const auto [program, diary] = Run({"accept", "--out", (m_dir / "diary.json").string()},
                                    {"send", (m_dir / "doc.dux").string(), "--port",
                                     m_link.string(), "--modes", "all", "--marks", "--delay", "1"});
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(program.out, "Vysláno: 10\n");
  EXPECT_EQ(program.err, "");
  ASSERT_EQ(diary.exitCode, 0) << Describe(diary);
  // "all" is every mode of the text frames; the worksheet travels on its own.
  ExpectSameModes(json::parse(ReadWholeFile(m_dir / "diary.json")),
                  EveryModeFromDiary(json::array()));
}

TEST_F(LinkE2E, SendMarkedWorksheetIntoDiary) {
  json doc = EveryMode();
  // The first worksheet is not marked: the first marked one goes.
  doc["modes"]["SpreadSheet"].insert(doc["modes"]["SpreadSheet"].begin(),
      json{{"mark", 0}, {"name", "Jiná"}, {"changed", Unset()}, {"size", 2}, {"data", "0002"}});
  BuildDoc(doc);
  const auto [program, diary] = Run({"accept", "--out", (m_dir / "diary.json").string()},
                                    {"send", (m_dir / "doc.dux").string(), "--port",
                                     m_link.string(), "--modes", "SpreadSheet", "--delay", "3"});
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(program.out, "Vysláno: 1\n");
  ASSERT_EQ(diary.exitCode, 0) << Describe(diary);
  ExpectSameModes(json::parse(ReadWholeFile(m_dir / "diary.json")),
                  Document({{"SpreadSheet", ReceivedSheet()}}));
}

TEST_F(LinkE2E, WithoutConversionCzechLettersTravelAsTheyAre) {
  const json doc = Document({{"Memo", Memos({"Příliš žluťoučký kůň úpěl ďábelské ódy"})}});
  WriteJson("diary.json", doc);
  const auto [program, diary] = Run({"transmit", (m_dir / "diary.json").string(), "--no-convert"},
          ReceiveArgs({"--no-convert"}));
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(program.out, "Přijato: 1\n");
  ExpectSameModes(Dump("got.dux"), doc);
}

TEST_F(LinkE2E, ReceiveMergesIntoAnExistingDocumentAndRefusesDuplicates) {
  auto phone = [](const std::string& name, const std::string& number) {
    return json{{"mark", 0}, {"fields", Fields({name, number}, 9)}};
  };
  WriteJson("old.json", Document({{"Telephone", json::array({phone("Adam", "111")})}}));
  ASSERT_EQ(Cli({"build", (m_dir / "old.json").string(), (m_dir / "got.dux").string()}).exitCode,
            0);
  WriteJson("diary.json",
            Document({{"Telephone", json::array({phone("Cyril", "333"), phone("Cyril", "333"),
                                                 phone("Bohumil", "222")})}}));
  const auto [program, diary] = Run({"transmit", (m_dir / "diary.json").string()}, ReceiveArgs());
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  // Three arrived, two were new; the document keeps its order of names.
  EXPECT_EQ(program.out, "Přijato: 3 / 2\n");
  ExpectSameModes(Dump("got.dux"),
      Document({{"Telephone", json::array({phone("Adam", "111"), phone("Bohumil", "222"),
                                           phone("Cyril", "333")})}}));
}

TEST_F(LinkE2E, DiaryAbortsAfterTwoRecords) {
  WriteJson("diary.json", Document({{"Memo", Memos({"A1", "A2", "A3"})}}));
  const auto [program, diary] =
      Run({"transmit", (m_dir / "diary.json").string(), "--abort-after", "2"}, ReceiveArgs());
  EXPECT_EQ(diary.exitCode, 0) << Describe(diary);
  // What was confirmed is stored, but a script can tell the transmission was cut short.
  ASSERT_EQ(program.exitCode, 3) << Describe(program);
  EXPECT_EQ(program.out, "Přijato: 2\n");
  EXPECT_EQ(program.err,
            "duxel-cli: the diary aborted the transmission; the records received before were "
            "stored\n");
  ExpectSameModes(Dump("got.dux"), Document({{"Memo", Memos({"A1", "A2"})}}));
}

// The chosen diary type lacks Scheduler; the diary sends one all the same. A .dux holds
// every mode: it is kept, and the summary says that the type lacks its mode.
TEST_F(LinkE2E, ReceiveKeepsRecordsOfModesTheDiaryTypeLacks) {
  WriteProfile("Type=SF-A\n[Model]\nSF-A=\"16,9600,16,16,0,16,16,16,16,16,16,16\"\n");
  const json doc = Document(
      {{"Memo", Memos({"A1"})}, {"Scheduler", json::array({{{"mark", 0},
                                   {"start", T(2024, 3, 15, -1, -1, 9, 30)}, {"end", Unset()},
                                   {"alarm", Unset()}, {"text", "Porada"}}})}});
  WriteJson("diary.json", doc);
  const auto [program, diary] = Run({"transmit", (m_dir / "diary.json").string()}, ReceiveArgs());
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(program.out,
            "Přijato: 2\nstored, though the diary type \"SF-A\" lacks their modes: 1 of "
            "Scheduler\n");
  ExpectSameModes(Dump("got.dux"), doc);
}

// The diary goes away in the middle of a send: the count of records it confirmed is said.
TEST_F(LinkE2E, SendToADiaryThatGoesAwaySaysHowManyWereSent) {
  json memos = json::array();
  for (int i = 1; i <= 30; ++i) memos.push_back({{"mark", 0}, {"text", "A" + std::to_string(i)}});
  BuildDoc(Document({{"Memo", memos}}));
  Process simulator({kSim, "--pty", m_link.string(), "--delay", "1", "accept", "--out",
                     (m_dir / "diary.json").string(), "--answer-late", "100"}, m_dir.path(), "sim");
  ASSERT_TRUE(WaitForPath(m_link, 5));
  Process cli({kCli, "send", (m_dir / "doc.dux").string(), "--port", m_link.string(), "--modes",
               "Memo", "--delay", "1"}, m_dir.path(), "cli");
  ::usleep(2000 * 1000);
  simulator.wait(0);  // the line goes dead under the program
  const ProgramResult r = cli.wait(30);
  EXPECT_EQ(r.exitCode, 1);
  const std::string lost =
      "duxel-cli: Sériové rozhraní přestalo být dostupné (zařízení bylo odpojeno). Přenos byl "
      "ukončen a rozhraní zavřeno. Vysláno: ";
  EXPECT_EQ(r.err.substr(0, lost.size()), lost) << r.err;
  const std::string count = r.err.substr(std::min(lost.size(), r.err.size()));
  EXPECT_TRUE(count.size() >= 2 && std::isdigit(count[0]) && count.back() == '\n') << r.err;
}

TEST_F(LinkE2E, FrameWithWrongChecksumIsUsedAndReported) {
  const json doc = Document({{"Memo", Memos({"AB"})}});
  WriteJson("diary.json", doc);
  // Frame 2 is the memo's item.
  const auto [program, diary] =
      Run({"transmit", (m_dir / "diary.json").string(), "--corrupt-checksum", "2"}, ReceiveArgs());
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(program.out, "Přijato: 1\n");
  EXPECT_EQ(program.err, "duxel-cli: Rámců s chybným kontrolním součtem: 1\n");
  ExpectSameModes(Dump("got.dux"), doc);
}

TEST_F(LinkE2E, DiaryThatNeverAnswersFailsTheSendWithMessage128) {
  BuildDoc(Document({{"Memo", Memos({"AB"})}}));
  const auto [program, diary] =
      Run({"accept", "--out", (m_dir / "diary.json").string(), "--never-answer", "--timeout", "5"},
          {"send", (m_dir / "doc.dux").string(), "--port", m_link.string(), "--modes", "Memo",
           "--delay", "2"});
  EXPECT_TRUE(program.exited);
  EXPECT_EQ(program.exitCode, 1);
  EXPECT_EQ(program.out, "");
  EXPECT_EQ(program.err,
            "duxel-cli: Bohužel diář není připojen, nebo jsou špatně nastaveny přenosové "
            "parametry.\n");
  // The program gave up with "!"; the diary stored nothing.
  EXPECT_EQ(json::parse(ReadWholeFile(m_dir / "diary.json"))["modes"]["Memo"], json::array());
}

TEST_F(LinkE2E, DiaryThatDropsAnAcknowledgementEndsTheSendAfterTenSeconds) {
  BuildDoc(Document({{"Memo", Memos({"A1", "A2", "A3"})}}));
  const auto [program, diary] =
      Run({"accept", "--out", (m_dir / "diary.json").string(), "--drop-answer", "2"},
          {"send", (m_dir / "doc.dux").string(), "--port", m_link.string(), "--modes", "Memo",
           "--delay", "1"});
  EXPECT_EQ(program.exitCode, 1);
  EXPECT_EQ(program.err, "duxel-cli: the diary did not acknowledge record 2; Vysláno: 1\n");
  // The diary had taken both records before its missing answer; the program ended with "!".
  EXPECT_EQ(diary.exitCode, 1) << Describe(diary);
  EXPECT_EQ(json::parse(ReadWholeFile(m_dir / "diary.json"))["modes"]["Memo"], Memos({"A1", "A2"}));
}

TEST_F(LinkE2E, CaptureWritesOneLinePerRecordWithSettingsFromTheProfile) {
  WriteJson("diary.json", Document({{"Memo", Memos({"AB"})}}));
  // No --port: COM2 of the profile is the simulator's terminal.
  WriteProfile("Port=COM2\nDevice2=" + m_link.string() + "\nDelay=1\n");
  const auto [program, diary] = Run({"transmit", (m_dir / "diary.json").string()},
          {"capture", "--out", (m_dir / "capture.txt").string(), "--timeout", "20"});
  ASSERT_EQ(program.exitCode, 0) << Describe(program);
  EXPECT_EQ(diary.exitCode, 0) << Describe(diary);
  EXPECT_EQ(program.out, "Přijato: 1\n");
  // Mode select, the item AB, the end of record answered with "#", the end of transmission.
  EXPECT_EQ(ReadWholeFile(m_dir / "capture.txt"), "02000002A000|028000004142|00000001|#\n\r"
            "000000FF| \n\r");
}

TEST_F(LinkE2E, MissingDeviceGivesMessage130WithTheReason) {
  const std::string device = (m_dir / "no-such-device").string();
  const ProgramResult r = Cli({"receive", "--port", device, "--out", (m_dir / "got.dux").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "duxel-cli: Nejde otevřít sériové rozhraní. Zkuste nastavit nové přenosové "
            "parametry. " + device + ": No such file or directory\n");
  EXPECT_FALSE(fs::exists(m_dir / "got.dux"));
}

TEST_F(LinkE2E, ReceiveIntoAFolderThatCannotBeWrittenFailsBeforeListening) {
  const std::string out = (m_dir / "no-such-folder" / "got.dux").string();
  const ProgramResult r =
      Cli({"receive", "--port", (m_dir / "no-such-device").string(), "--out", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "duxel-cli: " + out + ": the folder cannot be written to\n");
}

TEST_F(LinkE2E, ReceiveWithNothingArrivingStopsAtTheTimeOutAndWritesNothing) {
  WriteJson("doc.json", Document({}));
  // A diary that waits to receive sends nothing: the program hears silence.
  Process simulator({kSim, "--pty", m_link.string(), "accept", "--out",
                     (m_dir / "diary.json").string(), "--timeout", "3"}, m_dir.path(), "sim");
  ASSERT_TRUE(WaitForPath(m_link, 5));
  const ProgramResult r = Cli({"receive", "--port", m_link.string(), "--out",
                               (m_dir / "got.dux").string(), "--timeout", "1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "duxel-cli: nothing was received within 1 s\n");
  EXPECT_FALSE(fs::exists(m_dir / "got.dux"));
  simulator.wait(10);
}

}  // namespace
