// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The content lines of vCard files (RFC 2426 for 3.0, RFC 6350 for 4.0, and the 2.1 that old
// phones still write): unfolding, parameters, quoted-printable and charsets on reading;
// escaping and folding at 75 octets on writing.

struct VParam {
  std::string name;                 // upper case
  std::vector<std::string> values;  // as written, quotes removed
};

struct VProperty {
  std::string name;  // upper case, group prefix removed
  std::vector<VParam> params;
  std::string value;    // UTF-8, still escaped (decoded from quoted-printable and its charset)
  bool binary = false;  // ENCODING=B/BASE64: no text to place
  int line = 0;         // where the content line starts in the file

  // Every TYPE value, upper case, from TYPE= and from 2.1's bare parameters.
  std::vector<std::string> Types() const;
  bool HasType(const std::string& type) const;
  const VParam* Param(const std::string& name) const;
};

struct VCardEntity {
  int line = 0;  // the BEGIN:VCARD line
  std::string version;
  std::vector<VProperty> properties;
};

struct VCardParse {
  std::vector<VCardEntity> cards;
  int errorLine = 0;  // 0: the file read
  std::string error;
  bool ok() const { return errorLine == 0; }
};

struct LogicalLine {
  std::string text;
  int line = 0;  // where it starts in the file, from 1
};
// The content lines of a file with their folding undone (also iCalendar's).
std::vector<LogicalLine> UnfoldLines(std::string_view text);
// Splits one content line into name, parameters and value; `fault` tells what is wrong.
VProperty ParseContentLine(const std::string& text, int line, std::string& fault);

// Reads every vCard of a file. A file that is not a sequence of well-formed vCards gives the
// line of the first fault and no cards.
VCardParse ParseVCards(std::string_view text);

// Text values: "\\n" to LF, "\\," ";" "\\\\" to themselves.
std::string UnescapeText(std::string_view raw);
// The components of a structured value split at unescaped `separator`, each unescaped.
std::vector<std::string> SplitComponents(std::string_view raw, char separator);
// Escapes backslash, comma, semicolon and line breaks for a text value.
std::string EscapeText(std::string_view text);

// One content line, folded so that no line exceeds 75 octets (never inside a UTF-8
// sequence), each ended with CR LF.
std::string FoldLine(std::string_view line);
