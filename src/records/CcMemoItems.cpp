// SPDX-License-Identifier: GPL-3.0-or-later
// A memo as diary items.
#include "records/CcMemo.h"

#include "records/DiaryItems.h"

int CcMemo::SendToDiary(DiaryItemSink& link) const {
  // One item for the whole text: the link cuts it into frames itself.
  return link.SendItem(UserItemText(link, m_text), kSelText, kItemRestart | kItemAdvance) ? 1 : 0;
}

int CcMemo::SetFromDiaryItem(const char* text, uint8_t, int, int) {
  // Every frame of the memo continues the one text, so the counters never need to move.
  m_text += ReceivedText(text);
  return 0;
}
