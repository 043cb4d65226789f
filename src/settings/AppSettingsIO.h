// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "settings/AppSettings.h"

class CCasioModel;
class Profile;

// A remembered window: section "Duxel" "Window" for the main window, each mode section's
// "Window" for the child windows of the modes.
struct WindowPlacement {
  enum Kind { None, Minimized, Maximized, Rect };
  Kind kind = None;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const WindowPlacement&) const = default;
};
// "minimized", "maximized" (any case) or four integers "l,t,r,b"; anything else is None
// ("no" included).
WindowPlacement ParseWindowPlacement(const std::string& text);
std::string FormatWindowPlacement(const WindowPlacement& placement);  // "no" for None
// Whether a mode's "Window" text says the mode had a window: anything but "no" (any case).
bool HasRememberedWindow(const std::string& text);

// Reads every setting of the program (sections "Casio", "Duxel", the mode sections,
// "Printing", "Expenses", "Mappings"); missing or unreadable values take their defaults.
// `devices` are the device paths COM1..COM4 stand for when the profile names none.
// "SaveOnExit" is read too.
AppSettings LoadAppSettings(const Profile& profile,
                            const std::array<std::string, 4>& devices = FallbackDevicePaths());

// What a new child window shows: the new-window mode, and the start-up mode that a new
// document opens in (-1: none, the last active mode is kept).
struct NewWindowChoice {
  int newWindowMode = 1;
  int startupMode = -1;
};
// From "FirstOpen" and, when windows are remembered, the first remembered mode the diary
// type has.
NewWindowChoice ChooseNewWindowMode(const AppSettings& settings, const CCasioModel& model);

// The window layout at the moment of saving: the main window and, when windows are
// remembered, the child window of each view of the active document (mode index, text).
struct SavedLayout {
  std::string mainWindow;  // empty: not written
  std::vector<std::pair<int, std::string>> views;
};

// Writes every setting in the program's fixed order ("Casio", "Printing", the mode
// sections, the expense totals' font, the windows, the free-field names, the payment and
// expense types, the "Duxel" switches, "FirstOpen", the mappings (section "Mappings"
// replaced whole) and the exchange keys). "SaveOnExit" is not among them: closing writes
// it. False when any write failed (the others are still made).
bool SaveAppSettings(Profile& profile, const AppSettings& settings, const SavedLayout& layout);
