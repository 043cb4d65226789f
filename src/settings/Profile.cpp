// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Profile.h"

#include <climits>

bool ParseProfileInt(const std::string& text, int& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (i == digits) return false;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return false;
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

bool Profile::readInt(const std::string& section, const std::string& key, int& value) const {
  std::string text;
  if (!readString(section, key, text)) return false;
  return ParseProfileInt(text, value);
}

bool Profile::writeInt(const std::string& section, const std::string& key, int value) {
  return writeString(section, key, std::to_string(value));
}

std::string Profile::getString(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
  std::string text;
  return readString(section, key, text) ? text : fallback;
}

int Profile::getInt(const std::string& section, const std::string& key, int fallback) const {
  int value = 0;
  return readInt(section, key, value) ? value : fallback;
}
