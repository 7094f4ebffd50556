// Month files that another program holds open, as only Windows can arrange.
#include <windows.h>

#include <gtest/gtest.h>

#include "calendar/month_grid.h"
#include "core/test_support.h"
#include "memo/month_store.h"
#include "platform/text_convert.h"

namespace {

const std::string kFile = std::string("__#00#__\r\nabc\r\n__#05#__00000255\r\nx");

class MonthFileSharing : public ::testing::Test {
 protected:
  MonthFileSharing() : settings_(dir_.file("s.ini")) {
    overrideDataDirectory(dir_.path());
    testing_support::writeBytes(path(), kFile);
  }
  ~MonthFileSharing() override { overrideDataDirectory(std::string()); }
  std::string path() const { return dir_.file("200412.dat"); }
  HANDLE openElsewhere(DWORD access, DWORD share) const {
    return CreateFileW(sjisToWide(path()).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  testing_support::TempDir dir_;
  testing_support::SettingsFileOverride settings_;
  MonthGrid grid_;
};

TEST_F(MonthFileSharing, FileOpenElsewhereForReadingIsStillRead) {
  HANDLE other = openElsewhere(GENERIC_READ, FILE_SHARE_READ);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  grid_.build(2004, 12);
  grid_.load(2004, 12);
  EXPECT_EQ(grid_.monthMemo().text(), "abc");
  EXPECT_EQ(grid_.findDay(5)->memo.text(), "x");
  EXPECT_FALSE(grid_.memosIncomplete());
  CloseHandle(other);
}

TEST_F(MonthFileSharing, FileHeldForWritingIsNotOverwrittenWithoutItsMemos) {
  HANDLE other = openElsewhere(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  grid_.build(2004, 12);
  grid_.load(2004, 12);
  CloseHandle(other);
  // The memos could not be read; saving now would drop them.
  EXPECT_TRUE(grid_.memosIncomplete());
  grid_.findDay(6)->memo = MemoText::copyOf("typed meanwhile");
  EXPECT_FALSE(grid_.save(2004, 12));
  EXPECT_EQ(testing_support::readBytes(path()), kFile);
}

TEST_F(MonthFileSharing, ReplacingAFileThatIsOpenForReadingWaitsOrFailsCleanly) {
  grid_.build(2004, 12);
  grid_.load(2004, 12);
  grid_.findDay(6)->memo = MemoText::copyOf("new");
  // A reader that does not let the file be deleted or renamed over blocks
  // the replacement; the old file must then stay whole and no temporary
  // may be left behind.
  HANDLE other = openElsewhere(GENERIC_READ, FILE_SHARE_READ);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  bool saved = grid_.save(2004, 12);
  CloseHandle(other);
  std::string now = testing_support::readBytes(path());
  if (saved) {
    EXPECT_NE(now.find("__#06#__"), std::string::npos);
  } else {
    EXPECT_EQ(now, kFile);
  }
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path()));
  // Once the reader is gone the save goes through.
  EXPECT_TRUE(grid_.save(2004, 12));
  EXPECT_NE(testing_support::readBytes(path()).find("__#06#__00000000\r\nnew"), std::string::npos);
}

}  // namespace
