// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CDuxelDoc.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

namespace {
const char* const kSectionNames[kModeCount] = {
    "Memo",     "Telephone",   "Scheduler",   "BusinessCards", "ToDo",
    "FreeFile", "ReminderOne", "ReminderTwo", "Expenses",      "SpreadSheet"};

DocResult failure(LoadStatus status, int messageId, std::string reason) {
  DocResult r;
  r.status = status;
  r.messageId = messageId;
  r.message = LoadString(messageId);
  r.reason = std::move(reason);
  return r;
}

const uint8_t kHeaderless[4] = {0xFF, 0xFF, 0x00, 0x00};
}  // namespace

std::unique_ptr<CCasioList> NewModeList(int mode) {
  switch (mode) {
    case kMemo:
      return std::make_unique<CcMemoList>();
    case kTelephone:
      return std::make_unique<CcTelefonList>();
    case kScheduler:
      return std::make_unique<CcSchedulerList>();
    case kBusinessCards:
      return std::make_unique<CcBuscardList>();
    case kToDo:
      return std::make_unique<CcTodoList>();
    case kFreeFile:
      return std::make_unique<CcFreefileList>();
    case kReminderOne:
    case kReminderTwo:
      return std::make_unique<CcReminderList>();
    case kExpenses:
      return std::make_unique<CcExpenseList>();
    default:
      return std::make_unique<CcSpreadsheetList>();
  }
}

const char* ModeSectionName(int mode) {
  return mode >= 0 && mode < kModeCount ? kSectionNames[mode] : nullptr;
}

int ModeFromSectionName(const std::string& name) {
  for (int m = 0; m < kModeCount; ++m)
    if (name == kSectionNames[m]) return m;
  return -1;
}

CDuxelDoc::CDuxelDoc() {
  for (int m = 0; m < kModeCount; ++m) m_lists[m] = NewModeList(m);
}

CDuxelDoc::~CDuxelDoc() { DeleteContents(); }

std::string CDuxelDoc::GetPassword() const {
  return std::string(reinterpret_cast<const char*>(m_password.data()));
}

void CDuxelDoc::SetPassword(const std::string& password) {
  if (password.empty()) {
    m_protected = 0;
  } else {
    m_password.fill(0);
    std::memcpy(m_password.data(), password.data(), std::min<std::size_t>(password.size(), 10));
    m_protected = 1;
  }
  SetModifiedFlag();
}

void CDuxelDoc::DeleteContents() {
  for (auto& list : m_lists)
    if (list) {
      list->DeleteAll();
      list->m_selected = 0;
      list->m_modified = 0;
    }
}

// Each stored byte is the complement of a password byte XOR the next plain byte, the last
// one chained to a fixed letter; reading undoes it from the end.
std::array<uint8_t, 10> CDuxelDoc::ScramblePassword(const std::array<uint8_t, 10>& plain) {
  std::array<uint8_t, 10> stored{};
  for (int i = 0; i < 10; ++i) {
    const uint8_t next = i < 9 ? plain[i + 1] : kPasswordChain;
    stored[i] = uint8_t(~plain[i] ^ next);
  }
  return stored;
}

std::array<uint8_t, 10> CDuxelDoc::UnscramblePassword(const std::array<uint8_t, 10>& stored) {
  std::array<uint8_t, 10> plain{};
  uint8_t next = kPasswordChain;
  for (int i = 9; i >= 0; --i) {
    plain[i] = uint8_t(~(stored[i] ^ next));
    next = plain[i];
  }
  return plain;
}

std::vector<uint8_t> CDuxelDoc::Store() {
  std::vector<uint8_t> out;
  // Room for what the file last took, so that the stream is not copied as it grows.
  out.reserve(m_sizeHint + m_sizeHint / 8 + 256);
  CArchive ar(out, this);
  // The table of written objects sized once for every record, the lists and their classes,
  // rather than doubled list by list.
  std::size_t objects = 2 * kModeCount;
  for (const auto& list : m_lists) objects += list->GetCount();
  ar.ExpectObjects(objects);
  ar.WriteBlock("D390", 4);
  if (!IsProtected()) {
    ar.WriteBlock("NP", 2);
  } else {
    ar.WriteBlock("PW", 2);
    std::array<uint8_t, 10> plain{};
    std::memcpy(plain.data(), m_password.data(), 10);
    const auto stored = ScramblePassword(plain);
    ar.WriteBlock(stored.data(), stored.size());
  }
  // Every list's records gathered in one walk of all the lists (see GatherRecords).
  const CCasioList* lists[kModeCount];
  for (int m = 0; m < kModeCount; ++m) lists[m] = m_lists[m].get();
  std::vector<CCasioPol*> records[kModeCount];
  CCasioList::GatherRecords(lists, kModeCount, records);
  for (int m = 0; m < kModeCount; ++m) {
    m_lists[m]->StoreFrom(&records[m]);
    ar.WriteObject(m_lists[m].get());
    m_lists[m]->StoreFrom(nullptr);
  }
  m_sizeHint = out.size();
  return out;
}

void CDuxelDoc::readLists(CArchive& ar, int count) {
  for (int m = 0; m < count; ++m) {
    m_lists[m].reset();
    std::unique_ptr<CObject> obj = ar.ReadObject(RUNTIME_CLASS(CCasioList));
    if (!obj) ar.Fail(ArchiveFault::WrongClass, "list " + std::to_string(m) + " is missing");
    m_lists[m].reset(static_cast<CCasioList*>(obj.release()));
  }
}

DocResult CDuxelDoc::Load(const uint8_t* data, std::size_t size, const PasswordQuestion& ask) {
  // Read into a scratch document and take its lists only when everything was read, so a
  // damaged file never leaves half its records behind.
  DeleteContents();
  m_sizeHint = size;
  if (size < 4)
    return failure(LoadStatus::TooShort, IDS_COMMAND_FAILED,
                   "the file is too short for its signature");

  CDuxelDoc scratch;
  CArchive ar(data, size, &scratch);
  DocFormat format = DocFormat::D390;
  int count = kModeCount;
  try {
    if (std::memcmp(data, kHeaderless, 4) == 0) {
      format = DocFormat::Headerless;
      count = 8;
    } else {
      char magic[4];
      ar.ReadBlock(magic, 4);
      if (std::memcmp(magic, "D303", 4) == 0) {
        format = DocFormat::D303;
        count = 8;
      }
      if (ar.Remaining() < 2)
        return failure(LoadStatus::TooShort, IDS_COMMAND_FAILED,
                       "the file is too short for its protection marker");
      char marker[2];
      ar.ReadBlock(marker, 2);
      scratch.m_protected = std::memcmp(marker, "PW", 2) == 0 ? 1 : 0;
      if (scratch.m_protected) {
        // Too few bytes for the password: no question; the lists then fail at the end.
        if (ar.Remaining() >= 10) {
          std::array<uint8_t, 10> stored{};
          ar.ReadBlock(stored.data(), 10);
          const auto plain = UnscramblePassword(stored);
          std::memcpy(scratch.m_password.data(), plain.data(), 10);
          scratch.m_password[10] = 0;
          const std::optional<std::string> answer = ask ? ask() : std::nullopt;
          if (!answer || *answer != scratch.GetPassword())
            return failure(LoadStatus::WrongPassword, IDS_WRONG_PASSWORD,
                           answer ? "wrong password" : "no password given");
        } else {
          ar.ReadBlock(scratch.m_password.data(), ar.Remaining());
        }
      } else if (format == DocFormat::D303) {
        return failure(LoadStatus::Unprotected303, IDS_COMMAND_FAILED,
                       "an unprotected file of the old D303 format");
      }
    }
    scratch.readLists(ar, count);
  } catch (const ArchiveError& e) {
    DocResult r = failure(LoadStatus::BadFormat, IDS_BAD_FORMAT, e.what());
    r.offset = e.offset();
    return r;
  } catch (const std::bad_alloc&) {
    return failure(LoadStatus::BadFormat, IDS_BAD_FORMAT, "out of memory");
  }

  for (int m = 0; m < count; ++m) std::swap(m_lists[m], scratch.m_lists[m]);
  m_password = scratch.m_password;
  m_protected = scratch.m_protected;
  m_loadedFormat = format;
  m_modified = false;
  return {};
}

DocResult CDuxelDoc::LoadFile(const std::string& path, const PasswordQuestion& ask) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    DeleteContents();
    return failure(LoadStatus::IoError, IDS_OPEN_FAILED,
                   "cannot open " + path + ": " + std::strerror(errno));
  }
  // Read in chunks: read() turns a failing read (a folder, a bad disk) into badbit rather
  // than an exception.
  std::vector<uint8_t> bytes;
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    bytes.insert(bytes.end(), chunk, chunk + in.gcount());
  if (in.bad()) {
    DeleteContents();
    return failure(LoadStatus::IoError, IDS_OPEN_FAILED, "cannot read " + path + ": " + std::strerror(errno));
  }
  return Load(bytes.data(), bytes.size(), ask);
}

DocResult CDuxelDoc::SaveFile(const std::string& path) {
  const std::vector<uint8_t> bytes = Store();
  const std::string temp = path + ".tmp-" + std::to_string(::getpid());
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr)
    return failure(LoadStatus::IoError, IDS_SAVE_FAILED,
                   "cannot create " + temp + ": " + std::strerror(errno));
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = ::fsync(fileno(f)) == 0 && ok;
  const int err = errno;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(ok ? errno : err);
    std::remove(temp.c_str());
    return failure(LoadStatus::IoError, IDS_SAVE_FAILED, "cannot write " + path + ": " + reason);
  }
  m_modified = false;
  return {};
}
