// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/DocumentJson.h"

#include <stdexcept>

#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

const char* FormatName(DocFormat f) {
  switch (f) {
    case DocFormat::D303:
      return "D303";
    case DocFormat::Headerless:
      return "headerless";
    default:
      return "D390";
  }
}

ordered_json Text(const std::string& cp1250) { return Utf8FromCp1250(cp1250); }

ordered_json Time(const CCasTime& t) {
  return ordered_json{{"year", t.m_year},       {"month", t.m_month}, {"day", t.m_day},
                      {"weekday", t.m_weekday}, {"week", t.m_week},   {"hour", t.m_hour},
                      {"minute", t.m_minute}};
}

std::string Hex(const std::vector<uint8_t>& data) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  s.reserve(data.size() * 2);
  for (uint8_t b : data) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

ordered_json RecordToJson(int mode, const CCasioPol& record) {
  ordered_json j{{"mark", record.m_mark}};
  switch (mode) {
    case kMemo:
      j["text"] = Text(static_cast<const CcMemo&>(record).m_text);
      break;
    case kTelephone:
      for (const auto& f : static_cast<const CcTelefon&>(record).m_fields)
        j["fields"].push_back(Text(f));
      break;
    case kBusinessCards:
      for (const auto& f : static_cast<const CcBuscard&>(record).m_fields)
        j["fields"].push_back(Text(f));
      break;
    case kScheduler: {
      const auto& r = static_cast<const CcScheduler&>(record);
      j["start"] = Time(r.m_start);
      j["end"] = Time(r.m_end);
      j["alarm"] = Time(r.m_alarm);
      j["text"] = Text(r.m_text);
      break;
    }
    case kToDo: {
      const auto& r = static_cast<const CcTodo&>(record);
      j["text"] = Text(r.m_text);
      j["done"] = r.m_done;
      j["completed"] = Time(r.m_completed);
      break;
    }
    case kFreeFile: {
      const auto& r = static_cast<const CcFreefile&>(record);
      j["title"] = Text(r.m_title);
      j["body"] = Text(r.m_body);
      break;
    }
    case kReminderOne:
    case kReminderTwo: {
      const auto& r = static_cast<const CcReminder&>(record);
      j["weekday_pattern"] = r.m_weekdayPattern;
      j["pattern"] = Time(r.m_pattern);
      j["text"] = Text(r.m_text);
      break;
    }
    case kExpenses: {
      const auto& r = static_cast<const CcExpense&>(record);
      j["date"] = Time(r.m_date);
      j["amount"] = r.m_amount;
      j["payment"] = Text(r.m_payment);
      j["expense"] = Text(r.m_expense);
      j["note"] = Text(r.m_note);
      break;
    }
    case kSpreadSheet: {
      const auto& r = static_cast<const CcSpreadsheet&>(record);
      j["name"] = Text(r.m_name);
      j["changed"] = Time(r.m_changed);
      j["size"] = r.m_data.size();
      j["data"] = Hex(r.m_data);
      break;
    }
  }
  return j;
}

// Reading JSON back: every member is optional and checked for its type.
class Reader {
 public:
  Reader(const json& j, std::string where) : m_j(j), m_where(std::move(where)) {
    if (!j.is_object()) fail("is not an object");
  }

  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(m_where + " " + what);
  }

  const json* member(const char* name) const {
    auto it = m_j.find(name);
    return it == m_j.end() ? nullptr : &*it;
  }

  void text(const char* name, std::string& out) const {
    if (const json* v = member(name)) {
      if (!v->is_string()) fail(std::string("member \"") + name + "\" is not a string");
      out = Cp1250FromUtf8(v->get<std::string>());
    }
  }

  template <typename Int>
  void integer(const char* name, Int& out, long long lo, long long hi) const {
    if (const json* v = member(name)) {
      if (!v->is_number_integer() || v->get<long long>() < lo || v->get<long long>() > hi)
        fail(std::string("member \"") + name + "\" is not an integer from " + std::to_string(lo) +
             " to " + std::to_string(hi));
      out = Int(v->get<long long>());
    }
  }

  void number(const char* name, double& out) const {
    if (const json* v = member(name)) {
      if (!v->is_number()) fail(std::string("member \"") + name + "\" is not a number");
      out = v->get<double>();
    }
  }

  void time(const char* name, CCasTime& out) const {
    if (const json* v = member(name)) {
      Reader t(*v, m_where + " member \"" + name + "\"");
      t.integer("year", out.m_year, -32768, 32767);
      t.integer("month", out.m_month, -32768, 32767);
      t.integer("day", out.m_day, -32768, 32767);
      t.integer("weekday", out.m_weekday, -32768, 32767);
      t.integer("week", out.m_week, -32768, 32767);
      t.integer("hour", out.m_hour, -32768, 32767);
      t.integer("minute", out.m_minute, -32768, 32767);
    }
  }

  void fields(std::string* out, int count) const {
    if (const json* v = member("fields")) {
      if (!v->is_array() || int(v->size()) > count)
        fail("member \"fields\" is not an array of at most " + std::to_string(count) + " strings");
      for (std::size_t i = 0; i < v->size(); ++i) {
        if (!(*v)[i].is_string()) fail("member \"fields\" holds something not a string");
        out[i] = Cp1250FromUtf8((*v)[i].get<std::string>());
      }
    }
  }

  void hex(const char* name, std::vector<uint8_t>& out) const {
    const json* v = member(name);
    if (!v) return;
    if (!v->is_string()) fail(std::string("member \"") + name + "\" is not a string");
    const std::string& s = v->get_ref<const std::string&>();
    auto digit = [&](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      fail(std::string("member \"") + name + "\" is not hexadecimal");
    };
    if (s.size() % 2) fail(std::string("member \"") + name + "\" has an odd number of digits");
    out.clear();
    for (std::size_t i = 0; i < s.size(); i += 2)
      out.push_back(uint8_t(digit(s[i]) * 16 + digit(s[i + 1])));
  }

 private:
  const json& m_j;
  std::string m_where;
};

void ReadRecord(int mode, const Reader& in, CCasioPol& record) {
  in.integer("mark", record.m_mark, 0, 0xFFFF);
  switch (mode) {
    case kMemo:
      in.text("text", static_cast<CcMemo&>(record).m_text);
      break;
    case kTelephone:
      in.fields(static_cast<CcTelefon&>(record).m_fields, CcTelefon::kFields);
      break;
    case kBusinessCards:
      in.fields(static_cast<CcBuscard&>(record).m_fields, CcBuscard::kFields);
      break;
    case kScheduler: {
      auto& r = static_cast<CcScheduler&>(record);
      in.time("start", r.m_start);
      in.time("end", r.m_end);
      in.time("alarm", r.m_alarm);
      in.text("text", r.m_text);
      break;
    }
    case kToDo: {
      auto& r = static_cast<CcTodo&>(record);
      in.text("text", r.m_text);
      in.integer("done", r.m_done, 0, 0xFFFF);
      in.time("completed", r.m_completed);
      break;
    }
    case kFreeFile: {
      auto& r = static_cast<CcFreefile&>(record);
      in.text("title", r.m_title);
      in.text("body", r.m_body);
      break;
    }
    case kReminderOne:
    case kReminderTwo: {
      auto& r = static_cast<CcReminder&>(record);
      in.integer("weekday_pattern", r.m_weekdayPattern, 0, 0xFFFF);
      in.time("pattern", r.m_pattern);
      in.text("text", r.m_text);
      break;
    }
    case kExpenses: {
      auto& r = static_cast<CcExpense&>(record);
      in.time("date", r.m_date);
      in.number("amount", r.m_amount);
      in.text("payment", r.m_payment);
      in.text("expense", r.m_expense);
      in.text("note", r.m_note);
      break;
    }
    case kSpreadSheet: {
      auto& r = static_cast<CcSpreadsheet&>(record);
      in.text("name", r.m_name);
      in.time("changed", r.m_changed);
      in.hex("data", r.m_data);
      if (r.m_data.size() > 0xFFFF) in.fail("member \"data\" is longer than 65535 bytes");
      std::size_t size = r.m_data.size();
      in.integer("size", size, 0, 0xFFFF);
      if (size != r.m_data.size()) in.fail("member \"size\" differs from the length of \"data\"");
      break;
    }
  }
}

}  // namespace

ordered_json DocumentToJson(const CDuxelDoc& doc) {
  ordered_json modes = ordered_json::object();
  for (int m = 0; m < kModeCount; ++m) {
    ordered_json records = ordered_json::array();
    for (const CCasioPol* r : *doc.GetList(m)) records.push_back(RecordToJson(m, *r));
    modes[ModeSectionName(m)] = std::move(records);
  }
  return ordered_json{{"format", FormatName(doc.GetLoadedFormat())},
                      {"protected", doc.IsProtected()},
                      {"modes", std::move(modes)}};
}

void AppendJsonToDocument(const json& j, CDuxelDoc& doc) {
  if (!j.is_object()) throw std::runtime_error("the document is not a JSON object");
  auto modes = j.find("modes");
  if (modes == j.end()) return;
  if (!modes->is_object()) throw std::runtime_error("member \"modes\" is not an object");
  for (auto it = modes->begin(); it != modes->end(); ++it) {
    const int mode = ModeFromSectionName(it.key());
    if (mode < 0) throw std::runtime_error("unknown mode \"" + it.key() + "\"");
    if (!it->is_array())
      throw std::runtime_error("mode \"" + it.key() + "\" is not an array of records");
    CCasioList* list = doc.GetList(mode);
    for (std::size_t i = 0; i < it->size(); ++i) {
      std::unique_ptr<CCasioPol> record(list->CreateRecord());
      ReadRecord(mode, Reader((*it)[i], it.key() + " record " + std::to_string(i)), *record);
      list->AddTail(record.release());
    }
  }
}
