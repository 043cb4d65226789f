// SPDX-License-Identifier: GPL-3.0-or-later
// A telephone entry as diary items: its nine fields in order.
#include "records/CcTelefon.h"

#include "records/DiaryItems.h"

int CcTelefon::SendToDiary(DiaryItemSink& link) const {
  // An LF closes every field but the last, so the receiver knows where the next one starts.
  for (int i = 0; i < kFields; ++i) {
    std::string item = UserItemText(link, m_fields[i]);
    if (i < kFields - 1) item += '\n';
    const int flags = i == 0 ? kItemRestart | kItemAdvance : kItemAdvance;
    if (!link.SendItem(item, kSelText, flags)) return 0;
  }
  return 1;
}

int CcTelefon::SetFromDiaryItem(const char* text, uint8_t, int itemIndex, int) {
  std::string item = ReceivedText(text);
  if (item.empty()) return 1;
  // Only a field's closing LF moves on to the next field; a long field comes in several
  // frames that are joined here.
  const bool closed = RemoveFinalLf(item);
  if (itemIndex >= 0 && itemIndex < kFields) m_fields[itemIndex] += item;
  return closed ? 1 : 0;
}
