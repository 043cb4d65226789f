// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Profile;

// A diary type: the diary's screen width, its top line speed and the modes it has, with
// each mode's display width (0: the diary lacks the mode).
class CCasioModel {
 public:
  virtual ~CCasioModel() = default;

  std::string m_name = "SF-xxxx";  // at most 40 characters; unique among the stored types
  int32_t m_screenWidth = 16;      // 16..50
  int32_t m_maxSpeed = 1200;       // 1200, 2400, 4800 or 9600
  std::array<int32_t, 10> m_modeWidths = {16, 16, 16, 16, 16, 16, 16, 16, 16, 16};

  bool HasMode(int mode) const { return mode >= 0 && mode < 10 && m_modeWidths[mode] != 0; }

  // The stored text: the twelve numbers screen width, max speed and the mode widths,
  // separated by commas.
  std::string ProfileText() const;
  // Reads a stored text; false (nothing changed) unless it yields exactly twelve numbers.
  // Out-of-range numbers are clamped: the screen width to 16, the speed to 1200, a mode
  // width other than 0 outside 16..50 to 16.
  bool SetFromProfileText(const std::string& text);
};

// The stored types, owned, in the profile's order.
using ModelList = std::vector<std::unique_ptr<CCasioModel>>;

// The profile section of the stored types; one value per type, named by the type.
constexpr const char* kModelSection = "Model";

// Appends every readable type of section "Model" to `models` (unreadable entries are
// skipped) and returns the count of `models`. Only the value names that fit into a
// 20000-byte list (each name and a zero byte, a final zero) are looked at.
int LoadModels(const Profile& profile, ModelList& models);
// Deletes every loaded type.
void FreeModels(ModelList& models);
// The current type at start-up: the first stored type, or the first whose name equals
// `typeSetting` without regard to case; the default type when none is stored.
CCasioModel ChooseCurrentModel(const Profile& profile, const std::string& typeSetting);
// Replaces section "Model" by `models`. False, with the profile untouched, when the old
// section cannot be deleted (message 22); otherwise false when a write failed.
bool SaveModels(Profile& profile, const ModelList& models);
