// SPDX-License-Identifier: GPL-3.0-or-later
// The tab-separated text of a rectangle of cells, as the grid copies its selection.
#include <gtest/gtest.h>

#include "SheetBuilder.h"
#include "spreadsheet/CellRangeText.h"

namespace {

TEST(CellRangeText, RectangleWithGapsAndSeparators) {
  const Bytes image = SheetBuilder()
                          .Label(1, 1, "Rent")
                          .Value(1, 2, "1200")
                          .Label(2, 2, "a\tb\rc")
                          .Label(3, 1, "x")
                          .Build();
  EXPECT_EQ(CellRangeText(image, 1, 1, 3, 2), "Rent\t1200\r\n\ta b c\r\nx\t\r\n");
  // Corners in any order give the same rectangle.
  EXPECT_EQ(CellRangeText(image, 3, 2, 1, 1), "Rent\t1200\r\n\ta b c\r\nx\t\r\n");
  EXPECT_EQ(CellRangeText(image, 2, 2, 2, 2), "a b c\r\n");
  EXPECT_EQ(CellRangeText({}, 1, 1, 2, 3), "\t\t\r\n\t\t\r\n");
}

}  // namespace
