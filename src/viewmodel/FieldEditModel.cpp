// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/FieldEditModel.h"

#include <algorithm>

namespace {
constexpr char kCR = '\r';
constexpr char kLF = '\n';
const std::string kLineBreak = "\xB6\r\n";

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }
}  // namespace

// --- The text ---------------------------------------------------------------------------

void FieldEditModel::SetText(std::string encoded) {
  m_text = std::move(encoded);
  m_selStart = m_selEnd = 0;
  m_deleteFlag = false;
}

void FieldEditModel::Clear() { SetText({}); }

std::string FieldEditModel::EncodeField(const std::string& plain) {
  std::string out;
  out.reserve(plain.size() + 8);
  for (char c : plain) {
    if (c == kCR) {
      out += kLineBreak;
    } else if (c == ' ') {
      out += kSpace;
    } else if (static_cast<unsigned char>(c) < 0x21) {
      // LF, TAB and control bytes have no place in a diary field.
    } else if (c == kFieldEnd) {
      // A field end inside a field would split it in two and shift every later field
      // when the record is stored back; it becomes a space, as a pasted one does.
      out += kSpace;
    } else if (c == kLineMark) {
      // Without its line break it would be taken for one, and get field drops it anyway.
    } else {
      out += c;
    }
  }
  return out;
}

void FieldEditModel::AppendField(const std::string& plain) {
  if (!m_text.empty()) m_text += "\r\n";
  m_text += EncodeField(plain);
  m_text += kFieldEnd;
  m_selStart = m_selEnd = static_cast<int>(m_text.size());
}

void FieldEditModel::SetFields(const std::vector<std::string>& plain) {
  Clear();
  for (const std::string& field : plain) AppendField(field);
}

std::string FieldEditModel::GetField(int index) const {
  if (index < 0) return {};
  std::size_t start = 0;
  for (int k = 0; k < index; ++k) {
    const std::size_t end = m_text.find(kFieldEnd, start);
    if (end == std::string::npos) return {};
    start = end + 1;
    // The CR that opens the next field.
    if (start < m_text.size() && m_text[start] == kCR) ++start;
  }
  std::size_t end = m_text.find(kFieldEnd, start);
  if (end == std::string::npos) end = m_text.size();
  std::string out;
  out.reserve(end - start);
  for (std::size_t i = start; i < end; ++i) {
    const char c = m_text[i];
    if (c == kLineMark || c == kLF) continue;
    out += c == kSpace ? ' ' : c;
  }
  return out;
}

int FieldEditModel::FieldCount() const {
  return static_cast<int>(std::count(m_text.begin(), m_text.end(), kFieldEnd));
}

// --- Counting ---------------------------------------------------------------------------

int FieldEditModel::CountChars(std::string_view encoded) {
  int n = 0;
  for (char c : encoded)
    if (c != kFieldEnd && c != kCR && c != kLF) ++n;
  return n;
}

// --- Selection --------------------------------------------------------------------------

void FieldEditModel::SetSelection(int anchor, int caret) {
  const int size = static_cast<int>(m_text.size());
  auto fix = [&](int o) {
    o = std::clamp(o, 0, size);
    // Never between the CR and the LF of one line break.
    if (o > 0 && o < size && m_text[o - 1] == kCR && m_text[o] == kLF) ++o;
    return o;
  };
  anchor = fix(anchor);
  caret = fix(caret);
  m_selStart = std::min(anchor, caret);
  m_selEnd = std::max(anchor, caret);
}

std::string FieldEditModel::SelectedText() const {
  return m_text.substr(m_selStart, m_selEnd - m_selStart);
}

char FieldEditModel::At(int offset) const {
  return offset >= 0 && offset < static_cast<int>(m_text.size()) ? m_text[offset] : '\0';
}

// --- Editing ----------------------------------------------------------------------------

FieldEditModel::Change FieldEditModel::Replace(int from, int to, std::string bytes) {
  Change change;
  change.edited = true;
  change.from = from;
  change.to = to;
  m_text.replace(from, to - from, bytes);
  m_selStart = m_selEnd = from + static_cast<int>(bytes.size());
  change.inserted = std::move(bytes);
  change.selStart = m_selStart;
  change.selEnd = m_selEnd;
  return change;
}

FieldEditModel::Change FieldEditModel::Refuse(int selStart, int selEnd) {
  m_selStart = selStart;
  m_selEnd = selEnd;
  Change change;
  change.beep = true;
  change.selStart = selStart;
  change.selEnd = selEnd;
  return change;
}

FieldEditModel::Change FieldEditModel::Type(char c, bool overwrite) {
  if (c == kBackspace) return Delete(false);
  if (c == kDelete) {
    // Only the view's Delete command sends it, with the flag set.
    if (!m_deleteFlag) return Change{false, false, 0, 0, {}, m_selStart, m_selEnd};
    m_deleteFlag = false;
    return Delete(true);
  }
  if (c == kFieldEnd || c == kLineMark || (IsControl(c) && c != kEnter))
    return Change{false, false, 0, 0, {}, m_selStart, m_selEnd};
  return Insert(c, overwrite);
}

FieldEditModel::Change FieldEditModel::DeleteForward() {
  SetDeleteFlag();
  return Type(kDelete);
}

FieldEditModel::Change FieldEditModel::Delete(bool forward) {
  const int size = static_cast<int>(m_text.size());
  const Change nothing{false, false, 0, 0, {}, m_selStart, m_selEnd};
  int s = m_selStart;
  int e = m_selEnd;
  if (forward && s == e) {
    const char before = At(s - 1);
    if (before == kFieldEnd) return Refuse(s - 1, s - 1);
    // After a line mark the caret stands at the end of its line: the rules below take
    // the line break after it. Elsewhere the byte after the caret goes.
    if (before != kLineMark) {
      if (s >= size) return nothing;
      s = e = s + 1;
    }
  }
  if (e == 0) return nothing;
  const char before = At(s - 1);
  if (before == kFieldEnd) return Refuse(s - 1, s - 1);
  if (before == kLineMark) {
    --s;
    e = std::min(size, std::max(e, s + 3));
  } else if (before == kLF && s == e) {
    s = std::max(0, s - 3);  // the whole line break
  }
  if (s == e) --s;  // the byte before the caret
  const char last = At(e - 1);
  if (last == kFieldEnd) return Refuse(m_selStart, m_selEnd);
  if (last == kLineMark) e = std::min(size, e + 2);
  if (std::find(m_text.begin() + s, m_text.begin() + e, kFieldEnd) != m_text.begin() + e)
    return Refuse(m_selStart, m_selEnd);
  return Replace(s, e, {});
}

bool FieldEditModel::WidenForReplace(int& s, int& e) const {
  const int size = static_cast<int>(m_text.size());
  if (At(s - 1) == kFieldEnd || At(e - 1) == kFieldEnd) return false;
  if (std::find(m_text.begin() + s, m_text.begin() + e, kFieldEnd) != m_text.begin() + e)
    return false;
  if (At(s - 1) == kLineMark) {
    --s;
    e = std::min(size, std::max(e, s + 3));
  }
  if (At(e - 1) == kLineMark) e = std::min(size, e + 2);
  return true;
}

FieldEditModel::Change FieldEditModel::Insert(char c, bool overwrite) {
  std::string bytes;
  if (c == kEnter)
    bytes = kLineBreak;
  else
    bytes.assign(1, c == ' ' ? kSpace : c);
  int s = m_selStart;
  int e = m_selEnd;
  if (s == e) {
    if (FreeChars() <= 0) return Refuse(s, e);
    // At the end of a line or field the character joins that line or field.
    const char before = At(s - 1);
    if (before == kLineMark || before == kFieldEnd) s = e = s - 1;
    const char at = At(s);
    if (overwrite && s < static_cast<int>(m_text.size()) && at != kLineMark && at != kFieldEnd &&
        at != kCR && at != kLF)
      e = s + 1;
    return Replace(s, e, std::move(bytes));
  }
  if (!WidenForReplace(s, e)) return Refuse(m_selStart, m_selEnd);
  // Replacing a selection never takes more room than it frees (Enter over a lone line mark
  // being the one case to check).
  if (CountChars(bytes) > FreeChars() + CountChars(std::string_view(m_text).substr(s, e - s)))
    return Refuse(m_selStart, m_selEnd);
  return Replace(s, e, std::move(bytes));
}

FieldEditModel::Change FieldEditModel::Paste(const std::string& clipboardText) {
  const std::string text = ConvertForPaste(clipboardText);
  int s = m_selStart;
  int e = m_selEnd;
  if (s == e) {
    const char before = At(s - 1);
    if (before == kLineMark || before == kFieldEnd) s = e = s - 1;
  } else if (!WidenForReplace(s, e)) {
    return Refuse(m_selStart, m_selEnd);
  }
  if (CountChars(text) > FreeChars() + CountChars(std::string_view(m_text).substr(s, e - s)))
    return Refuse(m_selStart, m_selEnd);
  if (text.empty() && s == e) return Change{false, false, 0, 0, {}, m_selStart, m_selEnd};
  return Replace(s, e, text);
}

FieldEditModel::Change FieldEditModel::Cut() {
  if (!HasSelection()) return Change{false, false, 0, 0, {}, m_selStart, m_selEnd};
  return Delete(false);
}

// --- Clipboard text ---------------------------------------------------------------------

std::string FieldEditModel::ConvertForPaste(const std::string& plain) {
  std::string out;
  out.reserve(plain.size() + plain.size() / 8);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const char c = plain[i];
    if (c == kCR) {
      out += kLineBreak;
      if (i + 1 < plain.size() && plain[i + 1] == kLF) ++i;
    } else if (c == kLF) {
      out += kLineBreak;
    } else if (c == ' ' || c == '\t' || c == kFieldEnd) {
      out += kSpace;
    } else if (c == kLineMark || IsControl(c) || c == '\x7F') {
      // A line mark only stands before a line break, which the rule above writes.
    } else {
      out += c;
    }
  }
  return out;
}

std::string FieldEditModel::ConvertForCopy(const std::string& encoded) {
  std::string out;
  out.reserve(encoded.size());
  for (char c : encoded) {
    if (c == kLineMark || c == kFieldEnd) continue;
    out += c == kSpace ? ' ' : c;
  }
  return out;
}

// --- Enabling ---------------------------------------------------------------------------

namespace {
bool ProtectedRangeOk(const std::string& text, int s, int e) {
  e = std::min<int>(e, static_cast<int>(text.size()));
  if (std::find(text.begin() + s, text.begin() + e, FieldEditModel::kFieldEnd) !=
      text.begin() + e)
    return false;
  if (s > 0 && (text[s - 1] == FieldEditModel::kLineMark ||
                text[s - 1] == FieldEditModel::kFieldEnd))
    return false;
  return true;
}
}  // namespace

bool FieldEditModel::CanDelete() const {
  return ProtectedRangeOk(m_text, m_selStart, HasSelection() ? m_selEnd : m_selStart + 1);
}

bool FieldEditModel::CanCut() const {
  return HasSelection() && ProtectedRangeOk(m_text, m_selStart, m_selEnd);
}

bool FieldEditModel::CanPaste(const std::string& clipboardText) const {
  if (ConvertForPaste(clipboardText).empty()) return false;
  FieldEditModel trial(*this);
  return !trial.Paste(clipboardText).beep;
}

// --- Lines and captions -----------------------------------------------------------------

int FieldEditModel::LineCount(std::string_view encoded) {
  int lines = 1;
  for (std::size_t i = 1; i < encoded.size(); ++i)
    if (encoded[i] == kLF && encoded[i - 1] == kCR) ++lines;
  return lines;
}

std::vector<std::string> FieldEditModel::CaptionLines(std::string_view encoded,
                                                      const std::vector<std::string>& captions) {
  std::vector<std::string> lines(1, captions.empty() ? std::string() : captions[0]);
  std::size_t next = 1;
  int line = 0;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == kLF && i > 0 && encoded[i - 1] == kCR) {
      ++line;
    } else if (c == kFieldEnd) {
      // The next caption stands on the line where the next field starts.
      do lines.emplace_back();
      while (static_cast<int>(lines.size()) - 1 < line + 1);
      if (next < captions.size()) lines.back() = captions[next];
      ++next;
    }
  }
  // As many lines as the edit, so that both scroll alike.
  const std::size_t editLines = static_cast<std::size_t>(LineCount(encoded));
  while (lines.size() > editLines && lines.back().empty()) lines.pop_back();
  if (lines.size() < editLines) lines.resize(editLines);
  return lines;
}

bool FieldEditModel::IsWellFormed(std::string_view encoded) {
  const std::size_t n = encoded.size();
  auto breakAt = [&](std::size_t i) { return i + 1 < n && encoded[i] == kCR && encoded[i + 1] == kLF; };
  for (std::size_t i = 0; i < n; ++i) {
    const char c = encoded[i];
    if (c == kLineMark && !breakAt(i + 1)) return false;
    if (c == kFieldEnd && i + 1 != n && !breakAt(i + 1)) return false;
    if (c == kCR && (!breakAt(i) || i == 0 ||
                     (encoded[i - 1] != kLineMark && encoded[i - 1] != kFieldEnd)))
      return false;
    if (c == kLF && (i == 0 || encoded[i - 1] != kCR)) return false;
    if (c == ' ' || (IsControl(c) && c != kCR && c != kLF)) return false;
  }
  return true;
}

// --- Positions --------------------------------------------------------------------------

int FieldEditModel::PositionOf(std::string_view encoded, int offset) {
  offset = std::clamp(offset, 0, static_cast<int>(encoded.size()));
  int position = offset;
  for (int i = 1; i < offset; ++i)
    if (encoded[i] == kLF && encoded[i - 1] == kCR) --position;
  return position;
}

int FieldEditModel::OffsetOf(std::string_view encoded, int position) {
  const int size = static_cast<int>(encoded.size());
  int i = 0;
  for (int p = 0; i < size && p < position; ++p)
    i += (encoded[i] == kCR && i + 1 < size && encoded[i + 1] == kLF) ? 2 : 1;
  return i;
}
