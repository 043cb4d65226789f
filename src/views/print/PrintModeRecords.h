// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct AppSettings;
class CDuxelDoc;
class QWidget;

// Prints the records of mode `mode` of `doc` with the "Printing" settings (font, margins,
// captions, empty entries, AllowBreak and the run's record selection): the print dialog
// first (any CUPS printer, or a PDF file), or, with `preview`, the print preview, from which
// the user may print as well. `displayWidth` is the current diary type's display width for
// the mode. Returns false when the user cancelled or nothing was printed.
bool PrintModeRecords(QWidget* parent, CDuxelDoc& doc, int mode, AppSettings& settings,
                      bool preview, int displayWidth = 16);
