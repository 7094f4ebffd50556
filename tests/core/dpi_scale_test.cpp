// Sizes given at 96 DPI on screens of other scales: the rounding, the
// identity at 96 DPI, font heights of either sign, the way back from the
// font chooser and the choice of the tool buttons' pictures.
#include <gtest/gtest.h>

#include "render/dpi_scale.h"
#include "render/layout.h"

namespace {

TEST(DpiScale, NinetySixIsTheIdentityAndOtherScalesRoundHalvesAwayFromZero) {
  for (int value : {-1000, -21, -20, -13, -1, 0, 1, 2, 10, 23, 200, 100000}) {
    EXPECT_EQ(scaleToDpi(value, 96), value);
    EXPECT_EQ(scaleFromDpi(value, 96), value);
    EXPECT_EQ(scaleToDpi(value, 0), value) << "an unknown DPI counts as 96";
  }
  EXPECT_EQ(scaleToDpi(1, 144), 2);   // 1.5
  EXPECT_EQ(scaleToDpi(23, 144), 35); // 34.5
  EXPECT_EQ(scaleToDpi(21, 144), 32); // 31.5
  EXPECT_EQ(scaleToDpi(200, 144), 300);
  EXPECT_EQ(scaleToDpi(1, 120), 1);   // 1.25
  EXPECT_EQ(scaleToDpi(2, 120), 3);   // 2.5
  EXPECT_EQ(scaleToDpi(10, 192), 20);
  // Negative heights are character heights, positive ones cell heights: the
  // sign stays and the magnitude rounds as it does for positive values.
  EXPECT_EQ(scaleToDpi(-20, 144), -30);
  EXPECT_EQ(scaleToDpi(-13, 144), -20);  // -19.5
  EXPECT_EQ(scaleToDpi(13, 144), 20);
  EXPECT_EQ(scaleFromDpi(-30, 144), -20);
  EXPECT_EQ(scaleFromDpi(-19, 144), -13);  // -12.67
  EXPECT_EQ(scaleToDpi(2000000000, 192), 2147483647) << "clamped, never wrapped";
}

TEST(DpiScale, AFontHeightTheChooserLeftAloneKeepsItsStoredValue) {
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    for (int stored : {-13, -20, -21, -33, 12, 15, 20}) {
      const int offered = scaleToDpi(stored, dpi);
      EXPECT_EQ(fontHeightFromChooser(stored, offered, offered, 0, dpi), stored) << stored << " at " << dpi;
    }
  }
  // -21 is 26 pixels at 120 DPI, 15.6 points: the chooser shows 16 points
  // and hands back 27 pixels. Untouched, the file keeps -21.
  EXPECT_EQ(fontHeightFromChooser(-21, -26, -27, 160, 120), -21);
  // A new size is stored at 96 DPI: 18 points at 144 DPI are 36 pixels there.
  EXPECT_EQ(fontHeightFromChooser(-20, -30, -36, 180, 144), -24);
  EXPECT_EQ(fontHeightFromChooser(-21, -26, -30, 180, 120), -24);
}

TEST(DpiScale, ToolPicturesComeFromTheNearestDrawnScale) {
  EXPECT_EQ(toolPictureScaleIndex(96), 0);
  EXPECT_EQ(toolPictureScaleIndex(119), 0);
  EXPECT_EQ(toolPictureScaleIndex(120), 1);
  EXPECT_EQ(toolPictureScaleIndex(144), 1);
  EXPECT_EQ(toolPictureScaleIndex(168), 2);
  EXPECT_EQ(toolPictureScaleIndex(288), 2);
  EXPECT_EQ(toolPictureSize(23, 0), 23);
  EXPECT_EQ(toolPictureSize(23, 1), 35);
  EXPECT_EQ(toolPictureSize(21, 2), 42);
}

TEST(DpiScale, TheLayoutsMarginsFollowTheDpi) {
  GridLayout layout;
  layout.toolStripHeight = 36;
  layout.titleHeight = 31;
  layout.dpi = 144;
  Rect header = weekHeaderRect(layout, 701, 0);
  EXPECT_EQ(header.top, 36 + 31 + 2);
  EXPECT_EQ(header.bottom - header.top, 15);
  EXPECT_EQ(memoRect(10, 20, 100, 80, 20, 144), (Rect{12, 50, 112, 100}));
  EXPECT_EQ(cursorRect(10, 20, 100, 80, 144), (Rect{13, 23, 110, 100}));
  DayNumberPlacement place = placeDayNumber(10, 20, 100, 0, 30, 15, 20, false, 144);
  EXPECT_EQ(place.textY, 22);
  EXPECT_EQ(place.markRect.left, 12);
  // At 96 DPI the same calls give the sizes the calendar always had.
  layout.dpi = 96;
  EXPECT_EQ(weekHeaderRect(layout, 701, 0).bottom - weekHeaderRect(layout, 701, 0).top, 10);
  EXPECT_EQ(memoRect(10, 20, 100, 80, 20), (Rect{11, 40, 111, 100}));
}

}  // namespace
