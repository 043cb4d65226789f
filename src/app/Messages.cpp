// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Messages.h"

#include <QAbstractButton>

#include "app/GuiText.h"

namespace {
const QString kTitle = QStringLiteral("Duxel");

void czechButtons(QMessageBox& box) {
  const struct {
    QMessageBox::StandardButton button;
    const char* text;
  } names[] = {{QMessageBox::Ok, "OK"},
               {QMessageBox::Yes, "&Ano"},
               {QMessageBox::No, "&Ne"},
               {QMessageBox::Cancel, "Storno"}};
  for (const auto& name : names) {
    if (QAbstractButton* b = box.button(name.button)) b->setText(QString::fromUtf8(name.text));
  }
}
}  // namespace

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& detail) {
  QMessageBox box(icon, kTitle, text, QMessageBox::Ok, parent);
  if (!detail.isEmpty()) box.setDetailedText(detail);
  czechButtons(box);
  box.exec();
}

QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& name) {
  QMessageBox box(QMessageBox::Question, kTitle, UiText(IDS_SAVE_CHANGES).arg(name),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  czechButtons(box);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}
