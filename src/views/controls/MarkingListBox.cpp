// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/controls/MarkingListBox.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "records/CCasioPol.h"
#include "views/controls/QtRowPainter.h"

// Paints a row as the record draws it, with the mark triangle; every row is as high as the
// list box says.
class MarkingListBox::Delegate : public QAbstractItemDelegate {
 public:
  explicit Delegate(MarkingListBox* box) : QAbstractItemDelegate(box), m_box(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const CCasioPol* record = m_box->recordAt(index.row());
    if (!record) return;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    const QRect& rect = option.rect;
    painter->save();
    painter->fillRect(rect, selected ? palette.highlight() : palette.base());
    painter->setFont(option.font);
    const QtRowPainter::Colours colours{m_box->textColour(), m_box->secondaryColour(),
                                        palette.color(QPalette::HighlightedText)};
    QtRowPainter rowPainter(*painter, rect.left(), colours, selected);
    record->DrawRow(rowPainter, rect.top(), selected);
    if (record->m_mark) {
      // A right-pointing triangle of three strokes (5, 3 and 1 pixels) at the left edge.
      painter->setPen(selected ? colours.highlight : colours.secondary);
      const int y0 = rect.top() + m_box->rowHeight() / 2 - 2;
      for (int i = 0; i < 3; ++i)
        painter->drawLine(rect.left() + 4 + i, y0 + i, rect.left() + 4 + i, y0 + 4 - i);
    }
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(option);
      focus.backgroundColor = selected ? palette.color(QPalette::Highlight)
                                       : palette.color(QPalette::Base);
      m_box->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_box);
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {1, m_box->rowHeight()};
  }

 private:
  MarkingListBox* m_box;
};

MarkingListBox::MarkingListBox(QWidget* parent)
    : QListView(parent),
      m_model(new RecordListModel(this)),
      m_delegate(new Delegate(this)),
      m_secondary(Qt::darkGray) {
  setObjectName(QStringLiteral("recordList"));
  setModel(m_model);
  setItemDelegate(m_delegate);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setListFont(font());
  auto counted = [this] { emit rowCountChanged(m_model->rowCount()); };
  connect(m_model, &QAbstractItemModel::rowsInserted, this, counted);
  connect(m_model, &QAbstractItemModel::rowsRemoved, this, counted);
  connect(m_model, &QAbstractItemModel::modelReset, this, counted);
}

void MarkingListBox::setList(CCasioList* list) { m_model->setList(list); }

void MarkingListBox::setListFont(const QFont& listFont) {
  setFont(listFont);
  // The height of "Áy": the font's full height, accents and descenders included.
  m_rowHeight = QFontMetrics(listFont).height() + 4;
  // Uniform rows: the view asks the first row's size again.
  emit m_delegate->sizeHintChanged(m_model->index(0));
  doItemsLayout();
}

void MarkingListBox::setTextColour(const QColor& colour) {
  m_text = colour;
  viewport()->update();
}

void MarkingListBox::setSecondaryColour(const QColor& colour) {
  m_secondary = colour;
  viewport()->update();
}

QColor MarkingListBox::textColour() const {
  return m_text.isValid() ? m_text : palette().color(QPalette::Text);
}

int MarkingListBox::currentRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void MarkingListBox::setCurrentRow(int row) {
  const QModelIndex index = m_model->index(row);
  const int saved = m_userInput;
  m_userInput = 0;
  if (index.isValid()) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  } else {
    selectionModel()->clear();
  }
  m_userInput = saved;
}

void MarkingListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QListView::currentChanged(current, previous);
  if (m_userInput <= 0) return;
  // What the view does about it (re-sorting, deleting an emptied record) moves the
  // selection again, which is no longer the user's doing.
  const int saved = m_userInput;
  m_userInput = 0;
  emit currentRowChanged(current.isValid() ? current.row() : -1);
  m_userInput = saved;
}

void MarkingListBox::mousePressEvent(QMouseEvent* event) {
  ++m_userInput;
  QListView::mousePressEvent(event);
  --m_userInput;
}

void MarkingListBox::mouseMoveEvent(QMouseEvent* event) {
  ++m_userInput;
  QListView::mouseMoveEvent(event);
  --m_userInput;
}

void MarkingListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  ++m_userInput;
  QListView::mouseDoubleClickEvent(event);
  --m_userInput;
  const QModelIndex index = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index.isValid()) emit rowDoubleClicked(index.row());
}

void MarkingListBox::keyPressEvent(QKeyEvent* event) {
  ++m_userInput;
  QListView::keyPressEvent(event);
  --m_userInput;
}

void MarkingListBox::keyboardSearch(const QString&) {}

QItemSelectionModel::SelectionFlags MarkingListBox::selectionCommand(const QModelIndex& index,
                                                                     const QEvent*) const {
  return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}
