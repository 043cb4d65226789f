// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FieldMapping.h"

#include <algorithm>
#include <cstdio>

#include "records/Cp1250.h"
#include "resources/StringTable.h"
#include "settings/Profile.h"

namespace {
const char kMappingsSection[] = "Mappings";
const char kDuxelSection[] = "Duxel";
// The value names of "Mappings" are read into a buffer of this size: names that would not
// fit (each with its terminator, the list with one more) are not read.
constexpr std::size_t kNamesBuffer = 20000;
}  // namespace

std::vector<uint16_t> OneToOnePairs(int sources, int fields) {
  std::vector<uint16_t> pairs;
  if (fields <= 0) return pairs;
  for (int i = 0; i < sources && i < 256; ++i)
    pairs.push_back(MakePair(i, std::min(i, fields - 1)));
  return pairs;
}

std::vector<MappingPair> UsedPairs(const std::vector<uint16_t>& pairs, int sources, int fields) {
  std::vector<MappingPair> used;
  std::vector<bool> seen(256, false);
  for (uint16_t pair : pairs) {
    const int source = PairSource(pair);
    const int target = PairTarget(pair);
    if (seen[source]) continue;  // only the first pair of a source counts
    seen[source] = true;
    if (source < sources && target < fields) used.push_back({source, target});
  }
  return used;
}

std::string FormatPairs(const std::vector<uint16_t>& pairs) {
  std::string text;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    char part[16];
    std::snprintf(part, sizeof part, i + 1 < pairs.size() ? "%d %d," : "%d %d",
                  PairSource(pairs[i]), PairTarget(pairs[i]));
    text += part;
  }
  return text;
}

std::optional<std::vector<uint16_t>> ParsePairs(const std::string& text) {
  std::vector<uint16_t> pairs;
  if (text.empty()) return pairs;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma == std::string::npos ? comma : comma - start);
    int source = 0;
    int target = 0;
    if (std::sscanf(part.c_str(), "%d %d", &source, &target) != 2) return std::nullopt;
    pairs.push_back(uint16_t((source << 8) | target));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return pairs;
}

FieldMappings::FieldMappings() { m_mappings.push_back({CpString(IDS_ALL_FIELDS), {}}); }

int FieldMappings::Find(const std::string& name) const {
  const std::string upper = UpperCp1250(name);
  for (std::size_t i = 0; i < m_mappings.size(); ++i)
    if (UpperCp1250(m_mappings[i].name) == upper) return int(i);
  return -1;
}

int FieldMappings::Add(FieldMapping mapping) {
  m_mappings.push_back(std::move(mapping));
  return int(m_mappings.size()) - 1;
}

void FieldMappings::Remove(int index) {
  if (index >= 1 && index < Count()) m_mappings.erase(m_mappings.begin() + index);
}

void FieldMappings::Load(const Profile& profile) {
  m_mappings.resize(1);
  std::size_t used = 1;  // the list's final terminator
  for (const std::string& name : profile.valueNames(kMappingsSection)) {
    used += name.size() + 1;
    if (used > kNamesBuffer) break;
    std::string text;
    if (!profile.readString(kMappingsSection, name, text)) continue;
    if (auto pairs = ParsePairs(text)) m_mappings.push_back({name, std::move(*pairs)});
  }
}

bool FieldMappings::Save(Profile& profile) const {
  bool ok = profile.deleteSection(kMappingsSection);
  for (std::size_t i = 1; i < m_mappings.size(); ++i)
    ok = profile.writeString(kMappingsSection, m_mappings[i].name,
                             FormatPairs(m_mappings[i].pairs)) &&
         ok;
  return ok;
}

void ExchangeSettings::Load(const Profile& profile) {
  mappings.Load(profile);
  const std::string all = CpString(IDS_ALL_FIELDS);
  // A name that is not found selects mapping 0.
  importMapping =
      std::max(mappings.Find(profile.getString(kDuxelSection, "ImportMapping", all)), 0);
  exportMapping =
      std::max(mappings.Find(profile.getString(kDuxelSection, "ExportMapping", all)), 0);
  importDriver = profile.getString(kDuxelSection, "ImportDriver", "");
  exportDriver = profile.getString(kDuxelSection, "ExportDriver", "");
  mergeChar = profile.getInt(kDuxelSection, "MapMergeChar", 0);
}

bool ExchangeSettings::Save(Profile& profile) const {
  bool ok = mappings.Save(profile);
  auto name = [this](int index) {
    return mappings[index >= 0 && index < mappings.Count() ? index : 0].name;
  };
  ok = profile.writeString(kDuxelSection, "ImportMapping", name(importMapping)) && ok;
  ok = profile.writeString(kDuxelSection, "ExportMapping", name(exportMapping)) && ok;
  if (!exportDriver.empty())
    ok = profile.writeString(kDuxelSection, "ExportDriver", exportDriver) && ok;
  if (!importDriver.empty())
    ok = profile.writeString(kDuxelSection, "ImportDriver", importDriver) && ok;
  ok = profile.writeInt(kDuxelSection, "MapMergeChar", mergeChar) && ok;
  return ok;
}
