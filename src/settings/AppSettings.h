// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/FieldMapping.h"
#include "settings/LinkSettings.h"
#include "settings/Profile.h"

// The program-wide settings the main frame loads once at construction and writes back with
// SaveSettings: the link, the exchange, the views' fonts and colours, printing, expenses and
// the window layout. Texts are core text (Windows-1250), as the profile holds them.

// Mode sections by mode index: "Memo", "Telephone", ..., "SpreadSheet".
extern const std::array<const char*, 10> kModeSections;
// Display order of the modes (menus, accelerators, the mode lists of the dialogs): the mode
// index at each position, and the position of each mode index.
inline constexpr std::array<int, 10> kDisplayOrder = {1, 3, 0, 2, 6, 7, 4, 5, 8, 9};
inline constexpr std::array<int, 10> kDisplayPosition = {2, 0, 3, 1, 6, 7, 4, 5, 8, 9};

// A font as the profile names it: face, character set (only chooses a writing system here,
// Qt fonts being Unicode) and size in points.
struct FontSpec {
  std::string face;
  int charset = 1;
  int size = 0;
};

// The view settings of one mode section.
struct ModeViewSettings {
  FontSpec listFont{"MS Sans Serif", 1, 8};
  FontSpec editFont{"Courier", 1, 10};
  // "ListFontColor": red, green, blue; unset means the system's window-text colour.
  bool listColorSet = false;
  uint8_t listRed = 0, listGreen = 0, listBlue = 0;
  // "Window": "no", "minimized", "maximized" or "left,top,right,bottom".
  std::string window = "no";
};

// Section "Printing".
struct PrintSettings {
  FontSpec font{"", 1, 0};
  bool bold = false;
  bool italic = false;
  double left = 1.5, right = 1.5, top = 1.5, bottom = 1.5;  // centimetres
  bool printCaption = true;
  bool printEmptyEntries = false;
  bool allowBreak = false;
  // Which records print: 0 all, 1 only marked, 2 only unmarked. Chosen on the options
  // sheet for the run; not stored in the profile.
  int filter = 0;
};

// Section "Expenses" beyond the view keys.
struct ExpenseSettings {
  FontSpec sumFont{"Courier", 1, 10};
  std::array<std::string, 7> payment;  // "Payment1".."Payment7", defaults from string 312
  std::array<std::string, 7> expense;  // "Expense1".."Expense7", defaults from string 313
  bool addTypes = false;
};

struct AppSettings {
  // Every value at its default: free-field names "Free_1".."Free_6", payment and expense
  // type names from the string table.
  AppSettings();

  LinkSettings link;
  ExchangeSettings exchange;

  bool saveOnExit = true;
  bool centerBuffer = true;
  int bufferX = 0, bufferY = 0;  // "BufferWindow"
  bool rememberWindows = true;
  int firstOpen = -1;       // "FirstOpen": -1 for "LastActive", else a display position 0..9
  std::string mainWindow;   // section "Duxel" "Window"; empty when not stored

  std::array<ModeViewSettings, 10> modes;
  // "Free_1".."Free_6" of Telephone ([0]) and BusinessCards ([1]); defaults are the key names.
  // The record lists' exchange column names follow them (SetFreeFieldCaptionProvider).
  std::array<std::array<std::string, 6>, 2> freeNames;
  PrintSettings printing;
  ExpenseSettings expenses;
};
