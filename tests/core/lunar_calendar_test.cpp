// The lunar calendar for JST: the astronomy it rests on, the days the rules
// are known for, and the rokuyo. The day-by-day comparison with an
// independent ephemeris is tests/lunar_calendar_check.sh.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calendar/astronomy.h"
#include "calendar/lunar_calendar.h"
#include "calendar/names.h"

namespace {

std::string lunarText(int year, int month, int day) {
  char buffer[16];
  return std::string(formatLunarDate(lunarDateOf(year, month, day), buffer, sizeof buffer));
}

double longitudeGap(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

TEST(Astronomy, NewMoonOfTheWorkedExample) {
  // 1977 February 18, 3h37m42s TT.
  EXPECT_NEAR(newMoonTT(-283), 2443192.65118, 0.00002);
}

TEST(Astronomy, SolarLongitudeAtTheDecemberSolsticeOf2020) {
  // 2020-12-21 10:02:19 UT, from an independent ephemeris.
  const double ut = 2459204.918275;
  const double tt = ut + deltaTSeconds(2020.97) / 86400.0;
  EXPECT_LT(longitudeGap(apparentSolarLongitude(tt), 270.0), 0.0005);  // under a minute of time
}

TEST(Astronomy, TheShortSolarSeriesStaysWithinItsMargin) {
  // The short series only decides away from a 30-degree boundary; it must
  // stay well inside that margin of 0.05 degree everywhere.
  double worst = 0;
  for (double jd = 2443000.5; jd < 2489000.5; jd += 3.7) {
    worst = std::fmax(worst, longitudeGap(apparentSolarLongitude(jd), approximateSolarLongitude(jd)));
  }
  EXPECT_LT(worst, 0.02);
}

TEST(Astronomy, DeltaTIsContinuousAndPlausible) {
  EXPECT_NEAR(deltaTSeconds(2000), 63.86, 0.01);
  for (double boundary : {1920.0, 1941.0, 1961.0, 1986.0, 2005.0, 2050.0, 2150.0})
    EXPECT_NEAR(deltaTSeconds(boundary - 1e-9), deltaTSeconds(boundary), 1.0) << boundary;
  EXPECT_GT(deltaTSeconds(1980), 49);
  EXPECT_LT(deltaTSeconds(1980), 52);
  EXPECT_GT(deltaTSeconds(2100), 150);
}

// Days whose months begin within a few minutes of midnight, and the one
// that Delta T decides (the new moon is at 23:58:44 JST).
TEST(LunarCalendar, KnownFirstDays) {
  EXPECT_EQ(lunarText(2005, 12, 1), "10/30");
  EXPECT_EQ(lunarText(2005, 12, 2), "11/1");
  EXPECT_EQ(lunarText(2017, 2, 25), "1/29");
  EXPECT_EQ(lunarText(2017, 2, 26), "2/1");
  EXPECT_EQ(lunarText(2051, 11, 2), "9/29");
  EXPECT_EQ(lunarText(2051, 11, 3), "10/1");
  EXPECT_EQ(lunarText(2026, 2, 17), "1/1");
}

TEST(LunarCalendar, LeapMonths) {
  struct Leap {
    int year, month, day, number;
  };
  const Leap leaps[] = {
      {2012, 4, 21, 3}, {2014, 10, 24, 9}, {2017, 6, 24, 5}, {2020, 5, 23, 4},
      {2023, 3, 22, 2}, {2033, 12, 22, 11}, {1984, 11, 23, 10}, {2052, 9, 23, 8},
  };
  for (const Leap& leap : leaps) {
    SCOPED_TRACE(leap.year);
    const LunarDate first = lunarDateOf(leap.year, leap.month, leap.day);
    EXPECT_TRUE(first.leap);
    EXPECT_EQ(first.month, leap.number);
    EXPECT_EQ(first.day, 1);
    const int dayNumber = civilDayNumber(leap.year, leap.month, leap.day) - 1;
    LunarYear year;
    ASSERT_TRUE(lunarYearOf(dayNumber, year));
    const LunarDate before = lunarDateIn(year, dayNumber);
    EXPECT_FALSE(before.leap);
    EXPECT_EQ(before.month, leap.number);
    EXPECT_GE(before.day, 29);
  }
  EXPECT_EQ(lunarText(2012, 5, 20), "閏3/30");
  EXPECT_EQ(lunarText(2012, 5, 21), "4/1");
}

// 2033-34: the 8th month (from 08-25) holds no principal term and is no leap
// month, as that lunar year has 12 months; the 11th and 12th months hold two
// each, and the first month without one after the 11th is the leap month.
TEST(LunarCalendar, TheYear2033) {
  EXPECT_EQ(lunarText(2033, 8, 25), "8/1");
  EXPECT_EQ(lunarText(2033, 9, 23), "9/1");
  EXPECT_EQ(lunarText(2033, 10, 23), "10/1");
  EXPECT_EQ(lunarText(2033, 11, 22), "11/1");
  EXPECT_EQ(lunarText(2034, 1, 20), "12/1");
  EXPECT_EQ(lunarText(2034, 2, 19), "1/1");
  LunarYear year;
  ASSERT_TRUE(lunarYearOf(civilDayNumber(2033, 12, 1), year));
  EXPECT_EQ(year.count, 13);
  EXPECT_EQ(year.leapIndex, 1);
  ASSERT_TRUE(lunarYearOf(civilDayNumber(2033, 6, 1), year));
  EXPECT_EQ(year.count, 12);
  EXPECT_EQ(year.leapIndex, -1);
}

TEST(LunarCalendar, EveryNewYearFrom1980To2100IsSensho) {
  for (int year = 1980; year <= 2100; ++year) {
    int newYears = 0;
    for (int month = 1; month <= 2; ++month) {
      MonthLunarDates dates;
      ASSERT_TRUE(buildMonthLunarDates(year, month, dates)) << year;
      for (int day = 1; day <= dates.dayCount; ++day) {
        const LunarDate& date = dates.days[day];
        if (date.month != 1 || date.day != 1 || date.leap) continue;
        ++newYears;
        EXPECT_EQ(rokuyoOf(date), Rokuyo::Sensho) << year;
      }
    }
    EXPECT_EQ(newYears, 1) << year;
  }
}

TEST(LunarCalendar, MonthRecordAgreesWithSingleDaysAcrossTheYearEnd) {
  for (int month : {11, 12}) {
    MonthLunarDates dates;
    ASSERT_TRUE(buildMonthLunarDates(2033, month, dates));
    ASSERT_EQ(dates.dayCount, daysInMonth(2033, month));
    for (int day = 1; day <= dates.dayCount; ++day) {
      const LunarDate single = lunarDateOf(2033, month, day);
      EXPECT_EQ(dates.days[day].month, single.month) << month << "/" << day;
      EXPECT_EQ(dates.days[day].day, single.day) << month << "/" << day;
      EXPECT_EQ(dates.days[day].leap, single.leap) << month << "/" << day;
    }
  }
}

TEST(LunarCalendar, OutsideTheRange) {
  MonthLunarDates dates;
  EXPECT_FALSE(buildMonthLunarDates(1899, 12, dates));
  EXPECT_EQ(dates.dayCount, 0);
  EXPECT_FALSE(buildMonthLunarDates(2004, 13, dates));
  EXPECT_FALSE(buildMonthLunarDates(2200, 1, dates));
  EXPECT_EQ(lunarDateOf(1899, 12, 31).month, 0);
  EXPECT_EQ(lunarText(1899, 12, 31), "");
  EXPECT_NE(lunarDateOf(1900, 1, 1).month, 0);
  EXPECT_NE(lunarDateOf(2199, 12, 31).month, 0);
}

TEST(Rokuyo, FormulaAndNames) {
  EXPECT_EQ(rokuyoOf(LunarDate{1, 1, false}), Rokuyo::Sensho);
  EXPECT_EQ(rokuyoOf(LunarDate{1, 2, false}), Rokuyo::Tomobiki);
  EXPECT_EQ(rokuyoOf(LunarDate{2, 1, false}), Rokuyo::Tomobiki);
  EXPECT_EQ(rokuyoOf(LunarDate{5, 1, false}), Rokuyo::Taian);
  EXPECT_EQ(rokuyoOf(LunarDate{5, 1, true}), Rokuyo::Taian);  // a leap month counts as its number
  EXPECT_EQ(rokuyoOf(LunarDate{12, 30, false}), Rokuyo::Taian);
  EXPECT_EQ(rokuyoOf(LunarDate{11, 30, false}), Rokuyo::Butsumetsu);
  const char* names[6] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
  for (int i = 0; i < 6; ++i) EXPECT_STREQ(rokuyoName(static_cast<Rokuyo>(i)), names[i]);
  EXPECT_STREQ(rokuyoName(static_cast<Rokuyo>(6)), "");
  // 2017-06-24 is 閏5/1: (5 + 1) mod 6 = 0.
  EXPECT_EQ(rokuyoOf(lunarDateOf(2017, 6, 24)), Rokuyo::Taian);
}

TEST(LunarCalendar, Text) {
  char buffer[16];
  EXPECT_EQ(formatLunarDate(LunarDate{11, 13, false}, buffer, sizeof buffer), "11/13");
  EXPECT_EQ(formatLunarDate(LunarDate{2, 15, true}, buffer, sizeof buffer), "閏2/15");
  EXPECT_EQ(formatLunarDate(LunarDate{12, 30, true}, buffer, 6), "閏12/");
  EXPECT_EQ(formatLunarDate(LunarDate{}, buffer, sizeof buffer), "");
}

}  // namespace
