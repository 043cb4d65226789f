// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test fixtures are written out byte by byte; these build them from readable pieces.
using Bytes = std::vector<uint8_t>;

// "FF FF 00 00" -> bytes; blanks and line breaks are ignored.
inline Bytes H(const std::string& hex) {
  Bytes out;
  int hi = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else continue;
    if (hi < 0) {
      hi = v;
    } else {
      out.push_back(uint8_t(hi * 16 + v));
      hi = -1;
    }
  }
  return out;
}

// The bytes of a text as they are, without a terminator.
inline Bytes A(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A new-class tag of the object stream: FF FF, schema 0, the name's length as a word, the name.
inline Bytes NewClass(const std::string& name) {
  return H("FF FF 00 00") + Bytes{uint8_t(name.size()), 0} + A(name);
}
