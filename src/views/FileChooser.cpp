// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/FileChooser.h"

#include <optional>

#include <QFileDialog>
#include <QStringList>

namespace {
std::optional<QString>& NextName() {
  static std::optional<QString> next;
  return next;
}

QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    // The text already names its patterns; Qt reads them from the parentheses.
    entries << (parts[i].contains(u'(') ? parts[i] : parts[i] + QStringLiteral(" (") + patterns + u')');
  }
  return entries.join(QStringLiteral(";;"));
}

std::optional<QString> TakeNext() {
  std::optional<QString> next = NextName();
  NextName().reset();
  return next;
}
}  // namespace

void FileChooserTestHook::setNextFileName(const QString& path) { NextName() = path; }

QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter) {
  if (auto next = TakeNext()) return *next;
  return QFileDialog::getOpenFileName(parent, title, QString(), QtFilter(filter));
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                       const QString& suggested, const QString& suffix) {
  if (auto next = TakeNext()) return *next;
  QFileDialog dialog(parent, title, QString(), QtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}
