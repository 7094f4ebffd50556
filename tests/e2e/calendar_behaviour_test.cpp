// Behaviour a user meets outside the plain month view: the caption while the
// window is minimised, which mark today gets when it also has a memo and how
// the two circle styles look, what a log-off query leaves of the calendar,
// and the background over the desktop, repainted after a move.
#include <windows.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
const MonthShape kDecember2004 = monthShape(2004, 12);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTeal = RGB(0, 128, 128);

bool isColour(COLORREF wanted, COLORREF seen) { return sameColour(wanted, seen, 4); }

int pixelsOf(const Capture& capture, RECT area, COLORREF colour) {
  return capture.count(area, [colour](COLORREF c) { return isColour(colour, c); });
}

std::string narrow(const std::wstring& ascii) {
  std::string out;
  for (wchar_t c : ascii) out += static_cast<char>(c);
  return out;
}

class CalendarBehaviourTest : public CalendarWindowTest {
 protected:
  // The shape of a mark, told from pixels of its colour at three places of
  // its rectangle: the middle, the bottom-right corner, and the middles of
  // the bottom and right edges (where a ring or an outline runs). The left
  // and top edges are left alone: the cursor frame of today covers them.
  struct MarkShape {
    int middle = 0;
    int corners = 0;
    int edges = 0;
  };
  MarkShape markShape(const Capture& capture, int day, COLORREF colour) const {
    RECT r = markRectLeft(layout.cellOf(kDecember2004, day), mainFont);
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    MarkShape shape;
    // The day number stands over the middle: count the mark's colour there,
    // which only a filled mark shows between the digits' strokes.
    shape.middle = pixelsOf(capture, RECT{midX - 3, midY - 3, midX + 3, midY + 3}, colour);
    shape.corners = pixelsOf(capture, RECT{r.right - 2, r.bottom - 2, r.right, r.bottom}, colour);
    shape.edges = pixelsOf(capture, RECT{midX - 1, r.bottom - 3, midX + 2, r.bottom + 1}, colour) +
                  pixelsOf(capture, RECT{r.right - 3, midY - 1, r.right + 1, midY + 2}, colour);
    return shape;
  }
};

// With ICONED_TITLE 1 the minimised window names today, whichever month it
// shows; restored, it names the shown month again. With 0 it always names
// the shown month.
TEST_F(CalendarBehaviourTest, MinimisedCaptionNamesTodayOnlyWithIconedTitle) {
  struct Case {
    const char* iconed;
    const char* title;
    const wchar_t* shown;
    const wchar_t* minimised;
  };
  const Case cases[] = {{"ICONED_TITLE=1", "TITLE=2", L"2005年1月", L"2004年12月15日"},
                        {"ICONED_TITLE=1", "TITLE=0", L"2005/01", L"2004/12/15"},
                        {"ICONED_TITLE=0", "TITLE=0", L"2005/01", L"2005/01"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.iconed) + " " + c.title);
    ASSERT_TRUE(prepare(iniText({"[Sorvane]", c.title, c.iconed, "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=0"})));
    ASSERT_TRUE(start(kDecember15));
    pressKey(VK_RIGHT, true);  // next month: the shown month is no longer today's
    EXPECT_EQ(captionWhen(c.shown), c.shown);

    PostMessageW(window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (int wait = 0; wait < 60 && !IsIconic(window()); ++wait) Sleep(50);
    ASSERT_TRUE(IsIconic(window()));
    settle(window());
    EXPECT_EQ(captionWhen(c.minimised), c.minimised) << "while minimised";

    PostMessageW(window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    for (int wait = 0; wait < 60 && IsIconic(window()); ++wait) Sleep(50);
    ASSERT_FALSE(IsIconic(window()));
    EXPECT_EQ(captionWhen(c.shown), c.shown) << "after restoring";
    TearDown();
  }
}

// Today with a memo takes TMARK's style in the TODAYYOTEI colour; YMARK's
// style is for the other days with memos. Both circle styles are drawn.
TEST_F(CalendarBehaviourTest, TodayWithAMemoTakesTheTodayMarkStyle) {
  struct Case {
    const char* tmark;
    const char* ymark;
  };
  // TMARK ○ against YMARK ■, then TMARK ● against YMARK ○.
  const Case cases[] = {{"TMARK=3", "YMARK=0"}, {"TMARK=2", "YMARK=3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tmark) + " " + c.ymark);
    ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "DISPLAY_MEMO=0",
                                 "SAVE_POS=0", c.tmark, c.ymark})));
    ASSERT_TRUE(addFile(L"200412.dat", monthFileText("", {{15, 0, "今日の予定"}, {20, 0, "memo"}})));
    ASSERT_TRUE(start(kDecember15, 420, 320));
    Capture capture = shotWithCursorOn(c.tmark, kDecember2004, 15);

    const MarkShape today = markShape(capture, 15, kTodayYotei);
    const MarkShape memo = markShape(capture, 20, kYotei);
    EXPECT_EQ(probe(capture, kDecember2004).markPixels(15, kYotei), 0) << "no memo mark on today";
    EXPECT_EQ(probe(capture, kDecember2004).markedDay(kToday), 0) << "today has a memo: no TODAY colour";
    EXPECT_EQ(today.corners, 0) << "today's mark is round";
    EXPECT_GT(today.edges, 0) << "today's mark reaches its rectangle's edges";
    if (c.tmark == std::string("TMARK=3")) {
      EXPECT_EQ(today.middle, 0) << "○ is hollow";
      EXPECT_TRUE(probe(capture, kDecember2004).hasMark(20, kYotei)) << "■ fills the 20th's mark";
      EXPECT_GT(memo.corners, 0) << "■ has corners";
    } else {
      EXPECT_GT(today.middle, 0) << "● is filled";
      EXPECT_EQ(memo.middle, 0) << "○ on the 20th is hollow";
      EXPECT_EQ(memo.corners, 0) << "○ on the 20th is round";
      EXPECT_GT(memo.edges, 0) << "○ on the 20th is drawn";
    }
    TearDown();
  }
}

// A log-off query is answered 1, and the calendar lets go of its picture and
// its tool strip and stops its date watch at once: the process may be ended
// without another message. Seen from outside: past midnight the today mark
// stays where it was until something else repaints, and the repaint shows
// no picture and lays the calendar out from the top of the client area.
TEST_F(CalendarBehaviourTest, LogOffQueryIsAnsweredAndDropsThePictureAndTheTimer) {
  ASSERT_TRUE(prepare(""));
  const std::string picture = narrow(app().directory()) + "\\wall.bmp";
  ASSERT_TRUE(addFile(L"wall.bmp", bmpFile(60, 40, kTeal, kTeal)));
  ASSERT_TRUE(addFile(kSettingsFileName,
                      iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "SAVE_POS=0", "WALL=2",
                               "AUTO_SIZE=0", ("BK_IMAGE=" + picture).c_str()})));
  const DWORD started = GetTickCount();
  ASSERT_TRUE(start("2004-12-15T23:59:54"));
  Capture evening = shot("before-query");
  // December 2004 starts on a Wednesday: the picture has the empty top-left
  // cells to itself, at the top of the calendar area below the tool strip.
  EXPECT_TRUE(isColour(kTeal, evening.at(5, layout.toolStripHeight + 5))) << "the picture is shown";
  ASSERT_EQ(probe(evening, kDecember2004).markedDay(kToday), 15) << "started too slowly to reach midnight after";

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, 1u) << "the log-off may go on";

  EXPECT_EQ(FindWindowExW(window(), nullptr, L"ToolWndClass", nullptr), nullptr) << "the tool strip was not let go";

  // Without its strip the calendar takes the whole client area, repainted
  // at once (another program may yet refuse the log-off), without the
  // picture and still on the 15th.
  layout.toolStripHeight = 0;
  // Past the program's midnight nothing repaints the window any more: the
  // date watch has stopped.
  while (GetTickCount() - started < 8000) Sleep(100);
  Capture night = shot("after-midnight");
  EXPECT_EQ(probe(night, kDecember2004).markedDay(kToday), 15) << "the date watch still ran after the query";
  EXPECT_EQ(pixelsOf(night, RECT{0, 0, layout.clientWidth, layout.clientHeight}, kTeal), 0)
      << "the picture was not let go";

  InvalidateRect(window(), nullptr, TRUE);
  Capture repainted = shotWhen(
      "repainted", [&](const Capture& c) { return probe(c, kDecember2004).markedDay(kToday) == 16; });
  EXPECT_EQ(probe(repainted, kDecember2004).markedDay(kToday), 16) << "a repaint shows the new day";
  EXPECT_TRUE(isColour(kWhite, repainted.at(5, 5)));
  EXPECT_TRUE(app().running()) << "the calendar stays open until the session ends";
}

// Over the desktop the system paints the background, not BACK, and the
// window is repainted whole after a move. (Under Wine's virtual desktop the
// system paints nothing for another process's window: the class's white
// erase shows where Windows shows the wallpaper.) What a repaint changes is
// made visible through the title band, which repeats the window's caption
// as it is at paint time: the caption is changed from outside (which
// repaints nothing), and only a full repaint brings the band in line. Over a
// plain background a move repaints nothing, which shows that the move alone
// does not.
TEST_F(CalendarBehaviourTest, OverTheDesktopAMoveRepaintsTheWholeWindow) {
  constexpr COLORREF kBack = RGB(255, 0, 255);
  const std::string back = "BACK=" + std::to_string(kBack);
  for (const char* wall : {"WALL=1", "WALL=0"}) {
    SCOPED_TRACE(wall);
    const bool overDesktop = wall == std::string("WALL=1");
    ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=0",
                                 "SAVE_POS=0", wall, "[COLOR]", back.c_str()})));
    ASSERT_TRUE(start(kDecember15));
    layout.titleHeight = measureSectionFont(-20).height + 1;
    const int strip = layout.toolStripHeight;
    const RECT band{0, strip, layout.clientWidth, strip + layout.titleHeight};
    // An empty cell of the first row, clear of the title's text.
    const RECT emptyCell = layout.cell(0, 0);
    const POINT spot{emptyCell.left + 4, emptyCell.top + 4};

    Capture before = shot(overDesktop ? "desktop" : "plain");
    EXPECT_EQ(isColour(kBack, before.at(spot.x, spot.y)), !overDesktop) << "BACK only without WALL 1";
    ASSERT_GT(before.count(band, isDark), 20) << "the title band shows the month";

    SetWindowTextW(window(), L"");
    Capture renamed = shot("renamed");
    ASSERT_GT(renamed.count(band, isDark), 20) << "a new caption alone repainted the band";

    RECT from = app().windowRect();
    leftDrag(window(), layout.clientWidth / 2, strip + layout.titleHeight / 2, 60, 40);
    RECT to = app().windowRect();
    ASSERT_EQ(to.left - from.left, 60) << "the window did not move";
    Capture moved = shot("moved");
    if (overDesktop) {
      EXPECT_EQ(moved.count(band, isDark), 0) << "not repainted after the move";
      EXPECT_FALSE(isColour(kBack, moved.at(spot.x, spot.y)));
    } else {
      EXPECT_GT(moved.count(band, isDark), 20) << "over a plain background a move repaints nothing";
    }
    TearDown();
  }
}

}  // namespace
