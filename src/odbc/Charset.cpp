// SPDX-License-Identifier: GPL-3.0-or-later
#include "Charset.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>

namespace {

const char* IconvName(Charset charset) { return charset == Charset::Ansi ? "CP1250" : "UTF-8"; }

// SQLWCHAR units are in the machine's byte order.
const char* const kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Opening a conversion costs far more than converting one short field, and a table is
// converted field by field: keep the few descriptors in use open for the thread.
iconv_t Descriptor(const char* to, const char* from) {
  struct Entry {
    const char* to;
    const char* from;
    iconv_t cd;
  };
  thread_local Entry cache[4] = {};
  for (Entry& e : cache) {
    if (e.to && std::strcmp(e.to, to) == 0 && std::strcmp(e.from, from) == 0) {
      iconv(e.cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
      return e.cd;
    }
  }
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return cd;
  for (Entry& e : cache) {
    if (!e.to) {
      e = {to, from, cd};
      return cd;
    }
  }
  return cd;  // never reached with the four pairs this file uses
}

// Runs one whole conversion; nothing on any invalid or unconvertible sequence. glibc's CP1250
// refuses the five unassigned bytes, so one conversion serves for checking too.
std::optional<std::string> Convert(const char* to, const char* from, const char* data,
                                   size_t size) {
  iconv_t cd = Descriptor(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(size * 4 + 8, '\0');
  char* in = const_cast<char*>(data);
  size_t inLeft = size;
  char* outPtr = out.data();
  size_t outLeft = out.size();
  bool ok = true;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      if (errno == E2BIG) {
        size_t used = out.size() - outLeft;
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
        continue;
      }
      ok = false;
      break;
    }
  }
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<Charset> CharsetFromName(std::string_view name) {
  std::string upper;
  for (char c : name) upper += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
  if (upper == "ANSI") return Charset::Ansi;
  if (upper == "UTF8" || upper == "UTF-8") return Charset::Utf8;
  return std::nullopt;
}

const char* CharsetName(Charset charset) { return charset == Charset::Ansi ? "ANSI" : "UTF8"; }

bool IsValidText(std::string_view text, Charset charset) {
  if (text.find('\0') != std::string_view::npos) return false;
  bool ascii = true;
  for (unsigned char c : text) {
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return true;
  if (charset == Charset::Ansi) {
    for (unsigned char c : text) {
      if (c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98) return false;
    }
    return true;
  }
  return Convert(kUtf16, IconvName(charset), text.data(), text.size()).has_value();
}

std::optional<std::u16string> Utf16FromText(std::string_view text, Charset charset) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  auto bytes = Convert(kUtf16, IconvName(charset), text.data(), text.size());
  if (!bytes) return std::nullopt;
  std::u16string units(bytes->size() / 2, u'\0');
  std::memcpy(units.data(), bytes->data(), units.size() * 2);
  return units;
}

std::optional<std::string> TextFromUtf16(std::u16string_view units, Charset charset) {
  auto text = Convert(IconvName(charset), kUtf16, reinterpret_cast<const char*>(units.data()),
                      units.size() * 2);
  if (!text || text->find('\0') != std::string::npos) return std::nullopt;
  return text;
}
