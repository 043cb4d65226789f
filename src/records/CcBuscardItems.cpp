// SPDX-License-Identifier: GPL-3.0-or-later
// A business card as diary items: its fifteen fields in order.
#include "records/CcBuscard.h"

#include "records/DiaryItems.h"

int CcBuscard::SendToDiary(DiaryItemSink& link) const {
  for (int i = 0; i < kFields; ++i) {
    std::string item;
    // The diary needs the company and the name; a blank stands in for a missing one.
    if (i < 2 && m_fields[i].empty())
      item = " ";
    else
      item = UserItemText(link, m_fields[i]);
    if (i < kFields - 1) item += '\n';
    const int flags = i == 0 ? kItemRestart | kItemAdvance : kItemAdvance;
    if (!link.SendItem(item, kSelText, flags)) return 0;
  }
  return 1;
}

int CcBuscard::SetFromDiaryItem(const char* text, uint8_t, int itemIndex, int) {
  std::string item = ReceivedText(text);
  if (item.empty()) return 0;
  // Only a field's closing LF moves on to the next field.
  const bool closed = RemoveFinalLf(item);
  if (itemIndex >= 0 && itemIndex < kFields) m_fields[itemIndex] += item;
  return closed ? 1 : 0;
}
