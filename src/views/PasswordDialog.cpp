// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/GuiText.h"

PasswordDialog::PasswordDialog(QWidget* parent, const QString& promptText)
    : QDialog(parent), m_edit(new QLineEdit(this)) {
  setWindowTitle(UiText(IDS_PASSWORD_TITLE));
  auto* prompt =
      new QLabel(promptText.isEmpty() ? UiText(IDS_PASSWORD_PROMPT) : promptText, this);
  prompt->setObjectName(QStringLiteral("prompt172"));
  prompt->setBuddy(m_edit);
  m_edit->setObjectName(QStringLiteral("password"));
  m_edit->setMaxLength(kMaxLength);
  m_edit->setEchoMode(QLineEdit::Password);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Storno"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(m_edit);
  layout->addWidget(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

QString PasswordDialog::password() const { return m_edit->text(); }

std::optional<QString> PasswordDialog::ask(QWidget* parent, const QString& prompt) {
  PasswordDialog dialog(parent, prompt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.password();
}
