// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Messages.h"

#include <QAbstractButton>
#include <QList>

#include "views/GuiText.h"

namespace {
const QString kTitle = QStringLiteral("Duxel");

QList<QMessageBox::StandardButton>& queuedAnswers() {
  static QList<QMessageBox::StandardButton> answers;
  return answers;
}

QStringList& shownTexts() {
  static QStringList shown;
  return shown;
}

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

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton AskMessage(QWidget* parent, QMessageBox::Icon icon,
                                       const QString& text, QMessageBox::StandardButtons buttons,
                                       const QString& detail) {
  shownTexts().append(text);
  if (!queuedAnswers().isEmpty()) return queuedAnswers().takeFirst();
  QMessageBox box(icon, kTitle, text, buttons, parent);
  if (!detail.isEmpty()) box.setDetailedText(detail);
  if (buttons.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
  czechButtons(box);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton AskStringMessage(QWidget* parent, int id, QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons,
                                             const QString& detail) {
  return AskMessage(parent, icon, UiText(id), buttons, detail);
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& detail) {
  AskMessage(parent, icon, text, QMessageBox::Ok, detail);
}

QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& name) {
  return AskMessage(parent, QMessageBox::Question, UiText(IDS_SAVE_CHANGES).arg(name),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

namespace MessageTestHook {
void setNextAnswer(QMessageBox::StandardButton answer) { queuedAnswers().append(answer); }

QStringList takeShown() {
  QStringList shown = shownTexts();
  shownTexts().clear();
  return shown;
}
}  // namespace MessageTestHook
