// Where the rokuyo stands beside the day number: each DAY_POS with room,
// the other side or nowhere without it, the baseline and the memo's top,
// text effects, and the rules held over a sweep of cell sizes.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/rokuyo_layout.h"

namespace {

// A 20-pixel day number (average width 10, ascent 17) of two digits 20 wide.
DayNumberShape numberIn(const Rect& cell, int dayPos, bool italic = false, int textWidth = 20) {
  DayNumberShape number;
  number.place = placeDayNumber(cell.left, cell.top, cell.right - cell.left, dayPos, 20, 10, textWidth, italic);
  number.textWidth = textWidth;
  number.ascent = 17;
  return number;
}

// Two kanji in the 10-pixel small type.
RokuyoTextMetrics smallText(int reach = 0) { return RokuyoTextMetrics{20, 10, 9, reach}; }

constexpr Rect kCell{10, 100, 67, 140};  // 57 × 40

TEST(RokuyoLayout, SmallTypeIsHalfTheNumberRoundedUp) {
  EXPECT_EQ(rokuyoTextHeightFor(20), 10);
  EXPECT_EQ(rokuyoTextHeightFor(21), 11);
  EXPECT_EQ(rokuyoTextHeightFor(40), 20) << "a number scaled twice as large scales its rokuyo too";
  EXPECT_EQ(rokuyoTextHeightFor(1), 1);
  EXPECT_EQ(rokuyoTextHeightFor(0), 0);
  EXPECT_EQ(rokuyoTextHeightFor(-5), 0);
}

TEST(RokuyoLayout, BesideTheNumberOnTheSideDayPosLeavesFree) {
  // Left: the mark spans 11..31; a gap of 2 (a fifth of 10); baseline 101 + 17.
  RokuyoPlacement left = placeRokuyo(kCell, 0, numberIn(kCell, 0), 20, smallText());
  ASSERT_TRUE(left.shown);
  EXPECT_EQ(left.x, 33);
  EXPECT_EQ(left.y, 101 + 17 - 9);
  // Right: the mark spans 47..67, the text ends 2 before it.
  RokuyoPlacement right = placeRokuyo(kCell, 2, numberIn(kCell, 2), 20, smallText());
  ASSERT_TRUE(right.shown);
  EXPECT_EQ(right.x, 47 - 2 - 20);
  EXPECT_EQ(right.y, left.y);
  // Centre in a wider cell: after the mark 40..60.
  const Rect wide{10, 100, 90, 140};
  RokuyoPlacement centre = placeRokuyo(wide, 1, numberIn(wide, 1), 20, smallText());
  ASSERT_TRUE(centre.shown);
  EXPECT_EQ(centre.x, 62);
}

TEST(RokuyoLayout, OtherSideOrNowhereWithoutRoom) {
  // Centred in 57 pixels: 19 right of the mark, 17 left of it, 22 wanted.
  EXPECT_FALSE(placeRokuyo(kCell, 1, numberIn(kCell, 1), 20, smallText()).shown);
  // An italic number leans right: a narrower text then fits only before it.
  const Rect sixty{10, 100, 70, 140};
  RokuyoTextMetrics narrow{14, 10, 9, 0};
  RokuyoPlacement before = placeRokuyo(sixty, 1, numberIn(sixty, 1, true), 20, narrow);
  ASSERT_TRUE(before.shown);
  EXPECT_EQ(before.x, 30 - 2 - 14);
  // Left in a cell too narrow after the number: the left edge has no room either.
  const Rect narrowCell{10, 100, 50, 140};
  EXPECT_FALSE(placeRokuyo(narrowCell, 0, numberIn(narrowCell, 0), 20, smallText()).shown);
  // A text that exactly fits up to the next cell's frame line is shown.
  const Rect exact{10, 100, 53, 140};
  RokuyoPlacement edge = placeRokuyo(exact, 0, numberIn(exact, 0), 20, smallText());
  ASSERT_TRUE(edge.shown);
  EXPECT_EQ(edge.x + 20, 53);
  EXPECT_FALSE(placeRokuyo(Rect{10, 100, 52, 140}, 0, numberIn(Rect{10, 100, 52, 140}, 0), 20, smallText()).shown);
  EXPECT_FALSE(placeRokuyo(kCell, 0, numberIn(kCell, 0), 20, RokuyoTextMetrics{}).shown) << "nothing measured";
}

TEST(RokuyoLayout, StaysAboveTheMemoAndTheCellBottom) {
  // The memo begins 15 below the cell's top: the text moves up to end there.
  RokuyoPlacement raised = placeRokuyo(kCell, 0, numberIn(kCell, 0), 15, smallText());
  ASSERT_TRUE(raised.shown);
  EXPECT_EQ(raised.y + 10, 115);
  // At 10 it would have to stand above the number: not shown.
  EXPECT_FALSE(placeRokuyo(kCell, 0, numberIn(kCell, 0), 10, smallText()).shown);
  // A short cell bounds it as the memo does.
  const Rect shortCell{10, 100, 67, 112};
  RokuyoPlacement low = placeRokuyo(shortCell, 0, numberIn(shortCell, 0), 20, smallText());
  ASSERT_TRUE(low.shown);
  EXPECT_EQ(low.y + 10, 112);
  // The largest configured height: no overflow, the baseline holds.
  RokuyoPlacement tall = placeRokuyo(kCell, 0, numberIn(kCell, 0), 32767, smallText());
  ASSERT_TRUE(tall.shown);
  EXPECT_EQ(tall.y, 101 + 17 - 9);
}

TEST(RokuyoLayout, EffectsAndItalicKeepTheirDistance) {
  // An outline reaches a pixel further on every side: one more pixel of gap.
  RokuyoPlacement outlined = placeRokuyo(kCell, 0, numberIn(kCell, 0), 20, smallText(1));
  ASSERT_TRUE(outlined.shown);
  EXPECT_EQ(outlined.x, 31 + 2 + 1);
  RokuyoPlacement raised = placeRokuyo(kCell, 0, numberIn(kCell, 0), 19, smallText(1));
  ASSERT_TRUE(raised.shown);
  EXPECT_EQ(raised.y + 10 + 1, 119) << "the outline's lowest row stays above the memo";
  // Italic: the mark follows the lean by a / 2, and the text follows the mark.
  RokuyoPlacement italic = placeRokuyo(kCell, 0, numberIn(kCell, 0, true), 20, smallText());
  ASSERT_TRUE(italic.shown);
  EXPECT_EQ(italic.x, 31 + 5 + 2);
  // A number wider than its mark pushes the text past its own right edge.
  RokuyoPlacement wideNumber = placeRokuyo(kCell, 0, numberIn(kCell, 0, false, 30), 20, smallText());
  ASSERT_TRUE(wideNumber.shown);
  EXPECT_EQ(wideNumber.x, 11 + 10 - 15 + 30 + 2);
}

TEST(RokuyoLayout, NeverOverTheNumberTheMemoOrTheFrames) {
  int shown = 0;
  for (int dayPos = 0; dayPos <= 3; ++dayPos)
    for (int width = 0; width <= 90; width += 3)
      for (int height = 0; height <= 50; height += 5)
        for (int mainFontHeight = 0; mainFontHeight <= 30; mainFontHeight += 3)
          for (int reach = 0; reach <= 1; ++reach)
            for (bool italic : {false, true}) {
              const Rect cell{5, 40, 5 + width, 40 + height};
              const DayNumberShape number = numberIn(cell, dayPos, italic);
              const RokuyoTextMetrics text = smallText(reach);
              const RokuyoPlacement p = placeRokuyo(cell, dayPos, number, mainFontHeight, text);
              if (!p.shown) continue;
              ++shown;
              const Rect memo = memoRect(cell.left, cell.top, width, height, mainFontHeight);
              const int left = p.x - reach, right = p.x + text.width + reach;
              const int top = p.y - reach, bottom = p.y + text.height + reach;
              ASSERT_GE(left, cell.left + 1) << dayPos << ' ' << width;
              ASSERT_LE(right, cell.right) << dayPos << ' ' << width;
              ASSERT_GE(top, number.place.textY);
              ASSERT_LE(bottom, memo.top) << "over the memo";
              ASSERT_LE(bottom, cell.bottom);
              const int numberLeft = std::min(number.place.markRect.left, number.place.textX);
              const int numberRight = std::max(number.place.markRect.right, number.place.textX + number.textWidth);
              ASSERT_TRUE(right <= numberLeft || left >= numberRight) << "over the number";
            }
  EXPECT_GT(shown, 1000) << "the sweep reached cells with room";
}

}  // namespace
