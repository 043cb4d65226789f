// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/MemoryProfile.h"

#include <algorithm>

const MemoryProfile::Section* MemoryProfile::find(const std::string& section) const {
  for (const Section& s : m_sections)
    if (s.name == section) return &s;
  return nullptr;
}

MemoryProfile::Section* MemoryProfile::find(const std::string& section) {
  for (Section& s : m_sections)
    if (s.name == section) return &s;
  return nullptr;
}

bool MemoryProfile::readString(const std::string& section, const std::string& key,
                               std::string& value) const {
  const Section* s = find(section);
  if (!s) return false;
  for (const auto& [name, text] : s->values) {
    if (name == key) {
      value = text;
      return true;
    }
  }
  return false;
}

bool MemoryProfile::writeString(const std::string& section, const std::string& key,
                                const std::string& value) {
  if (m_failWrites) return false;
  Section* s = find(section);
  if (!s) {
    m_sections.push_back({section, {}});
    s = &m_sections.back();
  }
  for (auto& [name, text] : s->values) {
    if (name == key) {
      text = value;
      return true;
    }
  }
  s->values.emplace_back(key, value);
  return true;
}

std::vector<std::string> MemoryProfile::valueNames(const std::string& section) const {
  std::vector<std::string> names;
  if (const Section* s = find(section))
    for (const auto& value : s->values) names.push_back(value.first);
  return names;
}

bool MemoryProfile::deleteValue(const std::string& section, const std::string& key) {
  if (m_failDeletes) return false;
  if (Section* s = find(section))
    std::erase_if(s->values, [&](const auto& value) { return value.first == key; });
  return true;
}

bool MemoryProfile::deleteSection(const std::string& section) {
  if (m_failDeletes) return false;
  std::erase_if(m_sections, [&](const Section& s) { return s.name == section; });
  return true;
}

std::vector<std::string> MemoryProfile::sectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : m_sections) names.push_back(s.name);
  return names;
}
