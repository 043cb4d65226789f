// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/VCardFormat.h"

#include <algorithm>
#include <cctype>

#include "interchange/InterchangeText.h"
#include "records/Cp1250.h"

namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = char(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

bool IsQuotedPrintable(const std::string& text) {
  const size_t colon = text.find(':');
  return colon != std::string::npos &&
         Upper(std::string_view(text).substr(0, colon)).find("QUOTED-PRINTABLE") !=
             std::string::npos;
}

// Physical lines (CR LF, LF or a lone CR) joined into content lines: a line that starts with
// a blank or a tab continues the one before (RFC folding); a quoted-printable value ending
// in "=" goes on in the next line (2.1 soft line breaks).
}  // namespace

std::vector<LogicalLine> UnfoldLines(std::string_view text) {
  std::vector<LogicalLine> lines;
  int number = 0;
  size_t pos = 0;
  bool softBreak = false;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view physical = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
      ++pos;
    else if (end < text.size() && text[end] == '\n')
      ++pos;
    ++number;
    if (softBreak && !lines.empty()) {
      lines.back().text.pop_back();  // the "="
      lines.back().text += physical;
    } else if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && !lines.empty()) {
      lines.back().text += physical.substr(1);
    } else {
      lines.push_back({std::string(physical), number});
    }
    softBreak = !lines.empty() && !lines.back().text.empty() && lines.back().text.back() == '=' &&
                IsQuotedPrintable(lines.back().text);
  }
  return lines;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool DecodeQuotedPrintable(const std::string& in, std::string& out) {
  out.clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '=') {
      out += in[i];
      continue;
    }
    if (i + 1 == in.size()) break;  // a final soft break
    if (i + 2 >= in.size()) return false;
    const int hi = HexDigit(in[i + 1]), lo = HexDigit(in[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += char(hi * 16 + lo);
    i += 2;
  }
  return true;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }

}  // namespace

// Splits "group.NAME;P=a,b;Q="x:y":value".
VProperty ParseContentLine(const std::string& text, int line, std::string& fault) {
  VProperty p;
  p.line = line;
  size_t i = 0;
  std::string name;
  while (i < text.size() && (IsNameChar(text[i]) || text[i] == '.')) name += text[i++];
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
  if (name.empty()) {
    fault = "a content line must begin with a property name";
    return p;
  }
  p.name = Upper(name);
  while (i < text.size() && text[i] == ';') {
    ++i;
    VParam param;
    std::string pname;
    while (i < text.size() && IsNameChar(text[i])) pname += text[i++];
    if (pname.empty()) {
      fault = "a parameter of " + p.name + " has no name";
      return p;
    }
    if (i < text.size() && text[i] == '=') {
      param.name = Upper(pname);
      ++i;
      for (;;) {
        std::string value;
        if (i < text.size() && text[i] == '"') {
          const size_t close = text.find('"', i + 1);
          if (close == std::string::npos) {
            fault = "a quoted parameter value of " + p.name + " is not closed";
            return p;
          }
          value = text.substr(i + 1, close - i - 1);
          i = close + 1;
        } else {
          while (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != ':')
            value += text[i++];
        }
        param.values.push_back(value);
        if (i < text.size() && text[i] == ',') {
          ++i;
          continue;
        }
        break;
      }
    } else {
      // vCard 2.1 names a type without "TYPE=" (TEL;CELL;VOICE:...).
      const std::string bare = Upper(pname);
      if (bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "8BIT" || bare == "7BIT") {
        param.name = "ENCODING";
      } else {
        param.name = "TYPE";
      }
      param.values.push_back(bare);
    }
    p.params.push_back(std::move(param));
  }
  if (i >= text.size() || text[i] != ':') {
    fault = "the content line of " + p.name + " has no \":\" before its value";
    return p;
  }
  p.value = text.substr(i + 1);
  return p;
}

namespace {

// Decodes the value's transfer encoding and charset into UTF-8.
bool DecodeValue(VProperty& p, std::string& fault) {
  std::string encoding, charset;
  if (const VParam* e = p.Param("ENCODING"); e && !e->values.empty())
    encoding = Upper(e->values[0]);
  if (const VParam* c = p.Param("CHARSET"); c && !c->values.empty()) charset = Upper(c->values[0]);
  if (encoding == "B" || encoding == "BASE64") {
    p.binary = true;
    p.value.clear();
    return true;
  }
  if (encoding == "QUOTED-PRINTABLE") {
    std::string decoded;
    if (!DecodeQuotedPrintable(p.value, decoded)) {
      fault = "the quoted-printable value of " + p.name + " is broken";
      return false;
    }
    p.value = decoded;
  }
  if (charset.empty() || charset == "UTF-8" || charset == "US-ASCII") return true;
  if (charset == "ISO-8859-1" || charset == "LATIN1") {
    p.value = Utf8FromLatin1(p.value);
  } else if (charset == "WINDOWS-1250" || charset == "CP1250") {
    p.value = Utf8FromCp1250(p.value);
  } else {
    fault = "the charset " + charset + " of " + p.name +
            " is not supported (UTF-8, ISO-8859-1 and WINDOWS-1250 are)";
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> VProperty::Types() const {
  std::vector<std::string> types;
  for (const VParam& p : params) {
    if (p.name != "TYPE") continue;
    for (const std::string& v : p.values) {
      // "TYPE=work,voice" and "TYPE=\"work,voice\"" both list two types.
      size_t start = 0;
      for (;;) {
        const size_t comma = v.find(',', start);
        types.push_back(Upper(v.substr(start, comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    }
  }
  return types;
}

bool VProperty::HasType(const std::string& type) const {
  const auto types = Types();
  return std::find(types.begin(), types.end(), type) != types.end();
}

const VParam* VProperty::Param(const std::string& name) const {
  for (const VParam& p : params)
    if (p.name == name) return &p;
  return nullptr;
}

VCardParse ParseVCards(std::string_view text) {
  VCardParse result;
  const auto fail = [&](int line, std::string message) {
    result.cards.clear();
    result.errorLine = line;
    result.error = std::move(message);
    return result;
  };
  bool inCard = false;
  for (const LogicalLine& logical : UnfoldLines(text)) {
    if (logical.text.find_first_not_of(" \t") == std::string::npos) continue;
    std::string fault;
    VProperty p = ParseContentLine(logical.text, logical.line, fault);
    if (!fault.empty()) return fail(logical.line, fault);
    const std::string value = Upper(p.value);
    if (p.name == "BEGIN") {
      if (value != "VCARD") return fail(logical.line, "BEGIN:" + p.value + " is not a vCard");
      if (inCard) return fail(logical.line, "a vCard begins inside another one");
      inCard = true;
      result.cards.push_back({});
      result.cards.back().line = logical.line;
      continue;
    }
    if (!inCard) return fail(logical.line, p.name + " stands outside BEGIN:VCARD ... END:VCARD");
    if (p.name == "END") {
      if (value != "VCARD") return fail(logical.line, "END:" + p.value + " does not end a vCard");
      inCard = false;
      continue;
    }
    if (!DecodeValue(p, fault)) return fail(logical.line, fault);
    if (p.name == "VERSION") {
      result.cards.back().version = p.value;
      continue;
    }
    result.cards.back().properties.push_back(std::move(p));
  }
  if (inCard) {
    const int begin = result.cards.back().line;
    return fail(begin, "the vCard begun here has no END:VCARD");
  }
  if (result.cards.empty()) return fail(1, "the file holds no vCard (no BEGIN:VCARD)");
  return result;
}

std::string UnescapeText(std::string_view raw) {
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      const char n = raw[++i];
      out += (n == 'n' || n == 'N') ? '\n' : n;
    } else {
      out += raw[i];
    }
  }
  return out;
}

std::vector<std::string> SplitComponents(std::string_view raw, char separator) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      current += raw[i];
      current += raw[++i];
    } else if (raw[i] == separator) {
      parts.push_back(UnescapeText(current));
      current.clear();
    } else {
      current += raw[i];
    }
  }
  parts.push_back(UnescapeText(current));
  return parts;
}

std::string EscapeText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case ',':
        out += "\\,";
        break;
      case ';':
        out += "\\;";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FoldLine(std::string_view line) {
  std::string out;
  size_t pos = 0;
  size_t room = 75;  // the first line; continuation lines spend one octet on the blank
  while (line.size() - pos > room) {
    size_t cut = pos + room;
    // Never split a UTF-8 sequence: back up to the start of the character.
    while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    out.append(line.substr(pos, cut - pos));
    out += "\r\n ";
    pos = cut;
    room = 74;
  }
  out.append(line.substr(pos));
  out += "\r\n";
  return out;
}
