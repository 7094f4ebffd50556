// The calendar as a user meets it: what it shows on start, where clicks
// land, which days are red and marked, how the month changes by menu,
// accelerator and wheel, how the cursor keys stop at the month's edges,
// dragging, the midnight repaint and the caption styles.
#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/memo_windows.h"

namespace {

// Today for most tests: Wednesday 15 December 2004, which stands in row 2,
// column 3 of its month.
constexpr char kDecember15[] = "2004-12-15T10:00:00";

// Nothing but the grid: no title band, no weekday header, no frames.
const std::string kGridOnly =
    iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "DISPLAY_MEMO=0", "SAVE_POS=0"});

// Title band and weekday header with fonts of text height 20 and 12 (the
// worked example's), frames on.
struct BandFonts {
  int titleKey;  // HEIGHT of TITLE_FONT
  int weekKey;   // HEIGHT of WEEK_FONT
};
const BandFonts& bandFonts() {
  static const BandFonts fonts{sectionHeightGiving(20), sectionHeightGiving(12)};
  return fonts;
}

std::string bandsAndFrames() {
  std::string title = "HEIGHT=" + std::to_string(bandFonts().titleKey);
  std::string week = "HEIGHT=" + std::to_string(bandFonts().weekKey);
  return iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=1", "DISPLAY_WAKU=1", "DISPLAY_MEMO=0",
                  "SAVE_POS=0", "[TITLE_FONT]", title.c_str(), "[WEEK_FONT]", week.c_str()});
}

// The layout's two band heights for those fonts, as measured here.
void useBandHeights(ExpectedLayout& layout) {
  layout.titleHeight = measureSectionFont(bandFonts().titleKey).height + 1;
  layout.weekHeaderHeight = measureSectionFont(bandFonts().weekKey).height + 1;
}

const MonthShape kDecember2004 = monthShape(2004, 12);

}  // namespace

TEST(ExpectedCalendar, DecemberTwoThousandFourStartsOnAWednesday) {
  EXPECT_EQ(kDecember2004.firstWeekday, 3);
  EXPECT_EQ(kDecember2004.days, 31);
  CellPosition fifteenth = cellOfDay(kDecember2004, 15);
  EXPECT_EQ(fifteenth.row, 2);
  EXPECT_EQ(fifteenth.column, 3);
}

TEST_F(CalendarWindowTest, StartsOnTodaysMonthWithTheCursorOnToday) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  EXPECT_EQ(app().caption(), L"2004/12");

  Capture screen = shotWhen("start", [&](const Capture& c) { return probe(c, kDecember2004).cursorDay() == 15; });
  CalendarProbe look = probe(screen, kDecember2004);
  EXPECT_EQ(look.cursorDay(), 15);
  EXPECT_EQ(look.markedDay(kToday), 15) << "today's mark (TODAY colour) on the 15th and nowhere else";

  // Days have numbers, the empty cells before the 1st and after the 31st none.
  for (int day = 1; day <= kDecember2004.days; ++day) {
    CellPosition at = cellOfDay(kDecember2004, day);
    int ink = look.numberPixels(day, isDark) + look.numberPixels(day, isRed) + look.numberPixels(day, isBlue);
    EXPECT_GT(ink, 5) << "no number in the cell of the " << day << " (row " << at.row << ", column " << at.column
                      << ")";
  }
  for (int index = 0; index < 42; ++index) {
    int row = index / 7, column = index % 7;
    if (dayInCell(kDecember2004, row, column) != 0) continue;
    EXPECT_EQ(look.numberPixelsInCell(row, column, isDark), 0) << "ink in the empty cell " << row << "," << column;
  }
  // Weekday colours: Sunday red, Saturday blue, weekdays black.
  EXPECT_GT(look.numberPixels(5, isRed), 5);
  EXPECT_GT(look.numberPixels(4, isBlue), 5);
  EXPECT_EQ(look.numberPixels(4, isRed), 0);
  EXPECT_GT(look.numberPixels(6, isDark), 5);
  EXPECT_EQ(look.numberPixels(6, isRed), 0);
}

TEST_F(CalendarWindowTest, LayoutOfTitleBandHeaderAndFramedGrid) {
  ASSERT_TRUE(prepare(bandsAndFrames()));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  useBandHeights(layout);
  EXPECT_EQ(layout.titleHeight, 21) << "no title font HEIGHT near 20 gives a text height of 20 here";
  EXPECT_EQ(layout.weekHeaderHeight, 13) << "no weekday font HEIGHT near 12 gives a text height of 12 here";

  // Below the 25-pixel tool strip the worked example comes out as: title
  // band 21, header 13, grid from y 59, cells 42 × 31 from x 3.
  EXPECT_EQ(layout.toolStripHeight, 25);
  if (layout.titleHeight == 21 && layout.weekHeaderHeight == 13) {
    EXPECT_EQ(layout.gridTop(), 59);
    EXPECT_EQ(layout.cellWidth(), 42);
    EXPECT_EQ(layout.gridLeft(), 3);
    EXPECT_EQ(layout.cellHeight(), 31);
    RECT cell = layout.cell(2, 3);
    EXPECT_EQ(cell.left, 129);
    EXPECT_EQ(cell.top, 121);
    EXPECT_EQ(cell.right, 171);
    EXPECT_EQ(cell.bottom, 152);
  }

  Capture screen = shotWhen("layout", [&](const Capture& c) { return probe(c, kDecember2004).cursorDay() == 15; });
  CalendarProbe look = probe(screen, kDecember2004);
  EXPECT_EQ(look.cursorDay(), 15) << "cursor frame inside the cell of the 15th at row 2, column 3";
  EXPECT_EQ(look.markedDay(kToday), 15);

  const int left = layout.gridLeft(), top = layout.gridTop();
  const int width = layout.cellWidth(), height = layout.cellHeight();
  // Frame lines: one shared line between neighbours, from the grid's top
  // left corner to (left + 7 × width, top + 6 × height).
  for (int k = 0; k <= 7; ++k) {
    int x = left + k * width;
    int dark = screen.count(RECT{x, top, x + 1, top + 6 * height + 1}, isDark);
    EXPECT_GE(dark, 6 * height * 95 / 100) << "vertical frame line at x " << x;
  }
  for (int k = 0; k <= 6; ++k) {
    int y = top + k * height;
    int dark = screen.count(RECT{left, y, left + 7 * width + 1, y + 1}, isDark);
    EXPECT_GE(dark, 7 * width * 95 / 100) << "horizontal frame line at y " << y;
  }
  // …and nothing line-like just beside them.
  EXPECT_LT(screen.count(RECT{left - 1, top, left, top + 6 * height}, isDark), height) << "left of the grid";
  EXPECT_LT(screen.count(RECT{left + 7 * width + 1, top, left + 7 * width + 2, top + 6 * height}, isDark), height)
      << "right of the grid";
  EXPECT_LT(screen.count(RECT{left, top - 1, left + 7 * width, top}, isDark), width) << "just above the grid";
  EXPECT_LT(screen.count(RECT{left, top + 6 * height + 1, left + 7 * width, top + 6 * height + 2}, isDark), width)
      << "just below the grid";

  // The title band repeats the caption, centred, in the MONTH colour (black).
  // (below the tool strip).
  RECT band{0, layout.toolStripHeight, layout.clientWidth, layout.toolStripHeight + layout.titleHeight};
  int titleInk = screen.count(band, isDark);
  EXPECT_GT(titleInk, 20) << "no title text in the band";
  if (titleInk > 0) {
    int minX = layout.clientWidth, maxX = -1;
    for (int y = band.top; y < band.bottom; ++y)
      for (int x = 0; x < layout.clientWidth; ++x)
        if (isDark(screen.at(x, y))) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
        }
    EXPECT_NEAR((minX + maxX) / 2.0, layout.clientWidth / 2.0, 4.0) << "title not centred";
  }
  // Weekday names below it: Sunday red, Saturday blue, the rest black.
  int headerTop = layout.toolStripHeight + layout.titleHeight + 1;
  for (int column = 0; column < 7; ++column) {
    RECT name{left + column * width + 1, headerTop, left + (column + 1) * width, top};
    int red = screen.count(name, isRed), blue = screen.count(name, isBlue), dark = screen.count(name, isDark);
    if (column == 0) {
      EXPECT_GT(red, 5) << "Sunday's name";
    } else if (column == 6) {
      EXPECT_GT(blue, 5) << "Saturday's name";
      EXPECT_EQ(red, 0);
    } else {
      EXPECT_GT(dark, 5) << "weekday name in column " << column;
      EXPECT_EQ(red, 0);
      EXPECT_EQ(blue, 0);
    }
  }

  // Clicks right at the band's edge: the header selects nothing, the grid's
  // first pixel row does.
  leftClick(window(), left + 4 * width + width / 2, top - 1);
  Capture header = shot("click-header");
  EXPECT_EQ(probe(header, kDecember2004).cursorDay(), 15) << "a click on the weekday header moved the cursor";
  leftClick(window(), left + 4 * width, top);
  Capture firstRow = shotWithCursorOn("click-first-row", kDecember2004, 2);
  EXPECT_EQ(probe(firstRow, kDecember2004).cursorDay(), 2) << "first pixel of row 0, column 4 is the 2nd";
}

TEST_F(CalendarWindowTest, ClicksSelectTheCellUnderThePoint) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  const int left = layout.gridLeft(), top = layout.gridTop();
  const int width = layout.cellWidth(), height = layout.cellHeight();
  RECT placed = app().windowRect();

  struct Click {
    const char* step;
    int x, y;
    int cursorAfter;
  };
  const Click clicks[] = {
      {"centre-of-20th", left + width + width / 2, top + 3 * height + height / 2, 20},
      {"first-pixel-of-row3-col2", left + 2 * width, top + 3 * height, 21},
      {"last-pixel-of-row0-col3", left + 4 * width - 1, top + height - 1, 1},
      {"first-pixel-of-row0-col4", left + 4 * width, top + height - 1, 2},
      {"last-pixel-of-row4-col5", left + 6 * width - 1, top + 5 * height - 1, 31},
      // Outside the days: the cursor stays where it was.
      {"empty-cell-before-1st", left + width / 2, top + height / 2, 31},
      {"empty-cell-after-31st", left + 6 * width + width / 2, top + 4 * height + height / 2, 31},
      {"empty-last-row", left + 3 * width + width / 2, top + 5 * height + height / 2, 31},
      {"left-margin", left - 1, top + 2 * height + 5, 31},
      {"right-of-grid", left + 7 * width + 1, top + 2 * height + 5, 31},
      {"below-the-grid", left + 3 * width, top + 6 * height + 1, 31},
  };
  for (const Click& click : clicks) {
    leftClick(window(), click.x, click.y);
    Capture screen = shotWithCursorOn(click.step, kDecember2004, click.cursorAfter);
    EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), click.cursorAfter)
        << "after a click at (" << click.x << ", " << click.y << "): " << click.step;
  }
  RECT after = app().windowRect();
  EXPECT_EQ(after.left, placed.left) << "a click without moving the mouse moved the window";
  EXPECT_EQ(after.top, placed.top);

  // A double click on a day puts the cursor there as well, and opens the
  // day's memo editor, which is closed again before the capture.
  leftDoubleClick(window(), left + 3 * width + width / 2, top + 4 * height + height / 2);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(windowText(editor), L"2004年12月29日(水)");
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
  Capture doubled = shotWithCursorOn("double-click-29th", kDecember2004, 29);
  EXPECT_EQ(probe(doubled, kDecember2004).cursorDay(), 29);
}

// A press on a tool strip button that slides off before the release
// clicks nothing; the calendar's keys must go on working afterwards.
TEST_F(CalendarWindowTest, KeysWorkAfterAPressThatSlidOffTheToolStrip) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=0"})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  // The first of the strip's 23 x 21 buttons (the previous month).
  leftPress(window(), 11, 2 + 10);
  movePointerTo(toScreen(window(), layout.gridLeft() + layout.cellWidth() / 2, layout.gridTop() + 5 * layout.cellHeight() + 5));
  Sleep(60);
  leftRelease(window());
  settle(window());
  EXPECT_EQ(windowText(window()).find(L"2004/11"), std::wstring::npos) << "the slid-off press clicked the button";
  pressKey(VK_RIGHT);
  Capture moved = shotWithCursorOn("keys-after-slide-off", kDecember2004, 16);
  EXPECT_EQ(probe(moved, kDecember2004).cursorDay(), 16) << "the arrow key did not reach the calendar";
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr) << "Enter did not open the cursor day's editor";
  EXPECT_EQ(windowText(editor), L"2004年12月16日(木)");
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
}

TEST_F(CalendarWindowTest, HolidaysAndMemoMarksInTheirColours) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0",
                               "DISPLAY_MEMO=0", "SAVE_POS=0", "YMARK=0", "TMARK=0", "[HOLIDAY]",
                               "1223=天皇誕生日||0", "1225=クリスマス||1", "1103=文化の日"})));
  // Memos on the 5th and 20th, today (the 15th) with one too, and an empty
  // memo on the 8th, which counts as none.
  ASSERT_TRUE(addFile(L"200412.dat", monthFileText("月のメモ", {{5, 0, "会議"},
                                                                {8, 0, ""},
                                                                {15, 255, "今日の予定"},
                                                                {20, 0, "memo"}})));
  ASSERT_TRUE(addFile(L"200409.dat", monthFileText("", {{1, 0, "x"}})));
  ASSERT_TRUE(start(kDecember15));

  Capture december = shotWhen("december", [&](const Capture& c) { return probe(c, kDecember2004).cursorDay() == 15; });
  CalendarProbe look = probe(december, kDecember2004);
  EXPECT_GT(look.numberPixels(23, isRed), 5) << "public holiday on Thursday the 23rd";
  EXPECT_GT(look.numberPixels(25, isRed), 5) << "user holiday on Saturday the 25th";
  EXPECT_EQ(look.numberPixels(25, isBlue), 0) << "the holiday colour replaces Saturday's";
  EXPECT_EQ(look.numberPixels(24, isRed), 0) << "the 24th is an ordinary Friday";
  EXPECT_GT(look.numberPixels(18, isBlue), 5) << "an ordinary Saturday";
  EXPECT_EQ(look.numberPixels(18, isRed), 0);
  for (int sunday : {5, 12, 19, 26}) EXPECT_GT(look.numberPixels(sunday, isRed), 5) << "Sunday the " << sunday;

  EXPECT_TRUE(look.hasMark(5, kYotei)) << "memo mark (YOTEI colour) on the 5th";
  EXPECT_TRUE(look.hasMark(20, kYotei)) << "memo mark on the 20th";
  EXPECT_FALSE(look.hasMark(8, kYotei)) << "an empty memo has no mark";
  EXPECT_TRUE(look.hasMark(15, kTodayYotei)) << "today with a memo: TODAYYOTEI colour";
  EXPECT_EQ(look.markPixels(15, kToday), 0) << "today with a memo has no TODAY colour";
  EXPECT_EQ(look.markedDay(kToday), 0);
  for (int day = 1; day <= 31; ++day) {
    if (day == 5 || day == 20) continue;
    EXPECT_EQ(look.markPixels(day, kYotei), 0) << "memo mark colour on the " << day;
  }

  // November: a bare holiday name without "||" is public.
  pressKey(VK_LEFT, true);
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11");
  const MonthShape november = monthShape(2004, 11);
  Capture nov = shotWhen("november", [&](const Capture& c) { return probe(c, november).cursorDay() == 15; });
  EXPECT_GT(probe(nov, november).numberPixels(3, isRed), 5) << "3 November, Wednesday, from the settings";
  EXPECT_EQ(probe(nov, november).markedDay(kToday), 0) << "no today mark outside today's month";

  // September 2004: the equinox on Thursday the 23rd and the third Monday,
  // the 20th; the 22nd between them stays ordinary.
  pressKey(VK_LEFT, true);
  pressKey(VK_LEFT, true);
  EXPECT_EQ(captionWhen(L"2004/09"), L"2004/09");
  const MonthShape september = monthShape(2004, 9);
  Capture sep = shotWhen("september", [&](const Capture& c) { return probe(c, september).cursorDay() == 15; });
  CalendarProbe seen = probe(sep, september);
  EXPECT_GT(seen.numberPixels(23, isRed), 5) << "autumn equinox, 23 September 2004";
  EXPECT_GT(seen.numberPixels(20, isRed), 5) << "third Monday of September 2004";
  EXPECT_EQ(seen.numberPixels(22, isRed), 0) << "22 September 2004 is no holiday";
  EXPECT_EQ(seen.numberPixels(21, isRed), 0);
  EXPECT_TRUE(seen.hasMark(1, kYotei)) << "memo of 1 September from its own month file";
  EXPECT_EQ(seen.markedDay(kToday), 0);

  // March 2005: the equinox falls on Sunday the 20th, so Monday the 21st is
  // a substitute holiday.
  for (int i = 0; i < 6; ++i) pressKey(VK_RIGHT, true);
  EXPECT_EQ(captionWhen(L"2005/03"), L"2005/03");
  const MonthShape march = monthShape(2005, 3);
  Capture mar = shotWhen("march-2005", [&](const Capture& c) { return probe(c, march).cursorDay() == 15; });
  EXPECT_GT(probe(mar, march).numberPixels(20, isRed), 5) << "equinox, Sunday 20 March 2005";
  EXPECT_GT(probe(mar, march).numberPixels(21, isRed), 5) << "substitute holiday, Monday 21 March 2005";
  EXPECT_EQ(probe(mar, march).numberPixels(22, isRed), 0);
}

TEST_F(CalendarWindowTest, AcceleratorsStepMonthsAndYearsAcrossTheYearEnd) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  struct Step {
    WORD key;
    const wchar_t* caption;
  };
  const Step steps[] = {
      {VK_RIGHT, L"2005/01"}, {VK_LEFT, L"2004/12"}, {VK_LEFT, L"2004/11"}, {VK_UP, L"2005/11"},
      {VK_DOWN, L"2004/11"},  {VK_DOWN, L"2003/11"}, {VK_UP, L"2004/11"},   {VK_RIGHT, L"2004/12"},
      {VK_RIGHT, L"2005/01"}, {VK_DOWN, L"2004/01"}, {VK_LEFT, L"2003/12"},
  };
  for (const Step& step : steps) {
    pressKey(step.key, true);
    EXPECT_EQ(captionWhen(step.caption), step.caption);
  }
  // Ctrl+Enter: back to this month with the cursor on today.
  leftClick(window(), layout.centreOf(monthShape(2003, 12), 30).x, layout.centreOf(monthShape(2003, 12), 30).y);
  pressKey(VK_RETURN, true);
  EXPECT_EQ(captionWhen(L"2004/12"), L"2004/12");
  Capture back = shotWithCursorOn("this-month", kDecember2004, 15);
  EXPECT_EQ(probe(back, kDecember2004).cursorDay(), 15);
  EXPECT_EQ(probe(back, kDecember2004).markedDay(kToday), 15);

  // The cursor keeps its day unless the new month is shorter.
  leftClick(window(), layout.centreOf(kDecember2004, 31).x, layout.centreOf(kDecember2004, 31).y);
  shotWithCursorOn("on-31st", kDecember2004, 31);
  pressKey(VK_LEFT, true);
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11");
  Capture november = shotWithCursorOn("november-30th", monthShape(2004, 11), 30);
  EXPECT_EQ(probe(november, monthShape(2004, 11)).cursorDay(), 30) << "31st lowered to November's 30th";
  for (int i = 0; i < 3; ++i) pressKey(VK_RIGHT, true);
  EXPECT_EQ(captionWhen(L"2005/02"), L"2005/02");
  Capture february = shotWithCursorOn("february-28th", monthShape(2005, 2), 28);
  EXPECT_EQ(probe(february, monthShape(2005, 2)).cursorDay(), 28) << "lowered again to February's 28th";
  pressKey(VK_RIGHT, true);
  EXPECT_EQ(captionWhen(L"2005/03"), L"2005/03");
  Capture march = shotWithCursorOn("march-keeps-28th", monthShape(2005, 3), 28);
  EXPECT_EQ(probe(march, monthShape(2005, 3)).cursorDay(), 28) << "a longer month keeps the lowered day";
}

TEST_F(CalendarWindowTest, ContextMenuStepsMonths) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  POINT on20th = layout.centreOf(kDecember2004, 20);
  ASSERT_TRUE(chooseFromMenu(on20th.x, on20th.y, 'N'));
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01") << "次の月(&N) from December";
  Capture january = shotWithCursorOn("next", monthShape(2005, 1), 15);
  EXPECT_EQ(probe(january, monthShape(2005, 1)).cursorDay(), 15) << "a right click does not move the cursor";

  ASSERT_TRUE(chooseFromMenu(on20th.x, on20th.y, 'B'));
  EXPECT_EQ(captionWhen(L"2004/12"), L"2004/12") << "前の月(&B) from January";
  ASSERT_TRUE(chooseFromMenu(on20th.x, on20th.y, 'B'));
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11");
  ASSERT_TRUE(chooseFromMenu(on20th.x, on20th.y, 'I'));
  EXPECT_EQ(captionWhen(L"2004/12"), L"2004/12") << "今月(&I)";

  // The first item chosen with the mouse.
  rightClick(window(), on20th.x, on20th.y);
  HWND menu = nullptr;
  for (int wait = 0; wait < 60 && !menu; ++wait) {
    menu = findProcessWindow(app().processId(), L"#32768");
    if (!menu) Sleep(50);
  }
  ASSERT_NE(menu, nullptr) << "no context menu";
  Sleep(100);
  leftClick(menu, 30, 8);
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01") << "次の月(&N) clicked";
  shot("clicked-next");
}

TEST_F(CalendarWindowTest, WheelStepsMonths) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  POINT centre = layout.centreOf(kDecember2004, 15);
  turnWheel(window(), centre.x, centre.y, WHEEL_DELTA);
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11") << "away from the user: previous month";
  turnWheel(window(), centre.x, centre.y, -WHEEL_DELTA);
  EXPECT_EQ(captionWhen(L"2004/12"), L"2004/12");
  turnWheel(window(), centre.x, centre.y, -WHEEL_DELTA);
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01") << "towards the user: next month, across the year end";
  turnWheel(window(), centre.x, centre.y, -3 * WHEEL_DELTA);
  EXPECT_EQ(captionWhen(L"2005/02"), L"2005/02") << "several notches in one message: one month";
  shot("february");
}

TEST_F(CalendarWindowTest, JanuaryNineteenEightyIsTheEarliestMonth) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start("1980-01-15T10:00:00"));
  EXPECT_EQ(app().caption(), L"1980/01");
  const MonthShape january = monthShape(1980, 1);
  POINT centre = layout.centreOf(january, 20);

  auto stays = [&](const wchar_t* caption, const char* how) {
    settle(window(), 200);
    EXPECT_EQ(app().caption(), caption) << how;
  };
  pressKey(VK_LEFT, true);
  stays(L"1980/01", "Ctrl+Left in January 1980");
  turnWheel(window(), centre.x, centre.y, WHEEL_DELTA);
  stays(L"1980/01", "wheel away in January 1980");
  ASSERT_TRUE(chooseFromMenu(centre.x, centre.y, 'B'));
  stays(L"1980/01", "前の月 in January 1980");
  pressKey(VK_DOWN, true);
  stays(L"1980/01", "Ctrl+Down in January 1980");
  Capture floor = shotWithCursorOn("january-1980", january, 15);
  EXPECT_EQ(probe(floor, january).cursorDay(), 15);
  EXPECT_EQ(probe(floor, january).markedDay(kToday), 15);

  pressKey(VK_RIGHT, true);
  EXPECT_EQ(captionWhen(L"1980/02"), L"1980/02");
  pressKey(VK_DOWN, true);
  stays(L"1980/02", "Ctrl+Down anywhere in 1980");
  pressKey(VK_UP, true);
  EXPECT_EQ(captionWhen(L"1981/02"), L"1981/02");
  pressKey(VK_DOWN, true);
  EXPECT_EQ(captionWhen(L"1980/02"), L"1980/02");
  pressKey(VK_LEFT, true);
  EXPECT_EQ(captionWhen(L"1980/01"), L"1980/01");
  shot("back-to-january");
}

TEST_F(CalendarWindowTest, CursorKeysStopAtTheMonthsEdges) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  struct Move {
    WORD key;
    int cursorAfter;
  };
  auto run = [&](const char* name, int from, std::initializer_list<Move> moves) {
    POINT at = layout.centreOf(kDecember2004, from);
    leftClick(window(), at.x, at.y);
    shotWithCursorOn(name, kDecember2004, from);
    int step = 0;
    for (const Move& move : moves) {
      pressKey(move.key);
      std::string label = std::string(name) + "-" + std::to_string(++step);
      Capture screen = shotWithCursorOn(label.c_str(), kDecember2004, move.cursorAfter);
      EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), move.cursorAfter) << label;
    }
  };
  run("from-3rd", 3, {{VK_UP, 1}, {VK_LEFT, 1}, {VK_UP, 1}, {VK_RIGHT, 2}, {VK_DOWN, 9}});
  run("from-28th", 28, {{VK_DOWN, 31}, {VK_RIGHT, 31}, {VK_DOWN, 31}, {VK_LEFT, 30}, {VK_UP, 23}});
  run("from-15th", 15, {{VK_DOWN, 22}, {VK_DOWN, 29}, {VK_DOWN, 31}, {VK_UP, 24}});
}

TEST_F(CalendarWindowTest, DraggingTheTitleBandMovesTheWindow) {
  ASSERT_TRUE(prepare(bandsAndFrames()));
  ASSERT_TRUE(start(kDecember15));
  useBandHeights(layout);
  RECT before = app().windowRect();
  leftDrag(window(), layout.clientWidth / 2, layout.toolStripHeight + layout.titleHeight / 2, 80, 50);
  RECT after = app().windowRect();
  EXPECT_EQ(after.left - before.left, 80) << "window moved horizontally by";
  EXPECT_EQ(after.top - before.top, 50) << "window moved vertically by";
  EXPECT_EQ(after.right - after.left, before.right - before.left) << "dragging changed the size";
  Capture screen = shotWithCursorOn("after-drag", kDecember2004, 15);
  EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), 15) << "dragging moved the cursor";
}

TEST_F(CalendarWindowTest, DraggingAnEmptyCellMovesTheWindow) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  RECT before = app().windowRect();
  RECT empty = layout.cell(5, 2);
  leftDrag(window(), (empty.left + empty.right) / 2, (empty.top + empty.bottom) / 2, -60, 40);
  RECT after = app().windowRect();
  EXPECT_EQ(after.left - before.left, -60) << "window moved horizontally by";
  EXPECT_EQ(after.top - before.top, 40) << "window moved vertically by";
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "dragging changed the size";
  Capture screen = shotWithCursorOn("after-drag", kDecember2004, 15);
  EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), 15);
}

TEST_F(CalendarWindowTest, DateWatchMovesTheTodayMarkAtMidnight) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start("2004-12-15T23:59:58"));
  Capture evening = shot("before-midnight");
  EXPECT_EQ(probe(evening, kDecember2004).markedDay(kToday), 15) << "today before midnight";
  // No input from here on: only the date watch may repaint.
  Capture morning = shotWhen(
      "after-midnight", [&](const Capture& c) { return probe(c, kDecember2004).markedDay(kToday) == 16; }, 6000);
  CalendarProbe look = probe(morning, kDecember2004);
  EXPECT_EQ(look.markedDay(kToday), 16) << "the today mark did not move to the 16th";
  EXPECT_EQ(look.cursorDay(), 15) << "the cursor stays where it was";
  EXPECT_EQ(app().caption(), L"2004/12");
}

// The caption for each TITLE style; the title band repeats it.
struct CaptionCase {
  const char* titleLine;
  const wchar_t* caption;
};

class CaptionStyleTest : public CalendarWindowTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionStyleTest, CaptionNamesTheShownMonth) {
  const CaptionCase& style = GetParam();
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", style.titleLine, "DISPLAY_TITLE=1", "WEEK=0", "SAVE_POS=0"})));
  ASSERT_TRUE(start(kDecember15));
  EXPECT_EQ(captionWhen(style.caption), style.caption);
  Capture screen = shot("caption");
  layout.titleHeight = measureSectionFont(-20).height + 1;
  RECT band{0, layout.toolStripHeight, layout.clientWidth, layout.toolStripHeight + layout.titleHeight};
  EXPECT_GT(screen.count(band, isDark), 20) << "title band text";
}

INSTANTIATE_TEST_SUITE_P(TitleStyles, CaptionStyleTest,
                         ::testing::Values(CaptionCase{"TITLE=0", L"2004/12"}, CaptionCase{"TITLE=1", L"2004 Dec"},
                                           CaptionCase{"TITLE=2", L"2004年12月"},
                                           CaptionCase{"TITLE=7", L"2004/12"}));
