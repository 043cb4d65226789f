// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/InterchangeText.h"

#include "records/Cp1250.h"

namespace {

// The letter each character of Latin-1 (from U+00C0) and Latin Extended-A stands on, for the
// characters Windows-1250 does not hold; '\0' where two letters are meant.
constexpr char kLatin1Base[64 + 1] =
    "AAAAAA\0CEEEEIIIIDNOOOOOxOUUUUY\0\0aaaaaa\0ceeeeiiiidnooooo/ouuuuy\0y";
constexpr char kLatinABase[128 + 1] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiJjJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSs"
    "SsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof(kLatin1Base) == 65 && sizeof(kLatinABase) == 129);

// One code point as Windows-1250 bytes: exact, nearest letter(s), or '?'.
std::string Cp1250Char(char32_t cp, int& replaced) {
  if (cp < 0x80) return std::string(1, char(cp));
  for (int b = 0x80; b < 0x100; ++b)
    if (UnicodeFromCp1250(static_cast<unsigned char>(b)) == cp) return std::string(1, char(b));
  ++replaced;
  if (cp >= 0xC0 && cp < 0x100) {
    const char c = kLatin1Base[cp - 0xC0];
    if (c) return std::string(1, c);
    switch (cp) {
      case 0xC6:
        return "AE";
      case 0xE6:
        return "ae";
      case 0xDE:
        return "Th";
      case 0xFE:
        return "th";
      default:
        return "ss";
    }
  }
  if (cp >= 0x100 && cp < 0x180) {
    if (cp == 0x132) return "IJ";
    if (cp == 0x133) return "ij";
    if (cp == 0x152) return "OE";
    if (cp == 0x153) return "oe";
    return std::string(1, kLatinABase[cp - 0x100]);
  }
  if (cp == 0x2010 || cp == 0x2011 || cp == 0x2012 || cp == 0x2212) return "-";
  if (cp == 0x2032) return "'";
  return "?";
}

// Decodes one UTF-8 sequence at `i`; false when malformed.
bool NextCodePoint(const std::string& s, size_t& i, char32_t& cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  int len = 0;
  if (c < 0x80) {
    cp = c;
    len = 1;
  } else if (c >= 0xC2 && c < 0xE0) {
    cp = c & 0x1F;
    len = 2;
  } else if (c >= 0xE0 && c < 0xF0) {
    cp = c & 0x0F;
    len = 3;
  } else if (c >= 0xF0 && c < 0xF5) {
    cp = c & 0x07;
    len = 4;
  } else
    return false;
  if (i + len > s.size()) return false;
  for (int k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
      (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
    return false;
  i += len;
  return true;
}

}  // namespace

bool IsUtf8(const std::string& text) {
  char32_t cp;
  for (size_t i = 0; i < text.size();)
    if (!NextCodePoint(text, i, cp)) return false;
  return true;
}

std::string Utf8Text(const std::string& cp1250) {
  std::string lf;
  for (size_t i = 0; i < cp1250.size(); ++i) {
    if (cp1250[i] == '\r') {
      lf += '\n';
      if (i + 1 < cp1250.size() && cp1250[i + 1] == '\n') ++i;
    } else {
      lf += cp1250[i];
    }
  }
  return Utf8FromCp1250(lf);
}

std::string RecordText(const std::string& utf8, int& replaced) {
  std::string out;
  if (!IsUtf8(utf8)) {
    out = utf8;
  } else {
    char32_t cp;
    for (size_t i = 0; i < utf8.size();) {
      NextCodePoint(utf8, i, cp);
      out += Cp1250Char(cp, replaced);
    }
  }
  std::string cr;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') continue;
    cr += out[i] == '\n' ? '\r' : out[i];
  }
  return cr;
}

std::string Utf8FromLatin1(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string WithoutByteOrderMark(const std::string& bytes) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return bytes.substr(3);
  if (bytes.size() < 2 || !((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF)))
    return bytes;
  const bool little = at(0) == 0xFF;
  std::string out;
  const auto put = [&](char32_t cp) {
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  };
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    char32_t unit = little ? at(i) | (at(i + 1) << 8) : (at(i) << 8) | at(i + 1);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = little ? at(i + 2) | (at(i + 3) << 8) : (at(i + 2) << 8) | at(i + 3);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    put(unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);  // a lone surrogate
  }
  return out;
}
