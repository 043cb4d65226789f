// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/ExchangeColumns.h"

class Profile;

// Which record field goes to which file column. Each pair word holds a source index in its
// high byte and a target index in its low byte: for export a record field and a file column
// position, for import a file column position and a record field.
struct FieldMapping {
  std::string name;  // Windows-1250; the key under which the mapping is stored
  std::vector<uint16_t> pairs;
};

inline uint16_t MakePair(int source, int target) { return uint16_t((source << 8) | target); }
inline int PairSource(uint16_t pair) { return pair >> 8; }
inline int PairTarget(uint16_t pair) { return pair & 0xFF; }

// Source i to target min(i, fields - 1) for every source: every field to its own column on
// export, column i to field i on import with the surplus columns all in the last field.
std::vector<uint16_t> OneToOnePairs(int sources, int fields);

// The pairs an operation uses: only the first pair of each source, and only those whose
// source is below `sources` and whose target is below `fields`.
std::vector<MappingPair> UsedPairs(const std::vector<uint16_t>& pairs, int sources, int fields);

// The stored text of the pairs: "%d %d" per pair, joined by ","; empty without pairs.
std::string FormatPairs(const std::vector<uint16_t>& pairs);
// Reads a stored text: commas plus one pairs, each "%d %d". nullopt when one does not read.
std::optional<std::vector<uint16_t>> ParsePairs(const std::string& text);

// The mappings of the program: entry 0 is the built-in "Všechna pole", never stored, whose
// pairs are rebuilt before each use; the user's mappings follow in the order of the profile.
class FieldMappings {
 public:
  FieldMappings();

  int Count() const { return int(m_mappings.size()); }
  FieldMapping& operator[](int index) { return m_mappings[index]; }
  const FieldMapping& operator[](int index) const { return m_mappings[index]; }
  const std::vector<FieldMapping>& All() const { return m_mappings; }

  // The index of the mapping of that name, compared without regard to case; -1 when none.
  int Find(const std::string& name) const;
  // Appends a mapping and returns its index.
  int Add(FieldMapping mapping);
  // Removes a user mapping (never entry 0).
  void Remove(int index);
  // Replaces the user mappings by those of section "Mappings": a mapping with a pair that
  // does not read is dropped.
  void Load(const Profile& profile);
  // Deletes section "Mappings" and writes every mapping but entry 0. False when a write failed.
  bool Save(Profile& profile) const;

 private:
  std::vector<FieldMapping> m_mappings;
};

// The exchange's settings: the mappings, the current one of each direction, the file type
// last chosen for each, and the character that joins texts imported into one field.
struct ExchangeSettings {
  FieldMappings mappings;
  int exportMapping = 0;
  int importMapping = 0;
  std::string exportDriver;  // the text of the file-type entry, Windows-1250
  std::string importDriver;
  int mergeChar = 0;  // "MapMergeChar": nonzero joins with a blank, zero with a CR

  // Reads section "Mappings" and the keys "ImportMapping", "ExportMapping", "ImportDriver",
  // "ExportDriver" and "MapMergeChar" of section "Duxel"; missing values take the defaults.
  void Load(const Profile& profile);
  // Writes them back: the mappings first (section "Mappings" rewritten), then
  // "ImportMapping", "ExportMapping", "ExportDriver" and "ImportDriver" when not empty, and
  // "MapMergeChar". False when a write failed.
  bool Save(Profile& profile) const;
};
