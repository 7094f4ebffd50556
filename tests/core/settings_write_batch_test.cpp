// One OK of the settings dialog: many key writes collected and the file
// replaced once, with the bytes the writes one by one would have left.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_io.h"
#include "test_support.h"

namespace {

using namespace std::string_literals;
using testing_support::readBytes;
using testing_support::setReadOnly;
using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

// A mixed sequence of the writes a dialog save makes: new keys, replaced
// keys, a hand-written key in another case, a section replaced whole and a
// new section at the end.
void saveLikeTheDialog(int round) {
  writeSettingInt("Sorvane", "TITLE", round % 3);
  writeSettingInt("Sorvane", "display_title", 1);
  writeSettingString("Sorvane", "BK_IMAGE", "C:\\画像\\表.bmp");
  writeSettingInt("COLOR", "BACK", 16777215 - round);
  writeSettingSection("HOLIDAY", "0101=元日||0\0" "0503=憲法記念日||0\0\0"s);
  writeSettingString("MAIN_FONT", "FACE", "ＭＳ ゴシック");
  writeSettingInt("MAIN_FONT", "HEIGHT", -20 - round);
  writeSettingInt("Sorvane", "TASKBAR", 0);
}

const std::string kHandWritten =
    "; kept as it is\r\n[Sorvane]\r\nDISPLAY_TITLE=0\r\nX=10\r\n\r\n[HOLIDAY]\r\n1224=古い||1\r\n\r\n[COLOR]\r\nBACK=5\r\n";

class WriteBatch : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("Sorvane.ini");
};

TEST_F(WriteBatch, GivesTheBytesOfTheSingleWrites) {
  for (bool withFile : {false, true}) {
    std::string single, batched;
    {
      SettingsFileOverride redirect(dir.file("single.ini"));
      if (withFile) writeBytes(dir.file("single.ini"), kHandWritten);
      saveLikeTheDialog(1);
      single = readBytes(dir.file("single.ini"));
    }
    {
      SettingsFileOverride redirect(path);
      if (withFile) writeBytes(path, kHandWritten);
      SettingsWriteBatch batch;
      saveLikeTheDialog(1);
      // Reads inside the batch see its writes; the file is not touched yet.
      EXPECT_EQ(readSettingInt("Sorvane", "DISPLAY_TITLE"), 1);
      EXPECT_EQ(readSettingInt("MAIN_FONT", "HEIGHT"), -21);
      EXPECT_EQ(readSettingSection("HOLIDAY"), "0101=元日||0\0" "0503=憲法記念日||0\0\0"s);
      EXPECT_EQ(testing_support::fileExists(path), withFile);
      if (withFile) {
        EXPECT_EQ(readBytes(path), kHandWritten);
      }
      EXPECT_TRUE(batch.commit());
      batched = readBytes(path);
    }
    EXPECT_EQ(batched, single) << (withFile ? "over a hand-written file" : "without a file");
    std::filesystem::remove(path);
  }
}

TEST_F(WriteBatch, UnchangedBytesLeaveTheFileAlone) {
  namespace fs = std::filesystem;
  SettingsFileOverride redirect(path);
  writeBytes(path, kHandWritten);
  saveLikeTheDialog(2);
  const std::string saved = readBytes(path);
  const fs::file_time_type old = fs::last_write_time(path) - std::chrono::hours(24);
  fs::last_write_time(path, old);
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(2);
    // A value changed and changed back counts as no change either.
    writeSettingInt("COLOR", "BACK", 1);
    writeSettingInt("COLOR", "BACK", 16777215 - 2);
    EXPECT_TRUE(batch.commit());
  }
  EXPECT_EQ(fs::last_write_time(path), old);
  EXPECT_EQ(readBytes(path), saved);
}

TEST_F(WriteBatch, WritesNothingWithoutCommitAndOutsideItsLife) {
  SettingsFileOverride redirect(path);
  writeBytes(path, kHandWritten);
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(3);
  }
  EXPECT_EQ(readBytes(path), kHandWritten);
  // After the batch, writes go straight to the file again.
  writeSettingInt("Sorvane", "X", 11);
  EXPECT_EQ(readSettingInt("Sorvane", "X"), 11);
  EXPECT_NE(readBytes(path).find("X=11\r\n"), std::string::npos);
}

TEST_F(WriteBatch, InnerBatchLeavesTheWorkToTheOuterOne) {
  SettingsFileOverride redirect(path);
  SettingsWriteBatch outer;
  {
    SettingsWriteBatch inner;
    writeSettingInt("Sorvane", "WEEK", 1);
    EXPECT_TRUE(inner.commit());
  }
  EXPECT_FALSE(testing_support::fileExists(path));
  EXPECT_EQ(readSettingInt("Sorvane", "WEEK"), 1);
  EXPECT_TRUE(outer.commit());
  EXPECT_EQ(readBytes(path), "[Sorvane]\r\nWEEK=1\r\n");
}

TEST_F(WriteBatch, FailuresLeaveTheOldFileWhole) {
  SettingsFileOverride redirect(path);
  // A read-only file: the replacement is refused.
  writeBytes(path, kHandWritten);
  setReadOnly(path, true);
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(4);
    EXPECT_FALSE(batch.commit());
  }
  EXPECT_EQ(readBytes(path), kHandWritten);
  setReadOnly(path, false);

  // A flush that fails half way.
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(4);
    truncateNextWriteForTests(7);
    EXPECT_FALSE(batch.commit());
  }
  EXPECT_EQ(readBytes(path), kHandWritten);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
}

TEST_F(WriteBatch, FileThatCannotBeReadIsNeverReplaced) {
  // Something is there but it is not a file that can be read: a batch built
  // from nothing must not take its place.
  std::filesystem::create_directory(path);
  SettingsFileOverride redirect(path);
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(5);
    EXPECT_FALSE(batch.commit());
  }
  EXPECT_TRUE(std::filesystem::is_directory(path));

  // A file too large to be a settings file is left byte for byte.
  std::filesystem::remove(path);
  const std::string huge = "[Sorvane]\r\n" + std::string(16 * 1024 * 1024, 'x');
  writeBytes(path, huge);
  {
    SettingsWriteBatch batch;
    saveLikeTheDialog(5);
    EXPECT_FALSE(batch.commit());
  }
  EXPECT_EQ(readBytes(path), huge);
}

}  // namespace
