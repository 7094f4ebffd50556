// The Japanese calendar's extras, opted into in the settings file: the
// rokuyo beside each day number (ROKUYO=1), in the number's colour, with
// the memos exactly where they were, and era years in the caption and the
// day editor's title (WAREKI=1).
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"
#include "e2e/memo_windows.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
const MonthShape kDecember2004 = monthShape(2004, 12);

// The rokuyo of December 2004 (the 12th is 11/1 of the lunar calendar),
// 0 大安 1 赤口 2 先勝 3 友引 4 先負 5 仏滅, from an independent reckoning
// (PyEphem), not from the program.
constexpr int kRokuyoDecember2004[32] = {-1, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4,
                                         5,  0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1};
constexpr int kHoliday = 23;

// The text colour of a day's number: red on Sundays and the holiday, blue
// on Saturdays, black otherwise.
bool (*numberColourOf(int day))(COLORREF) {
  const int weekday = (kDecember2004.firstWeekday + day - 1) % 7;
  if (weekday == 0 || day == kHoliday) return isRed;
  return weekday == 6 ? isBlue : isDark;
}

class RokuyoTest : public CalendarWindowTest {
 protected:
  // The month with memos (one of them long enough to fill its cell),
  // frames and memos shown, and `extra` settings lines.
  Capture month(const char* step, std::initializer_list<const char*> extra) {
    std::string settings = iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=1", "DISPLAY_MEMO=1",
                                    "SAVE_POS=0"});
    for (const char* line : extra) settings += std::string(line) + "\r\n";
    settings += iniText({"[HOLIDAY]", "1223=天皇誕生日||0", "[MEMO_FONT]", "HEIGHT=-12"});
    EXPECT_TRUE(prepare(settings));
    EXPECT_TRUE(addFile(L"200412.dat",
                        monthFileText("", {{5, 0x00C00000, "忘年会"},
                                           {20, 0x000000C0, "歯医者 15:00\r\n駅前\r\n保険証\r\n診察券"},
                                           {23, 0x00008000, "WWWWWWWWWW"},
                                           {28, 0x00000000, "大掃除"}})));
    EXPECT_TRUE(start(kDecember15, 420, 320));
    return shotWithCursorOn(step, kDecember2004, 15);
  }

  // Between the top frame line and the memo's top (20, the default
  // MAIN_FONT height), beside the number's mark rectangle on `side`.
  RECT band(int day, bool right) const {
    RECT cell = layout.cellOf(kDecember2004, day);
    const int markWidth = 2 * mainFont.averageWidth;
    if (right) return RECT{cell.left + 1 + markWidth + 1, cell.top + 1, cell.right - 1, cell.top + 20};
    return RECT{cell.left + 1, cell.top + 1, cell.right - markWidth - 1, cell.top + 20};
  }

  // Pixels that differ between two captures outside the bands of the days
  // (the strip from each cell's top to its memo), and inside the memos.
  void expectOnlyBandsDiffer(const Capture& without, const Capture& with) {
    ASSERT_EQ(without.width(), with.width());
    ASSERT_EQ(without.height(), with.height());
    int outside = 0, inMemos = 0, inside = 0;
    for (int y = 0; y < with.height(); ++y)
      for (int x = 0; x < with.width(); ++x) {
        if (without.at(x, y) == with.at(x, y)) continue;
        bool inBand = false;
        for (int day = 1; day <= kDecember2004.days && !inBand; ++day) {
          RECT cell = layout.cellOf(kDecember2004, day);
          inBand = x > cell.left && x < cell.right && y > cell.top && y < cell.top + 20;
        }
        if (inBand) {
          ++inside;
        } else {
          ++outside;
        }
      }
    for (int row = 0; row < 6; ++row)
      for (int column = 0; column < 7; ++column) {
        RECT cell = layout.cell(row, column);
        RECT memo{cell.left + 1, cell.top + 20, cell.right, cell.bottom};
        for (int y = memo.top; y < memo.bottom; ++y)
          for (int x = memo.left; x < memo.right; ++x)
            if (without.at(x, y) != with.at(x, y)) ++inMemos;
      }
    EXPECT_EQ(outside, 0) << "pixels changed outside the strips above the memos";
    EXPECT_EQ(inMemos, 0) << "memo pixels moved";
    EXPECT_GT(inside, 31 * 10) << "the rokuyo were drawn";
  }
};

// Left-standing numbers: the rokuyo right of the mark, in the number's
// colour, the same picture for the same rokuyo and colour, and nothing
// else on the screen changes.
TEST_F(RokuyoTest, BesideEveryNumberInItsColourAndNoMemoPixelMoves) {
  Capture without = month("without", {});
  for (int day = 1; day <= kDecember2004.days; ++day)
    EXPECT_EQ(without.count(band(day, true), numberColourOf(day)), 0) << "without ROKUYO, day " << day;
  TearDown();

  Capture with = month("with", {"ROKUYO=1"});
  for (int day = 1; day <= kDecember2004.days; ++day)
    EXPECT_GE(with.count(band(day, true), numberColourOf(day)), 12) << "day " << day;
  EXPECT_GT(with.count(band(kHoliday, true), isRed), 12) << "the holiday's rokuyo in Sunday's colour";
  EXPECT_GT(with.count(RECT{0, 0, 420, 320}, [](COLORREF c) { return sameColour(c, 0x00C00000, 4); }), 10)
      << "the memos are shown";

  // Weekday numbers (black) with the same rokuyo look alike; with another
  // rokuyo they differ. The 15th has the cursor frame over its band.
  auto sameBand = [&](int a, int b) {
    RECT ra = band(a, true), rb = band(b, true);
    for (int y = 0; y < ra.bottom - ra.top; ++y)
      for (int x = 0; x < ra.right - ra.left; ++x)
        if (with.at(ra.left + x, ra.top + y) != with.at(rb.left + x, rb.top + y)) return false;
    return true;
  };
  int compared = 0;
  for (int a = 1; a <= kDecember2004.days; ++a)
    for (int b = a + 1; b <= kDecember2004.days; ++b) {
      if (a == 15 || b == 15 || numberColourOf(a) != isDark || numberColourOf(b) != isDark) continue;
      if (a == kHoliday || b == kHoliday) continue;
      ++compared;
      EXPECT_EQ(sameBand(a, b), kRokuyoDecember2004[a] == kRokuyoDecember2004[b]) << a << " and " << b;
    }
  EXPECT_GT(compared, 100);
  expectOnlyBandsDiffer(without, with);
}

// Right-standing outlined numbers: the rokuyo stands left of the number,
// and still no memo pixel moves.
TEST_F(RokuyoTest, LeftOfARightStandingOutlinedNumber) {
  Capture without = month("without", {"DAY_POS=2", "DAYTYPE=2"});
  TearDown();
  Capture with = month("with", {"DAY_POS=2", "DAYTYPE=2", "ROKUYO=1"});
  for (int day = 1; day <= kDecember2004.days; ++day) {
    EXPECT_EQ(without.count(band(day, false), numberColourOf(day)), 0) << "without ROKUYO, day " << day;
    EXPECT_GE(with.count(band(day, false), numberColourOf(day)), 12) << "day " << day;
  }
  expectOnlyBandsDiffer(without, with);
}

// Era years in the "年" style, the era of the month's first day; the
// minimised caption likewise; other styles keep the Western year.
TEST_F(RokuyoTest, WarekiWritesEraYearsInTheCaption) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=2", "WAREKI=1", "ICONED_TITLE=1", "DISPLAY_TITLE=1", "WEEK=0",
                               "SAVE_POS=0"})));
  ASSERT_TRUE(start("2026-12-15T10:00:00"));
  EXPECT_EQ(captionWhen(L"令和8年12月"), L"令和8年12月");
  TearDown();

  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=2", "WAREKI=1", "ICONED_TITLE=1", "DISPLAY_TITLE=0", "WEEK=0",
                               "SAVE_POS=0"})));
  ASSERT_TRUE(start("2019-05-15T10:00:00"));
  EXPECT_EQ(captionWhen(L"令和元年5月"), L"令和元年5月");
  pressKey(VK_LEFT, true);
  EXPECT_EQ(captionWhen(L"平成31年4月"), L"平成31年4月");
  PostMessageW(window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  for (int wait = 0; wait < 60 && !IsIconic(window()); ++wait) Sleep(50);
  ASSERT_TRUE(IsIconic(window()));
  EXPECT_EQ(captionWhen(L"令和元年5月15日"), L"令和元年5月15日") << "while minimised: today";
  PostMessageW(window(), WM_SYSCOMMAND, SC_RESTORE, 0);
  for (int wait = 0; wait < 60 && IsIconic(window()); ++wait) Sleep(50);
  EXPECT_EQ(captionWhen(L"平成31年4月"), L"平成31年4月");
  TearDown();

  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "WAREKI=1", "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=0"})));
  ASSERT_TRUE(start("1989-01-15T10:00:00"));
  EXPECT_EQ(captionWhen(L"1989/01"), L"1989/01") << "a style without 年 keeps the Western year";
}

// The day editor's title: the era year, the rokuyo and the lunar date,
// then the holiday's name.
TEST_F(RokuyoTest, DayEditorTitleAddsRokuyoAndLunarDate) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=2", "WAREKI=1", "ROKUYO=1", "DISPLAY_TITLE=0", "WEEK=0",
                               "SAVE_POS=0", "[HOLIDAY]", "1223=天皇誕生日||0"})));
  ASSERT_TRUE(start(kDecember15, 420, 320));
  EXPECT_EQ(captionWhen(L"平成16年12月"), L"平成16年12月");
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(windowText(editor), L"平成16年12月15日(水) 友引 旧11/4");
  pressKey(VK_ESCAPE);
  ASSERT_TRUE(waitUntilGone(editor));

  POINT holiday = layout.centreOf(kDecember2004, kHoliday);
  leftClick(window(), holiday.x, holiday.y);
  pressKey(VK_RETURN);
  editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(windowText(editor), L"平成16年12月23日(木) 仏滅 旧11/12 天皇誕生日");
  pressKey(VK_ESCAPE);
  ASSERT_TRUE(waitUntilGone(editor));
}

}  // namespace

// ---- A picture for the README ----------------------------------------------
// Not a check: run on purpose with --gtest_also_run_disabled_tests
// --gtest_filter=*RokuyoPicture* to draw docs/rokuyo.png and the settings
// dialog's title and date pages, docs/settings_title.png and
// docs/settings_date.png (the run turns the captures into PNG files).

namespace {

class RokuyoPicture : public CalendarWindowTest {
 protected:
  void keepScreen(HWND target, const wchar_t* name, int margin) {
    settle(target, 300);
    RECT rect{};
    GetWindowRect(target, &rect);
    Capture::ofScreen(RECT{rect.left - margin, rect.top - margin, rect.right + margin, rect.bottom + margin})
        .saveBmp(e2eOptions().shotDir + L"\\" + name + L".bmp");
  }
};

TEST_F(RokuyoPicture, DISABLED_CalendarWithRokuyoAndEraYear) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=2", "WAREKI=1", "ROKUYO=1", "DISPLAY_TITLE=1", "WEEK=1",
                               "DISPLAY_WAKU=1", "DISPLAY_MEMO=1", "SAVE_POS=0", "[MEMO_FONT]", "HEIGHT=-12"})));
  ASSERT_TRUE(addFile(L"202612.dat", monthFileText("", {{5, 0x00C00000, "忘年会"},
                                                          {15, 0x000000C0, "歯医者\r\n15:00"},
                                                          {24, 0x00008000, "クリスマス会"}})));
  ASSERT_TRUE(start("2026-12-15T10:00:00", 460, 360));
  keepScreen(window(), L"readme-rokuyo", 8);

  ASSERT_TRUE(chooseFromMenu(150, 120, 'S'));
  HWND frame = nullptr;
  for (int wait = 0; wait < 60 && !frame; ++wait) {
    frame = findProcessWindow(app().processId(), L"#32770");
    if (!frame) Sleep(50);
  }
  ASSERT_NE(frame, nullptr);
  SetWindowPos(frame, HWND_TOP, 620, 60, 0, 0, SWP_NOSIZE);
  keepScreen(frame, L"readme-settings_title", 0);
  SendDlgItemMessageW(frame, 1036, TCM_SETCURFOCUS, 2, 0);
  keepScreen(frame, L"readme-settings_date", 0);
  SendMessageW(frame, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
