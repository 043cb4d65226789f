// SPDX-License-Identifier: GPL-3.0-or-later
// The iCalendar reader on arbitrary bytes: it never crashes; a refused file leaves the
// document as it was; what it took in is written out again as a calendar that reads back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/CDuxelDoc.h"
#include "interchange/Interchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CDuxelDoc doc;
  const ImportSummary s = ReadCalendar(doc, text);
  size_t held = 0;
  for (int mode = 0; mode < kModeCount; ++mode) held += doc.GetList(mode)->GetCount();
  if (!s.ok) {
    if (s.errorLine < 1 || held != 0 || doc.IsModified()) abort();
    return 0;
  }
  if (size_t(s.added) != held) abort();
  InterchangeExportOptions options;
  options.from = {2026, 1, 1};
  options.stamp = "20260101T000000Z";
  ExportSummary written;
  const std::string again = WriteCalendar(doc, options, written);
  if (written.records + written.skipped != s.added) abort();
  CDuxelDoc back;
  if (!ReadCalendar(back, again).ok) abort();
  return 0;
}
