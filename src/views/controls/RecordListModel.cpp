// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/controls/RecordListModel.h"

#include <algorithm>
#include <iterator>

#include "records/CCasioList.h"
#include "views/RowTextPainter.h"

RecordListModel::RecordListModel(QObject* parent) : QAbstractListModel(parent) {}

void RecordListModel::setList(CCasioList* list) {
  beginResetModel();
  m_list = list;
  rebuild();
  endResetModel();
}

void RecordListModel::rebuild() {
  m_rows.clear();
  if (!m_list) return;
  m_rows.reserve(m_list->GetCount());
  for (CCasioPol* record : *m_list) m_rows.push_back(record);
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  const CCasioPol* record = recordAt(index.row());
  if (!record || index.column() != 0) return {};
  switch (role) {
    case Qt::DisplayRole: {
      RowTextPainter painter;
      record->DrawRow(painter, 0, false);
      return painter.Line();
    }
    case RecordRole:
      return QVariant::fromValue(reinterpret_cast<quintptr>(record));
    case MarkedRole:
      return record->m_mark != 0;
    default:
      return {};
  }
}

CCasioPol* RecordListModel::recordAt(int row) const {
  return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[std::size_t(row)] : nullptr;
}

int RecordListModel::rowOf(const CCasioPol* record) const {
  const auto it = std::find(m_rows.begin(), m_rows.end(), record);
  return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

int RecordListModel::markedCount() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const CCasioPol* r) { return r->m_mark; }));
}

void RecordListModel::recordInserted(int row) {
  if (!m_list || row < 0 || row >= static_cast<int>(m_list->GetCount())) return;
  CCasioPol* record = *std::next(m_list->begin(), row);
  row = std::min(row, static_cast<int>(m_rows.size()));
  beginInsertRows({}, row, row);
  m_rows.insert(m_rows.begin() + row, record);
  endInsertRows();
}

int RecordListModel::recordInserted(CCasioPol* record) {
  if (!m_list) return -1;
  int row = 0;
  for (const CCasioPol* r : *m_list) {
    if (r == record) break;
    ++row;
  }
  if (row >= static_cast<int>(m_list->GetCount())) return -1;
  row = std::min(row, static_cast<int>(m_rows.size()));
  beginInsertRows({}, row, row);
  m_rows.insert(m_rows.begin() + row, record);
  endInsertRows();
  return row;
}

void RecordListModel::recordRemoved(int row) {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
  beginRemoveRows({}, row, row);
  m_rows.erase(m_rows.begin() + row);
  endRemoveRows();
}

int RecordListModel::recordRemoved(const CCasioPol* record) {
  const int row = rowOf(record);
  recordRemoved(row);
  return row;
}

void RecordListModel::recordChanged(int row) {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
  const QModelIndex i = index(row);
  emit dataChanged(i, i);
}

void RecordListModel::allChanged() {
  if (m_rows.empty()) return;
  emit dataChanged(index(0), index(static_cast<int>(m_rows.size()) - 1));
}

void RecordListModel::recordMoved(int from, int to) {
  const int n = static_cast<int>(m_rows.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
  // Qt counts the destination before the move: one further when moving down.
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
  CCasioPol* record = m_rows[std::size_t(from)];
  m_rows.erase(m_rows.begin() + from);
  m_rows.insert(m_rows.begin() + to, record);
  endMoveRows();
}

void RecordListModel::reset() {
  beginResetModel();
  rebuild();
  endResetModel();
}

bool RecordListModel::matchesList() const {
  if (!m_list) return m_rows.empty();
  if (m_list->GetCount() != m_rows.size()) return false;
  return std::equal(m_rows.begin(), m_rows.end(), m_list->begin());
}
