// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The clipboard format of the records of a mode: registered with the system as "DuxelCF<mode>"
// (on Windows Qt registers exactly that name from this MIME form; elsewhere the MIME name
// itself travels). The records of mode i travel in format i, the plain text beside them.
inline QString ClipboardFormat(int mode) {
  return QStringLiteral("application/x-qt-windows-mime;value=\"DuxelCF%1\"").arg(mode);
}
