// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The user's settings store: named sections of named text values. Section and value names
// and the texts are core text (Windows-1250); an implementation that stores Unicode converts
// at its own boundary. Every writing operation returns true on success.
class Profile {
 public:
  virtual ~Profile() = default;

  // The text of a value; false (and `value` untouched) when the section or value is missing.
  virtual bool readString(const std::string& section, const std::string& key,
                          std::string& value) const = 0;
  virtual bool writeString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  // An integer value; false when it is missing or its text is not a decimal integer
  // (optional blanks and sign, digits, nothing after them).
  virtual bool readInt(const std::string& section, const std::string& key, int& value) const;
  // Stores the integer as its decimal text.
  virtual bool writeInt(const std::string& section, const std::string& key, int value);
  // The value names of a section in the store's order; empty for a missing section.
  virtual std::vector<std::string> valueNames(const std::string& section) const = 0;
  // Removes one value; removing a value that does not exist succeeds.
  virtual bool deleteValue(const std::string& section, const std::string& key) = 0;
  // Removes a section with all its values; removing a missing section succeeds.
  virtual bool deleteSection(const std::string& section) = 0;

  // The text of a value, or `fallback` when it is missing.
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;
  // The integer of a value, or `fallback` when it is missing or not an integer.
  int getInt(const std::string& section, const std::string& key, int fallback) const;
};

// Reads a whole decimal integer as readInt describes; false for anything else or overflow.
bool ParseProfileInt(const std::string& text, int& value);
