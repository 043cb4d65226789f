// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCasioPol;

// The record clipboard: per mode a format "DuxelCF<mode>" holding a version word and a
// one-record list in the document file's object encoding, beside the records' plain text.

constexpr uint16_t kClipboardVersion = 400;
// Data written by versions older than this has another layout and is not read.
constexpr uint16_t kOldestClipboardVersion = 390;

// "DuxelCF0" .. "DuxelCF9".
std::string ClipboardFormatName(int mode);

// The version word and the list object of the mode's list class holding `record` alone.
std::vector<uint8_t> StoreClipboardRecord(int mode, const CCasioPol& record);

enum class ClipLoad {
  Ok,
  OldVersion,  // a version word below 390: nothing read
  Broken,      // the data did not read as a list of the mode's records, or held none
};

// The first record of the data, owned by the caller, or null with the reason in `status`.
std::unique_ptr<CCasioPol> LoadClipboardRecord(int mode, const uint8_t* data, std::size_t size,
                                               ClipLoad* status = nullptr);

// The plain text of records of a mode as the clipboard gets it (Windows-1250, CR LF after each
// field; SpreadSheet has its own and gives nothing here).
std::string ClipboardText(int mode, const std::vector<const CCasioPol*>& records);
