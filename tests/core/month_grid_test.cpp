#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "platform/memory_block.h"
#include "test_support.h"

namespace {

using testing_support::SettingsFileOverride;
using testing_support::TempDir;

// Weekday of a date by Zeller's congruence, written independently of the
// day counting in the grid: 0 = Sunday.
int zellerWeekday(std::int64_t year, int month, int day) {
  if (month < 3) {
    month += 12;
    year -= 1;
  }
  const std::int64_t k = year % 100;
  const std::int64_t j = year / 100;
  const std::int64_t h = (day + (13 * (month + 1)) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;
  // Zeller counts 0 = Saturday.
  return static_cast<int>((h + 6) % 7);
}

// Every grid test reads holidays from a settings file that does not exist,
// so that only the computed holidays appear and no stray file interferes.
class MonthGridTest : public ::testing::Test {
 protected:
  MonthGridTest() : settings_(dir_.file("absent.ini")) {}

  int firstColumn() const {
    for (int i = 0; i < kGridCells; ++i)
      if (grid_.cell(i).day == 1) return i;
    return -1;
  }
  int length() const {
    int last = 0;
    for (int i = 0; i < kGridCells; ++i)
      if (grid_.cell(i).day > last) last = grid_.cell(i).day;
    return last;
  }

  TempDir dir_;
  SettingsFileOverride settings_;
  MonthGrid grid_;
};

TEST_F(MonthGridTest, January1980StartsOnTuesday) {
  ASSERT_TRUE(grid_.build(1980, 1));
  EXPECT_EQ(firstColumn(), 2);
  EXPECT_EQ(grid_.cell(0).day, 0);
  EXPECT_EQ(grid_.cell(1).day, 0);
  EXPECT_EQ(grid_.cell(2).weekday, 2);
  EXPECT_EQ(grid_.cell(32).day, 31);
  EXPECT_EQ(length(), 31);
}

TEST_F(MonthGridTest, FebruaryLengthFollowsTheLeapYearRule) {
  ASSERT_TRUE(grid_.build(2000, 2));  // divisible by 400
  EXPECT_EQ(length(), 29);
  ASSERT_TRUE(grid_.build(2004, 2));  // divisible by 4
  EXPECT_EQ(length(), 29);
  ASSERT_TRUE(grid_.build(2100, 2));  // divisible by 100, not by 400
  EXPECT_EQ(length(), 28);
  EXPECT_EQ(grid_.findDay(29), nullptr);
  ASSERT_TRUE(grid_.build(2003, 2));
  EXPECT_EQ(length(), 28);
}

TEST_F(MonthGridTest, LongMonthStartingOnSaturdayFillsSixRows) {
  // 1 March 1980 was a Saturday.
  ASSERT_TRUE(grid_.build(1980, 3));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(grid_.cell(i).day, 0) << i;
  for (int i = 6; i <= 36; ++i) {
    EXPECT_EQ(grid_.cell(i).day, i - 5) << i;
    EXPECT_EQ(grid_.cell(i).weekday, i % 7) << i;
  }
  for (int i = 37; i < kGridCells; ++i) EXPECT_EQ(grid_.cell(i).day, 0) << i;
}

TEST_F(MonthGridTest, EveryMonthAgreesWithZeller) {
  for (int year = 1980; year <= 2400; ++year) {
    for (int month = 1; month <= 12; ++month) {
      ASSERT_TRUE(grid_.build(year, month));
      const int column = zellerWeekday(year, month, 1);
      ASSERT_EQ(firstColumn(), column) << year << "-" << month;
      ASSERT_EQ(length(), daysInMonth(year, month)) << year << "-" << month;
      // The days run without gaps from the 1st's column on.
      for (int d = 1; d <= length(); ++d) {
        const DayCell& c = grid_.cell(column + d - 1);
        ASSERT_EQ(c.day, d) << year << "-" << month;
        ASSERT_EQ(c.weekday, (column + d - 1) % 7) << year << "-" << month;
      }
    }
  }
}

TEST_F(MonthGridTest, FarFutureYearsKeepCorrectWeekdays) {
  // The day count must not overflow or drift for years far beyond any use.
  for (int year : {9999, 100000, 1234567, 123456789, 1000000000, 2000000000, 2147483647}) {
    for (int month : {1, 2, 3, 12}) {
      ASSERT_TRUE(grid_.build(year, month));
      EXPECT_EQ(firstColumn(), zellerWeekday(year, month, 1)) << year << "-" << month;
    }
  }
}

TEST_F(MonthGridTest, FindDay) {
  ASSERT_TRUE(grid_.build(1980, 1));  // starts in column 2
  EXPECT_EQ(grid_.findDay(1), &grid_.cell(2));
  EXPECT_EQ(grid_.findDay(31), &grid_.cell(32));
  EXPECT_EQ(grid_.findDay(32), nullptr);
  EXPECT_EQ(grid_.findDay(-1), nullptr);
  EXPECT_EQ(grid_.findDay(0), &grid_.cell(0));

  // A month starting on Sunday has no leading empty cell: the first empty
  // cell is the one after the last day.
  ASSERT_TRUE(grid_.build(2015, 2));
  EXPECT_EQ(grid_.findDay(0), &grid_.cell(28));
  EXPECT_EQ(grid_.findDay(29), nullptr);

  const MonthGrid& constGrid = grid_;
  EXPECT_EQ(constGrid.findDay(28), &grid_.cell(27));
}

TEST_F(MonthGridTest, RebuildKeepsColourAndStaleWeekdayButDropsMemos) {
  // February 2015 fills cells 0..27, March 1980 cells 6..36.
  ASSERT_TRUE(grid_.build(2015, 2));
  EXPECT_EQ(grid_.cell(36).weekday, 0);  // never written yet

  ASSERT_TRUE(grid_.build(1980, 3));
  DayCell& last = grid_.cell(36);
  ASSERT_EQ(last.day, 31);
  ASSERT_EQ(last.weekday, 1);
  last.memo = MemoText::copyOf("memo");
  last.memoColor = 0x00112233;
  DayCell& first = grid_.cell(6);
  first.memo = MemoText::copyOf("");
  first.memoColor = 0x00ABCDEF;
  ASSERT_TRUE(grid_.setMonthMemo("month"));

  ASSERT_TRUE(grid_.build(2015, 2));
  EXPECT_EQ(last.day, 0);
  EXPECT_EQ(last.weekday, 1);  // left from March 1980
  EXPECT_FALSE(last.memo.present());
  EXPECT_EQ(last.memoColor, 0x00112233u);
  EXPECT_EQ(first.day, 7);
  EXPECT_FALSE(first.memo.present());
  EXPECT_EQ(first.memoColor, 0x00ABCDEFu);
  EXPECT_FALSE(grid_.monthMemo().present());
}

TEST_F(MonthGridTest, RebuildClearsHolidaysOfThePreviousMonth) {
  ASSERT_TRUE(grid_.build(2000, 1));  // 10 January is a weekday-rule holiday
  DayCell* holiday = grid_.findDay(10);
  ASSERT_NE(holiday, nullptr);
  ASSERT_EQ(holiday->holidayKind, 1);

  ASSERT_TRUE(grid_.build(2000, 2));
  for (int i = 0; i < kGridCells; ++i) {
    EXPECT_EQ(grid_.cell(i).holidayKind, 0) << i;
    EXPECT_STREQ(grid_.cell(i).holidayName, "") << i;
  }
}

TEST_F(MonthGridTest, YearsBefore1980AndBadMonthsAreRefused) {
  struct Case {
    int year;
    int month;
  };
  for (Case bad : {Case{1979, 12}, Case{1979, 1}, Case{0, 1}, Case{-2147483647 - 1, 5},
                   Case{2000, 0}, Case{2000, 13}, Case{2000, -1}}) {
    ASSERT_TRUE(grid_.build(2000, 1));
    grid_.cell(20).memo = MemoText::copyOf("memo");
    ASSERT_TRUE(grid_.setMonthMemo("month"));

    EXPECT_FALSE(grid_.build(bad.year, bad.month)) << bad.year << "-" << bad.month;
    for (int i = 0; i < kGridCells; ++i) {
      const DayCell& c = grid_.cell(i);
      EXPECT_EQ(c.day, 0) << i;
      EXPECT_EQ(c.holidayKind, 0) << i;
      EXPECT_STREQ(c.holidayName, "") << i;
      EXPECT_FALSE(c.memo.present()) << i;
    }
    EXPECT_FALSE(grid_.monthMemo().present());
    EXPECT_EQ(grid_.findDay(1), nullptr);
  }
  EXPECT_TRUE(grid_.build(1980, 1));
}

TEST_F(MonthGridTest, SetMonthMemo) {
  EXPECT_FALSE(grid_.monthMemo().present());

  ASSERT_TRUE(grid_.setMonthMemo(""));
  EXPECT_TRUE(grid_.monthMemo().present());
  EXPECT_EQ(grid_.monthMemo().text(), "");
  EXPECT_EQ(blockSize(grid_.monthMemo().handle()), 1u);

  ASSERT_TRUE(grid_.setMonthMemo("今月の予定"));
  EXPECT_EQ(grid_.monthMemo().text(), "今月の予定");
  EXPECT_EQ(blockSize(grid_.monthMemo().handle()), std::string("今月の予定").size() + 1);
}

TEST_F(MonthGridTest, SetMonthMemoWithoutMemoryLeavesNoMemo) {
  ASSERT_TRUE(grid_.setMonthMemo("old"));
  limitBlockAllocationsForTests(0);
  const bool stored = grid_.setMonthMemo("new");
  limitBlockAllocationsForTests(-1);
  EXPECT_FALSE(stored);
  EXPECT_FALSE(grid_.monthMemo().present());
}

TEST(MonthGridNames, Tables) {
  const int expected[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(daysInMonthTable(m), expected[m - 1]) << m;
  EXPECT_EQ(daysInMonth(2024, 2), 29);
  EXPECT_EQ(daysInMonth(2023, 2), 28);
  EXPECT_EQ(daysInMonth(2024, 4), 30);

  EXPECT_STREQ(weekdayNameJa(0), "日");
  EXPECT_STREQ(weekdayNameJa(3), "水");
  EXPECT_STREQ(weekdayNameJa(6), "土");
  EXPECT_STREQ(weekdayNameEn(0), "Sun");
  EXPECT_STREQ(weekdayNameEn(6), "Sat");
  EXPECT_STREQ(monthNameEn(0), "Jan");
  EXPECT_STREQ(monthNameEn(4), "May");
  EXPECT_STREQ(monthNameEn(11), "Dec");
}

TEST(MonthGridNames, OutOfRangeGivesNothing) {
  EXPECT_EQ(daysInMonthTable(0), 0);
  EXPECT_EQ(daysInMonthTable(13), 0);
  EXPECT_STREQ(weekdayNameJa(-1), "");
  EXPECT_STREQ(weekdayNameJa(7), "");
  EXPECT_STREQ(weekdayNameEn(7), "");
  EXPECT_STREQ(monthNameEn(-1), "");
  EXPECT_STREQ(monthNameEn(12), "");
}

TEST(MonthGridNames, LeapYears) {
  EXPECT_TRUE(isLeapYear(1980));
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_TRUE(isLeapYear(2400));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_FALSE(isLeapYear(2100));
  EXPECT_FALSE(isLeapYear(2023));
}

}  // namespace
