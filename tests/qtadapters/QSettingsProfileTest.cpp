// SPDX-License-Identifier: GPL-3.0-or-later
// The profile over QSettings, in an INI file of the test's own: Windows-1250 inside, UTF-8
// in the file, sections as groups.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/CCasioModel.h"
#include "qtadapters/QSettingsProfile.h"
#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

namespace {

namespace fs = std::filesystem;

class ProfileFile : public testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    m_path = fs::temp_directory_path() / ("duxel-profile-" + std::to_string(::getpid()) + "-" +
                                          std::to_string(++counter) + ".conf");
    fs::remove(m_path);
  }
  void TearDown() override { fs::remove(m_path); }
  QString path() const { return QString::fromStdString(m_path.string()); }
  std::string fileText() const {
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeFile(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }

  fs::path m_path;
};

TEST_F(ProfileFile, CzechTextIsWindows1250InsideAndUtf8InTheFile) {
  const std::string type = Cp1250FromUtf8("SF-4980 Šéfův");
  {
    QSettingsProfile profile(path());
    ASSERT_TRUE(profile.writeString("Casio", "Type", type));
    std::string back;
    ASSERT_TRUE(profile.readString("Casio", "Type", back));
    EXPECT_EQ(back, type);
  }
  EXPECT_NE(fileText().find("Type=SF-4980 Šéfův"), std::string::npos) << fileText();
  // Another profile over the same file reads it back.
  QSettingsProfile again(path());
  EXPECT_EQ(again.getString("Casio", "Type", ""), type);
}

TEST_F(ProfileFile, MissingValuesAndIntegers) {
  QSettingsProfile profile(path());
  std::string value = "untouched";
  EXPECT_FALSE(profile.readString("Casio", "Baud", value));
  EXPECT_EQ(value, "untouched");
  ASSERT_TRUE(profile.writeInt("Casio", "Baud", 4800));
  int baud = 0;
  EXPECT_TRUE(profile.readInt("Casio", "Baud", baud));
  EXPECT_EQ(baud, 4800);
  ASSERT_TRUE(profile.writeString("Casio", "Delay", "ten"));
  EXPECT_EQ(profile.getInt("Casio", "Delay", 10), 10);
}

TEST_F(ProfileFile, ValueNamesAndDeletion) {
  QSettingsProfile profile(path());
  ASSERT_TRUE(profile.writeString("Model", "SF-A", "16,1200,16,16,16,16,16,16,16,16,16,16"));
  ASSERT_TRUE(profile.writeString("Model", "SF-B", "20,9600,20,20,20,20,20,20,20,20,20,0"));
  ASSERT_TRUE(profile.writeString("Casio", "Port", "COM2"));
  EXPECT_EQ(profile.valueNames("Model"), (std::vector<std::string>{"SF-A", "SF-B"}));
  EXPECT_TRUE(profile.deleteValue("Model", "SF-A"));
  EXPECT_TRUE(profile.deleteValue("Model", "never there"));
  EXPECT_EQ(profile.valueNames("Model"), (std::vector<std::string>{"SF-B"}));
  EXPECT_TRUE(profile.deleteSection("Model"));
  EXPECT_TRUE(profile.deleteSection("no such section"));
  EXPECT_EQ(profile.valueNames("Model"), std::vector<std::string>{});
  EXPECT_EQ(profile.valueNames("Casio"), std::vector<std::string>{"Port"});
  // Stored diary types come back as written, commas and all.
  QSettingsProfile writer(path());
  ModelList models;
  models.push_back(std::make_unique<CCasioModel>());
  models[0]->m_name = "SF-C";
  models[0]->m_modeWidths[9] = 0;
  ASSERT_TRUE(SaveModels(writer, models));
  ModelList loaded;
  ASSERT_EQ(LoadModels(QSettingsProfile(path()), loaded), 1);
  EXPECT_EQ(loaded[0]->m_name, "SF-C");
  EXPECT_EQ(loaded[0]->ProfileText(), "16,1200,16,16,16,16,16,16,16,16,16,0");
}

TEST_F(ProfileFile, HandWrittenFileReadsAsTheProgramWroteIt) {
  // A diary type typed in without quotes reads as a list in QSettings; the profile means
  // the text as it stands.
  writeFile(
      "[Casio]\n"
      "Type=SF-5580\n"
      "Port=COM3\n"
      "Baud=4800\n"
      "Bits=7\n"
      "Parity=Even\n"
      "Delay=3\n"
      "Autoreceive=no\n"
      "Device3=/dev/ttyACM0\n"
      "[Model]\n"
      "SF-5580=24,4800,24,24,24,24,24,24,24,24,24,0\n"
      "[Duxel]\n"
      "ConvertC2M=no\n"
      "AutoOpenBuffer=yes\n");
  QSettingsProfile profile(path());
  const LinkSettings s =
      LoadLinkSettings(profile, {"/dev/one", "/dev/two", "/dev/three", "/dev/four"});
  EXPECT_EQ(s.type, "SF-5580");
  EXPECT_EQ(s.port, 3);
  EXPECT_EQ(s.baud, 4800);
  EXPECT_EQ(s.bits, 7);
  EXPECT_EQ(s.parity, 2);
  EXPECT_EQ(s.delay, 3);
  EXPECT_FALSE(s.autoreceive);
  EXPECT_EQ(s.devices,
            (std::array<std::string, 4>{"/dev/one", "/dev/two", "/dev/ttyACM0", "/dev/four"}));
  EXPECT_EQ(s.device(), "/dev/ttyACM0");
  EXPECT_TRUE(s.convertM2C);
  EXPECT_FALSE(s.convertC2M);
  EXPECT_TRUE(s.autoOpenBuffer);

  const CCasioModel model = ChooseCurrentModel(profile, s.type);
  EXPECT_EQ(model.m_name, "SF-5580");
  EXPECT_EQ(model.ProfileText(), "24,4800,24,24,24,24,24,24,24,24,24,0");
  EXPECT_FALSE(model.HasMode(9));
}

TEST(SystemDevicePaths, FourDistinctDevices) {
  const std::array<std::string, 4> devices = SystemDevicePaths();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    EXPECT_FALSE(devices[i].empty()) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(devices[i], devices[j]);
  }
}

}  // namespace

// Names the user types become keys; "/" and "\" must not turn into groups.
TEST_F(ProfileFile, TypedNamesWithSlashesComeBackExactly) {
  const std::vector<std::string> names = {"SF-7/8", "a\\b", "50%2F", "x"};
  {
    QSettingsProfile profile(path());
    for (const std::string& name : names) ASSERT_TRUE(profile.writeString("Model", name, name));
  }
  QSettingsProfile again(path());
  std::vector<std::string> back = again.valueNames("Model");
  std::sort(back.begin(), back.end());
  std::vector<std::string> expected = names;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(back, expected);
  for (const std::string& name : names) EXPECT_EQ(again.getString("Model", name, ""), name);
  EXPECT_EQ(again.valueNames("Model/SF-7"), std::vector<std::string>());
  ASSERT_TRUE(again.deleteValue("Model", "a\\b"));
  EXPECT_EQ(again.valueNames("Model").size(), 3u);
}
