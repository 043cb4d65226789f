// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ReceiveBuffer.h"

#include <algorithm>
#include <cstdio>

#include "document/CDuxelDoc.h"
#include "link/CCasioModel.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

namespace {

std::string SheetName(int number) {
  char text[64];
  std::snprintf(text, sizeof text, CpString(IDS_SHEET_NAME).c_str(), number);
  return text;
}

// Moves the buffered records of one mode; `lowerCounters` is the single-mode command's way
// of keeping the counters. Returns the records accepted.
int MoveMode(ReceiveBuffer& buffer, CDuxelDoc& document, int mode, BufferMoveView* view,
             bool lowerCounters) {
  CCasioList* from = buffer.GetList(mode);
  CCasioList* to = document.GetList(mode);
  const bool hasView = view && view->HasView(mode);
  int accepted = 0;
  for (CCasioPol* record : *from) {
    if (lowerCounters) {
      const int drop = 1 + static_cast<int>(record->m_duplicates);
      buffer.m_received = std::max(0, buffer.m_received - drop);
      buffer.m_accepted = std::max(0, buffer.m_accepted - drop);
    }
    if (mode == kSpreadSheet) {
      if (auto* sheet = dynamic_cast<CcSpreadsheet*>(record)) {
        const int number = hasView ? view->NextSheetNumber() : int(to->GetCount()) + 1;
        sheet->m_name = SheetName(number);
      }
    }
    if (!to->InsertSorted(record)) {
      delete record;
      continue;
    }
    record->m_duplicates = 0;
    document.SetModifiedFlag();
    ++accepted;
    if (hasView) view->RecordMoved(mode, record);
  }
  if (hasView) view->ModeMoved(mode);
  if (!lowerCounters) {
    buffer.m_received = 0;
    buffer.m_accepted = 0;
  }
  from->RemoveAll();
  from->m_modified = 0;
  return accepted;
}

}  // namespace

ReceiveBuffer::ReceiveBuffer() {
  for (int m = 0; m < 10; ++m) m_lists[m] = NewModeList(m);
}

ReceiveBuffer::~ReceiveBuffer() {
  for (auto& list : m_lists) list->DeleteAll();
}

bool ReceiveBuffer::AnyPendingData() const {
  return std::any_of(m_lists.begin(), m_lists.end(),
                     [](const auto& list) { return list->m_modified != 0; });
}

void ReceiveBuffer::Empty() {
  for (auto& list : m_lists) {
    if (!list->m_modified) continue;
    list->DeleteAll();
    list->m_modified = 0;
  }
  m_received = 0;
  m_accepted = 0;
}

void ReceiveBuffer::WindowClosed(bool receptionInProgress) {
  if (m_closedByProgram)
    m_closedByProgram = false;
  else if (receptionInProgress)
    m_userClosed = true;
}

int MoveAllToDocument(ReceiveBuffer& buffer, CDuxelDoc& document, const CCasioModel& model,
                      BufferMoveView* view) {
  int accepted = 0;
  for (int mode = 0; mode < 10; ++mode) {
    if (!buffer.HasPendingData(mode) || !model.HasMode(mode)) continue;
    accepted += MoveMode(buffer, document, mode, view, false);
  }
  return accepted;
}

int MoveModeToDocument(ReceiveBuffer& buffer, CDuxelDoc& document, const CCasioModel& model,
                       int mode, BufferMoveView* view) {
  if (mode < 0 || mode >= 10 || !buffer.HasPendingData(mode) || !model.HasMode(mode)) return 0;
  return MoveMode(buffer, document, mode, view, true);
}
