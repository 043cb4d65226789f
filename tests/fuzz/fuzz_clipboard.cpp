// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, as another program may put them on the clipboard under our format
// name, to the record clipboard reader of every mode: it must refuse or read, never crash.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "records/CCasioPol.h"
#include "viewmodel/RecordClipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int mode = data[0] % 10;
  std::unique_ptr<CCasioPol> record = LoadClipboardRecord(mode, data + 1, size - 1);
  if (record) (void)StoreClipboardRecord(mode, *record);
  return 0;
}
