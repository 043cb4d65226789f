// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/CDuxelView.h"

#include <QVBoxLayout>

#include "views/ModeListView.h"

CDuxelView::CDuxelView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_mode(mode), m_host(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_list = new ModeListView(doc, mode, this);
  layout->addWidget(m_list);
}

void CDuxelView::refresh() { m_list->refresh(); }
