// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewExchangeUi.h"

#include <QApplication>
#include <QFileDialog>

#include "records/Cp1250.h"
#include "views/CDuxelView.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/ViewExchange.h"
#include "views/ViewHost.h"
#include "settings/AppSettings.h"
#include "document/CDuxelDoc.h"

namespace {
QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// "text|patterns|text|patterns||" as a Qt filter list "text (patterns);;...".
QString QtFilter(const std::string& filter) {
  const QStringList parts = QStringFromCp1250(filter).split(u'|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    entries << parts[i] + QStringLiteral(" (") + patterns + u')';
  }
  return entries.join(QStringLiteral(";;"));
}
}  // namespace

ViewExchangeUi::~ViewExchangeUi() {
  if (m_wait) QApplication::restoreOverrideCursor();
}

void ViewExchangeUi::ShowMessage(int stringId, MessageIcon icon) {
  AskStringMessage(&m_view, stringId, BoxIcon(icon));
}

bool ViewExchangeUi::AskOkCancel(int stringId, MessageIcon icon) {
  return AskStringMessage(&m_view, stringId, BoxIcon(icon),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool ViewExchangeUi::ChooseFile(ExchangeFileDialog& dialog) {
  const QString title = QStringFromCp1250(dialog.title);
  const QString filter = QtFilter(dialog.fileTypes.filter);
  const QStringList filters = filter.split(QStringLiteral(";;"));
  QString selected = dialog.type >= 0 && dialog.type < filters.size() ? filters[dialog.type] : QString();
  const QString path =
      dialog.forExport ? QFileDialog::getSaveFileName(&m_view, title, QString(), filter, &selected)
                       : QFileDialog::getOpenFileName(&m_view, title, QString(), filter, &selected);
  if (path.isEmpty()) return false;
  dialog.type = std::max<int>(0, int(filters.indexOf(selected)));
  dialog.path = CorePath(path);
  return true;
}

void ViewExchangeUi::SetWaitCursor(bool on) {
  if (on == m_wait) return;
  m_wait = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

int RunExchange(CDuxelView& view, bool forExport, CCasioPol** last) {
  ViewExchangeUi ui(view);
  OdbcExchange exchange(view.host().settings().exchange, ui);
  const ExchangeResult result =
      forExport ? exchange.Export(*view.document(), view.mode())
                : exchange.Import(*view.document(), view.mode());
  if (last) *last = ui.lastInserted();
  return int(result.records);
}
