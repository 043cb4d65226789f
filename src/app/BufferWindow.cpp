// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BufferWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CMainFrame.h"
#include "app/Icons.h"
#include "link/ReceiveBuffer.h"
#include "settings/AppSettings.h"
#include "views/CDuxelView.h"
#include "views/GuiText.h"

namespace {
// The labels beside the counts, in display order.
const char* const kLabels[10] = {
    "Telefony:",     "Vizitky:",  "Poznámky:",     "Plánovač:", "Připomínky:",
    "Připomínky 2:", "Co dělat:", "Volný soubor:", "Výdaje",    "Tabulkový procesor"};
}  // namespace

BufferWindow::BufferWindow(CMainFrame& frame) : QDialog(nullptr), m_frame(frame) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("bufferWindow"));
  setWindowTitle(QStringLiteral("Duxel - Zásobník přijatých položek"));
  setWindowIcon(AppIcon());
  setModal(false);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    auto* label = new QLabel(QString::fromUtf8(kLabels[position]), this);
    auto* count = new QLabel(QStringLiteral("0"), this);
    count->setObjectName(QStringLiteral("count%1").arg(10 + mode));
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    // Two columns of five, as the diary's modes pair up.
    const int row = position % 5, column = (position / 5) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(count, row, column + 1);
    m_counts[mode] = count;
  }
  grid->setColumnMinimumWidth(2, 100);

  m_all = new QPushButton(QStringLiteral("&Vše"), this);
  m_all->setObjectName(QStringLiteral("button541"));
  m_mode = new QPushButton(QStringLiteral("&Režim"), this);
  m_mode->setObjectName(QStringLiteral("button542"));
  m_empty = new QPushButton(QStringLiteral("Vy&prázdnit"), this);
  m_empty->setObjectName(QStringLiteral("button32814"));
  auto* close = new QPushButton(QStringLiteral("&Zavřít"), this);
  close->setObjectName(QStringLiteral("button2"));
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {m_all, m_mode, m_empty, close}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addLayout(buttons);

  connect(m_all, &QPushButton::clicked, this, [this] { m_frame.runCommand(32776); });
  connect(m_mode, &QPushButton::clicked, this, [this] { m_frame.runCommand(32813); });
  connect(m_empty, &QPushButton::clicked, this, [this] { m_frame.runCommand(32814); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  refresh(true);
}

void BufferWindow::refresh(bool childActive) {
  const ReceiveBuffer& buffer = m_frame.receiveBuffer();
  for (int mode = 0; mode < 10; ++mode)
    m_counts[mode]->setText(QString::number(buffer.GetList(mode)->GetCount()));
  const bool pending = buffer.AnyPendingData();
  m_empty->setEnabled(pending);
  const bool all = childActive && m_frame.activeView() && pending;
  m_all->setEnabled(all);
  m_mode->setEnabled(all && buffer.HasPendingData(m_frame.activeView()->mode()));
}

void BufferWindow::closeEvent(QCloseEvent* event) {
  m_frame.bufferWindowClosing(this);
  event->accept();
}

void BufferWindow::reject() { close(); }

void BufferWindow::contextMenuEvent(QContextMenuEvent* event) {
  // The window has no owner; this takes the user back to the program.
  QMenu menu(this);
  menu.addAction(UiText(IDS_SWITCH_TO_DUXEL), this, [this] {
    m_frame.show();
    m_frame.raise();
    m_frame.activateWindow();
  });
  menu.exec(event->globalPos());
}
