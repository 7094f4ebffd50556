// Month and cursor stepping: year boundaries, the January 1980 floor, and
// the cursor held inside the month.
#include <gtest/gtest.h>

#include "calendar/month_step.h"

namespace {

YearMonth step(YearMonth from, int n) {
  YearMonth to{-1, -1};
  EXPECT_TRUE(stepYearMonth(from, n, to)) << from.year << "/" << from.month << " " << n;
  return to;
}

TEST(MonthStep, CrossesYearBoundaries) {
  EXPECT_EQ(step({2004, 12}, 1), (YearMonth{2005, 1}));
  EXPECT_EQ(step({2005, 1}, -1), (YearMonth{2004, 12}));
  EXPECT_EQ(step({2004, 5}, 12), (YearMonth{2005, 5}));
  EXPECT_EQ(step({2004, 5}, -12), (YearMonth{2003, 5}));
  EXPECT_EQ(step({2004, 12}, 12), (YearMonth{2005, 12}));
  EXPECT_EQ(step({2004, 1}, -12), (YearMonth{2003, 1}));
  EXPECT_EQ(step({2004, 12}, -12), (YearMonth{2003, 12}));
  EXPECT_EQ(step({2004, 1}, 12), (YearMonth{2005, 1}));
}

TEST(MonthStep, AgreesWithCountingMonths) {
  for (int year = 1983; year < 2100; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int n : {-25, -13, -12, -11, -1, 0, 1, 11, 12, 13, 25}) {
        int index = year * 12 + (month - 1) + n;
        YearMonth to = step({year, month}, n);
        ASSERT_EQ(to, (YearMonth{index / 12, index % 12 + 1})) << year << "/" << month << " " << n;
      }
    }
  }
}

TEST(MonthStep, StopsAtJanuary1980) {
  YearMonth to{7, 7};
  EXPECT_FALSE(stepYearMonth({1980, 1}, -1, to));
  EXPECT_EQ(to, (YearMonth{7, 7}));
  for (int month = 1; month <= 12; ++month) EXPECT_FALSE(stepYearMonth({1980, month}, -12, to));
  EXPECT_EQ(step({1980, 2}, -1), (YearMonth{1980, 1}));
  EXPECT_EQ(step({1981, 1}, -12), (YearMonth{1980, 1}));
}

TEST(MonthStep, CursorStaysInsideTheMonth) {
  EXPECT_EQ(clampDayToMonth(31, {2004, 4}), 30);
  EXPECT_EQ(clampDayToMonth(31, {2004, 2}), 29);
  EXPECT_EQ(clampDayToMonth(31, {2005, 2}), 28);
  EXPECT_EQ(clampDayToMonth(15, {2005, 2}), 15);
  EXPECT_EQ(stepDayInMonth(1, -1, {2004, 5}), 1);
  for (int day = 1; day <= 7; ++day) EXPECT_EQ(stepDayInMonth(day, -7, {2004, 5}), 1);
  EXPECT_EQ(stepDayInMonth(8, -7, {2004, 5}), 1);
  EXPECT_EQ(stepDayInMonth(27, 7, {2004, 5}), 31);
  EXPECT_EQ(stepDayInMonth(25, 7, {2004, 2}), 29);
  EXPECT_EQ(stepDayInMonth(31, 1, {2004, 5}), 31);
  EXPECT_EQ(stepDayInMonth(10, 1, {2004, 5}), 11);
}

}  // namespace
