// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/Profile.h"

// A profile held in memory: for tests and for programs that must not touch the user's
// settings. Names are case-sensitive; sections and values keep the order of their creation.
// Writes and deletions can be made to fail, as a read-only store would.
class MemoryProfile : public Profile {
 public:
  bool readString(const std::string& section, const std::string& key,
                  std::string& value) const override;
  bool writeString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> valueNames(const std::string& section) const override;
  bool deleteValue(const std::string& section, const std::string& key) override;
  bool deleteSection(const std::string& section) override;

  // Makes every later write (or deletion) fail without changing anything.
  void setFailWrites(bool fail) { m_failWrites = fail; }
  void setFailDeletes(bool fail) { m_failDeletes = fail; }

  // The sections' names in creation order.
  std::vector<std::string> sectionNames() const;

 private:
  using Values = std::vector<std::pair<std::string, std::string>>;
  struct Section {
    std::string name;
    Values values;
  };
  const Section* find(const std::string& section) const;
  Section* find(const std::string& section);

  std::vector<Section> m_sections;
  bool m_failWrites = false;
  bool m_failDeletes = false;
};
