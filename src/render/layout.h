#pragma once
// The arithmetic of the client area: its bands, the 6 × 7 grid of day cells
// and the places of numbers and marks inside a cell. Plain numbers in and
// out, so that painting, hit testing and the tests all use the same rules.
// Every division truncates toward zero, as C++ integer division does.
// Margins and heights given in pixels are pixels at 96 DPI, scaled to the
// DPI the calendar is drawn at (render/dpi_scale.h); the grid's frame lines
// stay one pixel wide.
#include "render/dpi_scale.h"

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

constexpr int kGridRows = 6;
constexpr int kGridColumns = 7;

// The values a paint measures and keeps until the next paint.
struct GridLayout {
  int toolStripHeight = 0;
  int titleHeight = 0;
  int weekHeaderHeight = 0;
  int gridLeft = 1;  // before the first paint
  int dpi = kBaseDpi;  // the DPI the last paint was drawn at

  int gridTop() const { return toolStripHeight + titleHeight + weekHeaderHeight; }
};

// (W − 1) / 7 and (H − gridTop − 1) / 6 for a client area of W × H.
int cellWidthFor(int clientWidth);
int cellHeightFor(int clientHeight, int gridTop);
// The left margin that centres the grid: (W − 7 × cellWidth) / 2.
int gridLeftFor(int clientWidth);

// The rectangle of the cell in `row`, `column`.
Rect cellRect(const GridLayout& layout, int clientWidth, int clientHeight, int row, int column);

// The index (row × 7 + column) of the cell under a client point, or −1 above
// or left of the grid, beyond its last row or column, or when the cells have
// no width or height (a window squeezed that small selects nothing).
int cellIndexAt(const GridLayout& layout, int clientWidth, int clientHeight, int x, int y);

// The title band: the full client width, from the tool strip down by the
// title font's text height + 1 (scaled).
Rect titleRect(const GridLayout& layout, int clientWidth, int titleTextHeight);
// The weekday name's rectangle in `column` (10 pixels high at 96 DPI; drawn
// unclipped).
Rect weekHeaderRect(const GridLayout& layout, int clientWidth, int column);

// Where a cell's day number and its mark go. The mark is 2a wide (a: the
// average character width of the day-number font) and as high as the text.
struct DayNumberPlacement {
  Rect markRect;
  int textX = 0;
  int textY = 0;
};
DayNumberPlacement placeDayNumber(int cellX, int cellY, int cellWidth, int dayPos, int textHeight,
                                  int averageCharWidth, int textWidth, bool italic, int dpi = kBaseDpi);

// The memo's rectangle: below the configured day-number height, which is
// given at 96 DPI and scaled with the rest.
Rect memoRect(int cellX, int cellY, int cellWidth, int cellHeight, int mainFontHeight, int dpi = kBaseDpi);
// The cursor frame inside a cell.
Rect cursorRect(int cellX, int cellY, int cellWidth, int cellHeight, int dpi = kBaseDpi);
