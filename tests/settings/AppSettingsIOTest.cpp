// SPDX-License-Identifier: GPL-3.0-or-later
// The program's settings: every key's default and reading of bad values, the new-window
// mode, and the order in which everything is written back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/CCasioModel.h"
#include "records/Cp1250.h"
#include "settings/AppSettingsIO.h"
#include "settings/MemoryProfile.h"

namespace {

// Remembers the order of the writes and deletions.
class RecordingProfile : public MemoryProfile {
 public:
  bool writeString(const std::string& section, const std::string& key,
                   const std::string& value) override {
    log.push_back(section + "/" + key + "=" + value);
    return MemoryProfile::writeString(section, key, value);
  }
  bool deleteSection(const std::string& section) override {
    log.push_back("delete " + section);
    return MemoryProfile::deleteSection(section);
  }
  std::vector<std::string> log;
};

const std::array<std::string, 4> kDevices = {"/dev/a", "/dev/b", "/dev/c", "/dev/d"};

// What a setting reads as, as text, so that one table covers every kind of value.
using Reader = std::function<std::string(const AppSettings&)>;
std::string B(bool on) { return on ? "on" : "off"; }
std::string N(int n) { return std::to_string(n); }
std::string D(double d) {
  char t[32];
  std::snprintf(t, sizeof t, "%g", d);
  return t;
}

struct KeyCase {
  const char* section;
  const char* key;
  Reader read;
  std::string byDefault;
  // Stored texts and how each reads.
  std::vector<std::pair<std::string, std::string>> texts;
};

std::vector<KeyCase> Cases() {
  using S = const AppSettings&;
  return {
      {"Duxel",
       "SaveOnExit",
       [](S s) { return B(s.saveOnExit); },
       "on",
       {{"no", "off"}, {"NO", "off"}, {"No", "off"}, {"yes", "on"}, {"maybe", "on"}, {"", "on"}}},
      {"Duxel",
       "CenterBuffer",
       [](S s) { return B(s.centerBuffer); },
       "on",
       {{"no", "off"}, {"x", "on"}}},
      {"Duxel",
       "AutoOpenBuffer",
       [](S s) { return B(s.link.autoOpenBuffer); },
       "off",
       {{"yes", "on"}, {"YES", "on"}, {"y", "off"}, {"no", "off"}}},
      {"Duxel",
       "AutoCloseBuffer",
       [](S s) { return B(s.link.autoCloseBuffer); },
       "off",
       {{"Yes", "on"}, {"1", "off"}}},
      {"Duxel", "ConvertM2C", [](S s) { return B(s.link.convertM2C); }, "on", {{"no", "off"}}},
      {"Duxel", "ConvertC2M", [](S s) { return B(s.link.convertC2M); }, "on", {{"nO", "off"}}},
      {"Duxel",
       "RememberWindows",
       [](S s) { return B(s.rememberWindows); },
       "on",
       {{"no", "off"}, {"off", "on"}}},
      {"Duxel",
       "BufferWindow",
       [](S s) { return N(s.bufferX) + "," + N(s.bufferY); },
       "0,0",
       {{"100,-20", "100,-20"}, {"5", "0,0"}, {"a,b", "0,0"}, {"", "0,0"}}},
      {"Duxel",
       "FirstOpen",
       [](S s) { return N(s.firstOpen); },
       "-1",
       {{"LastActive", "-1"},
        {"lastactive", "-1"},
        {"2", "2"},
        {"9", "9"},
        {"10", "0"},
        {"abc", "0"},
        {"-1", "0"},
        {"3x", "3"}}},
      {"Duxel", "Window", [](S s) { return s.mainWindow; }, "", {{"maximized", "maximized"}}},
      {"Duxel",
       "MapMergeChar",
       [](S s) { return N(s.exchange.mergeChar); },
       "0",
       {{"1", "1"}, {"x", "0"}}},
      {"Duxel", "ImportDriver", [](S s) { return s.exchange.importDriver; }, "", {{"D", "D"}}},
      {"Duxel", "ExportDriver", [](S s) { return s.exchange.exportDriver; }, "", {{"E", "E"}}},
      {"Duxel",
       "ImportMapping",
       [](S s) { return N(s.exchange.importMapping); },
       "0",
       {{"nothing such", "0"}}},
      {"Casio", "Port", [](S s) { return N(s.link.port); }, "1", {{"COM3", "3"}, {"COM7", "1"}}},
      {"Casio",
       "Baud",
       [](S s) { return N(s.link.baud); },
       "1200",
       {{"9600", "9600"}, {"19200", "1200"}}},
      {"Casio", "Bits", [](S s) { return N(s.link.bits); }, "8", {{"7", "7"}, {"6", "8"}}},
      {"Casio",
       "Parity",
       [](S s) { return N(s.link.parity); },
       "0",
       {{"EVEN", "2"}, {"odd", "1"}, {"mark", "0"}}},
      {"Casio",
       "Delay",
       [](S s) { return N(s.link.delay); },
       "10",
       {{"25", "25"}, {"0", "10"}, {"26", "10"}}},
      {"Casio", "Autoreceive", [](S s) { return B(s.link.autoreceive); }, "on", {{"no", "off"}}},
      {"Casio", "Type", [](S s) { return s.link.type; }, "", {{"SF-7/8", "SF-7/8"}}},
      {"Memo",
       "ListFontName",
       [](S s) { return s.modes[0].listFont.face; },
       "MS Sans Serif",
       {{"Arial", "Arial"}}},
      {"Telephone",
       "ListCharSet",
       [](S s) { return N(s.modes[1].listFont.charset); },
       "1",
       {{"238", "238"}, {"x", "1"}, {"300", "44"}}},
      {"Scheduler",
       "ListFontSize",
       [](S s) { return N(s.modes[2].listFont.size); },
       "8",
       {{"12", "12"}, {"0", "8"}, {"-3", "8"}, {"big", "8"}}},
      {"ToDo", "EditFontName", [](S s) { return s.modes[4].editFont.face; }, "Courier", {}},
      {"FreeFile", "EditCharSet", [](S s) { return N(s.modes[5].editFont.charset); }, "1", {}},
      {"SpreadSheet",
       "EditFontSize",
       [](S s) { return N(s.modes[9].editFont.size); },
       "10",
       {{"9", "9"}, {"1000", "10"}}},
      {"Memo",
       "ListFontColor",
       [](S s) {
         const ModeViewSettings& v = s.modes[0];
         return v.listColorSet ? N(v.listRed) + "," + N(v.listGreen) + "," + N(v.listBlue)
                               : std::string("system");
       },
       "system",
       {{"255,0,10", "255,0,10"}, {"1,2", "system"}, {"red", "system"}}},
      {"Expenses",
       "Window",
       [](S s) { return s.modes[8].window; },
       "no",
       {{"maximized", "maximized"}}},
      {"Telephone",
       "Free_1",
       [](S s) { return s.freeNames[0][0]; },
       "Free_1",
       {{"Mobil", "Mobil"}}},
      {"BusinessCards",
       "Free_6",
       [](S s) { return s.freeNames[1][5]; },
       "Free_6",
       {{"Web", "Web"}}},
      {"Expenses", "SumFontName", [](S s) { return s.expenses.sumFont.face; }, "Courier", {}},
      {"Expenses", "SumCharSet", [](S s) { return N(s.expenses.sumFont.charset); }, "1", {}},
      {"Expenses",
       "SumFontSize",
       [](S s) { return N(s.expenses.sumFont.size); },
       "10",
       {{"x", "10"}}},
      {"Expenses",
       "Payment1",
       [](S s) { return s.expenses.payment[0]; },
       "Cash",
       {{"Hotově", "Hotově"}}},
      {"Expenses", "Payment7", [](S s) { return s.expenses.payment[6]; }, "FREE", {}},
      {"Expenses", "Expense5", [](S s) { return s.expenses.expense[4]; }, "Parking&Tolls", {}},
      {"Expenses",
       "AddTypes",
       [](S s) { return B(s.expenses.addTypes); },
       "off",
       {{"yes", "on"}, {"no", "off"}}},
      {"Printing", "FontName", [](S s) { return s.printing.font.face; }, "", {{"Arial", "Arial"}}},
      {"Printing", "CharSet", [](S s) { return N(s.printing.font.charset); }, "1", {}},
      {"Printing",
       "FontSize",
       [](S s) { return N(s.printing.font.size); },
       "0",
       {{"11", "11"}, {"-1", "0"}}},
      {"Printing", "Bold", [](S s) { return B(s.printing.bold); }, "off", {{"yes", "on"}}},
      {"Printing", "Italic", [](S s) { return B(s.printing.italic); }, "off", {{"YES", "on"}}},
      {"Printing",
       "Left",
       [](S s) { return D(s.printing.left); },
       "1.5",
       {{"2.25", "2.25"}, {"0", "0"}, {"3cm", "3"}, {"abc", "1.5"}, {"-1", "1.5"}, {"11", "1.5"}}},
      {"Printing", "Right", [](S s) { return D(s.printing.right); }, "1.5", {{"0.5", "0.5"}}},
      {"Printing", "Top", [](S s) { return D(s.printing.top); }, "1.5", {}},
      {"Printing", "Bottom", [](S s) { return D(s.printing.bottom); }, "1.5", {}},
      {"Printing",
       "PrintCaption",
       [](S s) { return B(s.printing.printCaption); },
       "on",
       {{"no", "off"}}},
      {"Printing",
       "PrintEmptyEntries",
       [](S s) { return B(s.printing.printEmptyEntries); },
       "off",
       {{"yes", "on"}}},
      {"Printing",
       "AllowBreak",
       [](S s) { return B(s.printing.allowBreak); },
       "off",
       {{"yes", "on"}}},
  };
}

TEST(AppSettingsIO, EveryKeyWithItsDefaultAndBadValues) {
  const MemoryProfile empty;
  const AppSettings defaults = LoadAppSettings(empty, kDevices);
  for (const KeyCase& c : Cases()) {
    EXPECT_EQ(c.read(defaults), c.byDefault) << c.section << "/" << c.key << " by default";
    for (const auto& [text, reads] : c.texts) {
      MemoryProfile p;
      p.writeString(c.section, c.key, text);
      EXPECT_EQ(c.read(LoadAppSettings(p, kDevices)), reads)
          << c.section << "/" << c.key << " = \"" << text << "\"";
    }
  }
}

TEST(AppSettingsIO, MappingsAreReadAndBadOnesDropped) {
  MemoryProfile p;
  p.writeString("Mappings", "Dobra", "1 2,3 4");
  p.writeString("Mappings", "Špatná", "1 2,3 x");
  p.writeString("Duxel", "ExportMapping", "DOBRA");
  const AppSettings s = LoadAppSettings(p, kDevices);
  ASSERT_EQ(s.exchange.mappings.Count(), 2);
  EXPECT_EQ(s.exchange.mappings[1].name, "Dobra");
  EXPECT_EQ(s.exchange.exportMapping, 1);
}

TEST(AppSettingsIO, WindowPlacements) {
  using W = WindowPlacement;
  EXPECT_EQ(ParseWindowPlacement("10,20,300,400"), (W{W::Rect, 10, 20, 300, 400}));
  EXPECT_EQ(ParseWindowPlacement("-5,0,100,100"), (W{W::Rect, -5, 0, 100, 100}));
  EXPECT_EQ(ParseWindowPlacement("Maximized"), (W{W::Maximized}));
  EXPECT_EQ(ParseWindowPlacement("MINIMIZED"), (W{W::Minimized}));
  EXPECT_EQ(ParseWindowPlacement("no"), (W{}));
  EXPECT_EQ(ParseWindowPlacement("1,2,3"), (W{}));
  EXPECT_EQ(ParseWindowPlacement(""), (W{}));
  EXPECT_EQ(FormatWindowPlacement(W{W::Rect, 1, 2, 3, 4}), "1,2,3,4");
  EXPECT_EQ(FormatWindowPlacement(W{W::Maximized}), "maximized");
  EXPECT_EQ(FormatWindowPlacement(W{}), "no");
}

TEST(AppSettingsIO, NewWindowMode) {
  CCasioModel all;
  CCasioModel noScheduler;
  noScheduler.m_modeWidths[2] = 0;
  struct Case {
    const char* firstOpen;
    const char* remember;
    const char* schedulerWindow;
    const CCasioModel* model;
    int newWindowMode, startupMode;
  };
  const Case cases[] = {
      {"LastActive", "yes", "no", &all, 1, -1},  // Telephone, no start-up mode
      {"2", "yes", "no", &all, 0, 0},            // display position 2 is Memo
      {"10", "yes", "no", &all, 1, 1},           // out of range: position 0, Telephone
      {"abc", "yes", "no", &all, 1, 1},
      {"2", "yes", "maximized", &all, 2, 0},          // a remembered Scheduler window wins
      {"2", "no", "maximized", &all, 0, 0},           // unless windows are not remembered
      {"2", "yes", "maximized", &noScheduler, 0, 0},  // or the diary type lacks Scheduler
  };
  for (const Case& c : cases) {
    MemoryProfile p;
    p.writeString("Duxel", "FirstOpen", c.firstOpen);
    p.writeString("Duxel", "RememberWindows", c.remember);
    p.writeString("Scheduler", "Window", c.schedulerWindow);
    const NewWindowChoice got = ChooseNewWindowMode(LoadAppSettings(p, kDevices), *c.model);
    EXPECT_EQ(got.newWindowMode, c.newWindowMode) << c.firstOpen << " " << c.schedulerWindow;
    EXPECT_EQ(got.startupMode, c.startupMode) << c.firstOpen << " " << c.schedulerWindow;
  }
}

TEST(AppSettingsIO, EverythingIsWrittenInOrder) {
  MemoryProfile source;
  source.writeString("Mappings", "Stará", "1 2");
  AppSettings s = LoadAppSettings(source, kDevices);
  s.link.type = "SF-7/8";
  s.printing.left = 2.25;
  s.firstOpen = 3;
  s.exchange.mappings.Add({"Nová", {0x0102, 0x0304}});
  s.exchange.exportDriver = "Ovladač";
  s.modes[0].listColorSet = true;
  s.modes[0].listRed = 255;

  RecordingProfile p;
  p.writeString("Mappings", "Pryč", "5 6");
  p.log.clear();
  ASSERT_TRUE(SaveAppSettings(p, s, {"10,20,600,400", {{1, "maximized"}, {0, "1,2,3,4"}}}));

  std::vector<std::string> want = {"Casio/Type=SF-7/8",         "Casio/Delay=10",
                                   "Casio/Autoreceive=yes",     "Casio/Bits=8",
                                   "Casio/Baud=1200",           "Casio/Port=COM1",
                                   "Casio/Parity=none",         "Casio/Device1=/dev/a",
                                   "Casio/Device2=/dev/b",      "Casio/Device3=/dev/c",
                                   "Casio/Device4=/dev/d",      "Printing/FontName=",
                                   "Printing/CharSet=1",        "Printing/FontSize=0",
                                   "Printing/Bold=no",          "Printing/Italic=no",
                                   "Printing/PrintCaption=yes", "Printing/PrintEmptyEntries=no",
                                   "Printing/AllowBreak=no",    "Printing/Left=2.25",
                                   "Printing/Right=1.5",        "Printing/Top=1.5",
                                   "Printing/Bottom=1.5"};
  for (int m = 0; m < 10; ++m) {
    const std::string sec = kModeSections[m];
    for (std::string k : std::initializer_list<std::string>{
             "ListFontName=MS Sans Serif", "ListCharSet=1", "ListFontSize=8",
             "EditFontName=Courier", "EditCharSet=1", "EditFontSize=10"})
      want.push_back(sec + "/" + k);
    want.push_back(sec + "/ListFontColor=" + (m == 0 ? "255,0,0" : "0,0,0"));
    want.push_back(sec + "/Window=no");
  }
  for (std::string k : std::initializer_list<std::string>{
           "Expenses/SumFontName=Courier", "Expenses/SumCharSet=1", "Expenses/SumFontSize=10",
           "Duxel/Window=10,20,600,400", "Telephone/Window=maximized", "Memo/Window=1,2,3,4"})
    want.push_back(k);
  for (int i = 1; i <= 6; ++i)
    want.push_back("Telephone/Free_" + std::to_string(i) + "=Free_" + std::to_string(i));
  for (int i = 1; i <= 6; ++i)
    want.push_back("BusinessCards/Free_" + std::to_string(i) + "=Free_" + std::to_string(i));
  const char* payments[] = {"Cash", "Checking", "Savings", "AMEX", "VISA", "MasterCard", "FREE"};
  const char* expenses[] = {"Meals",         "Mileage",       "Entertainment", "Fuel",
                            "Parking&Tolls", "Miscellaneous", "FREE"};
  for (int i = 0; i < 7; ++i)
    want.push_back("Expenses/Payment" + std::to_string(i + 1) + "=" + payments[i]);
  for (int i = 0; i < 7; ++i)
    want.push_back("Expenses/Expense" + std::to_string(i + 1) + "=" + expenses[i]);
  for (std::string k : std::initializer_list<std::string>{
           "Expenses/AddTypes=no", "Duxel/ConvertM2C=yes", "Duxel/ConvertC2M=yes",
           "Duxel/AutoOpenBuffer=no", "Duxel/AutoCloseBuffer=no", "Duxel/CenterBuffer=yes",
           "Duxel/BufferWindow=0,0", "Duxel/RememberWindows=yes", "Duxel/FirstOpen=3",
           "delete Mappings", "Mappings/Stará=1 2", "Mappings/Nová=1 2,3 4",
           Cp1250FromUtf8("Duxel/ImportMapping=Všechna pole"),
           Cp1250FromUtf8("Duxel/ExportMapping=Všechna pole"), "Duxel/ExportDriver=Ovladač",
           "Duxel/MapMergeChar=0"})
    want.push_back(k);
  EXPECT_EQ(p.log, want);
  // The old mapping is gone; what was written reads back the same.
  EXPECT_EQ(p.valueNames("Mappings"), (std::vector<std::string>{"Stará", "Nová"}));
  const AppSettings back = LoadAppSettings(p, kDevices);
  EXPECT_EQ(back.link.type, "SF-7/8");
  EXPECT_EQ(back.printing.left, 2.25);
  EXPECT_EQ(back.firstOpen, 3);
  EXPECT_EQ(back.modes[1].window, "maximized");
  EXPECT_EQ(back.modes[2].window, "no");
  EXPECT_EQ(back.mainWindow, "10,20,600,400");
}

TEST(AppSettingsIO, WindowsAreNotWrittenWhenNotRemembered) {
  AppSettings s = LoadAppSettings(MemoryProfile(), kDevices);
  s.rememberWindows = false;
  RecordingProfile p;
  ASSERT_TRUE(SaveAppSettings(p, s, {"maximized", {{1, "maximized"}}}));
  for (const std::string& line : p.log) {
    if (line.rfind("Duxel/Window=", 0) == 0) continue;
    EXPECT_EQ(line.find("/Window="), std::string::npos) << line;
  }
  EXPECT_EQ(p.getString("Duxel", "RememberWindows", ""), "no");
  MemoryProfile failing;
  failing.setFailWrites(true);
  EXPECT_FALSE(SaveAppSettings(failing, s, {}));
}

}  // namespace
