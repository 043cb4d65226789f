// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasioList.h"

#include <iterator>
#include <memory>
#include <vector>

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
    std::vector<CCasioPol*> own;
    const std::vector<CCasioPol*>* records = m_storeFrom;
    m_storeFrom = nullptr;
    if (records == nullptr || records->size() != m_records.size()) {
      const CCasioList* self = this;
      GatherRecords(&self, 1, &own);
      records = &own;
    }
    // A few records ahead are fetched, with their slots in the archive's table of written
    // objects, while one is written, so that the waits for memory overlap. A record's texts
    // were mostly allocated right after it: its first lines are fetched too.
    constexpr std::size_t kAhead = 8;
    const std::size_t n = records->size();
    CCasioPol* const* r = records->data();
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kAhead < n) {
        const char* next = reinterpret_cast<const char*>(r[i + kAhead]);
        __builtin_prefetch(next);
        __builtin_prefetch(next + 64);
        __builtin_prefetch(next + 128);
        __builtin_prefetch(next + 192);
        __builtin_prefetch(ar.TableSlotOf(next));
      }
      ar.WriteObject(r[i]);
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

void CCasioList::GatherRecords(const CCasioList* const* lists, std::size_t count,
                               std::vector<CCasioPol*>* out) {
  struct Walk {
    const_iterator front, back;
    std::size_t i, j;  // the next slots from the front and from the back
    bool done;
  };
  std::vector<Walk> walks(count);
  std::size_t active = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const Records& records = lists[k]->m_records;
    out[k].assign(records.size(), nullptr);
    walks[k].done = records.empty();
    if (walks[k].done) continue;
    walks[k] = {records.begin(), std::prev(records.end()), 0, records.size() - 1, false};
    ++active;
  }
  while (active != 0) {
    for (std::size_t k = 0; k < count; ++k) {
      Walk& w = walks[k];
      if (w.done) continue;
      if (w.i < w.j) {
        out[k][w.i++] = *w.front++;
        out[k][w.j--] = *w.back--;
        if (w.i <= w.j) continue;
      } else {
        out[k][w.i] = *w.front;  // the middle one of an odd count
      }
      w.done = true;
      --active;
    }
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
