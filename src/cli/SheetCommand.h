// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

struct SheetOptions {
  std::string file;
  int index = 0;  // among the document's worksheets, from 0
  std::optional<std::string> password;
};

// Prints every used cell of a worksheet as "A1<TAB>text" (UTF-8), one line each, by row and
// then column. Returns 0, or 1 with one line on standard error when the document cannot be
// read or has no worksheet of that index.
int RunSheet(const SheetOptions& options);
