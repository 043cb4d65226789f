// SPDX-License-Identifier: GPL-3.0-or-later
// Diary types in the profile: reading with clamping, the current type, writing back.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/CCasioModel.h"
#include "records/Cp1250.h"
#include "settings/MemoryProfile.h"

namespace {

struct Numbers {
  int screen;
  int speed;
  std::array<int, 10> widths;
  bool operator==(const Numbers&) const = default;
};

Numbers Of(const CCasioModel& m) {
  Numbers n{m.m_screenWidth, m.m_maxSpeed, {}};
  for (int i = 0; i < 10; ++i) n.widths[i] = m.m_modeWidths[i];
  return n;
}

TEST(CCasioModel, DefaultType) {
  const CCasioModel m;
  EXPECT_EQ(m.m_name, "SF-xxxx");
  EXPECT_EQ(Of(m), (Numbers{16, 1200, {16, 16, 16, 16, 16, 16, 16, 16, 16, 16}}));
  EXPECT_EQ(m.ProfileText(), "16,1200,16,16,16,16,16,16,16,16,16,16");
}

TEST(CCasioModel, StoredTextIsReadAndClamped) {
  struct Case {
    const char* text;
    bool read;
    Numbers numbers;
  };
  const Case cases[] = {
      {"32,9600,20,0,50,16,0,0,0,0,0,24", true, {32, 9600, {20, 0, 50, 16, 0, 0, 0, 0, 0, 24}}},
      // A screen width of 60 and a speed that is none of the four rates.
      {"60,1000,16,16,16,16,16,16,16,16,16,16", true,
       {16, 1200, {16, 16, 16, 16, 16, 16, 16, 16, 16, 16}}},
      {"15,2400,15,51,-1,0,49,16,16,16,16,16", true,
       {16, 2400, {16, 16, 16, 0, 49, 16, 16, 16, 16, 16}}},
      {"50,4800,16,16,16,16,16,16,16,16,16,16 and more", true,
       {50, 4800, {16, 16, 16, 16, 16, 16, 16, 16, 16, 16}}},
      {" 20, 1200, 0,0,0,0,0,0,0,0,0,20", true, {20, 1200, {0, 0, 0, 0, 0, 0, 0, 0, 0, 20}}},
      {"16,1200,16,16,16,16,16,16,16,16,16", false, {}},  // eleven numbers
      {"16;1200;16;16;16;16;16;16;16;16;16;16", false, {}},
      {"", false, {}},
  };
  for (const Case& c : cases) {
    CCasioModel m;
    EXPECT_EQ(m.SetFromProfileText(c.text), c.read) << c.text;
    if (c.read) {
      EXPECT_EQ(Of(m), c.numbers) << c.text;
    }
  }
}

TEST(CCasioModel, LoadSkipsUnreadableEntries) {
  MemoryProfile p;
  p.writeString("Model", "SF-4300", "32,9600,20,0,50,16,0,0,0,0,0,24");
  p.writeString("Model", "broken", "1,2,3");
  p.writeString("Model", "SF-9700", "60,1000,16,16,16,16,16,16,16,16,16,16");
  ModelList models;
  EXPECT_EQ(LoadModels(p, models), 2);
  EXPECT_EQ(models[0]->m_name, "SF-4300");
  EXPECT_EQ(models[1]->m_name, "SF-9700");
  EXPECT_EQ(Of(*models[1]), (Numbers{16, 1200, {16, 16, 16, 16, 16, 16, 16, 16, 16, 16}}));
  FreeModels(models);
  EXPECT_TRUE(models.empty());
}

TEST(CCasioModel, LoadLooksAtNoMoreNamesThanFitTheNameList) {
  MemoryProfile p;
  // 500 names of 39 characters: 40 bytes each in the list, so 499 fit in 20000 bytes with
  // the final zero.
  for (int i = 0; i < 500; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "type-%034d", i);
    p.writeString("Model", name, "16,1200,16,16,16,16,16,16,16,16,16,16");
  }
  ModelList models;
  EXPECT_EQ(LoadModels(p, models), 499);
}

TEST(CCasioModel, CurrentTypeIsTheNamedOneWithoutRegardToCase) {
  MemoryProfile p;
  p.writeString("Model", "SF-4300", "20,2400,16,16,16,16,16,16,16,16,16,16");
  p.writeString("Model", Cp1250FromUtf8("Diář"), "30,4800,16,16,16,16,16,16,16,16,16,16");
  p.writeString("Model", "SF-9700", "40,9600,16,16,16,16,16,16,16,16,16,16");
  EXPECT_EQ(ChooseCurrentModel(p, "sf-9700").m_name, "SF-9700");
  EXPECT_EQ(ChooseCurrentModel(p, Cp1250FromUtf8("DIÁŘ")).m_screenWidth, 30);
  EXPECT_EQ(ChooseCurrentModel(p, "").m_name, "SF-4300");         // empty keeps the first
  EXPECT_EQ(ChooseCurrentModel(p, "unknown").m_name, "SF-4300");  // so does an unknown name
  MemoryProfile empty;
  EXPECT_EQ(ChooseCurrentModel(empty, "SF-4300").m_name, "SF-xxxx");
}

TEST(CCasioModel, SavingReplacesTheWholeSection) {
  MemoryProfile p;
  p.writeString("Model", "old", "16,1200,16,16,16,16,16,16,16,16,16,16");
  ModelList models;
  models.push_back(std::make_unique<CCasioModel>());
  models.back()->m_name = "SF-4300";
  models.back()->m_screenWidth = 32;
  models.back()->m_maxSpeed = 9600;
  models.back()->m_modeWidths = {20, 0, 50, 16, 0, 0, 0, 0, 0, 24};
  EXPECT_TRUE(SaveModels(p, models));
  EXPECT_EQ(p.valueNames("Model"), (std::vector<std::string>{"SF-4300"}));
  EXPECT_EQ(p.getString("Model", "SF-4300", ""), "32,9600,20,0,50,16,0,0,0,0,0,24");
}

TEST(CCasioModel, FailingToDeleteTheSectionChangesNothing) {
  MemoryProfile p;
  p.writeString("Model", "old", "16,1200,16,16,16,16,16,16,16,16,16,16");
  p.setFailDeletes(true);
  ModelList models;
  models.push_back(std::make_unique<CCasioModel>());
  EXPECT_FALSE(SaveModels(p, models));
  EXPECT_EQ(p.valueNames("Model"), (std::vector<std::string>{"old"}));
}

}  // namespace
