// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ExchangeColumns.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "records/CCasTime.h"

namespace {
// SQL_NTS: the bound text ends at its terminator.
constexpr long kZeroTerminated = -3;
// SQL_NULL_DATA: the driver had no value for the column.
constexpr long kNullData = -1;
}  // namespace

void ExchangeColumns::Setup(bool forExport, const std::vector<MappingPair>& used, int mergeChar) {
  Release();
  m_forExport = forExport;
  m_mergeChar = mergeChar;
  m_used = used;
  std::set<int> keys;
  for (const MappingPair& p : used) keys.insert(forExport ? p.target : p.source);
  m_keys.assign(keys.begin(), keys.end());
}

int ExchangeColumns::ColumnOfField(int field) const {
  for (const MappingPair& p : m_used) {
    if (p.source != field) continue;
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), p.target);
    return int(it - m_keys.begin());
  }
  return -1;
}

std::vector<int> ExchangeColumns::FieldsOfColumn(int column) const {
  std::vector<int> fields;
  const int key = m_keys[column];
  for (const MappingPair& p : m_used) {
    if (m_forExport && p.target == key) fields.push_back(p.source);
    if (!m_forExport && p.source == key) fields.push_back(p.target);
  }
  std::sort(fields.begin(), fields.end());
  return fields;
}

int ExchangeColumns::FieldOfColumn(int column) const {
  const auto fields = FieldsOfColumn(column);
  return fields.empty() ? -1 : fields.front();
}

void ExchangeColumns::Allocate(int column, int width) {
  if (m_buffers.size() < m_keys.size()) {
    m_buffers.resize(m_keys.size());
    m_indicators.resize(m_keys.size(), kZeroTerminated);
  }
  m_buffers[column].assign(std::size_t(std::max(width, 1)), '\0');
  m_indicators[column] = kZeroTerminated;
}

std::string ExchangeColumns::Text(int column) const {
  const std::vector<char>& b = m_buffers[column];
  const long indicator = m_indicators[column];
  if (indicator == kNullData) return {};
  std::size_t length = strnlen(b.data(), b.size());
  if (indicator >= 0 && std::size_t(indicator) < length) length = std::size_t(indicator);
  return std::string(b.data(), length);
}

void ExchangeColumns::EmptyBuffers() {
  for (auto& b : m_buffers) std::fill(b.begin(), b.end(), '\0');
  std::fill(m_indicators.begin(), m_indicators.end(), kZeroTerminated);
}

void ExchangeColumns::Release() {
  m_buffers.clear();
  m_indicators.clear();
}

void ExchangeColumns::PutFieldTexts(const std::vector<std::string>& texts) {
  EmptyBuffers();
  std::vector<std::string> columns(m_buffers.size());
  for (int field = 0; field < int(texts.size()); ++field) {
    const int column = ColumnOfField(field);
    if (column < 0 || column >= int(m_buffers.size())) continue;
    const std::string& text = texts[field];
    if (text.empty()) continue;
    std::string& out = columns[column];
    const std::size_t cap = std::size_t(std::max(BufferLength(column) - 2, 0));
    // A second text in the same column starts on a new line, when there is room for one.
    if (!out.empty()) {
      if (cap - out.size() < 2) continue;
      out += "\r\n";
    }
    for (char c : text) {
      const std::size_t room = cap - out.size();
      if (room == 0) break;
      if (c == '\r')
        out += room >= 2 ? "\r\n" : " ";
      else
        out += c;
    }
  }
  for (std::size_t i = 0; i < columns.size(); ++i)
    std::memcpy(m_buffers[i].data(), columns[i].data(), columns[i].size());
}

void ExchangeColumns::TakeColumnTexts(const std::vector<ImportField>& fields) {
  const char separator = m_mergeChar ? ' ' : '\r';
  int total = 0;
  for (int column = 0; column < Count() && column < int(m_buffers.size()); ++column) {
    if (total >= kRecordLimit) break;
    const int field = FieldOfColumn(column);
    if (field < 0 || field >= int(fields.size())) continue;
    const std::size_t cap = std::size_t(std::max(BufferLength(column) - 2, 0));
    std::string text = Text(column);
    const ImportField& target = fields[field];
    if (!target.text) {
      if (text.size() > cap) text.resize(cap);
      if (target.read) target.read(text);
      total += int(text.size());
      continue;
    }
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    if (text.size() > cap) text.resize(cap);
    // An empty column adds nothing, not even a separator.
    if (text.empty()) continue;
    std::string& value = *target.text;
    if (!value.empty()) {
      if (total + 2 > kRecordLimit) break;
      value += separator;
      total += 2;
    }
    const std::size_t room = std::size_t(kRecordLimit - total);
    if (text.size() > room) text.resize(room);
    value += text;
    total += int(text.size());
  }
  EmptyBuffers();
}

std::string ExchangeDateTime(const CCasTime& value) {
  std::string text;
  value.FormatExchange(text, false, false);
  value.FormatExchange(text, true, false);
  return text;
}

std::string ExchangePatternTime(const CCasTime& value) {
  std::string text;
  value.FormatExchange(text, false, true);
  value.FormatExchange(text, true, false);
  return text;
}

bool ReadExchangeNumbers(const std::string& text, int numbers[6]) {
  int n[6];
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]) != 6)
    return false;
  for (int i = 0; i < 6; ++i) {
    if (n[i] < 0 || n[i] > 9999) return false;
    numbers[i] = n[i];
  }
  return true;
}

int16_t ExchangeDatePart(int number) { return number > 0 ? int16_t(number) : int16_t(-1); }

std::string FormatExchangeAmount(double amount) {
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, amount, std::chars_format::general, 8);
  return std::string(text, r.ptr);
}

bool ReadExchangeAmount(const std::string& text, double& amount) {
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  if (p < end && *p == '+') ++p;
  double value = 0;
  const auto r = std::from_chars(p, end, value);
  if (r.ec != std::errc() || !std::isfinite(value)) return false;
  // Two decimals at most, cut and not rounded, from the text the amount is written as. An
  // exponent form has no decimals to cut.
  std::string written = FormatExchangeAmount(value);
  const std::size_t point = written.find('.');
  if (point != std::string::npos && written.find('e') == std::string::npos &&
      written.size() - point - 1 > 2) {
    written.resize(point + 3);
    std::from_chars(written.data(), written.data() + written.size(), value);
  }
  amount = value;
  return true;
}
