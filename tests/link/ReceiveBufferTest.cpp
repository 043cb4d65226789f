// SPDX-License-Identifier: GPL-3.0-or-later
// The receive buffer: emptying it and moving it into a document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CDuxelDoc.h"
#include "link/CCasioModel.h"
#include "link/ReceiveBuffer.h"
#include "records/DiaryRecords.h"

namespace {

CcTelefon* Phone(const std::string& name) {
  auto* r = new CcTelefon;
  r->m_fields[0] = name;
  return r;
}

CcMemo* Memo(const std::string& text) {
  auto* r = new CcMemo;
  r->m_text = text;
  return r;
}

CcSpreadsheet* Sheet(int size) {
  auto* s = new CcSpreadsheet;
  s->m_data.assign(size, 1);
  return s;
}

std::vector<std::string> PhoneNames(const CCasioList& list) {
  std::vector<std::string> out;
  for (const CCasioPol* r : list) out.push_back(static_cast<const CcTelefon*>(r)->m_fields[0]);
  return out;
}

std::vector<std::string> SheetNames(const CCasioList& list) {
  std::vector<std::string> out;
  for (const CCasioPol* r : list) out.push_back(static_cast<const CcSpreadsheet*>(r)->m_name);
  return out;
}

TEST(ReceiveBuffer, ListsAreOfTheModesClasses) {
  ReceiveBuffer buffer;
  for (int m = 0; m < 10; ++m) {
    EXPECT_TRUE(buffer.GetList(m)->IsEmpty());
    EXPECT_FALSE(buffer.HasPendingData(m));
  }
  EXPECT_NE(dynamic_cast<CcTelefonList*>(buffer.GetList(kTelephone)), nullptr);
  EXPECT_NE(dynamic_cast<CcReminderList*>(buffer.GetList(kReminderTwo)), nullptr);
  EXPECT_NE(dynamic_cast<CcSpreadsheetList*>(buffer.GetList(kSpreadSheet)), nullptr);
  EXPECT_FALSE(buffer.AnyPendingData());
}

TEST(ReceiveBuffer, EmptyingDropsEveryPendingRecordAndTheCounters) {
  ReceiveBuffer buffer;
  buffer.GetList(kMemo)->InsertSorted(Memo("a"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("b"));
  buffer.m_received = 3;
  buffer.m_accepted = 2;
  EXPECT_TRUE(buffer.AnyPendingData());
  buffer.Empty();
  EXPECT_TRUE(buffer.GetList(kMemo)->IsEmpty());
  EXPECT_TRUE(buffer.GetList(kTelephone)->IsEmpty());
  EXPECT_FALSE(buffer.AnyPendingData());
  EXPECT_EQ(buffer.m_received, 0);
  EXPECT_EQ(buffer.m_accepted, 0);
}

TEST(ReceiveBuffer, WindowCloseFlags) {
  ReceiveBuffer buffer;
  buffer.WindowClosed(false);  // closed while nothing arrives
  EXPECT_FALSE(buffer.m_userClosed);
  buffer.WindowClosed(true);  // closed by the user during a reception
  EXPECT_TRUE(buffer.m_userClosed);
  buffer.m_userClosed = false;
  buffer.m_closedByProgram = true;
  buffer.WindowClosed(true);  // the program's own close
  EXPECT_FALSE(buffer.m_userClosed);
  EXPECT_FALSE(buffer.m_closedByProgram);
}

TEST(ReceiveBuffer, AllIntoTheDocumentInsertsSortedAndDropsDuplicates) {
  ReceiveBuffer buffer;
  CDuxelDoc doc;
  doc.GetList(kTelephone)->InsertSorted(Phone("Bob"));
  doc.SetModifiedFlag(false);
  buffer.GetList(kTelephone)->InsertSorted(Phone("Cid"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("Ann"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("Bob"));  // already in the document
  CcTelefon* refusedAgain = Phone("Ann");
  EXPECT_EQ(buffer.GetList(kTelephone)->InsertSorted(refusedAgain), 0);  // a buffer duplicate
  delete refusedAgain;
  buffer.GetList(kMemo)->InsertSorted(Memo("m"));
  buffer.m_received = 5;
  buffer.m_accepted = 4;

  const int accepted = MoveAllToDocument(buffer, doc, CCasioModel());
  EXPECT_EQ(accepted, 3);  // Ann, Cid, the memo
  EXPECT_EQ(PhoneNames(*doc.GetList(kTelephone)), (std::vector<std::string>{"Ann", "Bob", "Cid"}));
  // Taken records start without duplicates (Ann had one in the buffer); the document's own
  // Bob counts the refused copy.
  std::vector<uint32_t> duplicates;
  for (const CCasioPol* r : *doc.GetList(kTelephone)) duplicates.push_back(r->m_duplicates);
  EXPECT_EQ(duplicates, (std::vector<uint32_t>{0, 1, 0}));
  EXPECT_EQ(doc.GetList(kMemo)->GetCount(), 1u);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(buffer.AnyPendingData());
  EXPECT_TRUE(buffer.GetList(kTelephone)->IsEmpty());
  EXPECT_EQ(buffer.m_received, 0);
  EXPECT_EQ(buffer.m_accepted, 0);
  doc.DeleteContents();
}

TEST(ReceiveBuffer, ModesTheDiaryTypeLacksStayInTheBuffer) {
  ReceiveBuffer buffer;
  CDuxelDoc doc;
  CCasioModel model;
  model.m_modeWidths[kMemo] = 0;
  buffer.GetList(kMemo)->InsertSorted(Memo("m"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("p"));
  MoveAllToDocument(buffer, doc, model);
  EXPECT_TRUE(doc.GetList(kMemo)->IsEmpty());
  EXPECT_EQ(doc.GetList(kTelephone)->GetCount(), 1u);
  EXPECT_TRUE(buffer.HasPendingData(kMemo));
  EXPECT_FALSE(buffer.HasPendingData(kTelephone));
  EXPECT_EQ(MoveModeToDocument(buffer, doc, model, kMemo), 0);
  EXPECT_TRUE(buffer.HasPendingData(kMemo));
  doc.DeleteContents();
}

TEST(ReceiveBuffer, ReceivedWorksheetsAreNamedAfterTheDocumentsCount) {
  ReceiveBuffer buffer;
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->InsertSorted(Sheet(3));
  doc.GetList(kSpreadSheet)->InsertSorted(Sheet(4));
  buffer.GetList(kSpreadSheet)->InsertSorted(Sheet(5));
  buffer.GetList(kSpreadSheet)->InsertSorted(Sheet(6));
  MoveAllToDocument(buffer, doc, CCasioModel());
  EXPECT_EQ(SheetNames(*doc.GetList(kSpreadSheet)),
            (std::vector<std::string>{"", "", "Tabulka 3", "Tabulka 4"}));
  doc.DeleteContents();
}

class CountingView : public BufferMoveView {
 public:
  bool HasView(int mode) const override { return mode == kSpreadSheet || mode == kMemo; }
  int NextSheetNumber() override { return m_counter++; }
  void RecordMoved(int mode, CCasioPol*) override { moved.push_back(mode); }
  void ModeMoved(int mode) override { finished.push_back(mode); }
  int m_counter = 7;
  std::vector<int> moved;
  std::vector<int> finished;
};

TEST(ReceiveBuffer, AnOpenSpreadsheetViewNumbersTheWorksheets) {
  ReceiveBuffer buffer;
  CDuxelDoc doc;
  buffer.GetList(kSpreadSheet)->InsertSorted(Sheet(5));
  buffer.GetList(kSpreadSheet)->InsertSorted(Sheet(6));
  buffer.GetList(kMemo)->InsertSorted(Memo("m"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("p"));
  CountingView view;
  MoveAllToDocument(buffer, doc, CCasioModel(), &view);
  EXPECT_EQ(SheetNames(*doc.GetList(kSpreadSheet)),
            (std::vector<std::string>{"Tabulka 7", "Tabulka 8"}));
  EXPECT_EQ(view.moved, (std::vector<int>{kMemo, kSpreadSheet, kSpreadSheet}));
  EXPECT_EQ(view.finished, (std::vector<int>{kMemo, kSpreadSheet}));
  doc.DeleteContents();
}

TEST(ReceiveBuffer, OneModeLowersTheCountersByEachRecordAndItsDuplicates) {
  ReceiveBuffer buffer;
  CDuxelDoc doc;
  buffer.GetList(kTelephone)->InsertSorted(Phone("Ann"));
  buffer.GetList(kTelephone)->InsertSorted(Phone("Bob"));
  buffer.GetList(kTelephone)->GetHead()->m_duplicates = 2;  // Ann came three times
  buffer.GetList(kMemo)->InsertSorted(Memo("m"));
  buffer.m_received = 5;
  buffer.m_accepted = 3;
  EXPECT_EQ(MoveModeToDocument(buffer, doc, CCasioModel(), kTelephone), 2);
  EXPECT_EQ(buffer.m_received, 1);  // 5 - (1 + 2) - 1
  EXPECT_EQ(buffer.m_accepted, 0);  // never below 0
  EXPECT_FALSE(buffer.HasPendingData(kTelephone));
  EXPECT_TRUE(buffer.HasPendingData(kMemo));
  EXPECT_EQ(doc.GetList(kTelephone)->GetHead()->m_duplicates, 0u);
  doc.DeleteContents();
}

}  // namespace
