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

}  // namespace
