// The settings file operations through real files in a temporary directory.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "platform/file_io.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/text_convert.h"
#endif

namespace {

using namespace std::string_literals;
using testing_support::fileExists;
using testing_support::listDirectory;
using testing_support::readBytes;
using testing_support::setReadOnly;
using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

class SettingsFile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("Sorvane.ini");
  SettingsFileOverride redirect{path};

  std::string readString(const char* section, const char* key, std::size_t capacity) {
    char buffer[1024];
    std::size_t length = readSettingString(section, key, buffer, capacity);
    EXPECT_EQ(buffer[length], '\0');
    return std::string(buffer, length);
  }
};

TEST(SettingsFilePath, LastThreeCharactersBecomeIni) {
  std::string exe = executablePath();
  ASSERT_GE(exe.size(), 3u);
  EXPECT_EQ(settingsFilePath(), exe.substr(0, exe.size() - 3) + "ini");
}

TEST(SettingsFilePath, OverrideRedirectsAndEmptyRestores) {
  std::string normal = settingsFilePath();
  {
    SettingsFileOverride redirect("elsewhere.ini");
    EXPECT_EQ(settingsFilePath(), "elsewhere.ini");
  }
  EXPECT_EQ(settingsFilePath(), normal);
}

TEST_F(SettingsFile, MissingFileGivesDefaults) {
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 0);
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 42), 42);
  EXPECT_EQ(readString("Sorvane", "DATADIR", 1024), "");
  char buffer[16];
  readSettingString("MAIN_FONT", "FACE", buffer, sizeof buffer, "MS Gothic");
  EXPECT_STREQ(buffer, "MS Gothic");
  EXPECT_EQ(readSettingSection("HOLIDAY"), "\0"s);
  EXPECT_FALSE(fileExists(path));
}

TEST_F(SettingsFile, FirstWriteCreatesTheFile) {
  writeSettingInt("Sorvane", "SAVE_POS", 1);
  EXPECT_EQ(readBytes(path), "[Sorvane]\r\nSAVE_POS=1\r\n");
  writeSettingString("Sorvane", "DATADIR", "C:\\表示\\data");
  EXPECT_EQ(readBytes(path), "[Sorvane]\r\nSAVE_POS=1\r\nDATADIR=C:\\表示\\data\r\n");
  EXPECT_EQ(readString("Sorvane", "DATADIR", 1024), "C:\\表示\\data");
}

TEST_F(SettingsFile, IntegersRoundTripAsDecimalText) {
  const int values[] = {0, -20, 16762980, INT_MAX, INT_MIN};
  for (int value : values) {
    writeSettingInt("COLOR", "BACK", value);
    EXPECT_EQ(readSettingInt("COLOR", "BACK", 1), value);
  }
  EXPECT_EQ(readBytes(path), "[COLOR]\r\nBACK=-2147483648\r\n");
}

TEST_F(SettingsFile, HandWrittenKeyInOtherCaseIsFoundAndKeepsItsSpelling) {
  writeBytes(path, "; my settings\r\n[sorvane]\r\ndisplay_title = 1\r\n");
  EXPECT_EQ(readSettingInt("Sorvane", "DISPLAY_TITLE"), 1);
  writeSettingInt("Sorvane", "DISPLAY_TITLE", 0);
  EXPECT_EQ(readBytes(path), "; my settings\r\n[sorvane]\r\ndisplay_title =0\r\n");
}

TEST_F(SettingsFile, StringIsCutToCapacityWithoutSplittingADoubleByteCharacter) {
  writeSettingString("Sorvane", "BK_IMAGE", "ab表示");  // 61 62 95 5C 8E A6
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 4), "ab");
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 5), "ab表");
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 6), "ab表");
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 7), "ab表示");
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 1), "");
}

TEST_F(SettingsFile, LongStringIsCutTo1023Bytes) {
  writeSettingString("Sorvane", "BK_IMAGE", std::string(3000, 'p').c_str());
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 1024), std::string(1023, 'p'));
  EXPECT_EQ(readString("Sorvane", "BK_IMAGE", 512), std::string(511, 'p'));
}

TEST_F(SettingsFile, IdenticalWriteLeavesTheFileAlone) {
  namespace fs = std::filesystem;
  writeSettingInt("Sorvane", "DAY_POS", 3);
  const std::string before = readBytes(path);
  const fs::file_time_type old = fs::last_write_time(path) - std::chrono::hours(24);
  fs::last_write_time(path, old);
  writeSettingInt("Sorvane", "DAY_POS", 3);
  writeSettingSection("HOLIDAY", "0101=元日||0\0\0"s);
  writeSettingSection("HOLIDAY", "0101=元日||0\0\0"s);
  const std::string withSection = readBytes(path);
  EXPECT_EQ(withSection, before + "[HOLIDAY]\r\n0101=元日||0\r\n");
  fs::last_write_time(path, old);
  writeSettingInt("Sorvane", "day_pos", 3);
  writeSettingSection("holiday", "0101=元日||0\0\0"s);
  writeSettingSection("Missing", "");
  EXPECT_EQ(fs::last_write_time(path), old);
  EXPECT_EQ(readBytes(path), withSection);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
  EXPECT_EQ(listDirectory(dir.path()).size(), 1u);
}

TEST_F(SettingsFile, ReadOnlyFileIsNotWritten) {
  const std::string original = "[Sorvane]\r\nDAY_POS=3\r\n";
  writeBytes(path, original);
  setReadOnly(path, true);
  writeSettingInt("Sorvane", "DAY_POS", 4);
  writeSettingString("Other", "K", "v");
  writeSettingSection("HOLIDAY", "0101=元日||0\0\0"s);
  EXPECT_EQ(readBytes(path), original);
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 3);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFile) {
  const std::string original = "[Sorvane]\r\nDAY_POS=3\r\n";
  writeBytes(path, original);
  truncateNextWriteForTests(5);
  writeSettingInt("Sorvane", "DAY_POS", 4);
  EXPECT_EQ(readBytes(path), original);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
}

TEST_F(SettingsFile, ReadSeesTheLastWrite) {
  for (int value = 0; value < 20; ++value) {
    writeSettingInt("Sorvane", "MEMO_WRAP", value);
    EXPECT_EQ(readSettingInt("Sorvane", "MEMO_WRAP"), value);
  }
}

TEST_F(SettingsFile, HolidaySectionIsReplacedWhole) {
  writeBytes(path, "[Sorvane]\r\nDAY_POS=3\r\n[HOLIDAY]\r\n0101=古い||0\r\n0505=x||1\r\n\r\n[COLOR]\r\nBACK=1\r\n");
  EXPECT_EQ(readSettingSection("HOLIDAY"), "0101=古い||0\0" "0505=x||1\0\0"s);
  writeSettingSection("HOLIDAY", "0101=元日||0\0" "0211=建国記念の日||0\0\0"s);
  EXPECT_EQ(readBytes(path),
            "[Sorvane]\r\nDAY_POS=3\r\n[HOLIDAY]\r\n0101=元日||0\r\n0211=建国記念の日||0\r\n\r\n"
            "[COLOR]\r\nBACK=1\r\n");
  EXPECT_EQ(readSettingSection("holiday"), "0101=元日||0\0" "0211=建国記念の日||0\0\0"s);
}

TEST_F(SettingsFile, EmptyFileIsReadAsEmptyAndWrittenLikeANewOne) {
  writeBytes(path, "");
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 5), 5);
  writeSettingInt("Sorvane", "DAY_POS", 2);
  EXPECT_EQ(readBytes(path), "[Sorvane]\r\nDAY_POS=2\r\n");
}

// A settings file that is there but cannot be read: reads give the
// defaults, as for a missing file, and no write may touch it, since editing
// the empty text we got would replace every other setting with nothing.
class UnreadableSettingsFile : public SettingsFile {
 protected:
  const std::string original = "[Sorvane]\r\nDAY_POS=3\r\n[HOLIDAY]\r\n0101=元日||0\r\n";

  void expectNoWriteGetsThrough() {
    EXPECT_FALSE(writeSettingInt("Sorvane", "DAY_POS", 4));
    EXPECT_FALSE(writeSettingString("Other", "K", "v"));
    EXPECT_FALSE(writeSettingSection("HOLIDAY", "0505=x||1\0\0"s));
    EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
  }
};

TEST_F(UnreadableSettingsFile, ReadErrorGivesDefaultsAndWritesNothing) {
  writeBytes(path, original);
  failNextReadForTests();
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
  EXPECT_FALSE(takeFailedReadForTests());  // the read did meet the failure
  failNextReadForTests();
  EXPECT_FALSE(writeSettingInt("Sorvane", "DAY_POS", 4));
  EXPECT_FALSE(takeFailedReadForTests());
  EXPECT_EQ(readBytes(path), original);
  // The fault was passing: the next write goes through and keeps the rest.
  EXPECT_TRUE(writeSettingInt("Sorvane", "DAY_POS", 4));
  EXPECT_EQ(readBytes(path), "[Sorvane]\r\nDAY_POS=4\r\n[HOLIDAY]\r\n0101=元日||0\r\n");
}

TEST_F(UnreadableSettingsFile, FolderOfThatNameGivesDefaultsAndIsLeftAlone) {
  std::filesystem::create_directory(path);
  writeBytes(dir.file("Sorvane.ini") + "/inside", "x");
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
  EXPECT_EQ(readSettingSection("HOLIDAY"), "\0"s);
  expectNoWriteGetsThrough();
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(readBytes(dir.file("Sorvane.ini") + "/inside"), "x");
}

TEST_F(UnreadableSettingsFile, FileOverTheSizeCapGivesDefaultsAndIsLeftAlone) {
  // Well-formed settings, then a comment that takes the file past 16 MB.
  const std::string big = original + ";" + std::string(16 * 1024 * 1024, 'z') + "\r\n";
  writeBytes(path, big);
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
  expectNoWriteGetsThrough();
  EXPECT_TRUE(readBytes(path) == big);  // not EXPECT_EQ: no 16 MB diff on failure
}

#ifdef _WIN32
TEST_F(UnreadableSettingsFile, FileHeldWithoutReadSharingGivesDefaultsAndIsLeftAlone) {
  // Another program's handle that lets nobody read: one that shares nothing,
  // and one that lets the file be deleted or renamed (as sync tools and
  // some editors do), which would let a replacement through.
  for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_DELETE}}) {
    SCOPED_TRACE(share);
    writeBytes(path, original);
    HANDLE other = CreateFileW(sjisToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
    {
      SettingsReadScope operation;
      EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
      EXPECT_FALSE(writeSettingInt("Sorvane", "DAY_POS", 4));
      EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 9);
    }
    expectNoWriteGetsThrough();
    CloseHandle(other);
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS", 9), 3);
  }
}
#endif

// One operation, one read of the file: inside a scope a change made by hand
// is not seen; a write made in the scope is; after the scope everything is
// read afresh.
TEST_F(SettingsFile, ScopeAnswersFromOneReadAndSeesItsOwnWrites) {
  writeBytes(path, "[Sorvane]\r\nDAY_POS=1\r\n");
  {
    SettingsReadScope operation;
    EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 1);
    writeBytes(path, "[Sorvane]\r\nDAY_POS=2\r\nTITLE=2\r\n");
    {
      SettingsReadScope nested;
      EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 1);
    }
    EXPECT_EQ(readSettingInt("Sorvane", "TITLE", 7), 7);
    // The write works on the file as it is now, not on the held text.
    EXPECT_TRUE(writeSettingInt("Sorvane", "WALL", 1));
    EXPECT_EQ(readSettingInt("Sorvane", "WALL"), 1);
    EXPECT_EQ(readSettingInt("Sorvane", "TITLE"), 2);
    EXPECT_EQ(readBytes(path), "[Sorvane]\r\nDAY_POS=2\r\nTITLE=2\r\nWALL=1\r\n");
    writeBytes(path, "[Sorvane]\r\nDAY_POS=5\r\n");
    EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 2);
  }
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 5);
  EXPECT_EQ(readSettingInt("Sorvane", "WALL", 7), 7);
}

TEST_F(SettingsFile, ScopeFollowsThePathAndAFailedReplacement) {
  writeBytes(path, "[Sorvane]\r\nDAY_POS=1\r\n");
  const std::string other = dir.file("other.ini");
  writeBytes(other, "[Sorvane]\r\nDAY_POS=8\r\n");
  SettingsReadScope operation;
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 1);
  overrideSettingsFilePath(other);
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 8);
  overrideSettingsFilePath(path);
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 1);
  // A replacement that fails leaves the old value for the reads after it.
  truncateNextWriteForTests(3);
  EXPECT_FALSE(writeSettingInt("Sorvane", "DAY_POS", 4));
  EXPECT_EQ(readSettingInt("Sorvane", "DAY_POS"), 1);
}

}  // namespace

namespace {

TEST(SettingsFileInt, EmptyValueGivesTheDefault) {
  testing_support::TempDir dir;
  testing_support::SettingsFileOverride settings(dir.file("s.ini"));
  testing_support::writeBytes(dir.file("s.ini"), "[S]\r\nEMPTY=\r\nBLANK=  \r\nZERO=0\r\nTEXT=abc\r\n");
  EXPECT_EQ(readSettingInt("S", "EMPTY", 7), 7);
  EXPECT_EQ(readSettingInt("S", "BLANK", 7), 7);
  EXPECT_EQ(readSettingInt("S", "ZERO", 7), 0);
  EXPECT_EQ(readSettingInt("S", "TEXT", 7), 0);
  EXPECT_EQ(readSettingInt("S", "MISSING", 7), 7);
}

}  // namespace
