#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "calendar/holidays.h"
#include "calendar/month_grid.h"
#include "platform/file_io.h"
#include "test_support.h"

namespace {

using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

// A month is built against a real settings file in a fresh directory; each
// test writes the "HOLIDAY" entries it needs.
class HolidayTest : public ::testing::Test {
 protected:
  HolidayTest() : settings_(dir_.file("Sorvane.ini")) {}

  // `lines` are "MMDD=value\r\n" lines of the "HOLIDAY" section.
  void setHolidays(const std::string& lines) {
    writeBytes(dir_.file("Sorvane.ini"), "[HOLIDAY]\r\n" + lines);
  }

  void build(int year, int month) { ASSERT_TRUE(grid_.build(year, month)); }

  const DayCell& day(int d) {
    static const DayCell missing;
    const DayCell* c = grid_.findDay(d);
    if (!c) {
      ADD_FAILURE() << "no cell for day " << d;
      return missing;
    }
    return *c;
  }

  // Every day of the month that is a holiday of any kind, with its kind.
  // Also checks that no empty cell was marked.
  std::vector<std::pair<int, int>> holidays() {
    std::vector<std::pair<int, int>> found;
    for (int i = 0; i < kGridCells; ++i) {
      const DayCell& c = grid_.cell(i);
      if (c.day == 0) {
        EXPECT_EQ(c.holidayKind, 0) << "empty cell " << i;
      } else if (c.holidayKind != 0) {
        found.emplace_back(c.day, c.holidayKind);
      }
    }
    return found;
  }

  TempDir dir_;
  SettingsFileOverride settings_;
  MonthGrid grid_;
};

using Days = std::vector<std::pair<int, int>>;

// --- The formulas and the table -------------------------------------------

TEST(HolidayRules, EquinoxDays) {
  EXPECT_EQ(equinoxDay(1980, 3), 20);
  EXPECT_EQ(equinoxDay(1980, 9), 23);
  EXPECT_EQ(equinoxDay(2004, 3), 20);
  EXPECT_EQ(equinoxDay(2004, 9), 23);
  EXPECT_EQ(equinoxDay(2012, 3), 20);
  EXPECT_EQ(equinoxDay(2012, 9), 22);
  EXPECT_EQ(equinoxDay(2023, 3), 21);
  EXPECT_EQ(equinoxDay(2023, 9), 23);
  EXPECT_EQ(equinoxDay(2024, 3), 20);
  EXPECT_EQ(equinoxDay(2024, 9), 22);
  // Before 1980 the quarter-count truncates toward zero: 20.60 gives 20
  // (rounding down would have made it 21.60 and 21).
  EXPECT_EQ(equinoxDay(1979, 3), 20);
}

TEST(HolidayRules, EquinoxDaysOfFarYearsFollowTheFormulaExactly) {
  // Late years sit close to a day's boundary: March 2088 comes to
  // 20.000052 and March 2100 to 19.906, so single precision or a rounded
  // constant moves them by a day.
  EXPECT_EQ(equinoxDay(2088, 3), 20);
  EXPECT_EQ(equinoxDay(2088, 9), 22);
  EXPECT_EQ(equinoxDay(2100, 3), 19);
  EXPECT_EQ(equinoxDay(2100, 9), 22);
  // The same formula in whole millionths, with no floating point at all.
  for (int year = 1980; year <= 3000; ++year) {
    const long long y = year - 1980;
    const long long q = y / 4;
    EXPECT_EQ(equinoxDay(year, 3), (20843100 + 242194 * y - 1000000 * q) / 1000000) << year;
    EXPECT_EQ(equinoxDay(year, 9), (23248800 + 242194 * y - 1000000 * q) / 1000000) << year;
  }
}

TEST(HolidayRules, WeekdayRuleTable) {
  const WeekdayRule* rules = weekdayRules();
  struct Expected {
    int fromYear, month, week, weekday;
    const char* name;
  };
  const Expected expected[] = {
      {2000, 1, 2, 1, "成人の日"},
      {2003, 7, 3, 1, "海の日"},
      {2003, 9, 3, 1, "敬老の日"},
      {2000, 10, 2, 1, "体育の日"},
  };
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rules[i].fromYear, expected[i].fromYear) << i;
    EXPECT_EQ(rules[i].month, expected[i].month) << i;
    EXPECT_EQ(rules[i].week, expected[i].week) << i;
    EXPECT_EQ(rules[i].weekday, expected[i].weekday) << i;
    EXPECT_STREQ(rules[i].name, expected[i].name) << i;
  }
  EXPECT_EQ(rules[4].fromYear, 0);
  EXPECT_EQ(rules[4].month, 0);
  EXPECT_EQ(rules[4].week, 0);
  EXPECT_EQ(rules[4].weekday, 0);
  EXPECT_STREQ(rules[4].name, "");
}

TEST(HolidayRules, UserMarker) {
  EXPECT_TRUE(isUserHoliday("誕生日||1"));
  EXPECT_FALSE(isUserHoliday("元日||0"));
  EXPECT_FALSE(isUserHoliday("元日"));
  EXPECT_FALSE(isUserHoliday("元日||"));
  EXPECT_FALSE(isUserHoliday("元日||2"));
  EXPECT_FALSE(isUserHoliday("元日|1"));
  EXPECT_FALSE(isUserHoliday(""));
  // Only the first marker counts.
  EXPECT_FALSE(isUserHoliday("a||0||1"));
}

TEST(HolidayRules, MarkerIsNotFoundInsideDoubleByteCharacters) {
  // "ポ" is 83 7C in Shift_JIS: its second byte is '|'.
  ASSERT_STREQ("ポ", "\x83\x7C");
  // 83 7C 7C 31: a byte-wise search would see "||1".
  EXPECT_FALSE(isUserHoliday("ポ|1"));
  // 83 7C 7C 7C 31: a byte-wise search would stop at the trail byte and see
  // "||" followed by '|'.
  EXPECT_TRUE(isUserHoliday("ポ||1"));
  EXPECT_TRUE(isUserHoliday("スポーツの日ポ||1"));
}

TEST(HolidayRules, SupersededByRule) {
  EXPECT_FALSE(isSupersededByRule("成人の日||0", 1999));
  EXPECT_TRUE(isSupersededByRule("成人の日||0", 2000));
  EXPECT_TRUE(isSupersededByRule("成人の日", 2000));
  EXPECT_TRUE(isSupersededByRule("成人の日||1", 2024));  // the marker does not matter
  EXPECT_FALSE(isSupersededByRule("海の日||0", 2002));
  EXPECT_TRUE(isSupersededByRule("海の日||0", 2003));
  EXPECT_TRUE(isSupersededByRule("敬老の日||0", 2003));
  EXPECT_TRUE(isSupersededByRule("体育の日||0", 2000));
  // The whole name must match, not a prefix.
  EXPECT_FALSE(isSupersededByRule("成人の日祝||0", 2000));
  EXPECT_FALSE(isSupersededByRule("成人||0", 2000));
  EXPECT_FALSE(isSupersededByRule("", 2000));
  EXPECT_FALSE(isSupersededByRule("元日||0", 2000));
}

// --- Weekday rules and the entries they replace ---------------------------

TEST_F(HolidayTest, ComingOfAgeDayMovesToSecondMondayIn2000) {
  setHolidays("0115=成人の日||0\r\n");
  build(2000, 1);
  EXPECT_EQ(holidays(), (Days{{10, 1}}));
  EXPECT_STREQ(day(10).holidayName, "成人の日");

  build(1999, 1);
  EXPECT_EQ(holidays(), (Days{{15, 1}}));
  EXPECT_STREQ(day(15).holidayName, "成人の日||0");
}

TEST_F(HolidayTest, MarineDayMovesToThirdMondayIn2003) {
  setHolidays("0720=海の日||0\r\n");
  build(2003, 7);
  // 20 July 2003 is a Sunday: the dropped entry must leave no substitute either.
  EXPECT_EQ(holidays(), (Days{{21, 1}}));
  EXPECT_STREQ(day(21).holidayName, "海の日");

  build(2002, 7);
  EXPECT_EQ(holidays(), (Days{{20, 1}}));
  EXPECT_STREQ(day(20).holidayName, "海の日||0");
}

TEST_F(HolidayTest, WeekdayRulesNeverMakeCitizensHolidays) {
  // 21 September 2009 is the 3rd Monday, 23 the equinox: 22 lies between
  // them but the weekday rule is applied only after citizens' holidays.
  build(2009, 9);
  EXPECT_EQ(holidays(), (Days{{21, 1}, {23, 1}}));
  EXPECT_STREQ(day(21).holidayName, "敬老の日");
  EXPECT_STREQ(day(23).holidayName, "秋分の日");
  EXPECT_STREQ(day(22).holidayName, "");
}

TEST_F(HolidayTest, SportsDayIsTheSecondMondayOfOctoberFrom2000) {
  build(2000, 10);
  EXPECT_EQ(holidays(), (Days{{9, 1}}));
  EXPECT_STREQ(day(9).holidayName, "体育の日");
  build(1999, 10);
  EXPECT_EQ(holidays(), Days{});
}

// --- Settings-file entries --------------------------------------------------

// A month build reads the settings file once: when that one read fails,
// every lookup of the build gives the default; none of them reads again.
TEST_F(HolidayTest, MonthBuildAnswersEveryLookupFromOneRead) {
  setHolidays("0101=元日||0\r\n0125=mine||1\r\n");
  failNextReadForTests();
  build(2005, 1);
  EXPECT_FALSE(takeFailedReadForTests());
  EXPECT_EQ(holidays(), (Days{{10, 1}}));  // the weekday rule alone
  build(2005, 1);
  EXPECT_EQ(holidays(), (Days{{1, 1}, {10, 1}, {25, 2}}));
}

TEST_F(HolidayTest, BareNameIsPublicAndKeptVerbatim) {
  setHolidays("0101=元日\r\n0211=建国記念の日||0\r\n");
  build(2005, 1);
  EXPECT_EQ(holidays(), (Days{{1, 1}, {10, 1}}));  // the 10th by weekday rule
  EXPECT_STREQ(day(1).holidayName, "元日");
  // The key is month then day: 0211 is 11 February, not 2 November.
  build(2005, 2);
  EXPECT_EQ(holidays(), (Days{{11, 1}}));
  EXPECT_STREQ(day(11).holidayName, "建国記念の日||0");
  build(2005, 11);
  EXPECT_EQ(holidays(), Days{});
}

TEST_F(HolidayTest, EmptySectionGivesOnlyComputedHolidays) {
  setHolidays("");
  build(2005, 3);
  EXPECT_EQ(holidays(), (Days{{20, 1}, {21, 1}}));
  build(2005, 6);  // neither March nor September: no equinox
  EXPECT_EQ(holidays(), Days{});
}

TEST_F(HolidayTest, UserHolidayOnSundayGetsNoSubstitute) {
  // 1 May 2005 is a Sunday.
  setHolidays("0501=創立記念日||1\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{1, 2}}));
  EXPECT_STREQ(day(1).holidayName, "創立記念日||1");

  // The same entry as a public holiday does move to the Monday.
  setHolidays("0501=創立記念日||0\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{1, 1}, {2, 1}}));
  EXPECT_STREQ(day(2).holidayName, "振替休日");
}

TEST_F(HolidayTest, MarkerAfterDoubleByteTrailPipeIsRead) {
  // 1 May 2005 is a Sunday; "ポ" ends in the byte '|'.
  setHolidays("0501=ポ||1\r\n0510=ポ|1\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{1, 2}, {10, 1}}));
  EXPECT_STREQ(day(1).holidayName, "ポ||1");
  EXPECT_STREQ(day(10).holidayName, "ポ|1");
}

TEST_F(HolidayTest, LongValueIsCutTo255Bytes) {
  // The user marker lies beyond byte 255, so it is cut off: a public holiday.
  const std::string name(298, 'A');
  setHolidays("0610=" + name + "||1\r\n");
  build(2005, 6);
  EXPECT_EQ(day(10).holidayKind, 1);
  EXPECT_EQ(std::strlen(day(10).holidayName), 255u);
  EXPECT_EQ(std::string(day(10).holidayName), name.substr(0, 255));
}

// --- Equinoxes and substitutes -----------------------------------------------

TEST_F(HolidayTest, EquinoxOnSundayGivesMondaySubstitute) {
  build(2005, 3);  // 20 March 2005 is a Sunday
  EXPECT_EQ(holidays(), (Days{{20, 1}, {21, 1}}));
  EXPECT_STREQ(day(20).holidayName, "春分の日");
  EXPECT_STREQ(day(21).holidayName, "振替休日");
}

TEST_F(HolidayTest, EquinoxReplacesAnEntryOnTheSameDay) {
  setHolidays("0320=春の日||1\r\n0923=秋の祭||0\r\n");
  build(2005, 3);
  EXPECT_EQ(day(20).holidayKind, 1);
  EXPECT_STREQ(day(20).holidayName, "春分の日");
  build(2004, 9);  // equinox on 23 September 2004
  EXPECT_EQ(day(23).holidayKind, 1);
  EXPECT_STREQ(day(23).holidayName, "秋分の日");
}

TEST_F(HolidayTest, MondayEntryReplacesSubstituteWhichIsNotMoved) {
  // 3 May 2009 is a Sunday; 4 May has an entry of its own.
  setHolidays("0503=憲法記念日||0\r\n0504=みどりの日||0\r\n");
  build(2009, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 1}}));
  EXPECT_STREQ(day(4).holidayName, "みどりの日||0");

  // A user entry on that Monday replaces the substitute too.
  setHolidays("0503=憲法記念日||0\r\n0504=休み||1\r\n");
  build(2009, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 2}}));
}

TEST_F(HolidayTest, SundayHolidayOnLastDayGivesNoSubstitute) {
  // 31 December 2006 is a Sunday.
  setHolidays("1231=大晦日||0\r\n");
  build(2006, 12);
  EXPECT_EQ(holidays(), (Days{{31, 1}}));
  build(2007, 1);
  EXPECT_EQ(day(1).holidayKind, 0);
}

// --- Citizens' holidays --------------------------------------------------------

TEST_F(HolidayTest, DayBetweenTwoPublicHolidaysBecomesCitizensHoliday) {
  // 3, 4 and 5 May 2005 are Tuesday to Thursday.
  setHolidays("0503=憲法記念日||0\r\n0504=みどりの日||0\r\n0505=こどもの日||0\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 1}, {5, 1}}));
  EXPECT_STREQ(day(4).holidayName, "国民の休日");
  EXPECT_STREQ(day(3).holidayName, "憲法記念日||0");
  EXPECT_STREQ(day(5).holidayName, "こどもの日||0");

  // Without an entry of its own the 4th is still a citizens' holiday.
  setHolidays("0503=憲法記念日||0\r\n0505=こどもの日||0\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 1}, {5, 1}}));
  EXPECT_STREQ(day(4).holidayName, "国民の休日");
}

TEST_F(HolidayTest, NoCitizensHolidayWhenASundayIsInvolved) {
  setHolidays("0503=憲法記念日||0\r\n0504=みどりの日||0\r\n0505=こどもの日||0\r\n");
  // 2009: 3 May is a Sunday. 2008: 4 May. 2013: 5 May.
  for (int year : {2009, 2008, 2013}) {
    build(year, 5);
    EXPECT_EQ(day(4).holidayKind, 1) << year;
    EXPECT_STREQ(day(4).holidayName, "みどりの日||0") << year;
  }
  // 2008: the Sunday 4th passes its substitute to the 5th, whose own entry
  // replaces it; 6 May stays an ordinary day.
  build(2008, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 1}, {5, 1}}));
}

TEST_F(HolidayTest, UserHolidaysAreNotNeighbours) {
  setHolidays("0503=憲法記念日||1\r\n0505=こどもの日||0\r\n");
  build(2005, 5);
  EXPECT_EQ(holidays(), (Days{{3, 2}, {5, 1}}));
}

TEST_F(HolidayTest, UserHolidayBetweenPublicHolidaysBecomesCitizensHoliday) {
  setHolidays("0503=憲法記念日||0\r\n0504=私の日||1\r\n0505=こどもの日||0\r\n");
  build(2005, 5);
  EXPECT_EQ(day(4).holidayKind, 1);
  EXPECT_STREQ(day(4).holidayName, "国民の休日");
}

TEST_F(HolidayTest, SubstituteCountsAsNeighbour) {
  // 3 May 2009 is a Sunday: 4 May is its substitute, 6 May has an entry,
  // and 5 May lies between them.
  setHolidays("0503=憲法記念日||0\r\n0506=休日||0\r\n");
  build(2009, 5);
  EXPECT_EQ(holidays(), (Days{{3, 1}, {4, 1}, {5, 1}, {6, 1}}));
  EXPECT_STREQ(day(4).holidayName, "振替休日");
  EXPECT_STREQ(day(5).holidayName, "国民の休日");
}

TEST_F(HolidayTest, CitizensHolidaysAreFoundInDayOrderInPlace) {
  // 2 to 5 March 2005 are Wednesday to Saturday. The 3rd lies between the
  // 2nd and the 4th; once it is a holiday, the 4th lies between the 3rd and
  // the 5th and is renamed as well. The 5th has no public holiday after it.
  setHolidays("0302=a||0\r\n0304=b||0\r\n0305=c||0\r\n");
  build(2005, 3);
  EXPECT_EQ(holidays(), (Days{{2, 1}, {3, 1}, {4, 1}, {5, 1}, {20, 1}, {21, 1}}));
  EXPECT_STREQ(day(2).holidayName, "a||0");
  EXPECT_STREQ(day(3).holidayName, "国民の休日");
  EXPECT_STREQ(day(4).holidayName, "国民の休日");
  EXPECT_STREQ(day(5).holidayName, "c||0");
}

TEST_F(HolidayTest, FirstOfMonthIsNeverACitizensHoliday) {
  // February 2005 starts on a Tuesday: the cell before the 1st is empty and
  // must not count as a holiday neighbour, even though the 2nd is one.
  setHolidays("0202=b||0\r\n");
  build(2005, 2);
  EXPECT_EQ(holidays(), (Days{{2, 1}}));
}

}  // namespace
