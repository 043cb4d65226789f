// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CDuxelDoc;
class QWidget;
class ViewHost;

// Our own command ids of the file menu's vCard and iCalendar entries (beyond the diary's
// PC program, which knew neither format).
enum InterchangeCommand : int {
  kCmdExportVCard = 33001,     // "Exportovat do vCard…"
  kCmdExportCalendar = 33002,  // "Exportovat do iCalendar…"
  kCmdImportVCard = 33003,     // "Importovat z vCard…"
  kCmdImportCalendar = 33004,  // "Importovat z iCalendar…"
};

// Whether a mode's view offers the command (Telephone and BusinessCards the vCard ones, the
// dated modes and Memo the iCalendar ones); an export also needs records.
bool InterchangeCommandEnabled(int id, const CDuxelDoc& doc, int mode);
// Asks for the file and runs the export or import; the status bar gets the summary and a
// refused file is shown with its line. True when the document's records changed.
bool RunInterchangeCommand(int id, QWidget* parent, CDuxelDoc& doc, int mode, ViewHost& host);
