// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QAbstractListModel>

class CCasioList;
class CCasioPol;

// The rows of a marking list box: one row per record of a record list, in list order. Like
// a list box's item data, the model keeps its own array of record pointers, so that a row is
// found in constant time however long the list is (the list itself is a linked list).
//
// The model never changes the list. Whoever changes the list tells the model at once, before
// the event loop runs again (a paint would otherwise read a deleted record):
//   - after inserting a record:          recordInserted(row) or recordInserted(record)
//   - before deleting a removed record:  recordRemoved(row)  or recordRemoved(record)
//   - after changing a record's text or mark: recordChanged(row)
//   - after moving one record:           recordMoved(from, to)
//   - after anything larger (mark all, delete modes, receive buffer): reset()
// Each single-row notice costs one walk of the list at most, never a rebuild.
class RecordListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role {
    RecordRole = Qt::UserRole + 1,  // CCasioPol* as a quintptr
    MarkedRole,                     // bool: the record's mark flag
  };

  explicit RecordListModel(QObject* parent = nullptr);
  // Shows `list` (may be null: no rows). Same as reset() on the new list.
  void setList(CCasioList* list);
  CCasioList* list() const { return m_list; }

  int rowCount(const QModelIndex& parent = {}) const override;
  // DisplayRole: the row as text (what the record draws, RowTextPainter); RecordRole,
  // MarkedRole as above.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // The record of a row; null when out of range.
  CCasioPol* recordAt(int row) const;
  // The row of a record; -1 when the model has no row for it.
  int rowOf(const CCasioPol* record) const;
  // Marked records among the rows.
  int markedCount() const;

  // The record now at position `row` of the list gets a row there.
  void recordInserted(int row);
  // The record, now in the list, gets the row of its list position; returns the row (-1 when
  // the record is not in the list).
  int recordInserted(CCasioPol* record);
  // The row goes (the record has left the list or is about to be deleted).
  void recordRemoved(int row);
  // The record's row goes; returns the row it had (-1: none).
  int recordRemoved(const CCasioPol* record);
  // The row's record changed its text or mark: only that row repaints.
  void recordChanged(int row);
  // Every row repaints (after marks were changed on many records).
  void allChanged();
  // The record of row `from` now stands at list position `to`.
  void recordMoved(int from, int to);
  // The rows are built again from the list.
  void reset();

  // Whether the rows match the list, record for record (tests; costs a walk of the list).
  bool matchesList() const;

 private:
  void rebuild();

  CCasioList* m_list = nullptr;
  std::vector<CCasioPol*> m_rows;
};
