// The month memo dialog's lower edit: the text built from a month's memos,
// its split back into day memos with every rule that decides where a memo
// ends, and the text the split would drop.
#include <gtest/gtest.h>

#include <string>

#include "calendar/month_grid.h"
#include "memo/month_dialog_text.h"
#include "platform/memory_block.h"

namespace {

constexpr Colour kMemoDefault = 0x00112233;

class MonthDialogTextTest : public ::testing::Test {
 protected:
  ~MonthDialogTextTest() override { limitBlockAllocationsForTests(-1); }

  // November 2004: 30 days.
  MonthGrid& november() {
    grid_.build(2004, 11);
    return grid_;
  }

  void setMemo(int day, const char* text, Colour colour) {
    DayCell* cell = grid_.findDay(day);
    ASSERT_NE(cell, nullptr);
    cell->memo = MemoText::copyOf(text);
    cell->memoColor = colour;
  }

  // The memo of a day after a split: "<none>" for a day without a block.
  std::string memoOf(int day) const {
    const DayCell* cell = grid_.findDay(day);
    if (!cell || !cell->memo.present()) return "<none>";
    return cell->memo.text();
  }

  std::string dropped(std::string_view text) const {
    DroppedText found = findDroppedText(text, 30);
    if (!found.found) return "<nothing>";
    return std::string(text.substr(found.begin, found.end - found.begin));
  }

  MonthGrid grid_;
};

TEST_F(MonthDialogTextTest, HeadingsAreEightBytesWithASpaceBeforeSingleDigits) {
  EXPECT_EQ(dayMemoHeading(7), "[ 7\x93\xfa]\r\n");
  EXPECT_EQ(dayMemoHeading(23), "[23\x93\xfa]\r\n");
  EXPECT_EQ(dayMemoHeading(7).size(), kDayHeadingLength);
  EXPECT_EQ(std::string("日"), "\x93\xfa") << "the sources must be compiled to Shift_JIS";
}

TEST_F(MonthDialogTextTest, MemosRoundTripThroughTheTextWithTheirColours) {
  november();
  setMemo(1, "", 0x000000FF);
  setMemo(7, "会議\r\n資料を持参", 0x00FF0000);
  setMemo(30, "月末", 0x0000FF00);
  std::string text = buildDayMemoText(grid_);
  EXPECT_EQ(text, "[ 1日]\r\n\r\n[ 7日]\r\n会議\r\n資料を持参\r\n[30日]\r\n月末\r\n");
  EXPECT_FALSE(findDroppedText(text, 30).found);

  // A grid with other memos: the split replaces them all.
  setMemo(2, "消える", 0x00ABCDEF);
  ASSERT_TRUE(storeMonthDialogText(grid_, "今月", text, kMemoDefault));
  EXPECT_EQ(grid_.monthMemo().text(), "今月");
  EXPECT_EQ(memoOf(1), "");
  EXPECT_EQ(memoOf(2), "<none>") << "a day whose heading is gone loses its memo";
  EXPECT_EQ(memoOf(7), "会議\r\n資料を持参");
  EXPECT_EQ(memoOf(30), "月末");
  EXPECT_EQ(grid_.findDay(1)->memoColor, 0x000000FFu) << "a day that had a memo keeps its colour";
  EXPECT_EQ(grid_.findDay(7)->memoColor, 0x00FF0000u);
  EXPECT_EQ(buildDayMemoText(grid_), text);
}

TEST_F(MonthDialogTextTest, NewDaysTakeTheDefaultColourAndEmptyTextsStillMakeBlocks) {
  november();
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 7日]\r\n新しい予定", kMemoDefault));
  ASSERT_TRUE(grid_.monthMemo().present()) << "the month memo block is always created";
  EXPECT_EQ(grid_.monthMemo().text(), "");
  EXPECT_EQ(memoOf(7), "新しい予定");
  EXPECT_EQ(grid_.findDay(7)->memoColor, kMemoDefault);

  ASSERT_TRUE(storeMonthDialogText(grid_, "", "", kMemoDefault));
  for (int day = 1; day <= 30; ++day) EXPECT_EQ(memoOf(day), "<none>") << day;
}

TEST_F(MonthDialogTextTest, WhereAMemoEnds) {
  november();
  // A heading at the very end gives an empty memo; a final CR LF inside a
  // memo is not part of it, one that is the heading's own is.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n[ 4日]\r\n", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A");
  EXPECT_EQ(memoOf(4), "");
  // Only the last CR LF goes; the one before it stays.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n\r\n", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A\r\n");
  // Without the space the line is not a heading of the 5th: it stays in the
  // memo above, and the 5th has none.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n[5日]\r\nB", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A\r\n[5日]\r\nB");
  EXPECT_EQ(memoOf(5), "<none>");
  // Any two bytes between "[" and "日]" end the memo above: the 31st (which
  // November has not) and a heading of letters alike.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n[31日]\r\nX\r\n[ 4日]\r\nB", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A");
  EXPECT_EQ(memoOf(4), "B");
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n[ab日]\r\nX", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A");
  // A heading that stands twice: the first gives the memo.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA\r\n[ 3日]\r\nB", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A");
  // A heading not at the start of a line is still found by the search for
  // the day's own heading, but does not end the memo above it.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nA[ 4日]\r\nB", kMemoDefault));
  EXPECT_EQ(memoOf(3), "A[ 4日]\r\nB");
  EXPECT_EQ(memoOf(4), "B");
}

TEST_F(MonthDialogTextTest, AHeadingRightUnderAnotherEndsTheMemoAboveIt) {
  november();
  setMemo(3, "A", kMemoDefault);
  setMemo(4, "B", kMemoDefault);
  // The only line under the 3rd deleted: the 3rd is empty and keeps no copy
  // of the 4th's heading and text.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\n[ 4日]\r\nB\r\n", kMemoDefault));
  EXPECT_EQ(memoOf(3), "");
  EXPECT_EQ(memoOf(4), "B");
  EXPECT_EQ(dropped("[ 3日]\r\n[ 4日]\r\nB\r\n"), "<nothing>");
  // Three headings in a row, and a heading of a day November lacks in between.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 1日]\r\n[ 2日]\r\n[31日]\r\n無い日\r\n[ 5日]\r\nE", kMemoDefault));
  EXPECT_EQ(memoOf(1), "");
  EXPECT_EQ(memoOf(2), "");
  EXPECT_EQ(memoOf(5), "E");
  EXPECT_EQ(dropped("[ 1日]\r\n[ 2日]\r\n[31日]\r\n無い日\r\n[ 5日]\r\nE"), "無い日");
}

TEST_F(MonthDialogTextTest, TheSecondByteOfACharacterIsNoBracket) {
  november();
  // "ー" is 0x81 0x5B: its second byte is "[", and " 4日]" after it has a
  // heading's shape. It is text of the 3rd, not a heading of the 4th.
  const std::string text = "[ 3日]\r\nAー 4日]\r\nB\r\n";
  ASSERT_EQ(text.substr(9, 2), "\x81\x5b");
  ASSERT_TRUE(storeMonthDialogText(grid_, "", text, kMemoDefault));
  EXPECT_EQ(memoOf(3), "Aー 4日]\r\nB");
  EXPECT_EQ(memoOf(4), "<none>");
  // At a line's start it does not end the memo above either.
  ASSERT_TRUE(storeMonthDialogText(grid_, "", "[ 3日]\r\nー 4日]\r\nB", kMemoDefault));
  EXPECT_EQ(memoOf(3), "ー 4日]\r\nB");
  EXPECT_EQ(memoOf(4), "<none>");
  // What the dialog builds from such memos splits back to the same memos.
  MonthGrid built;
  built.build(2004, 11);
  built.findDay(3)->memo = MemoText::copyOf("ー 4日]");
  built.findDay(4)->memo = MemoText::copyOf("");
  built.findDay(5)->memo = MemoText::copyOf("ーー");
  const std::string again = buildDayMemoText(built);
  ASSERT_TRUE(storeMonthDialogText(grid_, "", again, kMemoDefault));
  EXPECT_EQ(memoOf(3), "ー 4日]");
  EXPECT_EQ(memoOf(4), "");
  EXPECT_EQ(memoOf(5), "ーー");
}

// The way to the edit and back as Windows takes it for bytes that are no
// character: 0x85 0x40 comes back as "・".
bool dotForUnknown(std::string_view sjis, std::string& shown) {
  shown.clear();
  for (std::size_t at = 0; at < sjis.size(); ++at) {
    if (sjis.substr(at, 2) == "\x85\x40") {
      shown += "・";
      ++at;
    } else {
      shown += sjis[at];
    }
  }
  return true;
}

TEST_F(MonthDialogTextTest, MemosNobodyEditedKeepTheirBytes) {
  november();
  setMemo(3, "A\x85\x40" "B", kMemoDefault);
  setMemo(4, "\x85\x40", kMemoDefault);
  setMemo(5, "plain", kMemoDefault);
  ASSERT_TRUE(grid_.setMonthMemo("M\x85\x40"));
  const MonthAsShown shown = monthAsShown(grid_, dotForUnknown);
  EXPECT_TRUE(shown[0].changed);
  EXPECT_TRUE(shown[3].changed);
  EXPECT_FALSE(shown[5].changed) << "a memo the edit shows as it is needs no note";
  // The 3rd untouched, the 4th edited, the month memo untouched.
  ASSERT_TRUE(storeMonthDialogText(grid_, "M・", "[ 3日]\r\nA・B\r\n[ 4日]\r\n・!\r\n[ 5日]\r\nplain\r\n",
                                   kMemoDefault, &shown));
  EXPECT_EQ(grid_.monthMemo().text(), "M\x85\x40");
  EXPECT_EQ(memoOf(3), "A\x85\x40" "B");
  EXPECT_EQ(memoOf(4), "・!");
  EXPECT_EQ(memoOf(5), "plain");
}

TEST_F(MonthDialogTextTest, DroppedTextIsFoundAndQuotedByItsFirstLine) {
  EXPECT_EQ(dropped("上の行\r\n二行目\r\n[ 3日]\r\nA"), "上の行");
  EXPECT_EQ(dropped("[ 3日]\r\nA\r\n[ 3日]\r\n二度目\r\nその次"), "二度目");
  EXPECT_EQ(dropped("[ 3日]\r\nA\r\n[31日]\r\n三十一日"), "三十一日");
  EXPECT_EQ(dropped("[ 3日]\r\nA\r\n[ab日]\r\n見出しもどき"), "見出しもどき");
  EXPECT_EQ(dropped("見出しなし"), "見出しなし");
  // The 31st is a day of December.
  EXPECT_FALSE(findDroppedText("[ 3日]\r\nA\r\n[31日]\r\n三十一日", 31).found);

  // Nothing a user would miss: blank lines, spaces, a bare heading, text
  // that some memo holds.
  EXPECT_EQ(dropped(""), "<nothing>");
  EXPECT_EQ(dropped("\r\n \t\r\n[ 3日]\r\nA\r\n\r\n"), "<nothing>");
  EXPECT_EQ(dropped("[ 3日]\r\nA\r\n[ 3日]\r\n"), "<nothing>");
  EXPECT_EQ(dropped("[ 3日]\r\nA[ 4日]\r\nB"), "<nothing>");
  EXPECT_EQ(dropped("[ 3日]\r\nA\r\n[5日]\r\nB"), "<nothing>");
}

TEST_F(MonthDialogTextTest, LackOfMemoryIsReported) {
  november();
  limitBlockAllocationsForTests(1);  // the month memo, then nothing
  EXPECT_FALSE(storeMonthDialogText(grid_, "M", "[ 3日]\r\nA", kMemoDefault));
  limitBlockAllocationsForTests(-1);
  EXPECT_TRUE(storeMonthDialogText(grid_, "M", "[ 3日]\r\nA", kMemoDefault));
}

}  // namespace
