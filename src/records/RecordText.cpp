// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by the record kinds: search, print-line splitting, row layout.
#include <cstdarg>
#include <cstdio>

#include "records/CCasioPol.h"
#include "records/Cp1250.h"

namespace {

// Whole words are delimited by anything that is not an ASCII letter or digit, so Czech
// letters count as delimiters, as they always have.
bool IsAsciiWordChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool FindInText(const std::string& text, const std::string& pattern, bool matchCase,
                bool wholeWord) {
  const std::string searched = matchCase ? text : UpperCp1250(text);
  // Only the first occurrence is looked at; a whole-word test that fails there does not
  // go on to later occurrences.
  const std::size_t pos = searched.find(pattern);
  if (pos == std::string::npos) return false;
  if (!wholeWord) return true;
  if (pos > 0 && IsAsciiWordChar(searched[pos - 1])) return false;
  const std::size_t after = pos + pattern.size();
  if (after < searched.size() && IsAsciiWordChar(searched[after])) return false;
  return true;
}

void AddPrintText(PrintLines& lines, uint16_t label, const std::string& text, int width) {
  auto add = [&](std::string line) {
    lines.labels.push_back(label);
    lines.texts.push_back(std::move(line));
    label = kContinuationLabel;  // only the first line of a text carries its label
  };
  if (text.empty()) {
    add(std::string());
    return;
  }
  // A width of 0 or less cannot limit anything; only a CR breaks the text then.
  const std::size_t limit = width > 0 ? static_cast<std::size_t>(width) : text.size();
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      // The CR ends the line and is dropped; an LF after it opens the next line.
      add(std::move(line));
      line.clear();
      continue;
    }
    line.push_back(c);
    if (line.size() == limit || i + 1 == text.size()) {
      add(std::move(line));
      line.clear();
    }
  }
}

std::string CutAtControl(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) < 0x20) return text.substr(0, i);
  return text;
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string result;
  if (needed > 0) {
    result.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(result.data(), result.size(), fmt, args);
    result.resize(static_cast<std::size_t>(needed));
  }
  va_end(args);
  return result;
}

int RowCursor::Text(const std::string& text, RowColour colour) {
  m_painter.DrawText(m_x, m_y, text, m_selected ? RowColour::Highlight : colour);
  m_lastWidth = m_painter.TextWidth(text);
  m_x += m_lastWidth;
  return m_lastWidth;
}

void RowCursor::AlarmBitmap() { m_x += m_painter.DrawAlarmBitmap(m_x, m_y); }
