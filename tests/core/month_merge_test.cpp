// Saving a month that someone else changed meanwhile: the three-way merge
// on its own, then the comparing save on real files (the bytes it writes,
// the copy it keeps, the lock), the month dialog's text and sorvane-cal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cal_tool.h"
#include "calendar/month_grid.h"
#include "memo/month_dialog_text.h"
#include "memo/month_merge.h"
#include "memo/month_store.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "test_support.h"

using testing_support::fileExists;
using testing_support::listDirectory;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

MemoSlot memo(const std::string& text, Colour colour = 0) { return MemoSlot{true, text, colour}; }

bool sameSlot(const MemoSlot& a, const MemoSlot& b) {
  return a.present == b.present && a.text == b.text && a.colour == b.colour;
}

// ---- The merge on its own ----------------------------------------------------

TEST(MonthMerge, EachSideKeepsTheDaysOnlyItChanged) {
  MonthContents base;
  base.days[1] = memo("one", 1);
  base.days[2] = memo("two", 2);
  base.days[3] = memo("three", 3);
  MonthContents theirs = base, ours = base;
  theirs.days[1] = memo("one there", 1);
  theirs.days[4] = memo("four there", 4);
  ours.days[2] = memo("two here", 2);
  ours.days[5] = memo("five here", 5);

  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(merge.conflicts.empty());
  EXPECT_TRUE(sameSlot(merge.merged.days[1], memo("one there", 1)));
  EXPECT_TRUE(sameSlot(merge.merged.days[2], memo("two here", 2)));
  EXPECT_TRUE(sameSlot(merge.merged.days[3], memo("three", 3)));
  EXPECT_TRUE(sameSlot(merge.merged.days[4], memo("four there", 4)));
  EXPECT_TRUE(sameSlot(merge.merged.days[5], memo("five here", 5)));
  EXPECT_FALSE(merge.merged.days[6].present);
  EXPECT_FALSE(merge.merged.monthMemo.present);
}

TEST(MonthMerge, ARemovalOnOneSideOfAnUnchangedMemoIsARemoval) {
  MonthContents base;
  base.days[1] = memo("one");
  base.days[2] = memo("two");
  base.monthMemo = memo("month");
  MonthContents theirs = base, ours = base;
  theirs.days[1] = MemoSlot();
  ours.days[2] = MemoSlot();
  ours.monthMemo = MemoSlot();

  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(merge.conflicts.empty());
  EXPECT_FALSE(merge.merged.days[1].present);
  EXPECT_FALSE(merge.merged.days[2].present);
  EXPECT_FALSE(merge.merged.monthMemo.present);
}

TEST(MonthMerge, AMemoChangedOnBothSidesKeepsOursAndReportsTheirs) {
  MonthContents base;
  base.days[5] = memo("five", 10);
  base.days[6] = memo("six", 10);
  base.days[7] = memo("seven", 10);
  MonthContents theirs = base, ours = base;
  theirs.days[5] = memo("five there", 20);
  ours.days[5] = memo("five here", 30);
  // The same change on both sides is no conflict.
  theirs.days[6] = ours.days[6] = memo("six everywhere", 10);
  // Removed here, rewritten there; and the other way round.
  ours.days[7] = MemoSlot();
  theirs.days[7] = memo("seven there", 10);
  theirs.days[8] = MemoSlot();
  base.days[8] = memo("eight", 10);
  ours.days[8] = memo("eight here", 10);

  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(sameSlot(merge.merged.days[5], memo("five here", 30)));
  EXPECT_TRUE(sameSlot(merge.merged.days[6], memo("six everywhere", 10)));
  EXPECT_FALSE(merge.merged.days[7].present);
  EXPECT_TRUE(sameSlot(merge.merged.days[8], memo("eight here", 10)));
  ASSERT_EQ(merge.conflicts.size(), 3u);
  EXPECT_EQ(merge.conflicts[0].day, 5);
  EXPECT_TRUE(sameSlot(merge.conflicts[0].theirs, memo("five there", 20)));
  EXPECT_TRUE(sameSlot(merge.conflicts[0].ours, memo("five here", 30)));
  EXPECT_EQ(merge.conflicts[1].day, 7);
  EXPECT_TRUE(sameSlot(merge.conflicts[1].theirs, memo("seven there", 10)));
  EXPECT_EQ(merge.conflicts[2].day, 8);
  EXPECT_FALSE(merge.conflicts[2].theirs.present);
}

TEST(MonthMerge, ColourChangesAreChangesOfTheirOwn) {
  MonthContents base;
  for (int day = 1; day <= 3; ++day) base.days[day] = memo("text", 100);
  MonthContents theirs = base, ours = base;
  // Recoloured there only: their colour.
  theirs.days[1] = memo("text", 200);
  // Recoloured here, rewritten there: both changes fit in one memo.
  ours.days[2] = memo("text", 300);
  theirs.days[2] = memo("new text", 100);
  // Recoloured differently on both sides: a conflict like any other.
  ours.days[3] = memo("text", 400);
  theirs.days[3] = memo("text", 500);

  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(sameSlot(merge.merged.days[1], memo("text", 200)));
  EXPECT_TRUE(sameSlot(merge.merged.days[2], memo("new text", 300)));
  EXPECT_TRUE(sameSlot(merge.merged.days[3], memo("text", 400)));
  ASSERT_EQ(merge.conflicts.size(), 1u);
  EXPECT_EQ(merge.conflicts[0].day, 3);
  EXPECT_EQ(merge.conflicts[0].theirs.colour, 500u);
}

TEST(MonthMerge, TheMonthMemoMergesLikeADayAndComesFirst) {
  MonthContents base;
  base.monthMemo = memo("plan");
  MonthContents theirs = base, ours = base;
  theirs.monthMemo = memo("plan there");
  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(merge.conflicts.empty());
  EXPECT_EQ(merge.merged.monthMemo.text, "plan there");

  ours.monthMemo = memo("plan here");
  ours.days[3] = memo("three here");
  theirs.days[3] = memo("three there");
  merge = mergeMonthContents(base, theirs, ours);
  EXPECT_EQ(merge.merged.monthMemo.text, "plan here");
  ASSERT_EQ(merge.conflicts.size(), 2u);
  EXPECT_EQ(merge.conflicts[0].day, 0);
  EXPECT_EQ(merge.conflicts[0].theirs.text, "plan there");
  EXPECT_EQ(merge.conflicts[1].day, 3);
}

TEST(MonthMerge, TheMonthDialogsTextLacksDaysAddedAfterItOpened) {
  // The dialog read the month without day 9 and stores its whole text: the
  // month memo it typed, days 1 and 2 as they were, day 3 removed. Another
  // writer meanwhile added day 9 and set a month memo of its own before the
  // dialog had one... which the dialog stores as an empty block.
  MonthContents base;
  base.days[1] = memo("one", 7);
  base.days[2] = memo("two", 7);
  base.days[3] = memo("three", 7);
  MonthContents theirs = base, ours = base;
  theirs.days[9] = memo("nine there", 8);
  ours.days[3] = MemoSlot();
  ours.monthMemo = memo("typed");

  MonthMerge merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(merge.conflicts.empty());
  EXPECT_TRUE(sameSlot(merge.merged.days[9], memo("nine there", 8)));
  EXPECT_FALSE(merge.merged.days[3].present);
  EXPECT_EQ(merge.merged.monthMemo.text, "typed");

  // An empty month memo block where there was none shows nothing new: it
  // gives way to a real memo written there.
  ours.monthMemo = memo("");
  theirs.monthMemo = memo("written there");
  merge = mergeMonthContents(base, theirs, ours);
  EXPECT_TRUE(merge.conflicts.empty());
  EXPECT_EQ(merge.merged.monthMemo.text, "written there");
}

TEST(MonthMerge, ContentsGoThroughTheMonthFilesOwnReaderAndWriter) {
  const std::string example("__#00#__\r\nabc\r\n__#05#__00000255\r\nx");
  MonthContents contents;
  ASSERT_TRUE(monthContentsFromData(2004, 12, example, contents));
  EXPECT_TRUE(sameSlot(contents.monthMemo, memo("abc")));
  EXPECT_TRUE(sameSlot(contents.days[5], memo("x", 255)));
  std::string bytes;
  ASSERT_TRUE(monthDataFromContents(2004, 12, contents, bytes));
  EXPECT_EQ(bytes, example);
  // A day the month does not have is not written.
  contents.days[31] = memo("no such day");
  ASSERT_TRUE(monthDataFromContents(2005, 2, contents, bytes));
  EXPECT_EQ(bytes, example);
}

// ---- The comparing save on real files ----------------------------------------

class MonthSaveTest : public ::testing::Test {
 protected:
  MonthSaveTest() : settings_(dir_.file("test.ini")) { overrideDataDirectory(dir_.path()); }
  ~MonthSaveTest() override { overrideDataDirectory(std::string()); }

  std::string file(const char* name) const { return dir_.file(name); }

  static void setDay(MonthGrid& grid, int day, const std::string& text, Colour colour) {
    DayCell* cell = grid.findDay(day);
    ASSERT_NE(cell, nullptr);
    cell->memo = MemoText::copyOf(text);
    cell->memoColor = colour;
  }

  // Another writer: reads the month now, sets a day and saves.
  static void otherWriterSets(int day, const std::string& text, Colour colour) {
    MonthGrid other;
    MonthFileBase base;
    ASSERT_TRUE(loadMonth(other, 2004, 12, base));
    setDay(other, day, text, colour);
    ASSERT_TRUE(saveMonth(other, 2004, 12, base).saved());
  }

  // The only files left beside the month: no lock, no temporary.
  void expectOnlyFiles(std::vector<std::string> expected) {
    std::vector<std::string> names;
    for (const std::string& name : listDirectory(dir_.path()))
      if (name != "test.ini") names.push_back(name);
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
  }

  TempDir dir_;
  testing_support::SettingsFileOverride settings_;
};

TEST_F(MonthSaveTest, WithNoChangeOnDiskItWritesTheVeryBytesOfAPlainSave) {
  const std::string example("__#00#__\r\nabc\r\n__#05#__00000255\r\nx");
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  EXPECT_TRUE(base.known);
  EXPECT_EQ(base.bytes, "");
  ASSERT_TRUE(grid.setMonthMemo("abc"));
  setDay(grid, 5, "x", 255);
  MonthSaveResult result = saveMonth(grid, 2004, 12, base);
  EXPECT_TRUE(result.saved());
  EXPECT_FALSE(result.merged);
  EXPECT_TRUE(result.conflicts.empty());
  EXPECT_EQ(readBytes(file("200412.dat")), example);
  EXPECT_EQ(base.bytes, example);
  expectOnlyFiles({"200412.dat"});

  // Again after a load, and by the plain save: the same bytes.
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  EXPECT_EQ(base.bytes, example);
  ASSERT_TRUE(saveMonth(grid, 2004, 12, base).saved());
  EXPECT_EQ(readBytes(file("200412.dat")), example);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(file("200412.dat")), example);

  // Removing every memo removes the file, as a plain save does.
  grid.build(2004, 12);
  ASSERT_TRUE(saveMonth(grid, 2004, 12, base).saved());
  EXPECT_FALSE(fileExists(file("200412.dat")));
  expectOnlyFiles({});
}

TEST_F(MonthSaveTest, ADayWrittenMeanwhileStaysAndTheGridShowsIt) {
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  otherWriterSets(9, "nine there", 9);
  setDay(grid, 5, "five here", 5);
  MonthSaveResult result = saveMonth(grid, 2004, 12, base);
  ASSERT_TRUE(result.saved());
  EXPECT_TRUE(result.merged);
  EXPECT_TRUE(result.conflicts.empty());
  EXPECT_EQ(readBytes(file("200412.dat")),
            "\r\n__#05#__00000005\r\nfive here\r\n__#09#__00000009\r\nnine there");
  EXPECT_EQ(grid.findDay(9)->memo.text(), "nine there");
  EXPECT_EQ(base.bytes, readBytes(file("200412.dat")));
  expectOnlyFiles({"200412.dat"});
}

TEST_F(MonthSaveTest, BothTextsOfADayChangedOnBothSidesEndInFilesOfTheFolder) {
  writeBytes(file("200412.dat"), "\r\n__#05#__00000001\r\nfive");
  writeBytes(file("200412.dat.1.bak"), "an older copy");
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  otherWriterSets(5, "five there", 2);
  const std::string theirs = readBytes(file("200412.dat"));
  setDay(grid, 5, "five here", 3);

  MonthSaveResult result = saveMonth(grid, 2004, 12, base);
  ASSERT_TRUE(result.saved());
  ASSERT_EQ(result.conflicts.size(), 1u);
  EXPECT_EQ(result.conflicts[0].day, 5);
  EXPECT_EQ(result.conflicts[0].theirs.text, "five there");
  EXPECT_EQ(pathFileName(result.conflictCopy), "200412.dat.2.bak");
  EXPECT_EQ(readBytes(file("200412.dat")), "\r\n__#05#__00000003\r\nfive here");
  EXPECT_EQ(readBytes(file("200412.dat.2.bak")), theirs);
  EXPECT_EQ(readBytes(file("200412.dat.1.bak")), "an older copy");
  expectOnlyFiles({"200412.dat", "200412.dat.1.bak", "200412.dat.2.bak"});

  // Literals here are Shift_JIS, as the message is.
  std::string message = monthConflictMessage(2004, 12, result);
  EXPECT_NE(message.find("5日"), std::string::npos) << message;
  EXPECT_NE(message.find("200412.dat.2.bak"), std::string::npos) << message;
}

TEST_F(MonthSaveTest, TheMonthDialogsStoreKeepsADayAddedWhileItWasOpen) {
  writeBytes(file("200412.dat"), "\r\n__#01#__00000001\r\none");
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  const std::string shownText = buildDayMemoText(grid);  // what the dialog opened with
  otherWriterSets(9, "nine there", 9);
  ASSERT_TRUE(storeMonthDialogText(grid, "typed", shownText, 4));
  MonthSaveResult result = saveMonth(grid, 2004, 12, base);
  ASSERT_TRUE(result.saved());
  EXPECT_TRUE(result.conflicts.empty());
  EXPECT_EQ(readBytes(file("200412.dat")),
            "__#00#__\r\ntyped\r\n__#01#__00000001\r\none\r\n__#09#__00000009\r\nnine there");
}

TEST_F(MonthSaveTest, AHeldLockStopsTheSaveAndAnAbandonedOneDoesNot) {
  writeBytes(file("200412.dat"), "\r\n__#01#__00000001\r\none");
  std::string path;
  ASSERT_TRUE(monthFilePath(2004, 12, path));
  EXPECT_EQ(pathFileName(monthLockPath(path)), "200412.lck");
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  setDay(grid, 2, "two", 2);
  {
    FileLock other;
    ASSERT_EQ(other.acquire(monthLockPath(path), 0), LockStatus::Taken);
    EXPECT_EQ(saveMonth(grid, 2004, 12, base).status, MonthSaveStatus::Locked);
    EXPECT_FALSE(grid.save(2004, 12));
    EXPECT_EQ(readBytes(file("200412.dat")), "\r\n__#01#__00000001\r\none");
  }
  EXPECT_FALSE(fileExists(file("200412.lck")));
  // A lock file that nobody holds is what a killed save left behind.
  writeBytes(file("200412.lck"), "");
  EXPECT_TRUE(saveMonth(grid, 2004, 12, base).saved());
  EXPECT_EQ(readBytes(file("200412.dat")), "\r\n__#01#__00000001\r\none\r\n__#02#__00000002\r\ntwo");
  expectOnlyFiles({"200412.dat"});
  EXPECT_NE(monthLockedMessage(2004, 12).find("2004年12月"), std::string::npos);
}

TEST_F(MonthSaveTest, AFileThatCannotBeReadIsNeverReplaced) {
  writeBytes(file("200412.dat"), "\r\n__#01#__00000001\r\none");
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, 2004, 12, base));
  setDay(grid, 2, "two", 2);
  failNextReadForTests();
  EXPECT_EQ(saveMonth(grid, 2004, 12, base).status, MonthSaveStatus::Failed);
  EXPECT_EQ(readBytes(file("200412.dat")), "\r\n__#01#__00000001\r\none");
  expectOnlyFiles({"200412.dat"});
}

// ---- sorvane-cal ----------------------------------------------------------------

std::string toolDirectory;
std::string toolSettings;

void otherToolWritesDayFive() {
  std::vector<std::string> args = {"set-memo",     "--data", toolDirectory, "--ini", toolSettings, "2004", "12", "5",
                                   "written there"};
  std::FILE* sink = std::tmpfile();
  ToolStreams io{sink, sink, sink};
  runCalTool(args, io);
  std::fclose(sink);
}

std::string streamText(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  char buffer[512];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, stream)) text.append(buffer, got);
  return text;
}

TEST_F(MonthSaveTest, TheToolNamesTheDayAndTheCopyOnStandardError) {
  writeBytes(file("200412.dat"), "\r\n__#05#__00000001\r\nfive");
  toolDirectory = dir_.path();
  toolSettings = file("test.ini");
  runBeforeNextMonthSaveForTests(otherToolWritesDayFive);
  std::FILE* err = std::tmpfile();
  std::FILE* out = std::tmpfile();
  ToolStreams io{out, out, err};
  // The tool sends the core's warnings to its stream; the other tests keep
  // theirs.
  WarningHook hook = warningHook();
  int code = runCalTool({"set-memo", "--data", toolDirectory, "--ini", toolSettings, "2004", "12", "5", "written here"},
                        io);
  setWarningHook(hook);
  std::string errors = streamText(err);
  std::fclose(err);
  std::fclose(out);
  EXPECT_EQ(code, 0) << errors;
  EXPECT_NE(errors.find("day 5 of 2004/12"), std::string::npos) << errors;
  EXPECT_NE(errors.find("200412.dat.1.bak"), std::string::npos) << errors;
  EXPECT_EQ(readBytes(file("200412.dat")), "\r\n__#05#__00000001\r\nwritten here");
  EXPECT_EQ(readBytes(file("200412.dat.1.bak")), "\r\n__#05#__00000001\r\nwritten there");
}

}  // namespace
