// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>

#include "records/CCasioList.h"

class CCasioModel;
class CDuxelDoc;

// The receive buffer: what came from the diary and has not yet been taken into a document,
// one list per mode (of the same classes as a document's lists). A list's modified flag
// means it holds pending data. The buffer owns every record in its lists.
class ReceiveBuffer {
 public:
  ReceiveBuffer();
  ~ReceiveBuffer();
  ReceiveBuffer(const ReceiveBuffer&) = delete;
  ReceiveBuffer& operator=(const ReceiveBuffer&) = delete;

  CCasioList* GetList(int mode) const { return m_lists[mode].get(); }
  bool HasPendingData(int mode) const { return m_lists[mode]->m_modified != 0; }
  bool AnyPendingData() const;
  // The empty-buffer command (after its question): every list with pending data loses its
  // records and its flag; both counters become 0.
  void Empty();

  // Records received and records accepted (not refused as duplicates) since the buffer
  // was last emptied or taken into a document.
  int m_received = 0;
  int m_accepted = 0;

  // The buffer window's flags: the program is closing it; the user closed it during the
  // reception in progress (it then stays closed until the reception ends).
  bool m_closedByProgram = false;
  bool m_userClosed = false;

  // The buffer window's close handler: `receptionInProgress` is true while the port is
  // open and records are arriving (receive status 2).
  void WindowClosed(bool receptionInProgress);

 private:
  std::array<std::unique_ptr<CCasioList>, 10> m_lists;
};

// What an open view of the target document does while the buffer moves into it. The GUI
// implements it; without a view nothing needs it.
class BufferMoveView {
 public:
  virtual ~BufferMoveView() = default;
  // Whether the document has an open view of `mode`.
  virtual bool HasView(int /*mode*/) const { return false; }
  // The open spreadsheet view's running table counter: the number for the next received
  // worksheet (the counter then advances). Only asked when HasView(9).
  virtual int NextSheetNumber() { return 1; }
  // A record was taken into the document's list of `mode`: its row appears and it becomes
  // the view's current record.
  virtual void RecordMoved(int /*mode*/, CCasioPol* /*record*/) {}
  // Every record of `mode` was moved: the view selects and shows its current record.
  virtual void ModeMoved(int /*mode*/) {}
};

// "Vše do dokumentu": every mode with pending data that the diary type has moves into the
// document. Each record is inserted with the list's InsertSorted (a refused duplicate is
// deleted; an accepted one loses its duplicate count and marks the document modified). A
// worksheet is first named "Tabulka %d", numbered by the open spreadsheet view's counter
// or, without a view, by the document's worksheet count plus one. After each mode both
// counters become 0 and the mode's buffer list is emptied and loses its flag. Returns the
// number of records accepted.
int MoveAllToDocument(ReceiveBuffer& buffer, CDuxelDoc& document, const CCasioModel& model,
                      BufferMoveView* view = nullptr);
// "Režim do dokumentu": the same for one mode, except that the counters are lowered for each
// moved record by one and by its duplicate count (never below 0) instead of being cleared.
int MoveModeToDocument(ReceiveBuffer& buffer, CDuxelDoc& document, const CCasioModel& model,
                       int mode, BufferMoveView* view = nullptr);
