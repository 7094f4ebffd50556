#pragma once
// Where a day's 六曜 stands in its cell: in small type beside the day
// number, on the number's baseline, and always above the memo's rectangle,
// so that turning it on moves no memo pixel. Plain numbers in and out, as
// in layout.h, so that the tests check them natively.
#include "render/layout.h"

// The small type's height (its font's cell height) for a day-number font
// whose text height is `numberTextHeight`: half of it, rounded up. It
// follows the number's size, and with it whatever scales the number.
int rokuyoTextHeightFor(int numberTextHeight);

// The 六曜's text as measured in the small type.
struct RokuyoTextMetrics {
  int width = 0;   // of the text
  int height = 0;  // text height of the small type
  int ascent = 0;  // from its top to its baseline
  int reach = 0;   // pixels a text effect adds on every side (1 for shadow and outline)
};

// The day number as painted: its placement (placeDayNumber), its text
// width and its font's ascent.
struct DayNumberShape {
  DayNumberPlacement place;
  int textWidth = 0;
  int ascent = 0;
};

struct RokuyoPlacement {
  bool shown = false;  // false: no room in this cell
  int x = 0;           // the text's reference point (top left)
  int y = 0;
};

// The 六曜 goes after the number (to its right) for DAY_POS 0 and 1, and
// before it for DAY_POS 2; where that side has no room, the other side;
// where neither has, nowhere. "The number" includes its mark rectangle,
// so a mark never runs under the small type, and there is a gap of a fifth
// of the small type's height (at least a pixel) between them. The text and
// its effect stay inside the cell's frame lines. Vertically its baseline is
// the number's; it moves up where it would reach below the memo's top
// (cell top + mainFontHeight) or the cell's bottom, and is not shown where
// that would take it above the number's top.
RokuyoPlacement placeRokuyo(const Rect& cell, int dayPos, const DayNumberShape& number, int mainFontHeight,
                            const RokuyoTextMetrics& text);
