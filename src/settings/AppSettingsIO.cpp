// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AppSettingsIO.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "link/CCasioModel.h"
#include "settings/Profile.h"

namespace {

constexpr const char* kDuxel = "Duxel";
constexpr const char* kPrinting = "Printing";
constexpr const char* kExpenses = "Expenses";

bool EqualsNoCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

bool Switch(const Profile& p, const char* section, const char* key, bool onUnlessNo) {
  std::string text;
  if (!p.readString(section, key, text)) return onUnlessNo;
  return onUnlessNo ? OnUnlessNo(text) : OnlyIfYes(text);
}

// The leading decimal number of a text, as "%d" reads it (blanks, sign, digits; the rest
// ignored). False when no digit comes.
bool LeadingInt(const std::string& text, int& value) {
  const char* s = text.c_str();
  char* end = nullptr;
  const long v = std::strtol(s, &end, 10);
  if (end == s || v < -2147483647L || v > 2147483647L) return false;
  value = int(v);
  return true;
}

// A decimal number as "%f" reads it; the program writes numbers with a full stop whatever
// the locale, so they are read the same way.
bool LeadingDouble(const std::string& text, double& value) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  std::size_t j = i;
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
  bool digits = false;
  while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j, digits = true;
  if (j < text.size() && text[j] == '.') {
    ++j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j, digits = true;
  }
  if (!digits) return false;
  // Parsed by hand: strtod would follow the C library's locale.
  double whole = 0, scale = 1;
  bool fraction = false, negative = false;
  for (std::size_t k = i; k < j; ++k) {
    const char c = text[k];
    if (c == '-')
      negative = true;
    else if (c == '.')
      fraction = true;
    else if (c != '+') {
      whole = whole * 10 + (c - '0');
      if (fraction) scale *= 10;
    }
  }
  value = (negative ? -whole : whole) / scale;
  return true;
}

std::string FormatG(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  // "%g" follows the C library's locale; the profile always holds a full stop.
  for (char* c = text; *c; ++c)
    if (*c == ',') *c = '.';
  return text;
}

// An 8-bit character set number; not a number gives the default.
int CharSet(const Profile& p, const std::string& section, const std::string& key) {
  int v = 1;
  std::string text;
  if (!p.readString(section, key, text) || !ParseProfileInt(text, v)) return 1;
  return v & 0xFF;
}

// A font size in points: a size no font can have (none, 0, negative, absurd) would leave
// the windows without a usable font, so it takes the default.
int FontSize(const Profile& p, const std::string& section, const std::string& key, int fallback,
             bool zeroAllowed = false) {
  const int v = p.getInt(section, key, fallback);
  if ((v == 0 && zeroAllowed) || (v >= 1 && v <= 127)) return v;
  return fallback;
}

void ReadFont(const Profile& p, const std::string& section, const std::string& prefix,
              const std::string& nameKey, FontSpec& font, bool zeroSizeAllowed = false) {
  font.face = p.getString(section, prefix + nameKey, font.face);
  font.charset = CharSet(p, section, prefix + "CharSet");
  font.size = FontSize(p, section, prefix + "FontSize", font.size, zeroSizeAllowed);
}

bool WriteFont(Profile& p, const std::string& section, const std::string& prefix,
               const std::string& nameKey, const FontSpec& font) {
  bool ok = p.writeString(section, prefix + nameKey, font.face);
  ok = p.writeInt(section, prefix + "CharSet", font.charset) && ok;
  ok = p.writeInt(section, prefix + "FontSize", font.size) && ok;
  return ok;
}

// A page margin in centimetres, 0 to 10 as the print page accepts them.
double Margin(const Profile& p, const char* key) {
  std::string text;
  double v = 1.5;
  if (!p.readString(kPrinting, key, text) || !LeadingDouble(text, v) || v < 0 || v > 10) return 1.5;
  return v;
}

}  // namespace

WindowPlacement ParseWindowPlacement(const std::string& text) {
  WindowPlacement w;
  if (EqualsNoCase(text, "minimized")) {
    w.kind = WindowPlacement::Minimized;
  } else if (EqualsNoCase(text, "maximized")) {
    w.kind = WindowPlacement::Maximized;
  } else if (std::sscanf(text.c_str(), "%d,%d,%d,%d", &w.left, &w.top, &w.right, &w.bottom) == 4) {
    w.kind = WindowPlacement::Rect;
  } else {
    w = WindowPlacement{};
  }
  return w;
}

std::string FormatWindowPlacement(const WindowPlacement& w) {
  switch (w.kind) {
    case WindowPlacement::Minimized:
      return "minimized";
    case WindowPlacement::Maximized:
      return "maximized";
    case WindowPlacement::Rect:
      return std::to_string(w.left) + "," + std::to_string(w.top) + "," + std::to_string(w.right) +
             "," + std::to_string(w.bottom);
    case WindowPlacement::None:
      break;
  }
  return "no";
}

bool HasRememberedWindow(const std::string& text) { return !EqualsNoCase(text, "no"); }

AppSettings LoadAppSettings(const Profile& p, const std::array<std::string, 4>& devices) {
  AppSettings s;
  s.link = LoadLinkSettings(p, devices);
  s.exchange.Load(p);

  s.saveOnExit = Switch(p, kDuxel, "SaveOnExit", true);
  s.centerBuffer = Switch(p, kDuxel, "CenterBuffer", true);
  if (std::sscanf(p.getString(kDuxel, "BufferWindow", "0,0").c_str(), "%d,%d", &s.bufferX,
                  &s.bufferY) != 2)
    s.bufferX = s.bufferY = 0;
  s.rememberWindows = Switch(p, kDuxel, "RememberWindows", true);
  const std::string first = p.getString(kDuxel, "FirstOpen", "LastActive");
  if (EqualsNoCase(first, "LastActive")) {
    s.firstOpen = -1;
  } else {
    int position = 0;
    s.firstOpen = LeadingInt(first, position) && position >= 0 && position <= 9 ? position : 0;
  }
  s.mainWindow = p.getString(kDuxel, "Window", "");

  for (int m = 0; m < 10; ++m) {
    const std::string section = kModeSections[m];
    ModeViewSettings& v = s.modes[m];
    ReadFont(p, section, "List", "FontName", v.listFont);
    ReadFont(p, section, "Edit", "FontName", v.editFont);
    int r, g, b;
    std::string color;
    if (p.readString(section, "ListFontColor", color) &&
        std::sscanf(color.c_str(), "%d,%d,%d", &r, &g, &b) == 3) {
      v.listColorSet = true;
      v.listRed = uint8_t(r);
      v.listGreen = uint8_t(g);
      v.listBlue = uint8_t(b);
    }
    v.window = p.getString(section, "Window", "no");
  }
  for (int i = 0; i < 6; ++i) {
    const std::string key = "Free_" + std::to_string(i + 1);
    s.freeNames[0][i] = p.getString("Telephone", key, key);
    s.freeNames[1][i] = p.getString("BusinessCards", key, key);
  }

  ReadFont(p, kExpenses, "Sum", "FontName", s.expenses.sumFont);
  for (int i = 0; i < 7; ++i) {
    const std::string n = std::to_string(i + 1);
    s.expenses.payment[i] = p.getString(kExpenses, "Payment" + n, s.expenses.payment[i]);
    s.expenses.expense[i] = p.getString(kExpenses, "Expense" + n, s.expenses.expense[i]);
  }
  s.expenses.addTypes = Switch(p, kExpenses, "AddTypes", false);

  PrintSettings& pr = s.printing;
  pr.font.face = p.getString(kPrinting, "FontName", "");
  pr.font.charset = CharSet(p, kPrinting, "CharSet");
  pr.font.size = FontSize(p, kPrinting, "FontSize", 0, true);
  pr.bold = Switch(p, kPrinting, "Bold", false);
  pr.italic = Switch(p, kPrinting, "Italic", false);
  pr.left = Margin(p, "Left");
  pr.right = Margin(p, "Right");
  pr.top = Margin(p, "Top");
  pr.bottom = Margin(p, "Bottom");
  pr.printCaption = Switch(p, kPrinting, "PrintCaption", true);
  pr.printEmptyEntries = Switch(p, kPrinting, "PrintEmptyEntries", false);
  pr.allowBreak = Switch(p, kPrinting, "AllowBreak", false);
  return s;
}

NewWindowChoice ChooseNewWindowMode(const AppSettings& s, const CCasioModel& model) {
  NewWindowChoice c;
  if (s.firstOpen >= 0 && s.firstOpen <= 9) {
    c.newWindowMode = kDisplayOrder[s.firstOpen];
    c.startupMode = c.newWindowMode;
  }
  if (s.rememberWindows) {
    for (int m = 0; m < 10; ++m) {
      if (model.HasMode(m) && HasRememberedWindow(s.modes[m].window)) {
        c.newWindowMode = m;
        break;
      }
    }
  }
  return c;
}

bool SaveAppSettings(Profile& p, const AppSettings& s, const SavedLayout& layout) {
  bool ok = SaveCasioSection(p, s.link);

  const PrintSettings& pr = s.printing;
  ok = p.writeString(kPrinting, "FontName", pr.font.face) && ok;
  ok = p.writeInt(kPrinting, "CharSet", pr.font.charset) && ok;
  ok = p.writeInt(kPrinting, "FontSize", pr.font.size) && ok;
  ok = p.writeString(kPrinting, "Bold", YesNo(pr.bold)) && ok;
  ok = p.writeString(kPrinting, "Italic", YesNo(pr.italic)) && ok;
  ok = p.writeString(kPrinting, "PrintCaption", YesNo(pr.printCaption)) && ok;
  ok = p.writeString(kPrinting, "PrintEmptyEntries", YesNo(pr.printEmptyEntries)) && ok;
  ok = p.writeString(kPrinting, "AllowBreak", YesNo(pr.allowBreak)) && ok;
  ok = p.writeString(kPrinting, "Left", FormatG(pr.left)) && ok;
  ok = p.writeString(kPrinting, "Right", FormatG(pr.right)) && ok;
  ok = p.writeString(kPrinting, "Top", FormatG(pr.top)) && ok;
  ok = p.writeString(kPrinting, "Bottom", FormatG(pr.bottom)) && ok;

  for (int m = 0; m < 10; ++m) {
    const std::string section = kModeSections[m];
    const ModeViewSettings& v = s.modes[m];
    ok = WriteFont(p, section, "List", "FontName", v.listFont) && ok;
    ok = WriteFont(p, section, "Edit", "FontName", v.editFont) && ok;
    ok = p.writeString(section, "ListFontColor",
                       std::to_string(v.listRed) + "," + std::to_string(v.listGreen) + "," +
                           std::to_string(v.listBlue)) &&
         ok;
    if (s.rememberWindows) ok = p.writeString(section, "Window", "no") && ok;
  }
  ok = WriteFont(p, kExpenses, "Sum", "FontName", s.expenses.sumFont) && ok;
  if (!layout.mainWindow.empty()) ok = p.writeString(kDuxel, "Window", layout.mainWindow) && ok;
  if (s.rememberWindows) {
    for (const auto& [mode, text] : layout.views)
      if (mode >= 0 && mode < 10) ok = p.writeString(kModeSections[mode], "Window", text) && ok;
  }
  for (int i = 0; i < 6; ++i) {
    const std::string key = "Free_" + std::to_string(i + 1);
    ok = p.writeString("Telephone", key, s.freeNames[0][i]) && ok;
  }
  for (int i = 0; i < 6; ++i) {
    const std::string key = "Free_" + std::to_string(i + 1);
    ok = p.writeString("BusinessCards", key, s.freeNames[1][i]) && ok;
  }
  for (int i = 0; i < 7; ++i)
    ok = p.writeString(kExpenses, "Payment" + std::to_string(i + 1), s.expenses.payment[i]) && ok;
  for (int i = 0; i < 7; ++i)
    ok = p.writeString(kExpenses, "Expense" + std::to_string(i + 1), s.expenses.expense[i]) && ok;
  ok = p.writeString(kExpenses, "AddTypes", YesNo(s.expenses.addTypes)) && ok;

  ok = SaveDuxelLinkKeys(p, s.link) && ok;
  ok = p.writeString(kDuxel, "CenterBuffer", YesNo(s.centerBuffer)) && ok;
  ok = p.writeString(kDuxel, "BufferWindow",
                     std::to_string(s.bufferX) + "," + std::to_string(s.bufferY)) &&
       ok;
  ok = p.writeString(kDuxel, "RememberWindows", YesNo(s.rememberWindows)) && ok;
  ok = p.writeString(kDuxel, "FirstOpen",
                     s.firstOpen >= 0 && s.firstOpen <= 9 ? std::to_string(s.firstOpen)
                                                          : std::string("LastActive")) &&
       ok;
  ok = s.exchange.Save(p) && ok;
  return ok;
}
