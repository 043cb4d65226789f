// SPDX-License-Identifier: GPL-3.0-or-later
// The stored form of every record kind, byte for byte, and round trips through the stream.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Bytes.h"
#include "TimeParts.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"

namespace {

Bytes Store(const CCasioPol& record, CDuxelDoc* doc = nullptr) {
  Bytes out;
  CArchive ar(out, doc);
  ar.WriteObject(&record);
  return out;
}

std::unique_ptr<CCasioPol> Load(const Bytes& bytes, CDuxelDoc* doc = nullptr) {
  CArchive ar(bytes.data(), bytes.size(), doc);
  std::unique_ptr<CObject> obj = ar.ReadObject(RUNTIME_CLASS(CCasioPol));
  EXPECT_EQ(ar.Remaining(), 0u);
  return std::unique_ptr<CCasioPol>(static_cast<CCasioPol*>(obj.release()));
}

const Bytes kRawTag = H("78 ED 45 00");
const Bytes kAllUnset = H("FF FF FF FF FF FF FF FF FF FF FF FF FF FF");

struct Fixture {
  const char* name;
  std::function<CCasioPol*()> make;
  Bytes bytes;
};

std::vector<Fixture> Fixtures() {
  return {
      {"memo", [] { auto* r = new CcMemo; r->m_mark = 1; r->m_text = "Ahoj\r\n\xE8"; return r; },
       NewClass("CcMemo") + H("01 00") + H("07") + A("Ahoj") + H("0D 0A E8")},
      {"telephone",
       [] { auto* r = new CcTelefon; r->m_fields[0] = "N"; r->m_fields[8] = "Z"; return r; },
       NewClass("CcTelefon") + H("00 00") + H("01 4E 00 00 00 00 00 00 00 01 5A")},
      {"business card",
       [] { auto* r = new CcBuscard; r->m_fields[0] = "F"; r->m_fields[14] = "X"; return r; },
       NewClass("CcBuscard") + H("00 00") + H("01 46") +
           H("00 00 00 00 00 00 00 00 00 00 00 00 00") + H("01 58")},
      {"todo", [] {
         auto* r = new CcTodo;
         r->m_text = "T";
         r->m_completed = TimeFromParts(2001, 5, 3, -1, -1, 10, 30);
         r->m_done = 1;
         return r;
       },
       NewClass("CcTodo") + H("00 00") + H("01 54") + kRawTag +
           H("D1 07 05 00 03 00 FF FF FF FF 0A 00 1E 00") + H("01 00")},
      {"free file", [] {
         auto* r = new CcFreefile;
         r->m_title = "Doc";
         r->m_body = std::string("a\r\nb\0c", 6);
         return r;
       },
       NewClass("CcFreefile") + H("00 00") + H("03") + A("Doc") + H("06 00 00 00") +
           H("61 0D 0A 62 00 63")},
      {"scheduler", [] {
         auto* r = new CcScheduler;
         r->m_start = TimeFromParts(2001, 5, 3, -1, -1, 10, 30);
         r->m_alarm = TimeFromParts(-1, -1, -1, -1, -1, 9, 0);
         r->m_text = "S";
         return r;
       },
       NewClass("CcScheduler") + H("00 00") + kRawTag +
           H("D1 07 05 00 03 00 FF FF FF FF 0A 00 1E 00") + kRawTag + kAllUnset + kRawTag +
           H("FF FF FF FF FF FF FF FF FF FF 09 00 00 00") + H("01 53")},
      {"reminder", [] {
         auto* r = new CcReminder;
         r->m_weekdayPattern = 1;
         r->m_pattern = TimeFromParts(-1, 5, -1, 3, 2, 8, 15);
         r->m_text = "R";
         return r;
       },
       NewClass("CcReminder") + H("00 00") + H("01 00") + kRawTag +
           H("FF FF 05 00 FF FF 03 00 02 00 08 00 0F 00") + H("01 52")},
      {"expense", [] {
         auto* r = new CcExpense;
         r->m_date = TimeFromParts(2001, 5, 3, -1, -1, -1, -1);
         r->m_amount = 12.5;
         r->m_payment = "P";
         r->m_expense = "E";
         r->m_note = "";
         return r;
       },
       // The date is a class-tagged CCasTime of six words (no week).
       NewClass("CcExpense") + H("00 00") + NewClass("CCasTime") +
           H("D1 07 05 00 03 00 FF FF FF FF FF FF") + H("00 00 00 00 00 00 29 40") +
           H("01 50 01 45 00")},
      {"spreadsheet", [] {
         auto* r = new CcSpreadsheet;
         r->m_name = "Tab";
         r->m_changed = TimeFromParts(1999, 12, 31, -1, -1, 23, 59);
         r->m_data = {0x00, 0xFF, 0x1A};
         return r;
       },
       NewClass("CcSpreadsheet") + H("00 00") + H("03") + A("Tab") + NewClass("CCasTime") +
           H("CF 07 0C 00 1F 00 FF FF 17 00 3B 00") + H("03 00") + H("00 FF 1A")},
  };
}

// Written from the record and read back and written again, each fixture is the same bytes:
// a reader and writer wrong in the same way would pass a write-then-read test alone.
TEST(RecordStorage, EveryKindStoresItsFieldsInOrderAndReadsBack) {
  for (const Fixture& f : Fixtures()) {
    std::unique_ptr<CCasioPol> record(f.make());
    EXPECT_EQ(Store(*record), f.bytes) << f.name;
    std::unique_ptr<CCasioPol> loaded = Load(f.bytes);
    ASSERT_NE(loaded, nullptr) << f.name;
    EXPECT_EQ(Store(*loaded), f.bytes) << f.name;
  }
}

TEST(RecordStorage, EveryTruncationFailsWithEndOfData) {
  for (const Fixture& f : Fixtures()) {
    for (std::size_t n = 0; n < f.bytes.size(); ++n) {
      const Bytes cut(f.bytes.begin(), f.bytes.begin() + long(n));
      CArchive ar(cut.data(), cut.size());
      try {
        ar.ReadObject(RUNTIME_CLASS(CCasioPol));
        ADD_FAILURE() << f.name << " read from " << n << " bytes";
      } catch (const ArchiveError& e) {
        EXPECT_EQ(e.fault(), ArchiveFault::EndOfFile) << f.name << " at " << n;
      }
    }
  }
}

TEST(RecordStorage, TwoDigitYearsAreCorrectedOnReading) {
  // An Expense whose stored year is 99 and a ToDo whose stored year is 5.
  const Bytes expense = NewClass("CcExpense") + H("00 00") + NewClass("CCasTime") +
                        H("63 00 01 00 02 00 FF FF FF FF FF FF") + H("00 00 00 00 00 00 F0 BF") +
                        H("00 00 00");
  auto e = Load(expense);
  EXPECT_EQ(static_cast<CcExpense&>(*e).m_date.m_year, 1999);
  EXPECT_EQ(static_cast<CcExpense&>(*e).m_amount, -1.0);

  const Bytes todo = NewClass("CcTodo") + H("00 00") + H("00") + kRawTag +
                     H("05 00 01 00 02 00 FF FF FF FF FF FF FF FF") + H("00 00");
  auto t = Load(todo);
  EXPECT_EQ(static_cast<CcTodo&>(*t).m_completed.m_year, 2005);
}

TEST(RecordStorage, TextsOfAProtectedDocumentAreScrambledButBlocksAreNot) {
  CDuxelDoc doc;
  doc.SetPassword("abc");
  CcFreefile f;
  f.m_title = "xyz";
  f.m_body = "xyz";
  // Title: key[i] ^ ~c -> E6 E4 E6; body and its length plain.
  EXPECT_EQ(Store(f, &doc),
            NewClass("CcFreefile") + H("00 00") + H("03 E6 E4 E6") + H("03 00 00 00") + A("xyz"));

  CcTelefon t;
  t.m_fields[0] = "0123456789AB";  // the key repeats after ten characters
  const Bytes stored = Store(t, &doc);
  auto back = Load(stored, &doc);
  EXPECT_EQ(static_cast<CcTelefon&>(*back).m_fields[0], "0123456789AB");
  EXPECT_EQ(stored[18 + 10], uint8_t('a' ^ uint8_t(~uint8_t('A'))));  // class 15, mark 2, length 1
}

TEST(RecordStorage, NewRecordsHaveTheirDefaults) {
  CcExpense e;
  EXPECT_EQ(e.m_amount, -1.0);
  EXPECT_TRUE(e.m_date.m_year < 0 && e.m_date.m_minute < 0);
  CcFreefile f;
  EXPECT_TRUE(f.m_body.empty());
  CcSpreadsheet s;
  EXPECT_TRUE(s.m_data.empty());
  EXPECT_EQ(s.m_name, "");
}

}  // namespace
