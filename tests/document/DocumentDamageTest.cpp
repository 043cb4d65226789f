// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged documents: every prefix and random byte damage are refused cleanly.
#include <gtest/gtest.h>

#include <random>

#include "Bytes.h"
#include "RecordBuilders.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"

namespace {

// One record of every kind, texts of several lengths.
void Fill(CDuxelDoc& doc) {
  using R = RecordsOf<AsIs>;
  const CCasTime unset;
  doc.GetList(kMemo)->AddTail(R::Memo(std::string(300, 'm')).release());
  doc.GetList(kTelephone)->AddTail(R::Telefon({"Nov\xE1k"}).release());
  doc.GetList(kScheduler)->AddTail(R::Scheduler(Date(2001, -1, -1), unset, unset, "s").release());
  doc.GetList(kBusinessCards)->AddTail(R::Buscard({"c", "c"}).release());
  doc.GetList(kToDo)->AddTail(R::Todo("t", false, unset).release());
  doc.GetList(kFreeFile)->AddTail(R::Freefile("f", "body\r\n").release());
  for (int m : {kReminderOne, kReminderTwo})
    doc.GetList(m)->AddTail(R::Reminder(false, unset, "r").release());
  for (int i = 0; i < 2; ++i)
    doc.GetList(kExpenses)->AddTail(R::Expense(unset, i, "", "", "").release());
  auto* sheet = new CcSpreadsheet;
  sheet->m_name = "x";
  sheet->m_data = {1, 2, 3};
  doc.GetList(kSpreadSheet)->AddTail(sheet);
}

std::size_t RecordCount(const CDuxelDoc& doc) {
  std::size_t n = 0;
  for (int m = 0; m < kModeCount; ++m) n += doc.GetList(m)->GetCount();
  return n;
}

TEST(DocumentDamage, EveryPrefixIsRefusedAndKeepsNothing) {
  for (const char* password : {"", "heslo"}) {
    CDuxelDoc source;
    Fill(source);
    if (*password) source.SetPassword(password);
    const Bytes full = source.Store();
    for (std::size_t n = 0; n < full.size(); ++n) {
      CDuxelDoc doc;
      const DocResult r =
          doc.Load(full.data(), n, [&] { return std::optional<std::string>(password); });
      ASSERT_FALSE(r.ok()) << "prefix of " << n << " bytes was accepted";
      EXPECT_TRUE(r.status == LoadStatus::TooShort || r.status == LoadStatus::BadFormat)
          << n << ": " << r.reason;
      EXPECT_FALSE(r.message.empty());
      EXPECT_EQ(RecordCount(doc), 0u) << n;
    }
    CDuxelDoc doc;
    ASSERT_TRUE(
        doc.Load(full.data(), full.size(), [&] { return std::optional<std::string>(password); })
            .ok());
    EXPECT_EQ(RecordCount(doc), 11u);
    EXPECT_EQ(doc.Store(), full);
  }
}

TEST(DocumentDamage, RandomDamageNeverCrashesAndFailuresKeepNothing) {
  CDuxelDoc source;
  Fill(source);
  const Bytes full = source.Store();
  std::mt19937 rng(1234);
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = full;
    const int flips = 1 + int(rng() % 4);
    for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] = uint8_t(rng());
    CDuxelDoc doc;
    const DocResult r =
        doc.Load(damaged.data(), damaged.size(), [] { return std::optional<std::string>("x"); });
    if (!r.ok()) {
      ++refused;
      EXPECT_EQ(RecordCount(doc), 0u);
      EXPECT_FALSE(r.message.empty());
    } else {
      // Whatever was read must store again and read back the same.
      const Bytes again = doc.Store();
      CDuxelDoc reread;
      ASSERT_TRUE(reread
                      .Load(again.data(), again.size(),
                            [&] { return std::optional<std::string>(doc.GetPassword()); })
                      .ok());
      EXPECT_EQ(reread.Store(), again);
    }
  }
  EXPECT_GT(refused, 100);
}

TEST(DocumentDamage, FileRoundTripThroughDisk) {
  CDuxelDoc source;
  Fill(source);
  const std::string path = ::testing::TempDir() + "/roundtrip.dux";
  ASSERT_TRUE(source.SaveFile(path).ok());
  EXPECT_FALSE(source.IsModified());
  CDuxelDoc doc;
  ASSERT_TRUE(doc.LoadFile(path, {}).ok());
  EXPECT_EQ(doc.Store(), source.Store());
  const DocResult missing = doc.LoadFile(path + ".none", {});
  EXPECT_EQ(missing.status, LoadStatus::IoError);
  const DocResult unwritable = source.SaveFile("/nonexistent-dir/x.dux");
  EXPECT_EQ(unwritable.status, LoadStatus::IoError);
  EXPECT_NE(unwritable.reason.find("No such file"), std::string::npos) << unwritable.reason;
}

}  // namespace
