// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "interchange/Interchange.h"

// Helpers the vCard and iCalendar mappings share.

// Whether the filter lets the record through.
bool PassesFilter(const CCasioPol& record, RecordFilter filter);
// The modes to write: the chosen ones the format carries, in display order.
std::vector<int> ChosenModes(const InterchangeExportOptions& options, bool (*carries)(int));
// A free field's name, its caption without the ": " the views add (Windows-1250).
std::string FreeFieldName(int mode, int index);

// Labelled values that have no field of their own, UTF-8.
using Extras = std::vector<std::pair<std::string, std::string>>;

// Records read from a file, inserted only once the whole file has read.
struct PendingRecords {
  std::vector<std::pair<int, std::unique_ptr<CCasioPol>>> records;
  void Add(int mode, CCasioPol* record) { records.emplace_back(mode, record); }
  // Inserts each in sorted position; refused ones are deleted and counted.
  void InsertInto(CDuxelDoc& doc, ImportSummary& summary);
};

// The characters of an entry as the forms count them (a CR LF break is one).
constexpr size_t kEntryRoom = 384;
void CountLength(const std::string* texts, int count, ImportSummary& summary);

// Writes `text` to a temporary file beside `path` and renames it over `path`.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);
bool ReadWholeFile(const std::string& path, std::string& text, std::string& error);
