// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ModeListView.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "views/RowTextPainter.h"
#include "document/CDuxelDoc.h"

ModeListView::ModeListView(CDuxelDoc* doc, int mode, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_mode(mode), m_list(new QListWidget(this)) {
  m_list->setObjectName(QStringLiteral("recordList"));
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setUniformItemSizes(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_list);
  refresh();
}

void ModeListView::refresh() {
  m_list->clear();
  const CCasioList* list = m_doc->GetList(m_mode);
  RowTextPainter painter;
  for (const CCasioPol* record : *list) {
    painter.Clear();
    record->DrawRow(painter, 0, false);
    m_list->addItem(painter.Line());
  }
}

QStringList ModeListView::rowTexts() const {
  QStringList rows;
  for (int i = 0; i < m_list->count(); ++i) rows << m_list->item(i)->text();
  return rows;
}
