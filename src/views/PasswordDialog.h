// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDialog>
#include <QString>

class QLineEdit;

// Dialog 137: asks for the password of a protected document.
class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  // The longest password a document holds.
  static constexpr int kMaxLength = 10;

  // `prompt` replaces the default "Prosím vložte heslo:" when given.
  explicit PasswordDialog(QWidget* parent = nullptr, const QString& prompt = QString());

  QString password() const;

  // Shows the dialog; the text typed, or nullopt when the user cancelled.
  static std::optional<QString> ask(QWidget* parent, const QString& prompt = QString());

 private:
  QLineEdit* m_edit;
};
