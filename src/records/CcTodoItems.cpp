// SPDX-License-Identifier: GPL-3.0-or-later
// A to-do item as diary items: completion date and time when done, then the text.
#include "records/CcTodo.h"

#include "records/DiaryItems.h"

int CcTodo::SendToDiary(DiaryItemSink& link) const {
  if (m_done) {
    std::string date;
    m_completed.FormatDiary(date, false);
    if (!link.SendItem(date, kSelDate, kItemRestart)) return 0;
    if (m_completed.m_hour >= 0) {
      std::string time;
      m_completed.FormatDiary(time, true);
      if (!link.SendItem(time, kSelTime, kItemRestart)) return 0;
    }
  }
  return SendTextPieces(link, m_text, kSelText);
}

int CcTodo::SetFromDiaryItem(const char* text, uint8_t selector, int, int) {
  std::string item = ReceivedText(text);
  if (item.empty()) return 1;
  const int result = item.back() == '\r' ? 0 : 1;
  // A trailing line end or other control character closes the item; a CR is text.
  if (static_cast<unsigned char>(item.back()) < 0x20 && item.back() != '\r') item.pop_back();
  switch (selector & 0xF0) {
    case kSelText:
      m_text += item;
      break;
    case kSelDate:
      // A completion date or time is what makes the item done.
      m_completed.ParseDiary(item.c_str(), false);
      m_done = 1;
      break;
    case kSelTime:
      m_completed.ParseDiary(item.c_str(), true);
      m_done = 1;
      break;
    default:
      break;
  }
  return result;
}
