// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "records/CCasioPol.h"

class ExchangeColumns;
class ExchangeStatement;

// The records of one mode, in the order the views show them, the link sends them and the
// printer prints them. A list never deletes its records: its holder does (DeleteAll).
class CCasioList : public CObject {
  DECLARE_SERIAL(CCasioList)

 public:
  using Records = std::list<CCasioPol*>;
  using iterator = Records::iterator;
  using const_iterator = Records::const_iterator;

  uint32_t m_selected = 0;  // scratch flag of the dialogs that choose modes
  uint32_t m_modified = 0;  // set by every insert that adds a record

  // Count, then every record by reference. A failed load deletes what it had read.
  void Serialize(CArchive& ar) override;

  // The exchange name of field `index`.
  virtual std::string GetFieldName(int index) const;
  // Adds a record by the list's policy; 1 when added, 0 when refused (the caller keeps it).
  virtual int InsertSorted(CCasioPol* record);
  // A new empty record of the list's kind; the caller owns it.
  virtual CCasioPol* CreateRecord() const;
  // Gives every column of the operation a zero-filled text buffer as long as the width of the
  // field mapped to it and binds it to `statement`: as an input parameter for export, as a
  // result column for import. 0 as soon as one bind fails.
  virtual int BindColumns(ExchangeColumns& columns, ExchangeStatement& statement, bool forExport);
  // Fills the bound buffers from a record of the list's kind (`reminderTwo` only for the
  // ReminderTwo mode).
  virtual void ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool reminderTwo);
  // Fills a new record from the bound buffers, then empties them.
  virtual void ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo);
  // With -1 the number of exchange fields, else the width of field `index`.
  virtual int GetFieldWidth(int index) const;
  // The mode index of the list's kind (6 for both reminder lists).
  virtual int GetKind() const;

  iterator begin() { return m_records.begin(); }
  iterator end() { return m_records.end(); }
  const_iterator begin() const { return m_records.begin(); }
  const_iterator end() const { return m_records.end(); }
  std::size_t GetCount() const { return m_records.size(); }
  bool IsEmpty() const { return m_records.empty(); }
  CCasioPol* GetHead() const { return m_records.empty() ? nullptr : m_records.front(); }

  void AddHead(CCasioPol* r) { m_records.push_front(r); }
  void AddTail(CCasioPol* r) { m_records.push_back(r); }
  iterator InsertBefore(iterator pos, CCasioPol* r) { return m_records.insert(pos, r); }
  iterator RemoveAt(iterator pos) { return m_records.erase(pos); }
  void RemoveAll() { m_records.clear(); }
  // The holder's clean-up: deletes every record and empties the list.
  void DeleteAll();

  // The records of `count` lists in their order, into out[0..count). All the lists are
  // walked at once, each from both ends: their nodes, which lie anywhere in memory and are
  // each found only through the one before, are then fetched side by side.
  static void GatherRecords(const CCasioList* const* lists, std::size_t count,
                            std::vector<CCasioPol*>* out);
  // Makes the next store of the list write `records` (its records in order, as GatherRecords
  // gives them) instead of walking the list again. That store clears it.
  void StoreFrom(const std::vector<CCasioPol*>* records) { m_storeFrom = records; }

  // The width of every exchange field: the column size the ODBC exchange found (at most 200).
  static void SetExchangeWidth(int width);

 protected:
  // The sorted insert: walks from the head, refuses an equal record (counting it on the
  // one already held), inserts before the first record that sorts after the new one.
  int InsertInOrder(CCasioPol* record);
  int InsertAtHead(CCasioPol* record);
  int InsertAtTail(CCasioPol* record);

 private:
  Records m_records;
  const std::vector<CCasioPol*>* m_storeFrom = nullptr;
};

// The captions of the six free fields of Telephone (mode 1) and BusinessCards (mode 3) as
// their views show them ("name: "). The GUI feeds them from the settings.
using FreeFieldCaptionProvider = std::function<std::string(int mode, int index)>;
void SetFreeFieldCaptionProvider(FreeFieldCaptionProvider provider);  // empty: defaults
std::string GetFreeFieldCaption(int mode, int index);
// The exchange column name of a free field: its caption folded to ASCII, less the ": ".
std::string FreeFieldColumnName(int mode, int index);
