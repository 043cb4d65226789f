// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/RecordClipboard.h"

#include "document/CDuxelDoc.h"
#include "records/CArchive.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

std::string ClipboardFormatName(int mode) { return Format("DuxelCF%d", mode); }

std::vector<uint8_t> StoreClipboardRecord(int mode, const CCasioPol& record) {
  std::vector<uint8_t> out;
  std::unique_ptr<CCasioList> list = NewModeList(mode);
  // The list only borrows the record for writing; lists never own what they hold.
  list->AddTail(const_cast<CCasioPol*>(&record));
  {
    CArchive ar(out);
    ar.WriteWord(kClipboardVersion);
    ar.WriteObject(list.get());
  }
  list->RemoveAll();
  return out;
}

std::unique_ptr<CCasioPol> LoadClipboardRecord(int mode, const uint8_t* data, std::size_t size,
                                               ClipLoad* status) {
  ClipLoad dummy;
  ClipLoad& result = status ? *status : dummy;
  result = ClipLoad::Broken;
  std::unique_ptr<CCasioList> expected = NewModeList(mode);
  std::unique_ptr<CCasioPol> probe(expected->CreateRecord());
  try {
    CArchive ar(data, size);
    if (ar.ReadWord() < kOldestClipboardVersion) {
      result = ClipLoad::OldVersion;
      return nullptr;
    }
    std::unique_ptr<CObject> object = ar.ReadObject(RUNTIME_CLASS(CCasioList));
    if (!object) return nullptr;  // a null reference holds no list
    auto* list = static_cast<CCasioList*>(object.get());
    std::unique_ptr<CCasioPol> first;
    for (CCasioPol* record : *list) {
      // Another program's data under our name must not put a foreign kind into this list.
      if (!first && record->GetRuntimeClass() == probe->GetRuntimeClass())
        first.reset(record);
      else
        delete record;
    }
    list->RemoveAll();
    if (first) result = ClipLoad::Ok;
    return first;
  } catch (const ArchiveError&) {
    return nullptr;
  }
}

namespace {

const char* const kCrLf = "\r\n";

std::string DateText(const CCasTime& value) {
  std::string text;
  value.FormatDisplay(text, false);
  return text;
}

std::string TimeText(const CCasTime& value) {
  std::string text;
  value.FormatDisplay(text, true);
  return text;
}

std::string AlarmSuffix(const CCasTime& alarm) {
  return alarm.m_hour >= 0 ? " ! " + TimeText(alarm) : std::string();
}

void AppendRecord(int mode, const CCasioPol& record, std::string& out) {
  switch (mode) {
    case kMemo:
      out += static_cast<const CcMemo&>(record).m_text + kCrLf;
      break;
    case kTelephone:
      for (const std::string& field : static_cast<const CcTelefon&>(record).m_fields)
        out += field + kCrLf;
      break;
    case kBusinessCards:
      for (const std::string& field : static_cast<const CcBuscard&>(record).m_fields)
        out += field + kCrLf;
      break;
    case kFreeFile: {
      const auto& r = static_cast<const CcFreefile&>(record);
      out += r.m_title + kCrLf + r.m_body + kCrLf;
      break;
    }
    case kToDo: {
      const auto& r = static_cast<const CcTodo&>(record);
      if (r.m_done) {
        if (r.m_completed.m_day >= 0) {
          out += DateText(r.m_completed);
          if (r.m_completed.m_hour >= 0) out += " - " + TimeText(r.m_completed);
        } else {
          out += "*";
        }
        out += kCrLf;
      }
      out += r.m_text + kCrLf;
      break;
    }
    case kScheduler: {
      const auto& r = static_cast<const CcScheduler&>(record);
      out += DateText(r.m_start);
      if (r.m_end.m_day >= 0) {
        out += "~" + DateText(r.m_end);
      } else if (r.m_start.m_hour >= 0) {
        out += ", " + TimeText(r.m_start);
        if (r.m_end.m_hour >= 0) out += "~" + TimeText(r.m_end);
      }
      out += AlarmSuffix(r.m_alarm) + kCrLf + r.m_text + kCrLf;
      break;
    }
    case kReminderOne: {
      const auto& r = static_cast<const CcReminder&>(record);
      const CCasTime& p = r.m_pattern;
      if (p.m_day < 0)
        out += CpStringToken(IDS_REPEAT_WORDS, 0);
      else if (p.m_month < 0)
        out += Format("%s %d.", CpStringToken(IDS_REPEAT_WORDS, 2).c_str(), p.m_day);
      else
        out += Format("%d.%d.", p.m_day, p.m_month);
      out += AlarmSuffix(p) + kCrLf + r.m_text + kCrLf;
      break;
    }
    case kReminderTwo: {
      const auto& r = static_cast<const CcReminder&>(record);
      const CCasTime& p = r.m_pattern;
      if (p.m_month >= 0) out += Format("%d.,", p.m_month);
      if (p.m_week >= 0)
        out += Format("%d.%s, ", p.m_week, CpStringToken(IDS_REPEAT_WORDS, 1).c_str());
      const int weekday = p.m_weekday >= 1 && p.m_weekday <= 7 ? p.m_weekday : 0;
      out += CpStringToken(IDS_WEEKDAYS, weekday);
      out += AlarmSuffix(p) + kCrLf + r.m_text + kCrLf;
      break;
    }
    case kExpenses: {
      const auto& r = static_cast<const CcExpense&>(record);
      out += DateText(r.m_date) + kCrLf + Format("%.8g", r.m_amount) + kCrLf + r.m_payment +
             kCrLf + r.m_expense + kCrLf + r.m_note + kCrLf;
      break;
    }
    default:
      break;
  }
}

}  // namespace

std::string ClipboardText(int mode, const std::vector<const CCasioPol*>& records) {
  std::string out;
  for (const CCasioPol* record : records) AppendRecord(mode, *record, out);
  return out;
}
