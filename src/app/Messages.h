// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

// The program's message boxes: titled "Duxel", Czech buttons, the icon the message calls for
// (stop for errors, exclamation for warnings, question for confirmations).

// Shows `text` with one OK button; `detail` (technical reason) goes into the details part.
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& detail = QString());

// Asks "Uložit změny do %1?" with Yes, No and Cancel; returns the button chosen.
QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& name);
