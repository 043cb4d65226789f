// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CDuxelView;

// The print cycle and the expense totals as the record views call them (the common view's
// print and preview commands 57607/57609, the Expenses form's button 345).

// Prints the view's mode with the program's "Printing" settings and the current diary
// type's display width; with `preview` the preview comes first and the main window is
// maximised afterwards.
void PrintModeRecords(CDuxelView& view, bool preview);
// Dialog 173 over the view's Expenses list, from the view's current expense, with the type
// lists of the form's combo boxes 339 and 338.
void ShowExpenseTotals(CDuxelView& view);
