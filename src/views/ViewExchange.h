// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CCasioPol;
class CDuxelView;

// Runs the ODBC export (`forExport`) or import of the view's mode with the view's exchange
// dialogs; returns the records written or inserted. An import gives its last record in `last`.
int RunExchange(CDuxelView& view, bool forExport, CCasioPol** last);
