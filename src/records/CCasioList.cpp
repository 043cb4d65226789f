// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasioList.h"

#include <memory>

#include "records/CasioCharset.h"
#include "records/Cp1250.h"

IMPLEMENT_SERIAL(CCasioList, CObject, 0)

namespace {
int g_exchangeWidth = 200;
FreeFieldCaptionProvider g_captionProvider;
}  // namespace

void CCasioList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(uint32_t(m_records.size()));
    ar.ExpectObjects(m_records.size() + 1);  // the records and their class
    // Records of a list lie anywhere in memory, between those of other lists: a few records
    // ahead are fetched while one is written, so that the waits for memory overlap.
    constexpr int kAhead = 8;
    auto ahead = m_records.begin();
    for (int i = 0; i < kAhead && ahead != m_records.end(); ++i) ++ahead;
    for (CCasioPol* r : m_records) {
      if (ahead != m_records.end()) __builtin_prefetch(*ahead++);
      ar.WriteObject(r);
    }
    return;
  }
  // The count comes from the file: read element by element, so a false count only ever
  // fails at the end of the data, and a failed load leaves nothing behind.
  try {
    const uint32_t count = ar.ReadCount();
    for (uint32_t i = 0; i < count; ++i) {
      std::unique_ptr<CObject> obj = ar.ReadObject(RUNTIME_CLASS(CCasioPol));
      if (obj) m_records.push_back(static_cast<CCasioPol*>(obj.release()));
    }
  } catch (...) {
    DeleteAll();
    throw;
  }
}

std::string CCasioList::GetFieldName(int) const { return {}; }
int CCasioList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CCasioList::CreateRecord() const { return new CCasioPol; }
int CCasioList::GetFieldWidth(int index) const { return index == -1 ? 0 : g_exchangeWidth; }
int CCasioList::GetKind() const { return 0; }

void CCasioList::DeleteAll() {
  for (CCasioPol* r : m_records) delete r;
  m_records.clear();
}

void CCasioList::SetExchangeWidth(int width) { g_exchangeWidth = width; }

int CCasioList::InsertInOrder(CCasioPol* record) {
  auto it = m_records.begin();
  for (; it != m_records.end(); ++it) {
    const int c = (*it)->Compare(*record);
    if (c == 0) {
      ++(*it)->m_duplicates;
      return 0;
    }
    if (c < 0) break;
  }
  m_records.insert(it, record);
  m_modified = 1;
  return 1;
}

int CCasioList::InsertAtHead(CCasioPol* record) {
  m_records.push_front(record);
  m_modified = 1;
  return 1;
}

int CCasioList::InsertAtTail(CCasioPol* record) {
  m_records.push_back(record);
  m_modified = 1;
  return 1;
}

void SetFreeFieldCaptionProvider(FreeFieldCaptionProvider provider) {
  g_captionProvider = std::move(provider);
}

// The views label a free field with its name followed by ": ".
std::string GetFreeFieldCaption(int mode, int index) {
  if (g_captionProvider) return g_captionProvider(mode, index);
  return "Free_" + std::to_string(index + 1) + ": ";
}

// Column names of the free fields: the caption folded to plain ASCII without its ": ".
std::string FreeFieldColumnName(int mode, int index) {
  std::string name = GetFreeFieldCaption(mode, index);
  FoldToAscii(name);
  return name.size() >= 2 ? name.substr(0, name.size() - 2) : std::string();
}
