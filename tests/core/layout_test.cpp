// Layout arithmetic shared by painting and the mouse: the worked example of
// a 300 × 250 client area, centring, hit testing and degenerate sizes.
#include <gtest/gtest.h>

#include "render/layout.h"

namespace {

GridLayout exampleLayout() {
  // Frame shown with a 25-pixel tool strip, a 20-pixel title font, a
  // 12-pixel weekday font: both bands are one pixel taller than the text.
  GridLayout layout;
  layout.toolStripHeight = 25;
  layout.titleHeight = 20 + 1;
  layout.weekHeaderHeight = 12 + 1;
  layout.gridLeft = gridLeftFor(300);
  return layout;
}

TEST(Layout, WorkedExampleComesOutToThePixel) {
  GridLayout layout = exampleLayout();
  EXPECT_EQ(layout.gridTop(), 59);
  EXPECT_EQ(cellWidthFor(300), 42);
  EXPECT_EQ(layout.gridLeft, 3);
  EXPECT_EQ(cellHeightFor(250, layout.gridTop()), 31);
  EXPECT_EQ(cellRect(layout, 300, 250, 2, 3), (Rect{129, 121, 171, 152}));
  EXPECT_EQ(titleRect(layout, 300, 20), (Rect{0, 25, 300, 46}));
  EXPECT_EQ(weekHeaderRect(layout, 300, 0), (Rect{3, 47, 45, 57}));
}

TEST(Layout, GridAlwaysFitsAndStaysCentred) {
  for (int width = 1; width < 2000; ++width) {
    int margin = width - 7 * cellWidthFor(width);
    ASSERT_GE(margin, 1) << width;
    ASSERT_LE(margin, 7) << width;
    int left = gridLeftFor(width);
    // The rightmost frame line is inside the client area.
    ASSERT_LE(left + 7 * cellWidthFor(width), width - 1) << width;
    ASSERT_LE(width - (left + 7 * cellWidthFor(width)) - left, 1 + 1) << width;
  }
}

TEST(Layout, HitTestFindsTheCellOfEveryInsidePoint) {
  GridLayout layout = exampleLayout();
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      Rect cell = cellRect(layout, 300, 250, row, column);
      int expected = row * 7 + column;
      EXPECT_EQ(cellIndexAt(layout, 300, 250, cell.left, cell.top), expected);
      EXPECT_EQ(cellIndexAt(layout, 300, 250, cell.right - 1, cell.bottom - 1), expected);
    }
  }
}

TEST(Layout, PointsOutsideTheGridHitNothing) {
  GridLayout layout = exampleLayout();
  EXPECT_EQ(cellIndexAt(layout, 300, 250, 100, 58), -1);  // weekday header
  EXPECT_EQ(cellIndexAt(layout, 300, 250, 100, 30), -1);  // title band
  EXPECT_EQ(cellIndexAt(layout, 300, 250, 2, 100), -1);   // left margin
  EXPECT_EQ(cellIndexAt(layout, 300, 250, 297, 100), -1); // right of column 6
  EXPECT_EQ(cellIndexAt(layout, 300, 250, 100, 59 + 6 * 31), -1);  // below row 5
}

TEST(Layout, SqueezedWindowsSelectNoCellAndNeverDivideByZero) {
  GridLayout layout;
  layout.gridLeft = gridLeftFor(7);
  for (int width = 0; width < 8; ++width) EXPECT_EQ(cellIndexAt(layout, width, 200, 3, 50), -1);
  layout.toolStripHeight = 25;
  for (int height = 0; height < 32; ++height) EXPECT_EQ(cellIndexAt(layout, 300, height, 50, 26), -1);
}

TEST(Layout, DayNumberAndMarkFollowDayPos) {
  // A cell 42 wide at (100, 50), text 16 high, average width 7, number 14 wide.
  DayNumberPlacement left = placeDayNumber(100, 50, 42, 0, 16, 7, 14, false);
  EXPECT_EQ(left.markRect, (Rect{101, 51, 115, 67}));
  EXPECT_EQ(left.textX, 101);
  EXPECT_EQ(left.textY, 51);
  DayNumberPlacement centre = placeDayNumber(100, 50, 42, 1, 16, 7, 14, false);
  EXPECT_EQ(centre.markRect, (Rect{114, 51, 128, 67}));
  EXPECT_EQ(centre.textX, 114);
  DayNumberPlacement right = placeDayNumber(100, 50, 42, 2, 16, 7, 14, false);
  EXPECT_EQ(right.markRect, (Rect{128, 51, 142, 67}));
  EXPECT_EQ(right.textX, 128);
  // Unknown positions paint like the left one.
  EXPECT_EQ(placeDayNumber(100, 50, 42, 9, 16, 7, 14, false).markRect, left.markRect);
}

TEST(Layout, ItalicNumbersShiftTheMarkOrTheText) {
  DayNumberPlacement left = placeDayNumber(100, 50, 42, 0, 16, 7, 14, true);
  EXPECT_EQ(left.markRect, (Rect{104, 51, 118, 67}));
  EXPECT_EQ(left.textX, 101);
  DayNumberPlacement centre = placeDayNumber(100, 50, 42, 1, 16, 7, 14, true);
  EXPECT_EQ(centre.markRect, (Rect{117, 51, 131, 67}));
  EXPECT_EQ(centre.textX, 114);
  DayNumberPlacement right = placeDayNumber(100, 50, 42, 2, 16, 7, 14, true);
  EXPECT_EQ(right.markRect, (Rect{128, 51, 142, 67}));
  EXPECT_EQ(right.textX, 125);
  // Unknown positions lean like the left one.
  DayNumberPlacement unknown = placeDayNumber(100, 50, 42, -3, 16, 7, 14, true);
  EXPECT_EQ(unknown.markRect, left.markRect);
  EXPECT_EQ(unknown.textX, left.textX);
}

TEST(Layout, MemoAndCursorRectangles) {
  EXPECT_EQ(memoRect(129, 121, 42, 31, 20), (Rect{130, 141, 172, 152}));
  EXPECT_EQ(cursorRect(129, 121, 42, 31), (Rect{131, 123, 171, 152}));
}

}  // namespace
