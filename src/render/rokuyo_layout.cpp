#include "render/rokuyo_layout.h"

#include <algorithm>

int rokuyoTextHeightFor(int numberTextHeight) { return numberTextHeight > 0 ? (numberTextHeight + 1) / 2 : 0; }

namespace {

// The horizontal place on one side of the number, or false without room.
// Inside the frame lines: from cell.left + 1 up to cell.right, exclusive.
bool placeBeside(bool after, const Rect& cell, int numberLeft, int numberRight, int gap,
                 const RokuyoTextMetrics& text, int& x) {
  const int left = cell.left + 1 + text.reach;
  const int right = cell.right - text.reach;
  x = after ? numberRight + gap : numberLeft - gap - text.width;
  return x >= left && x + text.width <= right;
}

}  // namespace

RokuyoPlacement placeRokuyo(const Rect& cell, int dayPos, const DayNumberShape& number, int mainFontHeight,
                            const RokuyoTextMetrics& text) {
  RokuyoPlacement placement;
  if (text.width <= 0 || text.height <= 0) return placement;

  const int numberLeft = std::min(number.place.markRect.left, number.place.textX);
  const int numberRight = std::max(number.place.markRect.right, number.place.textX + number.textWidth);
  const int gap = std::max(1, text.height / 5) + text.reach;
  const bool afterFirst = dayPos != 2;
  if (!placeBeside(afterFirst, cell, numberLeft, numberRight, gap, text, placement.x) &&
      !placeBeside(!afterFirst, cell, numberLeft, numberRight, gap, text, placement.x))
    return placement;

  // 64-bit sums: mainFontHeight may be as large as the settings allow.
  const long long memoTop = static_cast<long long>(cell.top) + mainFontHeight;
  const long long limit = std::min<long long>(memoTop, cell.bottom) - text.reach;
  long long y = static_cast<long long>(number.place.textY) + number.ascent - text.ascent;
  if (y + text.height > limit) y = limit - text.height;
  if (y - text.reach < number.place.textY) return placement;
  placement.y = static_cast<int>(y);
  placement.shown = true;
  return placement;
}
