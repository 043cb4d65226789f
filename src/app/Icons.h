// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The icons of the program, drawn rather than loaded: the child window icon of each mode
// (400 + mode index) and the toolbar buttons of the commands.
QIcon ModeIcon(int mode);
QIcon CommandIcon(int id);
// The program's own icon (the main window, the buffer window).
QIcon AppIcon();
