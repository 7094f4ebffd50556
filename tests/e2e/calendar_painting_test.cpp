// What the settings change on the screen: the background (a plain colour
// or a picture, at its own size or stretched), the styles of the today
// mark, the memo texts in their colours and outlines, and where the day
// number stands in its cell.
#include <windows.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
const MonthShape kDecember2004 = monthShape(2004, 12);

constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kOrange = RGB(255, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

std::string narrow(const std::wstring& ascii) {
  std::string out;
  for (wchar_t c : ascii) out += static_cast<char>(c);
  return out;
}

bool isColour(COLORREF wanted, COLORREF seen) { return sameColour(wanted, seen, 4); }

// Pixels of `colour` in a rectangle of a capture.
int pixelsOf(const Capture& capture, RECT area, COLORREF colour) {
  return capture.count(area, [colour](COLORREF c) { return isColour(colour, c); });
}

class CalendarPaintingTest : public CalendarWindowTest {
 protected:
  // A picture background, with the picture in the program's directory.
  ::testing::AssertionResult preparePicture(int autoSize) {
    std::string settings = iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "WALL=2"});
    if (auto made = prepare(""); !made) return made;
    std::string path = narrow(app().directory()) + "\\wall.bmp";
    settings += "BK_IMAGE=" + path + "\r\nAUTO_SIZE=" + std::to_string(autoSize) + "\r\n";
    if (auto added = addFile(L"wall.bmp", bmpFile(60, 40, kTeal, kOrange)); !added) return added;
    return addFile(kSettingsFileName, settings);
  }

  // Today's mark of the 15th under a TMARK style.
  Capture todayMark(int style) {
    std::string tmark = "TMARK=" + std::to_string(style);
    EXPECT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", tmark.c_str()})));
    EXPECT_TRUE(start(kDecember15));
    return shot(("tmark-" + std::to_string(style)).c_str());
  }

  RECT todayMarkRect() const { return markRectLeft(layout.cellOf(kDecember2004, 15), mainFont); }
};

TEST_F(CalendarPaintingTest, PictureAtItsOwnSizeLeavesTheRestWhite) {
  ASSERT_TRUE(preparePicture(0));
  ASSERT_TRUE(start(kDecember15));
  Capture capture = shot("picture-own-size");
  // The top-left cells of December 2004 are empty: only the picture is
  // there, from just below the tool strip.
  const int s = layout.toolStripHeight;
  EXPECT_TRUE(isColour(kTeal, capture.at(3, s + 3)));
  EXPECT_TRUE(isColour(kTeal, capture.at(29, s + 39)));
  EXPECT_TRUE(isColour(kOrange, capture.at(30, s + 3)));
  EXPECT_TRUE(isColour(kOrange, capture.at(59, s + 39)));
  EXPECT_TRUE(isColour(kWhite, capture.at(60, s + 3))) << "right of the picture";
  EXPECT_TRUE(isColour(kWhite, capture.at(3, s + 40))) << "below the picture";
  EXPECT_EQ(pixelsOf(capture, RECT{0, s + 41, 300, 250}, kTeal), 0);
}

TEST_F(CalendarPaintingTest, StretchedPictureFillsTheClientArea) {
  ASSERT_TRUE(preparePicture(1));
  ASSERT_TRUE(start(kDecember15));
  Capture capture = shot("picture-stretched");
  const int s = layout.toolStripHeight;
  EXPECT_TRUE(isColour(kTeal, capture.at(3, s + 3)));
  EXPECT_TRUE(isColour(kTeal, capture.at(140, 245)));
  EXPECT_TRUE(isColour(kOrange, capture.at(160, s + 3)));
  EXPECT_TRUE(isColour(kOrange, capture.at(296, 246)));
  EXPECT_EQ(pixelsOf(capture, RECT{0, s, 300, 250}, kWhite), 0) << "no white background below the strip";
}

TEST_F(CalendarPaintingTest, PlainBackgroundHasTheBackColour) {
  constexpr COLORREF kBack = RGB(255, 224, 224);
  std::string back = "BACK=" + std::to_string(kBack);
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "WALL=0", "[COLOR]", back.c_str()})));
  ASSERT_TRUE(start(kDecember15));
  Capture capture = shot("back-colour");
  EXPECT_TRUE(isColour(kBack, capture.at(5, layout.toolStripHeight + 5)));
  EXPECT_TRUE(isColour(kBack, capture.at(299, 249)));
}

TEST_F(CalendarPaintingTest, TodayMarkStyles) {
  {
    Capture filled = todayMark(0);
    EXPECT_TRUE(probe(filled, kDecember2004).hasMark(15, kToday)) << "■ fills the mark";
  }
  TearDown();
  {
    Capture box = todayMark(1);
    RECT mark = todayMarkRect();
    RECT inside{mark.left + 3, mark.top + 3, mark.right - 3, mark.bottom - 3};
    // The 2-pixel pen straddles the edge, and the cursor frame (today has
    // the cursor) covers its inner half: look one pixel outside too.
    EXPECT_GT(pixelsOf(box, RECT{mark.left - 1, mark.top, mark.left + 2, mark.bottom}, kToday), 0) << "□ left edge";
    EXPECT_GT(pixelsOf(box, RECT{mark.left, mark.top - 1, mark.right, mark.top + 2}, kToday), 0) << "□ top edge";
    EXPECT_EQ(pixelsOf(box, inside, kToday), 0) << "□ is hollow";
  }
  TearDown();
  {
    Capture underline = todayMark(4);
    RECT mark = todayMarkRect();
    EXPECT_GT(pixelsOf(underline, RECT{mark.left, mark.bottom - 1, mark.right, mark.bottom + 2}, kToday), 0)
        << "＿ along the bottom";
    EXPECT_EQ(pixelsOf(underline, RECT{mark.left, mark.top, mark.right, mark.bottom - 2}, kToday), 0);
  }
  TearDown();
  {
    Capture none = todayMark(5);
    EXPECT_EQ(pixelsOf(none, RECT{0, 0, 300, 250}, kToday), 0) << "なし draws nothing";
  }
}

TEST_F(CalendarPaintingTest, MemoTextsInTheirColoursWithOutlines) {
  std::string settings = iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "DISPLAY_MEMO=1",
                                  "MEMOTYPE=2", "[COLOR]", "MEMO_WRAP=16711935", "[MEMO_FONT]", "HEIGHT=-12"});
  ASSERT_TRUE(prepare(settings));
  ASSERT_TRUE(addFile(L"200412.dat", monthFileText("", {{20, kGreen, "WWW"}})));
  ASSERT_TRUE(start(kDecember15, 420, 320));
  Capture capture = shot("memo-outline");
  RECT twentieth = layout.cellOf(kDecember2004, 20);
  // Below the day number (20 pixels, the default height), in the cell.
  RECT memo{twentieth.left, twentieth.top + 20, twentieth.right, twentieth.bottom};
  EXPECT_GT(pixelsOf(capture, memo, kGreen), 10) << "the memo in its own colour";
  EXPECT_GT(pixelsOf(capture, memo, kMagenta), 10) << "its outline in MEMO_WRAP";
  RECT rest{0, layout.toolStripHeight, 420, twentieth.top};
  EXPECT_EQ(pixelsOf(capture, rest, kGreen), 0) << "no memo elsewhere";
}

TEST_F(CalendarPaintingTest, DayNumbersStandWhereDayPosSays) {
  const int positions[] = {0, 2};
  int leftmost[2] = {};
  for (int i = 0; i < 2; ++i) {
    std::string dayPos = "DAY_POS=" + std::to_string(positions[i]);
    ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", dayPos.c_str()})));
    ASSERT_TRUE(start(kDecember15, 420, 320));
    Capture capture = shot(("day-pos-" + std::to_string(positions[i])).c_str());
    // The 8th (a weekday, black) in its cell: the leftmost dark pixel.
    RECT cell = layout.cellOf(kDecember2004, 8);
    leftmost[i] = cell.right;
    for (int x = cell.left; x < cell.right; ++x)
      for (int y = cell.top; y < cell.top + 20; ++y)
        if (isDark(capture.at(x, y)) && x < leftmost[i]) leftmost[i] = x;
    EXPECT_LT(leftmost[i], cell.right) << "the number is drawn";
    if (i == 0) {
      EXPECT_LT(leftmost[i] - cell.left, 15) << "at the left";
    } else {
      EXPECT_GT(leftmost[i] - cell.left, (cell.right - cell.left) / 2) << "at the right";
    }
    TearDown();
  }
}

}  // namespace
