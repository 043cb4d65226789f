// SPDX-License-Identifier: GPL-3.0-or-later
// The .dux file, byte for byte: header, password, lists, records, older formats.
#include <gtest/gtest.h>

#include "Bytes.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"

namespace {

// The empty lists of modes `first` to `last` as they follow one another in a stream. The
// ReminderTwo list repeats the class of ReminderOne, whose class index the caller gives.
Bytes EmptyListsOf(int first, int last, int reminderClassIndex) {
  static const char* const names[] = {
      "CcMemoList",    "CcTelefonList",    "CcSchedulerList", "CcBuscardList",
      "CcTodoList",    "CcFreefileList",   "CcReminderList",  "",
      "CcExpenseList", "CcSpreadsheetList"};
  Bytes out;
  for (int m = first; m <= last; ++m) {
    if (m == kReminderTwo)
      out = out + Bytes{uint8_t(reminderClassIndex), 0x80} + H("00 00");
    else
      out = out + NewClass(names[m]) + H("00 00");
  }
  return out;
}

// The ten lists of an empty document after the six header bytes: the first seven classes
// and their lists take indexes 1 to 14, so ReminderTwo's list is tagged 0D 80.
Bytes EmptyLists() { return EmptyListsOf(0, 9, 13); }

std::optional<std::string> NoAnswer() { return std::nullopt; }

PasswordQuestion Answer(const std::string& text) {
  return [text]() -> std::optional<std::string> { return text; };
}

TEST(DocumentFormat, EmptyDocumentIsHeaderAndTenEmptyLists) {
  CDuxelDoc doc;
  const Bytes expected = A("D390") + A("NP") + EmptyLists();
  EXPECT_EQ(doc.Store(), expected);
  EXPECT_EQ(expected.size(), 6u + 195u);

  CDuxelDoc back;
  ASSERT_TRUE(back.Load(expected.data(), expected.size(), NoAnswer).ok());
  for (int m = 0; m < kModeCount; ++m) EXPECT_EQ(back.GetList(m)->GetCount(), 0u) << m;
  EXPECT_EQ(back.GetList(kReminderTwo)->GetRuntimeClass(), RUNTIME_CLASS(CcReminderList));
  EXPECT_EQ(back.GetLoadedFormat(), DocFormat::D390);
}

TEST(DocumentFormat, SecondRecordOfAKindCarriesItsClassIndex) {
  CDuxelDoc doc;
  auto* first = new CcMemo;
  first->m_text = "A";
  auto* second = new CcMemo;
  second->m_text = "B";
  second->m_mark = 1;
  doc.GetList(kMemo)->AddTail(first);
  doc.GetList(kMemo)->AddTail(second);
  const Bytes bytes = doc.Store();
  const Bytes memoList = NewClass("CcMemoList") + H("02 00") +  // class 1, list 2, two records
                         NewClass("CcMemo") + H("00 00 01") + A("A") +  // class 3, object 4
                         H("03 80") + H("01 00 01") + A("B");           // known class 3, object 5
  ASSERT_GE(bytes.size(), 6 + memoList.size());
  EXPECT_EQ(Bytes(bytes.begin() + 6, bytes.begin() + 6 + long(memoList.size())), memoList);
  // ReminderTwo's list now refers to class 16: three more indexes went to the memos.
  const Bytes tail = H("10 80 00 00") + NewClass("CcExpenseList") + H("00 00") +
                     NewClass("CcSpreadsheetList") + H("00 00");
  EXPECT_EQ(Bytes(bytes.end() - long(tail.size()), bytes.end()), tail);
}

TEST(DocumentFormat, ProtectedHeaderAndScrambledMemo) {
  CDuxelDoc doc;
  doc.SetPassword("abc");
  auto* memo = new CcMemo;
  memo->m_text = "xyz";
  doc.GetList(kMemo)->AddTail(memo);
  const Bytes bytes = doc.Store();
  // Password bytes: ~p[i] ^ p[i+1], chained to 'd' (0x64) after the tenth.
  const Bytes header = A("D390") + A("PW") + H("FC FE 9C FF FF FF FF FF FF 9B");
  // Memo "xyz" under key "abc": key[i] ^ ~c, the length byte plain.
  const Bytes memoList =
      NewClass("CcMemoList") + H("01 00") + NewClass("CcMemo") + H("00 00") + H("03 E6 E4 E6");
  ASSERT_GE(bytes.size(), header.size() + memoList.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16), header);
  EXPECT_EQ(Bytes(bytes.begin() + 16, bytes.begin() + 16 + long(memoList.size())), memoList);

  CDuxelDoc back;
  ASSERT_TRUE(back.Load(bytes.data(), bytes.size(), Answer("abc")).ok());
  EXPECT_TRUE(back.IsProtected());
  EXPECT_EQ(back.GetPassword(), "abc");
  EXPECT_EQ(static_cast<CcMemo*>(back.GetList(kMemo)->GetHead())->m_text, "xyz");
}

TEST(DocumentFormat, PasswordIsCaseSensitiveAndCancelRefuses) {
  CDuxelDoc doc;
  doc.SetPassword("tajne");
  auto* memo = new CcMemo;
  memo->m_text = "secret";
  doc.GetList(kMemo)->AddTail(memo);
  const Bytes bytes = doc.Store();

  struct Case {
    PasswordQuestion ask;
    bool ok;
  };
  const Case cases[] = {{Answer("tajne"), true},
                        {Answer("TAJNE"), false},
                        {Answer("tajn"), false},
                        {NoAnswer, false}};
  for (const Case& c : cases) {
    CDuxelDoc back;
    const DocResult r = back.Load(bytes.data(), bytes.size(), c.ask);
    EXPECT_EQ(r.ok(), c.ok);
    if (!c.ok) {
      EXPECT_EQ(r.status, LoadStatus::WrongPassword);
      EXPECT_EQ(r.messageId, 1101);
      EXPECT_EQ(r.message, "Zadané heslo není správné!");
      EXPECT_EQ(back.GetList(kMemo)->GetCount(), 0u);
    }
  }
}

TEST(DocumentFormat, TenCharacterPasswordSurvivesAndStaysTerminated) {
  CDuxelDoc doc;
  doc.SetPassword("0123456789");
  const Bytes bytes = doc.Store();
  CDuxelDoc back;
  ASSERT_TRUE(back.Load(bytes.data(), bytes.size(), Answer("0123456789")).ok());
  EXPECT_EQ(back.GetPassword(), "0123456789");
  // An eleventh character is never kept.
  CDuxelDoc longer;
  longer.SetPassword("0123456789X");
  EXPECT_EQ(longer.GetPassword(), "0123456789");
}

TEST(DocumentFormat, HeaderlessFileReadsEightListsAndSavesAsCurrent) {
  // No header: the file begins with the first list's new-class tag. A memo in the first
  // list shows that the read happens; the memo's class takes indexes 3 and 4.
  const Bytes withMemo = NewClass("CcMemoList") + H("01 00") + NewClass("CcMemo") + H("00 00") +
                         H("02") + A("hi") + EmptyListsOf(1, 7, 15);
  ASSERT_EQ(Bytes(withMemo.begin(), withMemo.begin() + 4), H("FF FF 00 00"));

  CDuxelDoc doc;
  ASSERT_TRUE(doc.Load(withMemo.data(), withMemo.size(), NoAnswer).ok());
  EXPECT_EQ(doc.GetLoadedFormat(), DocFormat::Headerless);
  EXPECT_EQ(static_cast<CcMemo*>(doc.GetList(kMemo)->GetHead())->m_text, "hi");
  EXPECT_EQ(doc.GetList(kExpenses)->GetCount(), 0u);
  EXPECT_EQ(doc.GetList(kSpreadSheet)->GetRuntimeClass(), RUNTIME_CLASS(CcSpreadsheetList));
  // Saved whole in the current format: the header, the memo, and all ten lists.
  EXPECT_EQ(doc.Store(), A("D390NP") + NewClass("CcMemoList") + H("01 00") + NewClass("CcMemo") +
                             H("00 00") + H("02") + A("hi") + EmptyListsOf(1, 9, 15));
}

TEST(DocumentFormat, ProtectedD303IsReadAndUnprotectedRefused) {
  const Bytes eightLists = EmptyListsOf(0, 7, 13);

  const Bytes protectedFile = A("D303") + A("PW") + H("FC FE 9C FF FF FF FF FF FF 9B") + eightLists;
  CDuxelDoc doc;
  const DocResult ok = doc.Load(protectedFile.data(), protectedFile.size(), Answer("abc"));
  ASSERT_TRUE(ok.ok()) << ok.reason;
  EXPECT_EQ(doc.GetLoadedFormat(), DocFormat::D303);
  EXPECT_TRUE(doc.IsProtected());

  const Bytes unprotectedFile = A("D303") + A("NP") + eightLists;
  CDuxelDoc refused;
  const DocResult r = refused.Load(unprotectedFile.data(), unprotectedFile.size(), NoAnswer);
  EXPECT_EQ(r.status, LoadStatus::Unprotected303);
  EXPECT_EQ(r.messageId, 61705);
  EXPECT_EQ(r.message, "Příkaz se nepovedlo provést.");
  EXPECT_TRUE(r.opensEmpty());
}

TEST(DocumentFormat, AnyOtherSignatureReadsAsCurrentFormat) {
  const Bytes file = A("ABCD") + A("NP") + EmptyLists();
  CDuxelDoc doc;
  EXPECT_TRUE(doc.Load(file.data(), file.size(), NoAnswer).ok());
  EXPECT_EQ(doc.GetLoadedFormat(), DocFormat::D390);
}

TEST(DocumentFormat, ShortFilesGiveMessage61705) {
  const Bytes cases[] = {H(""), A("D39"), A("D390"), A("D390N")};
  for (const Bytes& file : cases) {
    CDuxelDoc doc;
    const DocResult r = doc.Load(file.data(), file.size(), NoAnswer);
    EXPECT_EQ(r.status, LoadStatus::TooShort) << file.size();
    EXPECT_EQ(r.messageId, 61705);
    EXPECT_TRUE(r.opensEmpty());
  }
}

TEST(DocumentFormat, StreamFaultsAreReportedWithTheirCause) {
  struct Case {
    const char* what;
    Bytes file;
    const char* reasonPart;
  };
  const Case cases[] = {
      {"unknown class", A("D390NP") + NewClass("CcNothing") + H("00 00"), "unknown class"},
      {"record class as list", A("D390NP") + NewClass("CcMemo") + H("00 00 00"),
       "where CCasioList was expected"},
      {"bad schema", A("D390NP") + H("FF FF 01 00 0A 00") + A("CcMemoList") + H("00 00"),
       "schema 1"},
      {"back-reference to nothing", A("D390NP") + H("05 00"), "names no object"},
      {"class index of nothing", A("D390NP") + H("05 80"), "names no class"},
      {"null list", A("D390NP") + H("00 00"), "missing"},
      {"list element of a list class",
       A("D390NP") + NewClass("CcMemoList") + H("01 00") + H("01 80"), "expected"},
  };
  for (const Case& c : cases) {
    CDuxelDoc doc;
    const DocResult r = doc.Load(c.file.data(), c.file.size(), NoAnswer);
    EXPECT_EQ(r.status, LoadStatus::BadFormat) << c.what;
    EXPECT_EQ(r.message, "Neočekávaný tvar souboru.") << c.what;
    EXPECT_NE(r.reason.find(c.reasonPart), std::string::npos) << c.what << ": " << r.reason;
    EXPECT_FALSE(r.opensEmpty());
  }
}

TEST(DocumentFormat, FailedLoadKeepsNothingOfTheFile) {
  CDuxelDoc source;
  for (const char* text : {"one", "two", "three"}) {
    auto* memo = new CcMemo;
    memo->m_text = text;
    source.GetList(kMemo)->AddTail(memo);
  }
  Bytes bytes = source.Store();
  bytes.resize(bytes.size() - 20);  // lose the last lists

  CDuxelDoc doc;
  auto* held = new CcTelefon;
  held->m_fields[0] = "held";
  doc.GetList(kTelephone)->AddTail(held);
  const DocResult r = doc.Load(bytes.data(), bytes.size(), NoAnswer);
  EXPECT_EQ(r.status, LoadStatus::BadFormat);
  for (int m = 0; m < kModeCount; ++m) EXPECT_EQ(doc.GetList(m)->GetCount(), 0u) << m;
}

TEST(DocumentFormat, BackReferenceToAnEarlierRecordIsACopy) {
  // The second element refers back to object 4, the first memo; a back-reference takes no
  // index, so ReminderOne's class is 15.
  const Bytes file = A("D390NP") + NewClass("CcMemoList") + H("02 00") + NewClass("CcMemo") +
                     H("01 00 02") + A("hi") + H("04 00") + EmptyListsOf(1, 9, 15);
  CDuxelDoc doc;
  const DocResult r = doc.Load(file.data(), file.size(), NoAnswer);
  ASSERT_TRUE(r.ok()) << r.reason;
  CCasioList* memos = doc.GetList(kMemo);
  ASSERT_EQ(memos->GetCount(), 2u);
  auto* a = static_cast<CcMemo*>(*memos->begin());
  auto* b = static_cast<CcMemo*>(*std::next(memos->begin()));
  EXPECT_NE(a, b);
  EXPECT_EQ(b->m_text, "hi");
  EXPECT_EQ(b->m_mark, 1);
}

TEST(DocumentFormat, BigTagFormsAreRead) {
  // 7F FF with a dword: bit 31 set names a class (here class 3), clear an object (4).
  const Bytes file = A("D390NP") + NewClass("CcMemoList") + H("03 00") + NewClass("CcMemo") +
                     H("00 00 01") + A("a") + H("FF 7F 03 00 00 80") + H("00 00 01") + A("b") +
                     H("FF 7F 04 00 00 00") + EmptyListsOf(1, 9, 16);
  CDuxelDoc doc;
  const DocResult r = doc.Load(file.data(), file.size(), NoAnswer);
  ASSERT_TRUE(r.ok()) << r.reason;
  std::vector<std::string> texts;
  for (CCasioPol* p : *doc.GetList(kMemo)) texts.push_back(static_cast<CcMemo*>(p)->m_text);
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "a"}));
}

}  // namespace
