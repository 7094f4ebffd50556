#include <gtest/gtest.h>

#include <string>

#include "calendar/holiday_law.h"
#include "calendar/month_grid.h"
#include "test_support.h"

namespace {

using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

// The grid with HOLIDAY_LAW set (or not) in a real settings file.
class HolidayLawTest : public ::testing::Test {
 protected:
  HolidayLawTest() : settings_(dir_.file("Sorvane.ini")) {}

  void writeSettings(const std::string& main, const std::string& holidays) {
    writeBytes(dir_.file("Sorvane.ini"), "[Sorvane]\r\n" + main + "[HOLIDAY]\r\n" + holidays);
  }

  const DayCell& day(int d) {
    static const DayCell missing;
    const DayCell* c = grid_.findDay(d);
    return c ? *c : missing;
  }

  TempDir dir_;
  SettingsFileOverride settings_;
  MonthGrid grid_;
};

TEST_F(HolidayLawTest, SubstituteMovesPastTheHolidaysOfGoldenWeek) {
  writeSettings("HOLIDAY_LAW=1\r\n", "");
  // 3 May 2026 is a Sunday: 4 and 5 May are holidays, so the substitute is the 6th.
  ASSERT_TRUE(grid_.build(2026, 5));
  EXPECT_STREQ(day(3).holidayName, "憲法記念日");
  EXPECT_STREQ(day(4).holidayName, "みどりの日");
  EXPECT_STREQ(day(5).holidayName, "こどもの日");
  EXPECT_EQ(day(6).holidayKind, 1);
  EXPECT_STREQ(day(6).holidayName, "振替休日");
  EXPECT_EQ(day(7).holidayKind, 0);
}

TEST_F(HolidayLawTest, CitizensHolidayBetweenRespectForTheAgedAndTheEquinox) {
  writeSettings("HOLIDAY_LAW=1\r\n", "");
  ASSERT_TRUE(grid_.build(2026, 9));
  EXPECT_STREQ(day(21).holidayName, "敬老の日");
  EXPECT_STREQ(day(22).holidayName, "国民の休日");
  EXPECT_STREQ(day(23).holidayName, "秋分の日");
}

TEST_F(HolidayLawTest, PublicEntriesGiveWayToTheLawAndUserHolidaysStay) {
  // The section's 23 December of the old law is public and dropped in 2026;
  // the user's own day stays a user holiday with its whole value.
  writeSettings("HOLIDAY_LAW=1\r\n", "1223=天皇誕生日||0\r\n1224=イブ||1\r\n0101=元日でない名||0\r\n");
  ASSERT_TRUE(grid_.build(2026, 12));
  EXPECT_EQ(day(23).holidayKind, 0);
  EXPECT_EQ(day(24).holidayKind, 2);
  EXPECT_STREQ(day(24).holidayName, "イブ||1");
  ASSERT_TRUE(grid_.build(2027, 1));
  EXPECT_STREQ(day(1).holidayName, "元日");
  ASSERT_TRUE(grid_.build(2026, 2));
  EXPECT_STREQ(day(23).holidayName, "天皇誕生日");
}

TEST_F(HolidayLawTest, WithoutTheKeyTheSectionRulesAsBefore) {
  // The same file without HOLIDAY_LAW (and with 0, and any value but 1):
  // the section's entries and the built-in weekday rules only.
  for (const char* main : {"", "HOLIDAY_LAW=0\r\n", "HOLIDAY_LAW=2\r\n"}) {
    writeSettings(main, "1223=天皇誕生日||0\r\n");
    ASSERT_TRUE(grid_.build(2026, 12));
    EXPECT_STREQ(day(23).holidayName, "天皇誕生日||0") << main;
    ASSERT_TRUE(grid_.build(2026, 5));
    EXPECT_EQ(day(6).holidayKind, 0) << main;
    ASSERT_TRUE(grid_.build(2026, 9));
    EXPECT_EQ(day(22).holidayKind, 0) << main;
  }
}

TEST(HolidayLaw, SubstituteRuleBefore2007TookTheMondayOnly) {
  // 3 May 1998 was a Sunday: Monday the 4th was the substitute, and the
  // old rule had no 6th.
  EXPECT_STREQ(lawHolidayName(1998, 5, 4), "振替休日");
  EXPECT_EQ(lawHolidayName(1998, 5, 6), nullptr);
  // 4 May between two holidays, from 1988 to 2006, unless a Sunday.
  EXPECT_STREQ(lawHolidayName(1988, 5, 4), "国民の休日");
  EXPECT_EQ(lawHolidayName(1997, 5, 4), nullptr);
  EXPECT_EQ(lawHolidayName(1985, 5, 4), nullptr);
  // Dates across a month and a year: 31 December and 1 January.
  EXPECT_EQ(lawHolidayName(2022, 12, 31), nullptr);
  EXPECT_STREQ(lawHolidayName(2023, 1, 2), "振替休日");
}

}  // namespace
