// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The file dialogs of the views. `filter` is a string-table filter "text|patterns|...||".
// An empty result means cancelled.
QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter);
// A name typed without an extension gets `suffix`.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                       const QString& suggested, const QString& suffix = QStringLiteral("txt"));

// For tests: the next dialog answers with this path ("" = cancel) instead of showing.
namespace FileChooserTestHook {
void setNextFileName(const QString& path);
}
