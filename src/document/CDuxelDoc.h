// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/CArchive.h"
#include "records/CCasioList.h"

// The ten modes, in the order of a document's lists.
enum Mode : int {
  kMemo = 0,
  kTelephone = 1,
  kScheduler = 2,
  kBusinessCards = 3,
  kToDo = 4,
  kFreeFile = 5,
  kReminderOne = 6,
  kReminderTwo = 7,
  kExpenses = 8,
  kSpreadSheet = 9,
};
constexpr int kModeCount = 10;

// A new empty list of the class that holds mode `mode` (both reminder modes share one).
std::unique_ptr<CCasioList> NewModeList(int mode);

// The profile section name of a mode ("Memo", "Telephone", ...); null outside 0..9.
const char* ModeSectionName(int mode);
// The mode of a section name, or -1.
int ModeFromSectionName(const std::string& name);

// The formats a document file may have; only D390 is written.
enum class DocFormat { D390, D303, Headerless };

enum class LoadStatus {
  Ok,
  TooShort,        // no 4-byte signature or 2-byte marker: message 61705, the document opens empty
  Unprotected303,  // an unprotected "D303" file: message 61705, the document opens empty
  WrongPassword,   // wrong or cancelled password: message 1101, then "Nezdařilo se otevřít
                   // dokument."
  BadFormat,       // the object stream broke: "Neočekávaný tvar souboru.", nothing kept
  IoError,         // the file could not be read or written
};

// The outcome of reading or writing a document. Messages are UTF-8, ready to show.
struct DocResult {
  LoadStatus status = LoadStatus::Ok;
  int messageId = 0;       // string id of the user's message (61705, 1101), 0 when none
  std::string message;     // what the user is to see
  std::string reason;      // the technical reason, for logs and the command line
  std::size_t offset = 0;  // byte offset of a stream error
  bool ok() const { return status == LoadStatus::Ok; }
  // Whether the document opens anyway (empty) despite the message.
  bool opensEmpty() const {
    return status == LoadStatus::TooShort || status == LoadStatus::Unprotected303;
  }
};

// Asks the user for the password of a protected file; nullopt when cancelled.
// The answer is Windows-1250 text, at most 10 characters.
using PasswordQuestion = std::function<std::optional<std::string>()>;

// A user's whole diary data: ten record lists and an optional password.
class CDuxelDoc : public CArchiveTextKey {
 public:
  CDuxelDoc();
  ~CDuxelDoc();
  CDuxelDoc(const CDuxelDoc&) = delete;
  CDuxelDoc& operator=(const CDuxelDoc&) = delete;

  CCasioList* GetList(int mode) const { return m_lists[mode].get(); }

  bool IsProtected() const { return m_protected != 0; }
  // The password as typed (without the zero padding).
  std::string GetPassword() const;
  // The 10 key bytes of the record texts: the password padded with zeros.
  const uint8_t* GetPasswordKey() const { return m_password.data(); }
  // The key while the document is protected.
  const uint8_t* ArchiveTextKey() const override {
    return IsProtected() ? GetPasswordKey() : nullptr;
  }
  // A non-empty text (at most 10 characters kept) protects the document with it; an empty
  // one clears the protected flag and keeps the stored text. Marks the document modified.
  void SetPassword(const std::string& password);

  bool IsSending() const { return m_sending != 0; }
  void SetSending(bool sending) { m_sending = sending ? 1 : 0; }

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified = true) { m_modified = modified; }

  // Deletes every record of every list; the lists, the password and the flag stay.
  void DeleteContents();

  // The current format, the only one written.
  std::vector<uint8_t> Store();
  // Replaces the contents by the document in `data`. On any failure nothing of the data
  // is kept: the document is left empty (see DocResult::opensEmpty for the two cases in
  // which it still opens). `ask` is called for the password of a protected file.
  DocResult Load(const uint8_t* data, std::size_t size, const PasswordQuestion& ask);
  DocResult LoadFile(const std::string& path, const PasswordQuestion& ask);
  // Writes to a temporary file beside `path` and renames it over `path`.
  DocResult SaveFile(const std::string& path);

  // The format of the file last loaded.
  DocFormat GetLoadedFormat() const { return m_loadedFormat; }

  // The chaining constant of the header's password scramble.
  static constexpr uint8_t kPasswordChain = 'd';
  static std::array<uint8_t, 10> ScramblePassword(const std::array<uint8_t, 10>& plain);
  static std::array<uint8_t, 10> UnscramblePassword(const std::array<uint8_t, 10>& stored);

 private:
  void readLists(CArchive& ar, int count);

  std::array<std::unique_ptr<CCasioList>, kModeCount> m_lists;
  uint32_t m_sending = 0;
  std::array<uint8_t, 11> m_password{};  // zero-terminated; first 10 bytes are the text key
  uint32_t m_protected = 0;
  bool m_modified = false;
  std::size_t m_sizeHint = 0;  // the size the document last had as a file
  DocFormat m_loadedFormat = DocFormat::D390;
};
