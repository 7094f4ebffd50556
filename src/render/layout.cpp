#include "render/layout.h"

int cellWidthFor(int clientWidth) { return (clientWidth - 1) / kGridColumns; }

int cellHeightFor(int clientHeight, int gridTop) { return (clientHeight - gridTop - 1) / kGridRows; }

int gridLeftFor(int clientWidth) { return (clientWidth - kGridColumns * cellWidthFor(clientWidth)) / 2; }

Rect cellRect(const GridLayout& layout, int clientWidth, int clientHeight, int row, int column) {
  int width = cellWidthFor(clientWidth);
  int height = cellHeightFor(clientHeight, layout.gridTop());
  Rect rect;
  rect.left = layout.gridLeft + column * width;
  rect.top = layout.gridTop() + row * height;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

int cellIndexAt(const GridLayout& layout, int clientWidth, int clientHeight, int x, int y) {
  if (y < layout.gridTop() || x < layout.gridLeft) return -1;
  int width = cellWidthFor(clientWidth);
  int height = cellHeightFor(clientHeight, layout.gridTop());
  if (width <= 0 || height <= 0) return -1;
  int column = (x - layout.gridLeft) / width;
  int row = (y - layout.gridTop()) / height;
  if (column > kGridColumns - 1 || row > kGridRows - 1 || row < 0) return -1;
  return row * kGridColumns + column;
}

Rect titleRect(const GridLayout& layout, int clientWidth, int titleTextHeight) {
  return Rect{0, layout.toolStripHeight, clientWidth,
              layout.toolStripHeight + titleTextHeight + scaleToDpi(1, layout.dpi)};
}

Rect weekHeaderRect(const GridLayout& layout, int clientWidth, int column) {
  int width = cellWidthFor(clientWidth);
  Rect rect;
  rect.left = layout.gridLeft + column * width;
  rect.right = rect.left + width;
  rect.top = layout.toolStripHeight + layout.titleHeight + scaleToDpi(1, layout.dpi);
  rect.bottom = rect.top + scaleToDpi(10, layout.dpi);
  return rect;
}

DayNumberPlacement placeDayNumber(int cellX, int cellY, int cellWidth, int dayPos, int textHeight,
                                  int averageCharWidth, int textWidth, bool italic, int dpi) {
  const int a = averageCharWidth;
  const int one = scaleToDpi(1, dpi);
  DayNumberPlacement place;
  place.textY = cellY + one;
  place.markRect.top = cellY + one;
  place.markRect.bottom = cellY + one + textHeight;
  switch (dayPos) {
    case 1:  // centre
      place.markRect.left = cellX + cellWidth / 2 - a;
      place.markRect.right = cellX + cellWidth / 2 + a;
      place.textX = cellX + cellWidth / 2 - textWidth / 2;
      break;
    case 2:  // right
      place.markRect.left = cellX + cellWidth - 2 * a;
      place.markRect.right = cellX + cellWidth;
      place.textX = cellX + cellWidth - a - textWidth / 2;
      break;
    default:  // left, and anything unknown
      place.markRect.left = cellX + one;
      place.markRect.right = cellX + one + 2 * a;
      place.textX = cellX + one + a - textWidth / 2;
      break;
  }
  // An italic number leans right: on the right edge the text moves in,
  // elsewhere the mark follows the lean.
  if (italic) {
    if (dayPos == 2) {
      place.textX -= a / 2;
    } else {
      place.markRect.left += a / 2;
      place.markRect.right += a / 2;
    }
  }
  return place;
}

Rect memoRect(int cellX, int cellY, int cellWidth, int cellHeight, int mainFontHeight, int dpi) {
  const int one = scaleToDpi(1, dpi);
  return Rect{cellX + one, cellY + scaleToDpi(mainFontHeight, dpi), cellX + one + cellWidth, cellY + cellHeight};
}

Rect cursorRect(int cellX, int cellY, int cellWidth, int cellHeight, int dpi) {
  const int two = scaleToDpi(2, dpi);
  return Rect{cellX + two, cellY + two, cellX + cellWidth, cellY + cellHeight};
}
