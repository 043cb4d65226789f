// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CDuxelView;

// Where the record views hand over to the parts that print and total their records
// (defined in ViewEntryPoints.cpp).

// Prints the view's records (Soubor/Tisk), or shows the preview (Soubor/Náhled).
void PrintModeRecords(CDuxelView& view, bool preview);
// Button 345 of the Expenses form: the totals dialog over the view's records.
void ShowExpenseTotals(CDuxelView& view);
