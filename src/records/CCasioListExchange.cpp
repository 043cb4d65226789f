// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasioList.h"
#include "records/ExchangeColumns.h"

int CCasioList::BindColumns(ExchangeColumns& columns, ExchangeStatement& statement,
                            bool forExport) {
  for (int column = 0; column < columns.Count(); ++column) {
    // All fields of a column have the one exchange width; the first stands for them.
    const int field = columns.FieldsOfColumn(column).front();
    columns.Allocate(column, GetFieldWidth(field));
  }
  for (int column = 0; column < columns.Count(); ++column) {
    const bool bound =
        forExport
            ? statement.BindParameter(column + 1, columns.Buffer(column),
                                      columns.BufferLength(column), columns.Indicator(column))
            : statement.BindResultColumn(column + 1, columns.Buffer(column),
                                         columns.BufferLength(column), columns.Indicator(column));
    if (!bound) return 0;
  }
  return 1;
}

// The base list has no exchange fields: nothing is written and nothing is read.
void CCasioList::ExportRecord(ExchangeColumns& columns, const CCasioPol&, bool) {
  columns.PutFieldTexts({});
}

void CCasioList::ImportRecord(ExchangeColumns& columns, CCasioPol&, bool) {
  columns.EmptyBuffers();
}
