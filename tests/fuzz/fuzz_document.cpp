// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the document loader: it must refuse or read, never crash or leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/CDuxelDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  CDuxelDoc doc;
  // Answer the password question with the stored password half the time, so the lists of
  // protected files are read too.
  const bool answerRight = size > 0 && (data[size - 1] & 1);
  const DocResult r = doc.Load(data, size, [&]() -> std::optional<std::string> {
    if (answerRight) return doc.GetPassword();
    return std::string("x");
  });
  if (r.ok()) (void)doc.Store();
  return 0;
}
