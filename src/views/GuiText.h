// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QFile>
#include <QString>

#include "records/Cp1250.h"
#include "resources/StringTable.h"

// The GUI's one crossing between Qt's Unicode strings and the core's Windows-1250 bytes.

// Every Windows-1250 byte becomes its character (the unassigned ones as U+0081 etc.).
inline QString QStringFromCp1250(const std::string& bytes) {
  return QString::fromStdString(Utf8FromCp1250(bytes));
}

// Characters Windows-1250 cannot hold become '?'.
inline std::string Cp1250FromQString(const QString& text) {
  return Cp1250FromUtf16(text.toStdU16String());
}

// A string-table text (UTF-8 in the table).
inline QString UiText(int id) { return QString::fromStdString(LoadString(id)); }

// Token `token` of a "|"-separated string-table text.
inline QString UiToken(int id, int token) { return QString::fromStdString(StringToken(id, token)); }

// The name of a mode as menus and window titles show it ("Poznámky", "Telefony", ...).
inline QString ModeName(int mode) { return UiToken(IDS_MODE_NAMES, mode); }

// A file path in the form the core's file functions take (the local 8-bit file name).
inline std::string CorePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
