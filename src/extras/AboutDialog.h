// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

// Makes the icons of the extras library available (":/duxel/duxel-128.png", ...-48.png);
// a static library's resources are not registered until something asks for them.
void InitExtrasResources();

// The version of the build ("0.1.0"), from the project's version.
QString DuxelVersion();
// The program's name, version, build (Qt, compiler, date) and licence as plain text: what
// the About box shows and copies to the clipboard.
QString AboutText();

// "O aplikaci Duxel": the icon, the program's name and version, the build information and
// the licence (GPL-3.0-or-later); "&Kopírovat" puts AboutText() on the clipboard.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};
