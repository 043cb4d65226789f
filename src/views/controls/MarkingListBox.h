// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QListView>

#include "views/controls/RecordListModel.h"

class CCasioList;
class CCasioPol;

// The record list of a form: one row per record as the record paints its summary, a small
// triangle at the left edge of each marked record. The rows come from a RecordListModel the
// list box owns (model()); nothing is made per row, so 100,000 records cost no more to show
// than ten.
//
// Selection: single. currentRowChanged and rowActivated are emitted only for changes the user
// makes (mouse, keyboard), never for setCurrentRow or changes of the model, as a list box's
// selection-change notification behaves; the view commits and shows on them.
class MarkingListBox : public QListView {
  Q_OBJECT

 public:
  explicit MarkingListBox(QWidget* parent = nullptr);

  RecordListModel* recordModel() const { return m_model; }
  // Shorthands for recordModel()->setList / recordAt.
  void setList(CCasioList* list);
  CCasioPol* recordAt(int row) const { return m_model->recordAt(row); }
  int count() const { return m_model->rowCount(); }

  // The list font: the row height becomes the height of "Áy" in it plus 4.
  void setListFont(const QFont& font);
  int rowHeight() const { return m_rowHeight; }
  // Colours of the rows' parts: the mode's text colour (invalid: the palette's text colour)
  // and the secondary colour of dates, times and amounts, also used for the mark triangle.
  void setTextColour(const QColor& colour);
  void setSecondaryColour(const QColor& colour);
  QColor textColour() const;
  QColor secondaryColour() const { return m_secondary; }

  // -1 when no row is selected.
  int currentRow() const;
  // Selects a row (-1: none) and scrolls it into view, without notifying.
  void setCurrentRow(int row);

 signals:
  // The user selected another row (-1 when none).
  void currentRowChanged(int row);
  // The user double-clicked a row (the view toggles its mark).
  void rowDoubleClicked(int row);
  // Rows were added or removed, or the list was shown anew (the "Položek:" counter).
  void rowCountChanged(int count);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The row under the caret is always the one selected: Ctrl+click does not deselect it,
  // a click below the rows changes nothing.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  // Rows have no text to search by letter: typing selects nothing.
  void keyboardSearch(const QString& search) override;

 private:
  class Delegate;

  RecordListModel* m_model;
  Delegate* m_delegate;
  QColor m_text;
  QColor m_secondary;
  int m_rowHeight = 0;
  int m_userInput = 0;  // > 0 while a mouse or key event of the user is handled
};
