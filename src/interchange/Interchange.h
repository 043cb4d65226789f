// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "document/CDuxelDoc.h"

// The telephone book and business cards as vCard, the schedule, reminders, to-dos and memos
// as iCalendar, out of a document and back into it. This is what the file menu's "Exportovat
// do vCard…", "Exportovat do iCalendar…", "Importovat z vCard…" and "Importovat
// z iCalendar…" and duxel-cli's vcard and ical commands call.
//
// Texts travel as UTF-8; times are floating local times, as the diary knows no time zone.
// The free fields go out as NOTE lines under their captions (GetFreeFieldCaption) and come
// back by them. A mark travels as the category kMarkCategory.

enum class RecordFilter { All, Marked, Unmarked };
enum class VCardVersion { V30, V40 };

// The category that carries a record's mark.
extern const char* const kMarkCategory;

struct CalendarDate {
  int year = 0, month = 0, day = 0;
};

struct InterchangeExportOptions {
  std::vector<int> modes;  // empty: every mode the format carries
  RecordFilter filter = RecordFilter::All;
  VCardVersion version = VCardVersion::V30;
  // A reminder has no year: its event starts on its first date on or after this day
  // (year 0: today).
  CalendarDate from;
  // The DTSTAMP of every component, "YYYYMMDDTHHMMSSZ" (empty: now).
  std::string stamp;
};

struct ExportSummary {
  bool ok = true;
  std::string error;  // why the file could not be written
  int records = 0;    // records written
  int skipped = 0;    // records the format cannot hold (a schedule entry without a date)
};

struct ImportSummary {
  bool ok = true;
  int errorLine = 0;  // the line of a malformed file (nothing was imported)
  std::string error;
  int entries = 0;     // vCards or calendar components read
  int added = 0;       // records inserted into the document
  int duplicates = 0;  // records the list refused as already held
  std::array<int, kModeCount> perMode{};
  int joined = 0;              // values without a field of their own, put with their label
                               // into a free field or the text
  int replacedCharacters = 0;  // characters Windows-1250 lacks, replaced by the nearest letter
  std::vector<std::string> notPlaced;  // what had no place at all, as "NAME (line N)"
  // Records kept whole although longer than the 384 characters the forms and the diary hold
  // for one entry; the user shortens them before sending.
  int tooLong = 0;
  // One line for the terminal.
  std::string Describe() const;
  // The same in Czech for the status bar (UTF-8); a refused file names its line.
  std::string StatusText() const;
};

// The modes each format carries.
bool VCardCarries(int mode);     // Telephone, BusinessCards
bool CalendarCarries(int mode);  // Scheduler, ToDo, ReminderOne, ReminderTwo, Memo

// The document's records as vCard or iCalendar text (UTF-8, CR LF lines).
std::string WriteVCards(const CDuxelDoc& doc, const InterchangeExportOptions& options,
                        ExportSummary& summary);
std::string WriteCalendar(const CDuxelDoc& doc, const InterchangeExportOptions& options,
                          ExportSummary& summary);

// Reads every entry of the text into new records and inserts them in sorted position;
// `mode` is Telephone or BusinessCards for vCards. A malformed text changes nothing.
ImportSummary ReadVCards(CDuxelDoc& doc, const std::string& text, int mode);
ImportSummary ReadCalendar(CDuxelDoc& doc, const std::string& text);

// The same through files. Export writes a temporary file beside `path` and renames it over.
ExportSummary ExportVCardFile(const CDuxelDoc& doc, const std::string& path,
                              const InterchangeExportOptions& options);
ExportSummary ExportCalendarFile(const CDuxelDoc& doc, const std::string& path,
                                 const InterchangeExportOptions& options);
ImportSummary ImportVCardFile(CDuxelDoc& doc, const std::string& path, int mode);
ImportSummary ImportCalendarFile(CDuxelDoc& doc, const std::string& path);
