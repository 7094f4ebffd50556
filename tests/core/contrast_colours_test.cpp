#include <gtest/gtest.h>

#include "render/contrast_colours.h"
#include "settings/app_settings.h"

namespace {

constexpr SystemColours kBlackScheme{0x00FFFFFF, 0x00000000, 0x00FFEB1A};

TEST(HighContrastColours, TextWindowAndHighlightByWhatEachColourPaints) {
  for (int index : {kColourMonth, kColourSunday, kColourNormalDay, kColourSaturday, kColourFrame,
                    kColourMemoDefault})
    EXPECT_EQ(highContrastColour(index, kBlackScheme), kBlackScheme.windowText) << index;
  for (int index : {kColourBack, kColourMonthWrap, kColourWeekWrap, kColourDayWrap, kColourMemoWrap})
    EXPECT_EQ(highContrastColour(index, kBlackScheme), kBlackScheme.window) << index;
  for (int index : {kColourCursor, kColourToday, kColourYotei, kColourTodayYotei})
    EXPECT_EQ(highContrastColour(index, kBlackScheme), kBlackScheme.highlight) << index;
  EXPECT_EQ(highContrastMemoColour(kBlackScheme), kBlackScheme.windowText);
}

// Filled marks would put the day number on the highlight colour; their
// outlines keep the number on the window colour and the mark in sight.
TEST(HighContrastColours, FilledMarksBecomeOutlinesOthersStay) {
  EXPECT_EQ(highContrastMarkStyle(static_cast<int>(MarkStyle::FilledBox)), static_cast<int>(MarkStyle::Box));
  EXPECT_EQ(highContrastMarkStyle(static_cast<int>(MarkStyle::FilledCircle)), static_cast<int>(MarkStyle::Circle));
  for (MarkStyle kept : {MarkStyle::Box, MarkStyle::Circle, MarkStyle::Underline, MarkStyle::None})
    EXPECT_EQ(highContrastMarkStyle(static_cast<int>(kept)), static_cast<int>(kept));
  EXPECT_EQ(highContrastMarkStyle(17), 17);
}

}  // namespace
