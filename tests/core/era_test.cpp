// Era years at the boundaries of 昭和, 平成 and 令和, and their text.
#include <gtest/gtest.h>

#include <string>

#include "calendar/era.h"

namespace {

std::string eraText(int year, int month, int day) {
  char buffer[32];
  return std::string(formatEraYear(year, month, day, buffer, sizeof buffer));
}

TEST(Era, BoundariesOfTheLastThreeEras) {
  EXPECT_EQ(eraText(1989, 1, 7), "昭和64年");
  EXPECT_EQ(eraText(1989, 1, 8), "平成元年");
  EXPECT_EQ(eraText(1989, 12, 31), "平成元年");
  EXPECT_EQ(eraText(1990, 1, 1), "平成2年");
  EXPECT_EQ(eraText(2019, 4, 30), "平成31年");
  EXPECT_EQ(eraText(2019, 5, 1), "令和元年");
  EXPECT_EQ(eraText(2020, 1, 1), "令和2年");
  EXPECT_EQ(eraText(2026, 12, 7), "令和8年");
  EXPECT_EQ(eraText(1980, 1, 1), "昭和55年");
  EXPECT_EQ(eraText(2100, 12, 31), "令和82年");
}

TEST(Era, OlderErasAndTheYearsBeforeThem) {
  EXPECT_EQ(eraText(1926, 12, 24), "大正15年");
  EXPECT_EQ(eraText(1926, 12, 25), "昭和元年");
  EXPECT_EQ(eraText(1912, 7, 29), "明治45年");
  EXPECT_EQ(eraText(1912, 7, 30), "大正元年");
  EXPECT_EQ(eraText(1868, 10, 23), "明治元年");
  EXPECT_EQ(eraText(1868, 10, 22), "1868年");
  EXPECT_EQ(eraYearOf(1868, 10, 22).name, nullptr);
  const EraYear showa = eraYearOf(1989, 1, 7);
  EXPECT_STREQ(showa.name, "昭和");
  EXPECT_EQ(showa.year, 64);
}

TEST(Era, TextIsCutToTheBuffer) {
  char small[5];
  EXPECT_EQ(formatEraYear(2026, 12, 1, small, sizeof small), std::string("令和"));
  EXPECT_EQ(formatEraYear(2026, 12, 1, small, 0), std::string());
}

}  // namespace
