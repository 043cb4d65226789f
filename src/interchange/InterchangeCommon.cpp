// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/InterchangeCommon.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "records/CCasioList.h"

const char* const kMarkCategory = "Označeno";

bool PassesFilter(const CCasioPol& record, RecordFilter filter) {
  switch (filter) {
    case RecordFilter::Marked:
      return record.m_mark != 0;
    case RecordFilter::Unmarked:
      return record.m_mark == 0;
    default:
      return true;
  }
}

std::vector<int> ChosenModes(const InterchangeExportOptions& options, bool (*carries)(int)) {
  static constexpr int kDisplayOrder[] = {1, 3, 0, 2, 6, 7, 4, 5, 8, 9};
  std::vector<int> modes;
  for (int mode : kDisplayOrder) {
    if (!carries(mode)) continue;
    if (options.modes.empty() ||
        std::find(options.modes.begin(), options.modes.end(), mode) != options.modes.end())
      modes.push_back(mode);
  }
  return modes;
}

std::string FreeFieldName(int mode, int index) {
  std::string caption = GetFreeFieldCaption(mode, index);
  if (caption.size() >= 2 && caption.compare(caption.size() - 2, 2, ": ") == 0)
    caption.resize(caption.size() - 2);
  return caption;
}

void PendingRecords::InsertInto(CDuxelDoc& doc, ImportSummary& summary) {
  for (auto& [mode, record] : records) {
    if (doc.GetList(mode)->InsertSorted(record.get())) {
      record.release();
      ++summary.added;
      ++summary.perMode[mode];
    } else {
      ++summary.duplicates;
    }
  }
  records.clear();
  if (summary.added > 0) doc.SetModifiedFlag();
}

void CountLength(const std::string* texts, int count, ImportSummary& summary) {
  size_t length = 0;
  for (int i = 0; i < count; ++i)
    length += texts[i].size() - size_t(std::count(texts[i].begin(), texts[i].end(), '\n'));
  if (length > kEntryRoom) ++summary.tooLong;
}

std::string ImportSummary::Describe() const {
  if (!ok) return errorLine > 0 ? "line " + std::to_string(errorLine) + ": " + error : error;
  std::ostringstream s;
  s << "read " << entries << " entries: " << added << " records added, " << duplicates
    << " already in the document";
  if (joined) s << ", " << joined << " values put with their label into free fields or texts";
  if (replacedCharacters)
    s << ", " << replacedCharacters << " characters replaced by their nearest letter";
  if (tooLong) s << ", " << tooLong << " records longer than the 384 characters of a diary entry";
  if (!notPlaced.empty()) {
    s << ", " << notPlaced.size() << " not placed:";
    for (size_t i = 0; i < notPlaced.size(); ++i) s << (i ? ", " : " ") << notPlaced[i];
  }
  return s.str();
}

std::string ImportSummary::StatusText() const {
  if (!ok)
    return errorLine > 0
               ? "Soubor nebyl načten, chyba na řádku " + std::to_string(errorLine) + ": " + error
               : "Soubor nebyl načten: " + error;
  std::ostringstream s;
  s << "Načteno položek: " << entries << ", přidáno: " << added
    << ", již v dokumentu: " << duplicates;
  if (joined) s << ", údajů s popisem ve volných polích či textu: " << joined;
  if (replacedCharacters) s << ", nahrazených znaků: " << replacedCharacters;
  if (tooLong) s << ", záznamů delších než 384 znaků: " << tooLong;
  if (!notPlaced.empty()) {
    s << ", nezařazeno:";
    for (size_t i = 0; i < notPlaced.size(); ++i) s << (i ? ", " : " ") << notPlaced[i];
  }
  return s.str();
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path temp = target;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = temp.string() + ": " + std::strerror(errno);
      return false;
    }
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (!out) {
      error = temp.string() + ": could not be written";
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    error = path + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

ExportSummary ExportVCardFile(const CDuxelDoc& doc, const std::string& path,
                              const InterchangeExportOptions& options) {
  ExportSummary summary;
  const std::string text = WriteVCards(doc, options, summary);
  summary.ok = WriteFileAtomically(path, text, summary.error);
  return summary;
}

ExportSummary ExportCalendarFile(const CDuxelDoc& doc, const std::string& path,
                                 const InterchangeExportOptions& options) {
  ExportSummary summary;
  const std::string text = WriteCalendar(doc, options, summary);
  summary.ok = WriteFileAtomically(path, text, summary.error);
  return summary;
}

ImportSummary ImportVCardFile(CDuxelDoc& doc, const std::string& path, int mode) {
  std::string text;
  ImportSummary summary;
  if (!ReadWholeFile(path, text, summary.error)) {
    summary.ok = false;
    return summary;
  }
  return ReadVCards(doc, text, mode);
}

ImportSummary ImportCalendarFile(CDuxelDoc& doc, const std::string& path) {
  std::string text;
  ImportSummary summary;
  if (!ReadWholeFile(path, text, summary.error)) {
    summary.ok = false;
    return summary;
  }
  return ReadCalendar(doc, text);
}
