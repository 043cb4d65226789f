// SPDX-License-Identifier: GPL-3.0-or-later
// Records as diary items: what each kind sends through the link, how it takes received items
// back, and the round trip record -> items -> record the way the link carries them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "records/CasioCharset.h"
#include "records/Cp1250.h"
#include "records/DiaryItemSink.h"
#include "records/DiaryRecords.h"
#include "RecordBuilders.h"
#include "TimeParts.h"

namespace {

std::string Cp(const std::string& utf8) { return Cp1250FromUtf8(utf8); }

std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, out.empty() ? "%02X" : " %02X", c);
    out += digits;
  }
  return out;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  return Hex(std::string(bytes.begin(), bytes.end()));
}

// "41 41 41" for Rep("41", 3): long runs of one byte in the expected calls.
std::string Rep(const std::string& hexByte, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i ? " " : "") + hexByte;
  return out;
}

// One operation a record asked of the link.
struct LinkOp {
  enum Kind { Item, End, Reset } kind;
  std::string text;
  uint8_t selector = 0;
  int flags = 0;
};

// Records every call as text ("item 80/3 [41 42]", "end 0,0", "reset", "block [...]",
// "last") and the items themselves for replaying. The fallible call number `failAt`
// (counting SendItem, SendEnd and SendBlock from 1) fails; it is still recorded.
class RecordingLink : public DiaryItemSink {
 public:
  bool convert = false;
  int failAt = 0;  // 0: nothing fails
  int blockNumber = 1;
  int blockWraps = 0;
  bool lastBlock = false;
  std::vector<std::string> calls;
  std::vector<LinkOp> ops;
  std::vector<uint8_t> lastBlockBytes;

  bool ConvertPcToDiary() const override { return convert; }
  int SendItem(const std::string& text, uint8_t selector, int flags) override {
    char head[32];
    std::snprintf(head, sizeof head, "item %02X/%d [", selector, flags);
    calls.push_back(head + Hex(text) + "]");
    ops.push_back({LinkOp::Item, text, selector, flags});
    return Outcome();
  }
  int SendEnd(int endOfTransmission, int marked) override {
    calls.push_back("end " + std::to_string(endOfTransmission) + "," + std::to_string(marked));
    ops.push_back({LinkOp::End, {}, 0, 0});
    return Outcome();
  }
  void ResetOffset() override {
    calls.push_back("reset");
    ops.push_back({LinkOp::Reset, {}, 0, 0});
  }
  int BlockNumber() const override { return blockNumber; }
  int BlockWraps() const override { return blockWraps; }
  int SendBlock(const std::vector<uint8_t>& bytes) override {
    calls.push_back("block [" + Hex(bytes) + "]");
    lastBlockBytes = bytes;
    return Outcome();
  }
  void SetLastBlock() override {
    calls.push_back("last");
    lastBlock = true;
  }

 private:
  int m_fallible = 0;
  int Outcome() { return ++m_fallible == failAt ? 0 : 1; }
};

// Plays sent items back the way the link carries and dispatches them: an item travels as
// frames of at most 120 bytes (an empty one as a single zero byte), each frame's address is
// the running offset with the selector OR-ed into its high byte, and the receiver hands the
// zero-terminated text with that high byte to the record, advancing its item and chunk
// counters on a nonzero result and restarting the chunk counter when the high byte changes.
// In FreeFile mode an item starting with 0x1A only ends the file; high byte 0x71 is ignored.
void Replay(const std::vector<LinkOp>& ops, CCasioPol& record, bool freeFile,
            bool convertToPc = false) {
  unsigned offset = 0;
  int item = 0;
  int chunk = 0;
  int lastSelector = -1;
  auto deliver = [&](const std::string& data, unsigned at, uint8_t selector) {
    const uint8_t high = uint8_t(((at >> 8) & 0xFF) | selector);
    if (high != lastSelector) {
      chunk = 0;
      lastSelector = high;
    }
    if (freeFile && data[0] == 0x1A) return;
    if (high == 0x71) return;
    std::string text = data.substr(0, data.find('\0'));
    if (convertToPc) ConvertDiaryToPc(text);
    if (record.SetFromDiaryItem(text.c_str(), high, item, chunk)) {
      ++item;
      ++chunk;
    }
  };
  for (const LinkOp& op : ops) {
    if (op.kind == LinkOp::Reset) offset = 0;
    if (op.kind != LinkOp::Item) continue;
    if (op.flags & kItemRestart) offset = 0;
    std::size_t at = 0;
    while (op.text.size() - at > 120) {
      deliver(op.text.substr(at, 120), offset, op.selector);
      offset = (offset + 120) & 0xFFFF;
      at += 120;
    }
    const std::string rest = op.text.substr(at);
    deliver(rest.empty() ? std::string(1, '\0') : rest, offset, op.selector);
    if (op.flags & kItemAdvance) offset = (offset + rest.size()) & 0xFFFF;
  }
}

// Control bytes and bytes above 0x7E shown as <XX>, so that expectations stay readable.
std::string Show(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E) {
      char code[8];
      std::snprintf(code, sizeof code, "<%02X>", c);
      out += code;
    } else {
      out += char(c);
    }
  }
  return out;
}

std::string Parts(const CCasTime& t) {
  char text[96];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d", t.m_year, t.m_month, t.m_day,
                t.m_weekday, t.m_week, t.m_hour, t.m_minute);
  return text;
}

std::string Fields(const std::string* fields, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i ? "|" : "") + Show(fields[i]);
  return out;
}

// Every field of a record of any kind, as one comparable text.
std::string Describe(const CCasioPol& record) {
  if (auto* r = dynamic_cast<const CcMemo*>(&record)) return Show(r->m_text);
  if (auto* r = dynamic_cast<const CcTelefon*>(&record))
    return Fields(r->m_fields, CcTelefon::kFields);
  if (auto* r = dynamic_cast<const CcBuscard*>(&record))
    return Fields(r->m_fields, CcBuscard::kFields);
  if (auto* r = dynamic_cast<const CcTodo*>(&record))
    return "done " + std::to_string(r->m_done) + " " + Parts(r->m_completed) + " " +
           Show(r->m_text);
  if (auto* r = dynamic_cast<const CcFreefile*>(&record))
    return Show(r->m_title) + "|" + Show(r->m_body);
  if (auto* r = dynamic_cast<const CcScheduler*>(&record))
    return Parts(r->m_start) + " ~ " + Parts(r->m_end) + " alarm " + Parts(r->m_alarm) + " " +
           Show(r->m_text);
  if (auto* r = dynamic_cast<const CcReminder*>(&record))
    return "weekday " + std::to_string(r->m_weekdayPattern) + " " + Parts(r->m_pattern) + " " +
           Show(r->m_text);
  if (auto* r = dynamic_cast<const CcExpense*>(&record)) {
    char amount[64];
    std::snprintf(amount, sizeof amount, "%.17g", r->m_amount);
    return Parts(r->m_date) + " " + amount + "|" + Show(r->m_payment) + "|" + Show(r->m_expense) +
           "|" + Show(r->m_note);
  }
  return "?";
}

// ---------------------------------------------------------------------------------------
// Sending

struct SendCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  bool convert;
  int result;
  std::vector<std::string> calls;
  int blockNumber = 1;
  int blockWraps = 0;
};

using Records = RecordsOf<AsIs>;
const auto Memo = Records::Memo;
const auto Telefon = Records::Telefon;
const auto Buscard = Records::Buscard;
const auto Todo = Records::Todo;
const auto Freefile = Records::Freefile;
const auto Scheduler = Records::Scheduler;
const auto Expense = Records::Expense;

// A reminder by its weekday flag and pattern parts: month, day, week, weekday, alarm time.
std::unique_ptr<CCasioPol> Reminder(bool weekday, int month, int day, int week, int wday,
                                    int hour, int minute, const std::string& text) {
  return Records::Reminder(weekday, Pattern(month, day, week, wday, hour, minute), text);
}

// Worksheet data whose byte i is i mod 256.
std::unique_ptr<CCasioPol> Sheet(std::size_t size) {
  auto r = std::make_unique<CcSpreadsheet>();
  for (std::size_t i = 0; i < size; ++i) r->m_data.push_back(uint8_t(i % 256));
  return r;
}

// A FreeFile body whose 100-byte pieces are filled with 'A', 'B', 'C' ... in turn.
std::string LetteredBody(std::size_t size) {
  std::string body;
  for (std::size_t i = 0; i < size; ++i) body += char('A' + i / 100);
  return body;
}

const std::vector<std::string> kEmptyTelefon = {
    "item 80/3 [0A]", "item 80/2 [0A] *7", "item 80/2 []"};

// "call *n" stands for n calls in a row.
std::vector<std::string> Expand(const std::vector<std::string>& calls) {
  std::vector<std::string> out;
  for (const std::string& call : calls) {
    const auto star = call.rfind(" *");
    const int n = star == std::string::npos ? 1 : std::stoi(call.substr(star + 2));
    out.insert(out.end(), std::size_t(n), call.substr(0, star));
  }
  return out;
}

std::vector<SendCase> SendCases() {
  std::vector<SendCase> cases = {
      // --- Memo: the whole text is one item.
      {"MemoShort", [] { return Memo("AB"); }, false, 1, {"item 80/3 [41 42]"}},
      {"Memo250IsOneItem", [] { return Memo(std::string(250, 'm')); }, false, 1,
       {"item 80/3 [" + Rep("6D", 250) + "]"}},
      // Příliš = 50 F8 ED 6C 69 9A in Windows-1250.
      {"MemoConverted", [] { return Memo(Cp("Příliš")); }, true, 1,
       {"item 80/3 [50 72 A1 6C 69 73]"}},
      {"MemoNotConverted", [] { return Memo(Cp("Příliš")); }, false, 1,
       {"item 80/3 [50 F8 ED 6C 69 9A]"}},
      {"MemoEmpty", [] { return Memo(""); }, false, 1, {"item 80/3 []"}},

      // --- Telephone: nine fields, LF after all but the last.
      {"TelefonAllEmpty", [] { return Telefon({}); }, false, 1, kEmptyTelefon},
      {"TelefonAllEmptyConverted", [] { return Telefon({}); }, true, 1, kEmptyTelefon},
      // Novák = 4E 6F 76 E1 6B; Žena = 8E 65 6E 61.
      {"TelefonConverted", [] {
         return Telefon({Cp("Novák"), "123", "", "", "", "", "", "", Cp("Žena")}); }, true, 1,
       {"item 80/3 [4E 6F 76 A0 6B 0A]", "item 80/2 [31 32 33 0A]", "item 80/2 [0A] *6",
        "item 80/2 [5A 65 6E 61]"}},
      {"TelefonNotConverted", [] {
         return Telefon({Cp("Novák"), "123", "", "", "", "", "", "", Cp("Žena")}); }, false, 1,
       {"item 80/3 [4E 6F 76 E1 6B 0A]", "item 80/2 [31 32 33 0A]", "item 80/2 [0A] *6",
        "item 80/2 [8E 65 6E 61]"}},
      {"TelefonLongField", [] { return Telefon({std::string(130, 'n')}); }, false, 1,
       {"item 80/3 [" + Rep("6E", 130) + " 0A]", "item 80/2 [0A] *7", "item 80/2 []"}},

      // --- BusinessCards: a blank for a missing company or name.
      {"BuscardAllEmpty", [] { return Buscard({}); }, false, 1,
       {"item 80/3 [20 0A]", "item 80/2 [20 0A]", "item 80/2 [0A] *12", "item 80/2 []"}},
      // Šťastný = 8A 9D 61 73 74 6E FD.
      {"BuscardConverted", [] { return Buscard(
             {"Casio", Cp("Šťastný"), "", "", "", "", "", "", "", "", "", "", "", "", "x"}); },
       true, 1,
       {"item 80/3 [43 61 73 69 6F 0A]", "item 80/2 [53 74 61 73 74 6E 79 0A]",
        "item 80/2 [0A] *12",
        "item 80/2 [78]"}},
      {"BuscardNameOnly", [] { return Buscard({"", "Jan"}); }, false, 1,
       {"item 80/3 [20 0A]", "item 80/2 [4A 61 6E 0A]", "item 80/2 [0A] *12", "item 80/2 []"}},

      // --- ToDo: completion date and time when done, then the text in pieces of 120.
      {"TodoOpen", [] { return Todo("Koupit", false, DateTime(2001, 5, 3, 10, 30)); }, false, 1,
       {"item 80/3 [4B 6F 75 70 69 74]"}},
      {"TodoDoneDateTime", [] { return Todo("OK", true, DateTime(2001, 5, 3, 10, 30)); }, false, 1,
       {// 2001-05-03
        "item F0/1 [32 30 30 31 2D 30 35 2D 30 33]",
        // 10:30
        "item E0/1 [31 30 3A 33 30]", "item 80/3 [4F 4B]"}},
      {"TodoDoneNoHour", [] { return Todo("", true, DateTime(-1, 5, 3, -1, 30)); }, false, 1,
       {// -----05-03
        "item F0/1 [2D 2D 2D 2D 2D 30 35 2D 30 33]"}},
      {"TodoTextPieces", [] { return Todo(std::string(250, 'a'), false, CCasTime()); }, false, 1,
       {"item 80/3 [" + Rep("61", 120) + "]", "item 80/2 [" + Rep("61", 120) + "]",
        "item 80/2 [" + Rep("61", 10) + "]"}},
      {"TodoEmpty", [] { return Todo("", false, CCasTime()); }, false, 1, {}},
      // čaj = E8 61 6A; the date is never converted.
      {"TodoConverted", [] { return Todo(Cp("čaj"), true, Date(2001, 12, 24)); }, true, 1,
       {"item F0/1 [32 30 30 31 2D 31 32 2D 32 34]", "item 80/3 [63 61 6A]"}},

      // --- FreeFile: marker, title, wait; pieces of 100 with waits; end marker.
      {"Freefile850", [] { return Freefile("T", LetteredBody(850)); }, false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("41", 100) + "]",
        "item 80/2 [" + Rep("42", 100) + "]", "item 80/2 [" + Rep("43", 100) + "]",
        "item 80/2 [" + Rep("44", 100) + "]", "end 0,0", "reset",
        "item 80/2 [" + Rep("45", 100) + "]", "item 80/2 [" + Rep("46", 100) + "]",
        "item 80/2 [" + Rep("47", 100) + "]", "item 80/2 [" + Rep("48", 100) + "]", "end 0,0",
        "reset", "item 80/2 [" + Rep("49", 50) + "]", "end 0,0", "item 80/1 [1A]"}},
      // A multiple of 100: the fourth piece is the last one and is acknowledged once.
      {"Freefile400", [] { return Freefile("T", LetteredBody(400)); }, false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("41", 100) + "]",
        "item 80/2 [" + Rep("42", 100) + "]", "item 80/2 [" + Rep("43", 100) + "]",
        "item 80/2 [" + Rep("44", 100) + "]", "end 0,0", "item 80/1 [1A]"}},
      {"Freefile500", [] { return Freefile("T", LetteredBody(500)); }, false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("41", 100) + "]",
        "item 80/2 [" + Rep("42", 100) + "]", "item 80/2 [" + Rep("43", 100) + "]",
        "item 80/2 [" + Rep("44", 100) + "]", "end 0,0", "reset",
        "item 80/2 [" + Rep("45", 100) + "]", "end 0,0", "item 80/1 [1A]"}},
      {"Freefile100", [] { return Freefile("T", LetteredBody(100)); }, false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("41", 100) + "]",
        "end 0,0", "item 80/1 [1A]"}},
      {"FreefileEmpty", [] { return Freefile("", ""); }, false, 1,
       {"item 70/1 [01]", "item 90/1 []", "end 0,0", "item 80/2 []", "end 0,0", "item 80/1 [1A]"}},
      // LF bytes leave each piece after the cut into 100-byte pieces.
      {"FreefileLineEnds", [] { return Freefile("T", std::string(98, 'x') + "\r\nyz"); }, false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("78", 98) + " 0D]",
        "item 80/2 [79 7A]", "end 0,0", "item 80/1 [1A]"}},
      {"FreefileLineEndAcrossPieces", [] { return Freefile("T", std::string(99, 'x') + "\r\ny"); },
       false, 1,
       {"item 70/1 [01]", "item 90/1 [54]", "end 0,0", "item 80/2 [" + Rep("78", 99) + " 0D]",
        "item 80/2 [79]", "end 0,0", "item 80/1 [1A]"}},
      // ž = 9E.
      {"FreefileConverted", [] { return Freefile(Cp("Příliš"), Cp("ž\r\n")); }, true, 1,
       {"item 70/1 [01]", "item 90/1 [50 72 A1 6C 69 73]", "end 0,0", "item 80/2 [7A 0D]",
        "end 0,0", "item 80/1 [1A]"}},

      // --- Scheduler.
      // Dovolená = 44 6F 76 6F 6C 65 6E E1.
      {"SchedulerRangeHidesTime", [] {
         return Scheduler(DateTime(2001, 5, 3, 9, 0), DateTime(2001, 5, 5, 10, 30), CCasTime(),
                          Cp("Dovolená")); }, true, 1,
       {// 2001-05-03~2001-05-05
        "item F0/1 [32 30 30 31 2D 30 35 2D 30 33 7E 32 30 30 31 2D 30 35 2D 30 35]",
        "item 80/3 [44 6F 76 6F 6C 65 6E A0]"}},
      {"SchedulerTimeRangeAlarm",
       [] { return Scheduler(DateTime(2001, 5, 3, 9, 0), Time(10, 30), Time(8, 45), "Porada"); },
       false, 1, {"item F0/1 [32 30 30 31 2D 30 35 2D 30 33]",
        // 09:00~10:30
        "item E0/1 [30 39 3A 30 30 7E 31 30 3A 33 30]",
        // 08:45
        "item C0/1 [30 38 3A 34 35]", "item 80/3 [50 6F 72 61 64 61]"}},
      {"SchedulerStartTimeOnly",
       [] { return Scheduler(DateTime(2001, 5, 3, 9, 0), CCasTime(), CCasTime(), "x"); }, false, 1,
       {"item F0/1 [32 30 30 31 2D 30 35 2D 30 33]", "item E0/1 [30 39 3A 30 30]",
        "item 80/3 [78]"}},
      {"SchedulerEndTimeWithoutStartTime",
       [] { return Scheduler(Date(2001, 5, 3), Time(10, 30), CCasTime(), "x"); }, false, 1,
       {"item F0/1 [32 30 30 31 2D 30 35 2D 30 33]", "item 80/3 [78]"}},
      {"SchedulerNothingSet", [] { return Scheduler(CCasTime(), CCasTime(), CCasTime(), ""); },
       false, 1, {"item F0/1 [" + Rep("2D", 10) + "]"}},
      {"SchedulerDescriptionPieces",
       [] { return Scheduler(Date(2001, 5, 3), CCasTime(), CCasTime(), std::string(121, 'd')); },
       false, 1, {"item F0/1 [32 30 30 31 2D 30 35 2D 30 33]", "item 80/3 [" + Rep("64", 120) + "]",
        "item 80/2 [64]"}},

      // --- Reminder.
      {"ReminderWeekday", [] { return Reminder(true, 5, -1, 2, 3, -1, -1, "Plyn"); }, false, 1,
       {// -----05----02-3
        "item F0/1 [2D 2D 2D 2D 2D 30 35 2D 2D 2D 2D 30 32 2D 33]", "item 80/3 [50 6C 79 6E]"}},
      // Vánoce = 56 E1 6E 6F 63 65.
      {"ReminderDayOfMonthAlarm",
       [] { return Reminder(false, 12, 24, -1, -1, 7, 5, Cp("Vánoce")); }, true, 1,
       {// -----12-24-----
        "item F0/1 [2D 2D 2D 2D 2D 31 32 2D 32 34 2D 2D 2D 2D 2D]",
        // 07:05
        "item C0/1 [30 37 3A 30 35]", "item 80/3 [56 A0 6E 6F 63 65]"}},
      // A weekday pattern without a weekday sends Sunday.
      {"ReminderWeekdayUnset", [] { return Reminder(true, -1, -1, -1, -1, -1, -1, ""); }, false, 1,
       {"item F0/1 [" + Rep("2D", 14) + " 31]"}},
      {"ReminderDaily", [] { return Reminder(false, -1, -1, -1, -1, -1, -1, "x"); }, false, 1,
       {"item F0/1 [" + Rep("2D", 15) + "]", "item 80/3 [78]"}},
      {"ReminderTextPieces",
       [] { return Reminder(false, 1, 1, -1, -1, -1, -1, std::string(130, 'r')); }, false, 1,
       {// -----01-01-----
        "item F0/1 [2D 2D 2D 2D 2D 30 31 2D 30 31 2D 2D 2D 2D 2D]",
        "item 80/3 [" + Rep("72", 120) + "]", "item 80/2 [" + Rep("72", 10) + "]"}},

      // --- Expenses: seven items.
      // hotově = 68 6F 74 6F 76 EC; jídlo = 6A ED 64 6C 6F; oběd = 6F 62 EC 64.
      {"ExpenseConverted",
       [] { return Expense(Date(2001, 5, 3), 12.5, Cp("hotově"), Cp("jídlo"), Cp("oběd")); }, true, 1,
       {// 20010503 LF
        "item 80/3 [32 30 30 31 30 35 30 33 0A]",
        // 12.500000 LF
        "item 80/2 [31 32 2E 35 30 30 30 30 30 0A]", "item 80/2 [68 6F 74 6F 76 65 0A]",
        "item 80/2 [6A A1 64 6C 6F 0A]", "item 80/2 [0A] *2", "item 80/2 [6F 62 65 64]"}},
      {"ExpenseNotConverted",
       [] { return Expense(Date(2001, 5, 3), 12.5, Cp("hotově"), Cp("jídlo"), Cp("oběd")); }, false, 1,
       {"item 80/3 [32 30 30 31 30 35 30 33 0A]", "item 80/2 [31 32 2E 35 30 30 30 30 30 0A]",
        "item 80/2 [68 6F 74 6F 76 EC 0A]", "item 80/2 [6A ED 64 6C 6F 0A]", "item 80/2 [0A] *2",
        "item 80/2 [6F 62 EC 64]"}},
      {"ExpenseLargestAndSmallAmounts",
       [] { return Expense(Date(1999, 12, 31), 99999999.0, "", "", ""); }, false, 1,
       {"item 80/3 [31 39 39 39 31 32 33 31 0A]",
        // 99999999. LF: the point stays with no digit after it
        "item 80/2 [" + Rep("39", 8) + " 2E 0A]", "item 80/2 [0A] *4", "item 80/2 []"}},
      {"ExpenseSmallAmount", [] { return Expense(Date(2001, 1, 2), 0.001, "", "", ""); }, false, 1,
       {"item 80/3 [32 30 30 31 30 31 30 32 0A]",
        // 0.0010000000 LF
        "item 80/2 [30 2E 30 30 31 30 30 30 30 30 30 30 0A]", "item 80/2 [0A] *4", "item 80/2 []"}},
      // A new expense: unset date parts and the amount -1.0 keep their number forms.
      {"ExpenseNew", [] { return std::unique_ptr<CCasioPol>(new CcExpense); }, false, 1,
       {// -001-1-1 LF
        "item 80/3 [2D 30 30 31 2D 31 2D 31 0A]",
        // -1.0000000 LF
        "item 80/2 [2D 31 2E 30 30 30 30 30 30 30 0A]", "item 80/2 [0A] *4", "item 80/2 []"}},

      // --- SpreadSheet: one block per call; data byte i is i mod 256.
      // Sum of 0..63 = 2016 = 0x7E0.
      {"SheetBlock1Of130", [] { return Sheet(130); }, false, 1,
       {"block [01 01 FE 40 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 "
        "17 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 "
        "34 35 36 37 38 39 3A 3B 3C 3D 3E 3F E0]"}, 1, 0},
      // Sum of 64..127 = 6112 = 0x17E0.
      {"SheetBlock2Of130", [] { return Sheet(130); }, false, 1,
       {"block [01 02 FD 40 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 55 56 "
        "57 58 59 5A 5B 5C 5D 5E 5F 60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 71 72 73 "
        "74 75 76 77 78 79 7A 7B 7C 7D 7E 7F E0]"}, 2, 0},
      // 128 + 129 = 257: checksum 01.
      {"SheetBlock3Of130IsLast", [] { return Sheet(130); }, false, 1,
       {"last", "block [01 03 FC 02 80 81 01]"}, 3, 0},
      // Exactly 64 left: all of them, and it is the last block.
      {"SheetBlock2Of128IsLast", [] { return Sheet(128); }, false, 1, {"last",
        "block [01 02 FD 40 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 55 56 "
        "57 58 59 5A 5B 5C 5D 5E 5F 60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 71 72 73 "
        "74 75 76 77 78 79 7A 7B 7C 7D 7E 7F E0]"}, 2, 0},
      // Block 255 at offset 64 * 254 = 16256: bytes 80..BF, sum 10208 = 0x27E0.
      {"SheetBlock255", [] { return Sheet(64 * 255 + 3); }, false, 1,
       {"block [01 FF 00 40 80 81 82 83 84 85 86 87 88 89 8A 8B 8C 8D 8E 8F 90 91 92 93 94 95 96 "
        "97 98 99 9A 9B 9C 9D 9E 9F A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF B0 B1 B2 B3 "
        "B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF E0]"}, 255, 0},
      // Block 256: number 0 after one wrap, offset 64 * 255 = 16320: C0 C1 C2, sum 0x243.
      {"SheetBlock256AfterWrap", [] { return Sheet(64 * 255 + 3); }, false, 1,
       {"last", "block [01 00 FF 03 C0 C1 C2 43]"}, 0, 1},
      // Nothing to send: no block (a block holds 1 to 64 bytes), and the send fails.
      {"SheetEmpty", [] { return Sheet(0); }, false, 0, {"last"}, 1, 0},

      // --- The worksheet rows of the exchange send nothing.
      {"SpreadsheetIE", [] { return std::unique_ptr<CCasioPol>(new CcSpreadsheetIE); }, false, 1,
       {}},
  };
  for (SendCase& c : cases) c.calls = Expand(c.calls);
  return cases;
}

void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }

class SendToDiaryTest : public ::testing::TestWithParam<SendCase> {};

TEST_P(SendToDiaryTest, SendsExactlyTheseItems) {
  const SendCase& c = GetParam();
  auto record = c.make();
  RecordingLink link;
  link.convert = c.convert;
  link.blockNumber = c.blockNumber;
  link.blockWraps = c.blockWraps;
  EXPECT_EQ(record->SendToDiary(link), c.result);
  EXPECT_EQ(link.calls, c.calls);
}

// A failure of any item, end or block stops the record at once: it returns 0 and asks
// nothing more of the link.
TEST_P(SendToDiaryTest, StopsAtTheFirstFailure) {
  const SendCase& c = GetParam();
  int fallible = 0;
  for (std::size_t i = 0; i < c.calls.size(); ++i) {
    const std::string& call = c.calls[i];
    if (call.rfind("item", 0) != 0 && call.rfind("end", 0) != 0 && call.rfind("block", 0) != 0)
      continue;
    ++fallible;
    auto record = c.make();
    RecordingLink link;
    link.convert = c.convert;
    link.blockNumber = c.blockNumber;
    link.blockWraps = c.blockWraps;
    link.failAt = fallible;
    EXPECT_EQ(record->SendToDiary(link), 0) << "failing call " << fallible;
    const std::vector<std::string> expected(c.calls.begin(), c.calls.begin() + long(i) + 1);
    EXPECT_EQ(link.calls, expected) << "failing call " << fallible;
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, SendToDiaryTest, ::testing::ValuesIn(SendCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The whole worksheet block by block, as the link asks for it: the block number counts up
// and wraps from 255 to 0 with the wraps counted apart; the blocks' data joined again is the
// worksheet, and each block's last byte is the sum of its data.
TEST(SpreadsheetBlocks, AllBlocksJoinToTheWorksheet) {
  for (std::size_t size : {std::size_t(1), std::size_t(64), std::size_t(65), std::size_t(130),
                           std::size_t(64 * 256 + 10)}) {
    auto sheet = std::make_unique<CcSpreadsheet>();
    for (std::size_t i = 0; i < size; ++i) sheet->m_data.push_back(uint8_t((i * 7 + 3) % 256));
    RecordingLink link;
    std::vector<uint8_t> joined;
    int blocks = 0;
    while (!link.lastBlock && blocks < 1000) {
      ASSERT_EQ(sheet->SendToDiary(link), 1);
      const std::vector<uint8_t>& b = link.lastBlockBytes;
      ASSERT_GE(b.size(), 5u);
      EXPECT_EQ(b[0], 0x01);
      EXPECT_EQ(b[1], uint8_t(link.blockNumber));
      EXPECT_EQ(b[2], uint8_t(255 - link.blockNumber));
      ASSERT_EQ(b.size(), std::size_t(b[3]) + 5);
      unsigned sum = 0;
      for (std::size_t i = 4; i < b.size() - 1; ++i) sum += b[i];
      EXPECT_EQ(b.back(), uint8_t(sum % 256));
      joined.insert(joined.end(), b.begin() + 4, b.end() - 1);
      ++blocks;
      link.blockNumber = (link.blockNumber + 1) % 256;
      if (link.blockNumber == 0) ++link.blockWraps;
    }
    EXPECT_EQ(blocks, int((size + 63) / 64)) << size;
    EXPECT_EQ(Hex(joined), Hex(sheet->m_data)) << size;
  }
}

// ---------------------------------------------------------------------------------------
// Receiving

struct Received {
  std::string text;
  uint8_t selector;
  int result;  // what SetFromDiaryItem must return
};

struct ReceiveCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  std::vector<Received> items;
  std::string record;  // Describe() of the record afterwards
};

const std::string kUnset = "-1,-1,-1,-1,-1,-1,-1";

std::vector<ReceiveCase> ReceiveCases() {
  return {
      {"MemoAppendsAndNeverAdvances", [] { return std::unique_ptr<CCasioPol>(new CcMemo); },
       {{"abc", 0x80, 0}, {"de\r\nf", 0x81, 0}, {"", 0x80, 0}}, "abcde<0D><0A>f"},
      {"TelefonTwoPieces", [] { return std::unique_ptr<CCasioPol>(new CcTelefon); },
       {{"abc", 0x80, 0}, {"de\n", 0x80, 1}, {"x\n", 0x80, 1}}, "abcde|x|||||||"},
      // An empty item counts as a whole field, as the empty last field of a sent entry.
      {"TelefonEmptyItemIsAField", [] { return std::unique_ptr<CCasioPol>(new CcTelefon); },
       {{"", 0x80, 1}, {"a\n", 0x80, 1}, {"\n", 0x80, 1}, {"b\r\nc", 0x80, 0}},
       "|a||b<0D><0A>c|||||"},
      {"TelefonIgnoresSelectorAndExtraFields",
       [] { return std::unique_ptr<CCasioPol>(new CcTelefon); }, {{"0\n", 0xF0, 1},
        {"1\n", 0x80, 1}, {"2\n", 0x80, 1}, {"3\n", 0x80, 1}, {"4\n", 0x80, 1}, {"5\n", 0x80, 1},
        {"6\n", 0x80, 1}, {"7\n", 0x80, 1}, {"8\n", 0x80, 1}, {"9\n", 0x80, 1}, {"10", 0x80, 0}},
       "0|1|2|3|4|5|6|7|8"},
      {"BuscardEmptyItemIsRefused", [] { return std::unique_ptr<CCasioPol>(new CcBuscard); },
       {{"", 0x80, 0}, {"Casio\n", 0x80, 1}, {"Jan", 0x80, 0}, {" Novak\n", 0x80, 1}, {"", 0x80, 0},
        {"tel\n", 0x80, 1}}, "Casio|Jan Novak|tel||||||||||||"},
      {"TodoTextAndCompletion", [] { return std::unique_ptr<CCasioPol>(new CcTodo); },
       {{"abc\r", 0x80, 0}, {"def\n", 0x81, 1}, {"g\x05", 0x80, 1}, {"", 0x80, 1},
        {"2001-05-03", 0xF0, 1}, {"10:30", 0xE0, 1}, {"ignored", 0xC0, 1}},
       "done 1 2001,5,3,-1,-1,10,30 abc<0D>defg"},
      {"TodoTimeAloneMakesDone", [] { return std::unique_ptr<CCasioPol>(new CcTodo); },
       {{"07:15\n", 0xE0, 1}}, "done 1 -1,-1,-1,-1,-1,7,15 "},
      {"TodoUnreadableDateStillDone", [] { return std::unique_ptr<CCasioPol>(new CcTodo); },
       {{"2001-xx-03", 0xF0, 1}, {"x", 0x70, 1}}, "done 1 " + kUnset + " "},
      {"FreefileParts", [] {auto r = std::make_unique<CcFreefile>();
         r->m_body = "old";
         r->m_title = "old";
         return std::unique_ptr<CCasioPol>(std::move(r)); }, {{"\x01", 0x70, 1}, {"Title", 0x90, 1},
        {"a\rb", 0x80, 1}, {"\rc", 0x81, 1}, {"d\x1A" "ef", 0x80, 1}, {"\x1A", 0x80, 1}},
       "Title|a<0D><0A>b<0D><0A>cd"},
      {"FreefileTitleCutAtEndMarker", [] { return std::unique_ptr<CCasioPol>(new CcFreefile); },
       {{"AB\x1A" "C", 0x90, 1}, {"x", 0xC0, 1}}, "AB|x"},
      {"SchedulerItems", [] { return std::unique_ptr<CCasioPol>(new CcScheduler); },
       {{"2001-05-03~2001-05-05", 0xF0, 1}, {"09:00~10:30", 0xE0, 1}, {"08:45~12:00", 0xC0, 1},
        {"Po", 0x80, 1}, {"rada", 0x81, 1}, {"lost", 0x70, 1}, {"lost", 0x82, 1}},
       "2001,5,3,-1,-1,9,0 ~ 2001,5,5,-1,-1,10,30 alarm -1,-1,-1,-1,-1,8,45 Porada"},
      {"SchedulerSingleDateAndTime", [] { return std::unique_ptr<CCasioPol>(new CcScheduler); },
       {{"-----12-24", 0xF0, 1}, {"18:--", 0xE0, 1}},
       "-1,12,24,-1,-1,18,-1 ~ " + kUnset + " alarm " + kUnset + " "},
      {"ReminderWeekdayPattern", [] { return std::unique_ptr<CCasioPol>(new CcReminder); },
       {{"-----05----02-3", 0xF0, 1}, {"07:05", 0xC0, 1}, {"Plyn", 0x80, 1}, {"lost", 0x81, 1}},
       "weekday 1 -1,5,-1,3,2,7,5 Plyn"},
      {"ReminderDayOfMonthPattern", [] { return std::unique_ptr<CCasioPol>(new CcReminder); },
       {{"-----12-24-----", 0xF0, 1}, {"lost", 0xE0, 1}}, "weekday 0 -1,12,24,-1,-1,-1,-1 "},
      // The text ends before the day: nothing is read beyond it.
      {"ReminderShortPattern", [] { return std::unique_ptr<CCasioPol>(new CcReminder); },
       {{"-----05", 0xF0, 1}}, "weekday 0 -1,5,-1,-1,-1,-1,-1 "},
      {"ReminderPatternReplacesFlag", [] {auto r = std::make_unique<CcReminder>();
         r->m_weekdayPattern = 1;
         r->m_pattern.m_weekday = 4;
         return std::unique_ptr<CCasioPol>(std::move(r)); }, {{"-----------01-x", 0xF0, 1}},
       "weekday 0 -1,-1,-1,-1,1,-1,-1 "},
      {"ExpenseFields", [] { return std::unique_ptr<CCasioPol>(new CcExpense); },
       {{"20010503\n", 0x80, 1}, {"12.500000\n", 0x80, 1}, {"hot", 0x80, 0}, {"ove\n", 0x80, 1},
        {"jidlo\n", 0x80, 1}, {"x\n", 0x80, 1}, {"", 0x80, 1}, {"obed", 0x80, 0}, {"!", 0x80, 0}},
       "2001,5,3,-1,-1,-1,-1 12.5|hotove|jidlo|obed!"},
      {"ExpenseUnreadable", [] { return std::unique_ptr<CCasioPol>(new CcExpense); },
       {{"2001xx3\n", 0x80, 1}, {"abc\n", 0x80, 1}, {"\n", 0x80, 1}, {"\n", 0x80, 1},
        {"\n", 0x80, 1}, {"\n", 0x80, 1}, {"\n", 0x80, 1}, {"late\n", 0x80, 1}},
       "2001,-1,3,-1,-1,-1,-1 0|||"},
      {"ExpenseDayRunsToTheEnd", [] { return std::unique_ptr<CCasioPol>(new CcExpense); },
       {{"1999123\n", 0x80, 1}, {"1", 0x80, 0}}, "1999,12,3,-1,-1,-1,-1 1|||"},
      {"SpreadsheetTakesNothing", [] { return std::unique_ptr<CCasioPol>(new CcSpreadsheet); },
       {{"data", 0x80, 1}}, "?"},
  };
}

void PrintTo(const ReceiveCase& c, std::ostream* os) { *os << c.name; }

class SetFromDiaryItemTest : public ::testing::TestWithParam<ReceiveCase> {};

// Items are handed over with the counters the link keeps: the item counter counts nonzero
// results, the chunk counter the same since the selector changed.
TEST_P(SetFromDiaryItemTest, TakesItemsIntoTheRecord) {
  const ReceiveCase& c = GetParam();
  auto record = c.make();
  int item = 0;
  int chunk = 0;
  int lastSelector = -1;
  std::vector<int> results;
  std::vector<int> expected;
  for (const Received& r : c.items) {
    if (r.selector != lastSelector) {
      chunk = 0;
      lastSelector = r.selector;
    }
    const int result = record->SetFromDiaryItem(r.text.c_str(), r.selector, item, chunk);
    results.push_back(result);
    expected.push_back(r.result);
    if (result) {
      ++item;
      ++chunk;
    }
  }
  EXPECT_EQ(results, expected);
  EXPECT_EQ(Describe(*record), c.record);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, SetFromDiaryItemTest, ::testing::ValuesIn(ReceiveCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetFromDiaryItem, SpreadsheetKeepsItsData) {
  CcSpreadsheet sheet;
  sheet.m_data = {1, 2, 3};
  EXPECT_EQ(sheet.SetFromDiaryItem("xyz", 0x80, 0, 0), 1);
  EXPECT_EQ(Hex(sheet.m_data), "01 02 03");
}

TEST(SetFromDiaryItem, ExpenseAmountThatDoesNotReadIsZero) {
  CcExpense expense;
  EXPECT_EQ(expense.SetFromDiaryItem("x12\n", 0x80, 1, 0), 1);
  EXPECT_EQ(expense.m_amount, 0.0);
  EXPECT_EQ(expense.SetFromDiaryItem(" 99999999.\n", 0x80, 1, 0), 1);
  EXPECT_EQ(expense.m_amount, 99999999.0);
}

// ---------------------------------------------------------------------------------------
// Round trips: record -> items -> link -> record

struct RoundTripCase {
  const char* name;
  std::function<std::unique_ptr<CCasioPol>()> make;
  std::function<std::unique_ptr<CCasioPol>()> empty;
};

std::string Lines(int count, int width) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::string(std::size_t(width), char('a' + i % 26));
    if (i + 1 < count) text += "\r\n";
  }
  return text;
}

std::vector<RoundTripCase> RoundTripCases() {
  auto memo = [] { return std::unique_ptr<CCasioPol>(new CcMemo); };
  auto telefon = [] { return std::unique_ptr<CCasioPol>(new CcTelefon); };
  auto buscard = [] { return std::unique_ptr<CCasioPol>(new CcBuscard); };
  auto todo = [] { return std::unique_ptr<CCasioPol>(new CcTodo); };
  auto freefile = [] { return std::unique_ptr<CCasioPol>(new CcFreefile); };
  auto scheduler = [] { return std::unique_ptr<CCasioPol>(new CcScheduler); };
  auto reminder = [] { return std::unique_ptr<CCasioPol>(new CcReminder); };
  auto expense = [] { return std::unique_ptr<CCasioPol>(new CcExpense); };
  return {
      {"MemoLong", [] { return Memo(Cp("Příliš žluťoučký kůň\r\n") + Lines(5, 70)); }, memo},
      {"TelefonAllEmpty", [] { return Telefon({}); }, telefon},
      // Fields of 130 and of 120 characters cross a frame; the last field of 150 arrives in
      // two frames without LF.
      {"TelefonLongFields", [] {
         return Telefon({Cp("Novák"), std::string(130, '1'), std::string(120, 'a'),
                         std::string(119, 'b'), "Praha\r\n1", "", "x", "", std::string(150, 'z')});
       }, telefon},
      {"Buscard", [] {
         return Buscard({"Casio", Cp("Šťastný"), "123", "", "", "", std::string(200, 'q'), "", "",
                         "", "", "", "", "f13", "f14"}); }, buscard},
      {"BuscardLastEmpty", [] { return Buscard({"C", "N"}); }, buscard},
      {"TodoDone", [] { return Todo(Lines(4, 60), true, DateTime(2001, 5, 3, 10, 30)); }, todo},
      {"TodoDoneDateOnly", [] { return Todo("x", true, Date(2001, 5, 3)); }, todo},
      {"TodoOpen", [] { return Todo(Cp("Nákup"), false, CCasTime()); }, todo},
      {"FreefileLines", [] { return Freefile("Kniha", Lines(12, 68)); }, freefile},
      {"Freefile400", [] { return Freefile("T", LetteredBody(400)); }, freefile},
      {"FreefileLineEndAcrossPieces",
       [] { return Freefile("T", std::string(99, 'x') + "\r\n" + std::string(450, 'y')); },
       freefile},
      {"FreefileEmpty", [] { return Freefile("T", ""); }, freefile},
      {"SchedulerDateTimes", [] {
         return Scheduler(DateTime(2001, 5, 3, 9, 0), Time(10, 30), Time(8, 45),
                          std::string(400, 's')); }, scheduler},
      {"SchedulerRange",
       [] { return Scheduler(Date(2001, 5, 3), Date(2001, 5, 5), CCasTime(), "Dovolena"); },
       scheduler},
      {"SchedulerNothing", [] { return Scheduler(CCasTime(), CCasTime(), CCasTime(), ""); },
       scheduler},
      {"ReminderWeekday", [] { return Reminder(true, 5, -1, 2, 3, 7, 5, "Plyn"); }, reminder},
      {"ReminderDayOfMonth",
       [] { return Reminder(false, 12, 24, -1, -1, -1, -1, std::string(200, 'v')); }, reminder},
      {"ReminderMonthly", [] { return Reminder(false, -1, 15, -1, -1, 23, 59, "x"); }, reminder},
      {"Expense",
       [] { return Expense(Date(2001, 5, 3), 12.5, Cp("hotově"), Cp("jídlo"), Cp("oběd")); },
       expense},
      {"ExpenseEmptyTexts", [] { return Expense(Date(2037, 12, 31), 1234.5678, "", "", ""); },
       expense},
  };
}

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class RoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, ReceivedRecordEqualsTheSentOne) {
  const RoundTripCase& c = GetParam();
  auto sent = c.make();
  RecordingLink link;
  ASSERT_EQ(sent->SendToDiary(link), 1);
  auto received = c.empty();
  Replay(link.ops, *received, dynamic_cast<CcFreefile*>(sent.get()) != nullptr);
  EXPECT_EQ(Describe(*received), Describe(*sent));
}

INSTANTIATE_TEST_SUITE_P(AllKinds, RoundTripTest, ::testing::ValuesIn(RoundTripCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Known losses of the way there and back.
TEST(RoundTrip, SchedulerRangeDropsTheTimes) {
  auto sent = Scheduler(DateTime(2001, 5, 3, 9, 0), DateTime(2001, 5, 5, 10, 30), CCasTime(), "x");
  RecordingLink link;
  ASSERT_EQ(sent->SendToDiary(link), 1);
  CcScheduler received;
  Replay(link.ops, received, false);
  EXPECT_EQ(Describe(received),
            "2001,5,3,-1,-1,-1,-1 ~ 2001,5,5,-1,-1,-1,-1 alarm -1,-1,-1,-1,-1,-1,-1 x");
}

TEST(RoundTrip, BuscardMissingCompanyComesBackAsBlank) {
  auto sent = Buscard({"", "Jan"});
  RecordingLink link;
  ASSERT_EQ(sent->SendToDiary(link), 1);
  CcBuscard received;
  Replay(link.ops, received, false);
  EXPECT_EQ(Describe(received), " |Jan|||||||||||||");
}

// Converted on the way out and back: letters the diary lacks lose their diacritic.
TEST(RoundTrip, TelefonWithConversionBothWays) {
  auto sent = Telefon({Cp("Příliš"), Cp("Žluťoučký")});
  RecordingLink link;
  link.convert = true;
  ASSERT_EQ(sent->SendToDiary(link), 1);
  CcTelefon received;
  Replay(link.ops, received, false, true);
  // Příliš -> 50 72 A1 6C 69 73 -> Prílis; Žluťoučký (8E 6C 75 9D 6F 75 E8 6B FD) -> Zlutoucky
  EXPECT_EQ(Hex(received.m_fields[0]), "50 72 ED 6C 69 73");
  EXPECT_EQ(Hex(received.m_fields[1]), "5A 6C 75 74 6F 75 63 6B 79");
}

}  // namespace
