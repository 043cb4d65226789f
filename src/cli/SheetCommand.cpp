// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SheetCommand.h"
#include "cli/CliCommon.h"

#include <iostream>
#include <iterator>

#include "document/CDuxelDoc.h"
#include "records/CcSpreadsheet.h"
#include "records/Cp1250.h"
#include "spreadsheet/CellDecoder.h"

int RunSheet(const SheetOptions& options) {
  CDuxelDoc doc;
  std::string error;
  if (!LoadDocument(options.file, options.password, doc, error)) return Fail(error);
  const CCasioList& sheets = *doc.GetList(kSpreadSheet);
  const auto count = sheets.GetCount();
  if (options.index < 0 || std::size_t(options.index) >= count)
    return Fail(options.file + ": no worksheet " + std::to_string(options.index) +
                " (the document has " + std::to_string(count) + ", counted from 0)");
  const auto* sheet = dynamic_cast<const CcSpreadsheet*>(*std::next(sheets.begin(), options.index));
  if (!sheet)
    return Fail(options.file + ": record " + std::to_string(options.index) +
                " of the SpreadSheet list is not a worksheet");
  // Texts are printed as they are: a line break inside a label stays a line break.
  for (const SheetCell& cell : ListCells(sheet->m_data))
    std::cout << CellName(cell.row, cell.column) << '\t' << Utf8FromCp1250(cell.text) << '\n';
  std::cout.flush();
  return std::cout.good() ? 0 : Fail("cannot write to standard output");
}
