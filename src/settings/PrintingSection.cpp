// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PrintingSection.h"

#include "settings/LinkSettings.h"
#include "settings/Profile.h"

namespace {
constexpr const char* kSection = "Printing";

double ReadMargin(const Profile& profile, const char* key, double fallback) {
  std::string text;
  if (!profile.readString(kSection, key, text)) return fallback;
  // Margins are stored with a full stop whatever the locale.
  double value = 0;
  const char* p = text.c_str();
  while (*p == ' ') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  bool digits = false;
  while (*p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0'), digits = true;
  if (*p == '.') {
    double scale = 0.1;
    for (++p; *p >= '0' && *p <= '9'; ++p, scale /= 10) value += (*p - '0') * scale, digits = true;
  }
  if (!digits) return fallback;
  if (negative) value = -value;
  return value >= 0.0 && value <= 10.0 ? value : fallback;
}
}  // namespace

PrintSettings LoadPrintSettings(const Profile& profile) {
  PrintSettings s;
  s.font.face = profile.getString(kSection, "FontName", s.font.face).substr(0, 32);
  const int charset = profile.getInt(kSection, "CharSet", s.font.charset);
  s.font.charset = charset >= 0 && charset <= 255 ? charset : 1;
  s.font.size = profile.getInt(kSection, "FontSize", s.font.size);
  if (s.font.size < 0) s.font.size = 0;
  s.bold = OnlyIfYes(profile.getString(kSection, "Bold", "no"));
  s.italic = OnlyIfYes(profile.getString(kSection, "Italic", "no"));
  s.printCaption = OnUnlessNo(profile.getString(kSection, "PrintCaption", "yes"));
  s.printEmptyEntries = OnlyIfYes(profile.getString(kSection, "PrintEmptyEntries", "no"));
  s.allowBreak = OnlyIfYes(profile.getString(kSection, "AllowBreak", "no"));
  s.left = ReadMargin(profile, "Left", 1.5);
  s.right = ReadMargin(profile, "Right", 1.5);
  s.top = ReadMargin(profile, "Top", 1.5);
  s.bottom = ReadMargin(profile, "Bottom", 1.5);
  return s;
}
