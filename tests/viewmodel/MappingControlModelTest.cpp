// SPDX-License-Identifier: GPL-3.0-or-later
// The mapping control's click rules, one case per transition, driven by clicks from a fresh
// control (both lists on their first row, idle).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "viewmodel/MappingControlModel.h"

namespace {

using State = MappingControlModel::State;
using Links = std::vector<std::pair<int, int>>;

std::vector<uint16_t> Words(const Links& links) {
  std::vector<uint16_t> words;
  for (const auto& [s, t] : links) words.push_back(uint16_t((s << 8) | t));
  return words;
}

Links FromWords(const std::vector<uint16_t>& words) {
  Links links;
  for (uint16_t w : words) links.emplace_back(w >> 8, w & 0xFF);
  return links;
}

struct Case {
  const char* name;
  Links before;
  const char* clicks;  // "s1" a click on source row 1, "t2" on target row 2
  State state;
  Links after;
  bool lastChanged;  // what the last click returned
};

const Case kCases[] = {
    // A click in the source list.
    {"TargetChosen_SourceLinksToTarget", {}, "t2 s1", State::TargetChosen, {{1, 2}}, true},
    {"TargetChosen_LinkedSourceIsUnlinked", {{1, 2}}, "t2 s1", State::TargetChosen, {}, true},
    {"TargetChosen_SourceLeavesItsOtherTarget", {{1, 0}}, "t2 s1", State::TargetChosen, {{1, 2}},
     true},
    {"Idle_SourceLinkedToSelectedTargetIsUnlinked", {{1, 0}, {2, 0}}, "s1", State::SourceChosen,
     {{2, 0}}, true},
    {"Idle_UnlinkedSourceIsChosen", {{1, 3}}, "s1", State::SourceChosen, {{1, 3}}, false},
    {"SourceChosen_LinkedSourceEndsTheChoice", {{2, 0}}, "s1 s2", State::Idle, {{2, 0}}, false},
    {"SourceChosen_SameSourceAgainEndsTheChoice", {}, "s1 s1", State::Idle, {}, false},
    {"SourceChosen_OtherSourceIsChosenInstead", {}, "s1 s2", State::SourceChosen, {}, false},
    // A click in the target list.
    {"SourceChosen_TargetLinksToSource", {}, "s1 t2", State::SourceChosen, {{1, 2}}, true},
    {"SourceChosen_LinkedTargetIsUnlinked", {{1, 2}}, "s1 t2", State::SourceChosen, {}, true},
    {"SourceChosen_SourceKeepsOneTarget", {{1, 3}, {2, 3}}, "s1 t2", State::SourceChosen,
     {{2, 3}, {1, 2}}, true},
    {"Idle_TargetLinkedToSelectedSourceIsUnlinked", {{0, 0}, {1, 0}}, "t0", State::TargetChosen,
     {{1, 0}}, true},
    {"Idle_UnlinkedTargetIsChosen", {{1, 2}}, "t2", State::TargetChosen, {{1, 2}}, false},
    {"TargetChosen_OtherUnlinkedTargetIsChosenInstead", {}, "t1 t2", State::TargetChosen, {},
     false},
    {"TargetChosen_LinkedTargetEndsTheChoice", {{0, 3}}, "t1 t3", State::Idle, {{0, 3}}, false},
    {"TargetChosen_SameTargetAgainEndsTheChoice", {}, "t1 t1", State::Idle, {}, false},
    // Runs of clicks.
    {"SeveralSourcesToOneTargetInARow", {}, "t2 s0 s1 s3", State::TargetChosen,
     {{0, 2}, {1, 2}, {3, 2}}, true},
    {"OneSourceAtMostOneTarget", {}, "s0 t1 t2 t3", State::SourceChosen, {{0, 3}}, true},
    {"LinkThenUnlinkThenEnd", {}, "s1 t2 t2 s1", State::Idle, {}, false},
    {"RowsOutsideTheListsAreIgnored", {}, "s4 t-1", State::Idle, {}, false},
};

class MappingControlRules : public ::testing::TestWithParam<Case> {};

TEST_P(MappingControlRules, Transition) {
  const Case& c = GetParam();
  MappingControlModel model;
  model.SetUp(4, 4, Words(c.before));
  std::istringstream clicks(c.clicks);
  std::string click;
  bool changed = false;
  while (clicks >> click) {
    const int row = std::stoi(click.substr(1));
    changed = click[0] == 's' ? model.ClickSource(row) : model.ClickTarget(row);
  }
  EXPECT_EQ(model.state(), c.state);
  EXPECT_EQ(FromWords(model.Pairs()), c.after);
  EXPECT_EQ(changed, c.lastChanged);
}

INSTANTIATE_TEST_SUITE_P(Clicks, MappingControlRules, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MappingControlModel, RowsBeyondTheByteOfAPairCannotBeLinked) {
  MappingControlModel model;
  model.SetUp(300, 3, {});
  model.ClickTarget(1);
  EXPECT_FALSE(model.ClickSource(256));
  EXPECT_TRUE(model.ClickSource(255));
  EXPECT_EQ(FromWords(model.Pairs()), (Links{{255, 1}}));
}

TEST(MappingControlModel, OnlyLinksBetweenRowsAreDrawnAndSetUpStartsIdleOnFirstRows) {
  MappingControlModel model;
  model.SetUp(3, 2, Words({{0, 1}, {5, 0}, {2, 7}, {2, 0}}));
  model.ClickSource(1);
  ASSERT_EQ(model.state(), State::SourceChosen);
  model.SetUp(3, 2, model.Pairs());
  EXPECT_EQ(model.state(), State::Idle);
  EXPECT_EQ(model.source(), 0);
  EXPECT_EQ(model.target(), 0);
  EXPECT_EQ(model.Links(), (Links{{0, 1}, {2, 0}}));
}

}  // namespace
