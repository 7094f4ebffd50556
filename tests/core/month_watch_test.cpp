// Noticing others' changes of the month on display: when a look reads the
// month file, what it makes of the bytes, and that the calendar's own
// saves, an untouched file and a vanished folder change nothing on screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "memo/month_watch.h"
#include "platform/file_io.h"
#include "test_support.h"

using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

const std::string kTheirs = "\r\n__#09#__00000255\r\nfrom the laptop";
const std::string kOurs = "\r\n__#05#__00000000\r\nours";

class MonthWatchTest : public ::testing::Test {
 protected:
  MonthWatchTest() : settings_(dir_.file("test.ini")) { overrideDataDirectory(dir_.path()); }
  ~MonthWatchTest() override { overrideDataDirectory(std::string()); }

  std::string december() const { return dir_.file("200412.dat"); }

  // The calendar shows December: the watch first, then the read.
  void showDecember() {
    watchMonthFile(watch_, 2004, 12);
    ASSERT_TRUE(loadMonth(grid_, 2004, 12, base_));
  }

  MonthFileLook look(bool notified = false, bool notificationsWork = true) {
    return lookAtMonthFile(watch_, base_, notified, notificationsWork, bytes_);
  }

  // Looks until one reads the file or `limit` looks went by.
  int looksUntilChanged(int limit, bool notificationsWork) {
    for (int n = 1; n <= limit; ++n)
      if (look(false, notificationsWork) == MonthFileLook::Changed) return n;
    return 0;
  }

  TempDir dir_;
  testing_support::SettingsFileOverride settings_;
  MonthGrid grid_;
  MonthFileBase base_;
  MonthFileWatch watch_;
  std::string bytes_;
};

TEST(MonthFileNeedsRead, NotificationsNewStampsAndTheSafetyReadDecide) {
  MonthFileWatch watch;
  watch.stampKnown = true;
  watch.stamp = FileStamp{true, 10, 5};
  const FileStamp same{true, 10, 5};
  EXPECT_FALSE(monthFileNeedsRead(watch, same, false, true));
  EXPECT_TRUE(monthFileNeedsRead(watch, same, true, true)) << "the folder reported a change";
  EXPECT_TRUE(monthFileNeedsRead(watch, FileStamp{true, 11, 5}, false, true)) << "another size";
  EXPECT_TRUE(monthFileNeedsRead(watch, FileStamp{true, 10, 6}, false, true)) << "another time";
  EXPECT_TRUE(monthFileNeedsRead(watch, FileStamp{}, false, true)) << "gone";
  watch.stampKnown = false;
  EXPECT_TRUE(monthFileNeedsRead(watch, same, false, true)) << "no stamp yet";

  // The safety read: sooner without a working notification.
  watch.stampKnown = true;
  watch.looksSinceRead = kMonthWatchReadEveryLooks - 2;
  EXPECT_FALSE(monthFileNeedsRead(watch, same, false, false));
  watch.looksSinceRead = kMonthWatchReadEveryLooks - 1;
  EXPECT_TRUE(monthFileNeedsRead(watch, same, false, false));
  EXPECT_FALSE(monthFileNeedsRead(watch, same, false, true));
  watch.looksSinceRead = kMonthWatchReadEveryLooksNotified - 1;
  EXPECT_TRUE(monthFileNeedsRead(watch, same, false, true));
}

TEST_F(MonthWatchTest, AnUntouchedFileIsNotEvenRead) {
  writeBytes(december(), kOurs);
  showDecember();
  failNextReadForTests();  // a read now would fail and show
  for (int n = 0; n < kMonthWatchReadEveryLooks - 1; ++n)
    EXPECT_EQ(look(false, false), MonthFileLook::Unchanged);
  EXPECT_TRUE(takeFailedReadForTests()) << "a look with the same stamp read the file";
  // The safety read then finds the bytes of the base: nothing to show.
  EXPECT_EQ(look(false, false), MonthFileLook::Unchanged);
  EXPECT_EQ(watch_.looksSinceRead, 0);
  // A notification for another file of the folder reads, and changes nothing.
  EXPECT_EQ(look(true), MonthFileLook::Unchanged);
}

TEST_F(MonthWatchTest, ARewriteInPlaceOrARenameOverIsSeenAndLoaded) {
  writeBytes(december(), kOurs);
  showDecember();
  // In place, as a script would.
  writeBytes(december(), kOurs + kTheirs);
  ASSERT_EQ(look(), MonthFileLook::Changed);
  EXPECT_EQ(bytes_, kOurs + kTheirs);
  ASSERT_TRUE(loadMonthFromBytes(grid_, 2004, 12, bytes_, base_));
  EXPECT_EQ(grid_.findDay(9)->memo.text(), "from the laptop");
  EXPECT_EQ(grid_.findDay(9)->memoColor, 255u);
  EXPECT_TRUE(base_.known);
  EXPECT_EQ(base_.bytes, kOurs + kTheirs);
  EXPECT_EQ(look(true), MonthFileLook::Unchanged) << "loaded once, not again";

  // A new file renamed over it, as sync tools do.
  const std::string fresh = dir_.file("fresh.tmp");
  writeBytes(fresh, kTheirs);
  std::filesystem::rename(fresh, december());
  EXPECT_EQ(looksUntilChanged(1, true), 1);
  EXPECT_EQ(bytes_, kTheirs);
}

TEST_F(MonthWatchTest, AChangeThatKeepsSizeAndTimeIsFoundByTheSafetyRead) {
  writeBytes(december(), kOurs);
  showDecember();
  std::string sameSize = kOurs;
  sameSize.back() = 'S';
  writeBytes(december(), sameSize);
  // As a folder whose clock step hides the write would show it.
  watch_.stamp = fileStamp(december());
  EXPECT_EQ(looksUntilChanged(kMonthWatchReadEveryLooks, false), kMonthWatchReadEveryLooks);
  EXPECT_EQ(bytes_, sameSize);
}

TEST_F(MonthWatchTest, TheCalendarsOwnSaveIsNoChange) {
  writeBytes(december(), kOurs);
  showDecember();
  ASSERT_TRUE(grid_.setMonthMemo("typed here"));
  ASSERT_TRUE(saveMonth(grid_, 2004, 12, base_).saved());
  EXPECT_EQ(look(true), MonthFileLook::Unchanged);
  for (int n = 0; n < kMonthWatchReadEveryLooksNotified; ++n) EXPECT_EQ(look(), MonthFileLook::Unchanged);
}

TEST_F(MonthWatchTest, ADeletedFileCountsOnlyWhenItStaysGone) {
  writeBytes(december(), kOurs);
  showDecember();
  ASSERT_TRUE(deleteFileIfExists(december()));
  EXPECT_EQ(look(true), MonthFileLook::Unchanged) << "a sync tool may be about to write it anew";
  writeBytes(december(), kOurs);
  EXPECT_EQ(look(true), MonthFileLook::Unchanged) << "back with the same bytes";
  ASSERT_TRUE(deleteFileIfExists(december()));
  EXPECT_EQ(look(true), MonthFileLook::Unchanged);
  ASSERT_EQ(look(), MonthFileLook::Changed);
  EXPECT_EQ(bytes_, "");
}

TEST_F(MonthWatchTest, AVanishedFolderKeepsTheMonthAndItsReturnIsRead) {
  const std::string folder = dir_.file("shared");
  std::filesystem::create_directory(folder);
  overrideDataDirectory(folder);
  const std::string file = dir_.file("shared/200412.dat");
  writeBytes(file, kOurs);
  showDecember();
  std::filesystem::rename(folder, dir_.file("shared.away"));
  EXPECT_EQ(look(), MonthFileLook::FolderMissing);
  EXPECT_EQ(look(), MonthFileLook::FolderMissing);
  EXPECT_EQ(base_.bytes, kOurs) << "the base is left alone";
  std::filesystem::rename(dir_.file("shared.away"), folder);
  EXPECT_EQ(look(), MonthFileLook::Unchanged);
  writeBytes(file, kTheirs);
  EXPECT_EQ(look(), MonthFileLook::Changed);
}

TEST_F(MonthWatchTest, AnotherMonthsBaseAnUnknownBaseAndNoWatch) {
  writeBytes(december(), kOurs);
  showDecember();
  MonthFileBase november;
  november.known = true;
  november.year = 2004;
  november.month = 11;
  writeBytes(december(), kTheirs);
  EXPECT_EQ(lookAtMonthFile(watch_, november, true, true, bytes_), MonthFileLook::Unchanged);
  // A month whose last read failed is read whole at the next look.
  MonthFileBase unknown;
  EXPECT_EQ(lookAtMonthFile(watch_, unknown, true, true, bytes_), MonthFileLook::Changed);
  EXPECT_EQ(bytes_, kTheirs);
  MonthFileWatch none;
  EXPECT_EQ(lookAtMonthFile(none, base_, true, true, bytes_), MonthFileLook::Unchanged);
}

TEST_F(MonthWatchTest, AFileHeldOpenIsLookedAtAgain) {
  writeBytes(december(), kOurs);
  showDecember();
  writeBytes(december(), kTheirs);
  failNextReadForTests();
  EXPECT_EQ(look(), MonthFileLook::Unreadable);
  EXPECT_FALSE(watch_.stampKnown);
  EXPECT_EQ(look(), MonthFileLook::Changed) << "the next look reads again";
}

}  // namespace
