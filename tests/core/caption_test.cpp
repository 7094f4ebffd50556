#include <gtest/gtest.h>

#include "app/caption.h"

namespace {

TEST(Caption, ThreeStylesWithAndWithoutTheDay) {
  EXPECT_EQ(formatCaption(0, 2004, 5, 0), "2004/05");
  EXPECT_EQ(formatCaption(1, 2004, 5, 0), "2004 May");
  EXPECT_EQ(formatCaption(2, 2004, 5, 0), "2004年5月");
  EXPECT_EQ(formatCaption(0, 2004, 5, 6), "2004/05/06");
  EXPECT_EQ(formatCaption(1, 2004, 5, 6), "2004 May 6");
  EXPECT_EQ(formatCaption(2, 2004, 5, 6), "2004年5月6日");
  EXPECT_EQ(formatCaption(1, 2005, 12, 31), "2005 Dec 31");
}

TEST(Caption, UnknownStylesLookLikeTheFirst) {
  for (int style : {7, -1, 3, 1000}) EXPECT_EQ(formatCaption(style, 2004, 5, 0), "2004/05");
}

// With WAREKI only the style that writes "年" changes, to the era year of
// the month's first day ("元年" for an era's first year).
TEST(Caption, EraYearReplacesTheWesternYearOnlyWhereItIsWrittenWithNen) {
  EXPECT_EQ(formatCaption(2, 2026, 12, 0, true), "令和8年12月");
  EXPECT_EQ(formatCaption(2, 2019, 5, 0, true), "令和元年5月");
  EXPECT_EQ(formatCaption(2, 2019, 4, 0, true), "平成31年4月");
  EXPECT_EQ(formatCaption(2, 1989, 1, 0, true), "昭和64年1月");
  EXPECT_EQ(formatCaption(2, 1990, 1, 0, true), "平成2年1月");
  // The minimised caption's day keeps the month's era: 1989-01-10 is in
  // 平成, but the month began in 昭和.
  EXPECT_EQ(formatCaption(2, 1989, 1, 10, true), "昭和64年1月10日");
  EXPECT_EQ(formatCaption(0, 2026, 12, 7, true), "2026/12/07");
  EXPECT_EQ(formatCaption(1, 2026, 12, 0, true), "2026 Dec");
  EXPECT_EQ(formatCaption(2, 2026, 12, 0, false), "2026年12月");
}

}  // namespace
