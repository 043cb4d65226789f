// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "resources/MessageIcon.h"

// The program's message boxes: titled "Duxel", Czech buttons, the icon the message calls for
// (stop for errors, exclamation for warnings, question for confirmations). Every box of the
// program goes through here, so that a test can answer the next one without a modal loop and
// read which ones were shown.

// The box icon of an icon the core asks for.
QMessageBox::Icon BoxIcon(MessageIcon icon);

// Shows `text` with `buttons` and returns the button chosen; `detail` (a technical reason)
// goes into the details part.
QMessageBox::StandardButton AskMessage(QWidget* parent, QMessageBox::Icon icon,
                                       const QString& text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       const QString& detail = QString());
// The text of string `id` of the string table, as AskMessage.
QMessageBox::StandardButton AskStringMessage(QWidget* parent, int id, QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                             const QString& detail = QString());

// Shows `text` with one OK button.
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& detail = QString());

// Asks "Uložit změny do %1?" with Yes, No and Cancel; returns the button chosen.
QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& name);

// For tests: answers queued here are taken, in order, by the next boxes instead of showing
// them; every box (answered or shown) is logged as its text.
namespace MessageTestHook {
void setNextAnswer(QMessageBox::StandardButton answer);
// The texts of the boxes since the last call, oldest first.
QStringList takeShown();
}  // namespace MessageTestHook
