#include <gtest/gtest.h>

#include <string>

#include "app/accessible_text.h"
#include "calendar/month_grid.h"
#include "test_support.h"

namespace {

using testing_support::SettingsFileOverride;
using testing_support::TempDir;

constexpr YearMonth kDecember2026{2026, 12};

// December 2026 begins on a Tuesday: day d sits at grid index d + 1. The
// holidays come from a settings file that does not exist.
class AccessibleTextTest : public ::testing::Test {
 protected:
  AccessibleTextTest() : settings_(dir_.file("absent.ini")) { grid_.build(2026, 12); }

  DayCell& day(int d) { return *grid_.findDay(d); }
  void setMemo(int d, const char* text) { day(d).memo = MemoText::copyOf(text); }
  void setHoliday(int d, int kind, const char* name) {
    day(d).holidayKind = kind;
    std::snprintf(day(d).holidayName, sizeof day(d).holidayName, "%s", name);
  }
  DayAccessibleText textOf(int d, bool today = false) { return dayAccessibleText(day(d), kDecember2026, today); }

  TempDir dir_;
  SettingsFileOverride settings_;
  MonthGrid grid_;
};

TEST_F(AccessibleTextTest, DateAndWeekdayAndTodayInThatOrder) {
  EXPECT_EQ(textOf(7).name, "12月7日 月曜日");
  EXPECT_EQ(textOf(7, true).name, "12月7日 月曜日 今日");
  EXPECT_EQ(textOf(6).name, "12月6日 日曜日");
  EXPECT_EQ(textOf(12).name, "12月12日 土曜日");
  EXPECT_EQ(textOf(7).description, "");
  // An empty cell says nothing.
  EXPECT_EQ(dayAccessibleText(grid_.cell(0), kDecember2026, false).name, "");
}

TEST_F(AccessibleTextTest, HolidaysAreNamedAndUserHolidaysLoseTheirMarker) {
  setHoliday(23, 1, "天皇誕生日");
  EXPECT_EQ(textOf(23).name, "12月23日 水曜日 天皇誕生日");
  setHoliday(24, 2, "会社の創立記念日||");
  EXPECT_EQ(textOf(24).name, "12月24日 木曜日 会社の創立記念日");
  setHoliday(25, 2, "休業日||1");
  EXPECT_EQ(spokenHolidayName(day(25)), "休業日");
  // "ポ" is 83 7C: its second byte with the '|' after it is no marker.
  setHoliday(26, 2, "ポ|ポ||");
  EXPECT_EQ(spokenHolidayName(day(26)), "ポ|ポ");
  // A name left over on an ordinary day is not said.
  setHoliday(27, 0, "消えた祝日");
  EXPECT_EQ(textOf(27).name, "12月27日 日曜日");
}

TEST_F(AccessibleTextTest, OnlyTheMemosFirstLineIsInTheNameTheRestIsTheDescription) {
  setMemo(7, "忘年会\r\n19時から\r\n駅前の店");
  DayAccessibleText text = textOf(7, true);
  EXPECT_EQ(text.name, "12月7日 月曜日 今日 忘年会");
  EXPECT_EQ(text.description, "19時から\r\n駅前の店");

  setMemo(8, "一行だけ");
  EXPECT_EQ(textOf(8).name, "12月8日 火曜日 一行だけ");
  EXPECT_EQ(textOf(8).description, "");

  setMemo(9, "LFだけ\n次の行");
  EXPECT_EQ(textOf(9).name, "12月9日 水曜日 LFだけ");
  EXPECT_EQ(textOf(9).description, "次の行");

  setMemo(10, "CRだけ\r次の行");
  EXPECT_EQ(textOf(10).description, "次の行");

  // A memo that begins with a line break has nothing to add to the name.
  setMemo(11, "\r\n二行目から");
  EXPECT_EQ(textOf(11).name, "12月11日 金曜日");
  EXPECT_EQ(textOf(11).description, "二行目から");
}

TEST_F(AccessibleTextTest, EmptyAndAbsentMemosAddNothing) {
  setMemo(14, "");
  EXPECT_EQ(textOf(14).name, "12月14日 月曜日");
  EXPECT_EQ(textOf(14).description, "");
  EXPECT_EQ(textOf(15).name, "12月15日 火曜日");
}

TEST_F(AccessibleTextTest, EverythingTogether) {
  setHoliday(23, 1, "天皇誕生日");
  setMemo(23, "お祝い\r\nケーキ");
  DayAccessibleText text = textOf(23, true);
  EXPECT_EQ(text.name, "12月23日 水曜日 今日 天皇誕生日 お祝い");
  EXPECT_EQ(text.description, "ケーキ");
}

TEST(AccessibleMonthName, WesternOrEraYearWhateverTheCaptionStyle) {
  EXPECT_EQ(accessibleMonthName({2026, 12}, false), "2026年12月");
  EXPECT_EQ(accessibleMonthName({2026, 12}, true), "令和8年12月");
  EXPECT_EQ(accessibleMonthName({2019, 5}, true), "令和元年5月");
  EXPECT_EQ(accessibleMonthName({1980, 1}, false), "1980年1月");
}

TEST_F(AccessibleTextTest, StepsGoAsInATable) {
  EXPECT_EQ(accessibleDayCount(grid_), 31);
  EXPECT_EQ(stepFromDay(grid_, 0, CellStep::FirstChild), 1);
  EXPECT_EQ(stepFromDay(grid_, 0, CellStep::LastChild), 31);
  EXPECT_EQ(stepFromDay(grid_, 0, CellStep::Next), 0);
  EXPECT_EQ(stepFromDay(grid_, 7, CellStep::Right), 8);
  EXPECT_EQ(stepFromDay(grid_, 7, CellStep::Left), 6);  // Monday; Sunday is left of it
  EXPECT_EQ(stepFromDay(grid_, 8, CellStep::Left), 7);
  EXPECT_EQ(stepFromDay(grid_, 6, CellStep::Left), 0);   // Sunday: the row's first cell
  EXPECT_EQ(stepFromDay(grid_, 5, CellStep::Right), 0);  // Saturday: the row's last
  EXPECT_EQ(stepFromDay(grid_, 5, CellStep::Next), 6);   // next follows the days
  EXPECT_EQ(stepFromDay(grid_, 6, CellStep::Previous), 5);
  EXPECT_EQ(stepFromDay(grid_, 3, CellStep::Up), 0);
  EXPECT_EQ(stepFromDay(grid_, 10, CellStep::Up), 3);
  EXPECT_EQ(stepFromDay(grid_, 24, CellStep::Down), 31);
  EXPECT_EQ(stepFromDay(grid_, 29, CellStep::Down), 0);  // an empty cell below
  EXPECT_EQ(stepFromDay(grid_, 31, CellStep::Next), 0);
  EXPECT_EQ(stepFromDay(grid_, 1, CellStep::Previous), 0);
  EXPECT_EQ(stepFromDay(grid_, 32, CellStep::Next), 0);
  EXPECT_EQ(stepFromDay(grid_, 3, CellStep::FirstChild), 0);
}

TEST_F(AccessibleTextTest, EveryCellsCentreHitsThatDay) {
  GridLayout layout;
  layout.toolStripHeight = 25;
  layout.titleHeight = 20;
  layout.weekHeaderHeight = 14;
  layout.gridLeft = 2;
  for (int d = 1; d <= 31; ++d) {
    Rect r;
    ASSERT_TRUE(dayCellRect(grid_, layout, 300, 250, d, r));
    EXPECT_EQ(dayAtPoint(grid_, layout, 300, 250, (r.left + r.right) / 2, (r.top + r.bottom) / 2), d) << d;
  }
  Rect none;
  EXPECT_FALSE(dayCellRect(grid_, layout, 300, 250, 32, none));
  EXPECT_FALSE(dayCellRect(grid_, layout, 300, 250, 0, none));
  EXPECT_EQ(dayAtPoint(grid_, layout, 300, 250, 150, 30), 0);  // the title band
}

// Many rounds of names with memos of every kind: under the sanitizers any
// lock left on a memo or any text left behind shows.
TEST_F(AccessibleTextTest, RepeatedNamingKeepsNothing) {
  setMemo(1, "一\r\n二\r\n三");
  setMemo(2, "");
  setHoliday(3, 2, "社休||");
  std::size_t total = 0;
  for (int round = 0; round < 2000; ++round)
    for (int d = 1; d <= 31; ++d) total += textOf(d, d == round % 31).name.size();
  EXPECT_GT(total, 0u);
  EXPECT_EQ(MemoLock(day(1).memo).length(), std::string("一\r\n二\r\n三").size());
}

}  // namespace
