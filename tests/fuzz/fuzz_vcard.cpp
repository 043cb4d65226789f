// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard reader on arbitrary bytes: it never crashes; a refused file leaves the document
// as it was; what it took in is written out again as vCards that read back without fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/CDuxelDoc.h"
#include "interchange/Interchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int mode = data[0] & 1 ? kBusinessCards : kTelephone;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  CDuxelDoc doc;
  const ImportSummary s = ReadVCards(doc, text, mode);
  if (!s.ok) {
    if (s.errorLine < 1 || doc.GetList(mode)->GetCount() != 0 || doc.IsModified()) abort();
    return 0;
  }
  if (size_t(s.added) != doc.GetList(mode)->GetCount()) abort();
  InterchangeExportOptions options;
  options.version = data[0] & 2 ? VCardVersion::V40 : VCardVersion::V30;
  ExportSummary written;
  const std::string again = WriteVCards(doc, options, written);
  if (written.records != s.added) abort();
  if (written.records > 0) {
    CDuxelDoc back;
    const ImportSummary r = ReadVCards(back, again, mode);
    if (!r.ok || r.entries != written.records) abort();
  }
  return 0;
}
