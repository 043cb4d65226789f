// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/sheet/SpreadsheetGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "records/CcSpreadsheet.h"
#include "spreadsheet/CellDecoder.h"
#include "spreadsheet/CellRangeText.h"
#include "views/GuiText.h"

namespace {
const char* kSelected = "selected";
}

SpreadsheetGrid::SpreadsheetGrid(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (int c = 0; c < kColumns; ++c) {
    auto* header = new QLabel(this);
    header->setObjectName(QStringLiteral("columnHeader%1").arg(c));  // 410..413
    header->setAlignment(Qt::AlignCenter);
    header->setFrameShape(QFrame::Panel);
    header->setFrameShadow(QFrame::Raised);
    layout->addWidget(header, 0, c + 1);
    m_columnHeaders[std::size_t(c)] = header;
  }
  for (int r = 0; r < kRows; ++r) {
    auto* header = new QLabel(this);
    header->setObjectName(QStringLiteral("rowHeader%1").arg(r));  // 414..421
    header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    header->setFrameShape(QFrame::Panel);
    header->setFrameShadow(QFrame::Raised);
    header->setMinimumWidth(QFontMetrics(header->font()).horizontalAdvance(QStringLiteral("99999")));
    layout->addWidget(header, r + 1, 0);
    m_rowHeaders[std::size_t(r)] = header;
    for (int c = 0; c < kColumns; ++c) {
      auto* cell = new QLineEdit(this);
      cell->setObjectName(QStringLiteral("cell%1").arg(r * kColumns + c));  // 422 + 4r + c
      cell->setReadOnly(true);
      cell->setStyleSheet(QStringLiteral("QLineEdit[selected=\"true\"] { background: palette(highlight);"
                                         " color: palette(highlighted-text); }"));
      cell->installEventFilter(this);
      layout->addWidget(cell, r + 1, c + 1);
      m_cells[std::size_t(r * kColumns + c)] = cell;
    }
  }
  m_vbar = new QScrollBar(Qt::Vertical, this);  // 455
  m_vbar->setObjectName(QStringLiteral("rowScrollBar"));
  m_vbar->setRange(0, kMaxRowPosition);
  m_vbar->setSingleStep(1);
  m_vbar->setPageStep(8);
  m_vbar->setTracking(false);  // the grid follows the thumb when it is released
  layout->addWidget(m_vbar, 1, kColumns + 1, kRows, 1);
  m_hbar = new QScrollBar(Qt::Horizontal, this);  // 454
  m_hbar->setObjectName(QStringLiteral("columnScrollBar"));
  m_hbar->setRange(0, kMaxColumnPosition);
  m_hbar->setSingleStep(1);
  m_hbar->setPageStep(4);
  m_hbar->setTracking(false);
  layout->addWidget(m_hbar, kRows + 1, 1, 1, kColumns);
  for (int c = 1; c <= kColumns; ++c) layout->setColumnStretch(c, 1);

  connect(m_hbar, &QScrollBar::valueChanged, this, [this] {
    fillHeaders();
    fillCells();
  });
  connect(m_vbar, &QScrollBar::valueChanged, this, [this] {
    fillHeaders();
    fillCells();
  });
  fillHeaders();
  fillCells();
}

void SpreadsheetGrid::setWorksheet(const CcSpreadsheet* sheet) {
  m_sheet = sheet;
  fillCells();
}

void SpreadsheetGrid::refill() { fillCells(); }

void SpreadsheetGrid::setCellFont(const QFont& font) {
  for (QLineEdit* cell : m_cells) cell->setFont(font);
}

int SpreadsheetGrid::columnPosition() const { return m_hbar->value(); }
int SpreadsheetGrid::rowPosition() const { return m_vbar->value(); }

QString SpreadsheetGrid::columnHeader(int column) const {
  return m_columnHeaders[std::size_t(column)]->text();
}
QString SpreadsheetGrid::rowHeader(int row) const { return m_rowHeaders[std::size_t(row)]->text(); }
QString SpreadsheetGrid::cellText(int row, int column) const { return cell(row, column)->text(); }

QString SpreadsheetGrid::fullCellText(int row, int column) const {
  if (!m_sheet) return QString();
  return QStringFromCp1250(GetCellText(m_sheet, row, column).text);
}

void SpreadsheetGrid::fillHeaders() {
  const int h = columnPosition();
  const int v = rowPosition();
  for (int c = 0; c < kColumns; ++c)
    m_columnHeaders[std::size_t(c)]->setText(QString::fromStdString(ColumnLetters(h + c + 1)));
  for (int r = 0; r < kRows; ++r) m_rowHeaders[std::size_t(r)]->setText(QString::number(v + r + 1));
}

void SpreadsheetGrid::fillCells() {
  const int h = columnPosition();
  const int v = rowPosition();
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      QLineEdit* control = cell(r, c);
      control->setText(fullCellText(v + r + 1, h + c + 1));
      control->setCursorPosition(0);
    }
  }
  paintSelection();
}

void SpreadsheetGrid::paintSelection() {
  const int top = std::min(m_anchorRow, m_row), bottom = std::max(m_anchorRow, m_row);
  const int left = std::min(m_anchorColumn, m_column), right = std::max(m_anchorColumn, m_column);
  const bool range = top != bottom || left != right;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const int row = rowPosition() + r + 1, column = columnPosition() + c + 1;
      const bool selected = range && row >= top && row <= bottom && column >= left && column <= right;
      QLineEdit* control = cell(r, c);
      if (control->property(kSelected).toBool() != selected) {
        control->setProperty(kSelected, selected);
        control->style()->unpolish(control);
        control->style()->polish(control);
      }
    }
  }
}

void SpreadsheetGrid::selectCells(int anchorRow, int anchorColumn, int row, int column) {
  m_anchorRow = anchorRow;
  m_anchorColumn = anchorColumn;
  m_row = row;
  m_column = column;
  paintSelection();
}

std::string SpreadsheetGrid::selectionText() const {
  if (!m_sheet) return CellRangeText({}, m_anchorRow, m_anchorColumn, m_row, m_column);
  return CellRangeText(m_sheet->m_data, m_anchorRow, m_anchorColumn, m_row, m_column);
}

void SpreadsheetGrid::copySelection() const {
  // The desktop's line ends.
  QString text = QStringFromCp1250(selectionText());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QGuiApplication::clipboard()->setText(text);
}

int SpreadsheetGrid::indexOf(QObject* control) const {
  const auto it = std::find(m_cells.begin(), m_cells.end(), control);
  return it == m_cells.end() ? -1 : int(it - m_cells.begin());
}

void SpreadsheetGrid::moveFocus(int dRow, int dColumn, bool extend) {
  int row = m_row + dRow, column = m_column + dColumn;
  row = std::clamp(row, 1, kMaxRowPosition + kRows);
  column = std::clamp(column, 1, kMaxColumnPosition + kColumns);
  // Scroll so that the new current cell is in view.
  if (row - 1 < rowPosition()) m_vbar->setValue(row - 1);
  if (row > rowPosition() + kRows) m_vbar->setValue(row - kRows);
  if (column - 1 < columnPosition()) m_hbar->setValue(column - 1);
  if (column > columnPosition() + kColumns) m_hbar->setValue(column - kColumns);
  QLineEdit* target = cell(row - rowPosition() - 1, column - columnPosition() - 1);
  if (target->hasFocus()) {
    // The same control now shows another cell: it gets no new focus event.
    cellEntered(indexOf(target), extend);
  } else {
    m_extending = extend;
    target->setFocus(Qt::OtherFocusReason);
    m_extending = false;
  }
}

void SpreadsheetGrid::cellEntered(int index, bool extend) {
  m_row = rowPosition() + index / kColumns + 1;
  m_column = columnPosition() + index % kColumns + 1;
  if (!extend) {
    m_anchorRow = m_row;
    m_anchorColumn = m_column;
  }
  paintSelection();
  emit cellFocused(fullCellText(m_row, m_column));
}

bool SpreadsheetGrid::eventFilter(QObject* watched, QEvent* event) {
  const int index = indexOf(watched);
  if (index < 0) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    cellEntered(index, m_extending || (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier));
  } else if (event->type() == QEvent::MouseButtonPress && m_cells[std::size_t(index)]->hasFocus()) {
    // A click into the focused cell gets no focus event: Shift widens, else it starts anew.
    cellEntered(index, static_cast<QMouseEvent*>(event)->modifiers() & Qt::ShiftModifier);
  } else if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    if (key->matches(QKeySequence::Copy)) {
      copySelection();
      return true;
    }
    switch (key->key()) {
      case Qt::Key_Left: moveFocus(0, -1, shift); return true;
      case Qt::Key_Right: moveFocus(0, 1, shift); return true;
      case Qt::Key_Up: moveFocus(-1, 0, shift); return true;
      case Qt::Key_Down: moveFocus(1, 0, shift); return true;
      case Qt::Key_PageUp: moveFocus(-kRows, 0, shift); return true;
      case Qt::Key_PageDown: moveFocus(kRows, 0, shift); return true;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}
