// The in-memory settings: defaults without a file, present keys winning,
// the floors and absolute values the store applies, and when the
// background picture is (and is not) read again.
#include <gtest/gtest.h>

#include <string>

#include "render/dib_picture.h"
#include "platform/file_io.h"
#include "render/layout.h"
#include "render/picture.h"
#include "settings/app_settings.h"
#include "test_support.h"

using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

// A 2 × 1 24-bit BMP, bottom-up: one blue and one red pixel.
std::string tinyBmp() {
  std::string file(54, '\0');
  auto put32 = [&](std::size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, 54 + 8);
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 1);
  file[26] = 1;
  file[28] = 24;
  file += std::string("\xFF\x00\x00\x00\x00\xFF\x00\x00", 8);
  return file;
}

class AppSettingsTest : public ::testing::Test {
 protected:
  AppSettingsTest() : settings_(dir_.file("app.ini")) {}
  void writeIni(const std::string& text) { writeBytes(dir_.file("app.ini"), text); }
  AppSettings loaded() {
    AppSettings s;
    s.reload(testing_support::screenDeviceContext());
    s.loadMemoDialogPlacements();
    return s;
  }
  TempDir dir_;
  SettingsFileOverride settings_;
};

TEST_F(AppSettingsTest, NoSettingsFileGivesTheDefaults) {
  AppSettings s = loaded();
  EXPECT_EQ(s.title(), 0);
  EXPECT_EQ(s.week(), 0);
  EXPECT_EQ(s.dayPos(), 0);
  EXPECT_EQ(s.displayWaku(), 0);
  EXPECT_EQ(s.displayMemo(), 0);
  EXPECT_EQ(s.wall(), 0);
  EXPECT_EQ(s.ymark(), static_cast<int>(MarkStyle::FilledBox));
  EXPECT_EQ(s.tmark(), static_cast<int>(MarkStyle::FilledBox));
  EXPECT_EQ(s.titleType(), static_cast<int>(DrawType::Normal));
  EXPECT_EQ(s.memoType(), static_cast<int>(DrawType::Normal));
  EXPECT_EQ(s.mainFontHeight(), 20);
  EXPECT_EQ(s.savePos(), 0);
  const Colour expected[kColourCount] = {0x000000, 0x0000FF, 0x000000, 0xFF0000, 0x000000,
                                         0x0000FF, 0xFFC864, 0x96FFFF, 0xC8FF64, 0x000000,
                                         0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  for (int i = 0; i < kColourCount; ++i) EXPECT_EQ(s.color(i), expected[i]) << colourKeys()[i].key;
  EXPECT_EQ(s.monthDialogSeparator(), 40);
  EXPECT_EQ(s.dayDialogPlacement().width, 0);
}

// A reload reads the file once: when that read fails, every key has its
// default; no key is read again, and the next reload sees the file.
TEST_F(AppSettingsTest, ReloadAnswersEveryKeyFromOneRead) {
  writeIni("[Sorvane]\r\nTITLE=2\r\nWEEK=1\r\nTMARK=3\r\n[COLOR]\r\nSUNDAY=16711680\r\n"
           "[MAIN_FONT]\r\nHEIGHT=-30\r\n");
  failNextReadForTests();
  AppSettings s;
  s.reload(testing_support::screenDeviceContext());
  EXPECT_FALSE(takeFailedReadForTests());
  EXPECT_EQ(s.title(), 0);
  EXPECT_EQ(s.week(), 0);
  EXPECT_EQ(s.tmark(), 0);
  EXPECT_EQ(s.color(1), 0x0000FFu);
  EXPECT_EQ(s.mainFontHeight(), 20);
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(s.title(), 2);
  EXPECT_EQ(s.week(), 1);
  EXPECT_EQ(s.tmark(), 3);
  EXPECT_EQ(s.color(1), 0xFF0000u);
  EXPECT_EQ(s.mainFontHeight(), 30);
}

TEST_F(AppSettingsTest, PresentKeysWinOverDefaults) {
  writeIni("[Sorvane]\r\nTITLE=2\r\nweek=1\r\nDAY_POS=1\r\nWALL=7\r\nYMARK=5\r\n"
           "[COLOR]\r\nSUNDAY=16711680\r\nCURSOR=0\r\n");
  AppSettings s = loaded();
  EXPECT_EQ(s.title(), 2);
  EXPECT_EQ(s.week(), 1);
  EXPECT_EQ(s.dayPos(), 1);
  EXPECT_EQ(s.wall(), 7);  // kept as read; painting treats it as plain
  EXPECT_EQ(s.ymark(), 5);
  EXPECT_EQ(s.color(kColourSunday), 16711680u);
  EXPECT_EQ(s.color(kColourCursor), 0u);  // present 0 beats the red default
  EXPECT_EQ(s.color(kColourSaturday), 0xFF0000u);
}

TEST_F(AppSettingsTest, MainFontHeightIsTheAbsoluteHeightOr20) {
  writeIni("[MAIN_FONT]\r\nHEIGHT=-24\r\n");
  EXPECT_EQ(loaded().mainFontHeight(), 24);
  writeIni("[MAIN_FONT]\r\nHEIGHT=18\r\n");
  EXPECT_EQ(loaded().mainFontHeight(), 18);
  writeIni("[MAIN_FONT]\r\nHEIGHT=0\r\n");
  EXPECT_EQ(loaded().mainFontHeight(), 20);
  writeIni("[MAIN_FONT]\r\nHEIGHT=-2147483648\r\n");
  EXPECT_GT(loaded().mainFontHeight(), 0);
}

TEST_F(AppSettingsTest, ExtremeMainFontHeightsKeepTheMemoRectangleInRange) {
  // The largest client area a window can have, and its last cell: the memo
  // rectangle's top is cellY + mainFontHeight, which must not overflow
  // (the sanitizer build stops on it) and must stay below the cell's top.
  const int client = 32767;
  GridLayout layout;
  layout.toolStripHeight = 25;
  const Rect last = cellRect(layout, client, client, kGridRows - 1, kGridColumns - 1);
  struct Case {
    const char* stored;
    int height;
  };
  for (Case c : {Case{"-2147483648", 32767}, Case{"2147483647", 32767},
                 Case{"-32768", 32767}, Case{"-32767", 32767}, Case{"32767", 32767},
                 Case{"-1", 1}}) {
    writeIni(std::string("[MAIN_FONT]\r\nHEIGHT=") + c.stored + "\r\n");
    const int height = loaded().mainFontHeight();
    EXPECT_EQ(height, c.height) << c.stored;
    const Rect memo = memoRect(last.left, last.top, last.right - last.left, last.bottom - last.top, height);
    EXPECT_EQ(memo.top - last.top, c.height) << c.stored;
    EXPECT_EQ(memo.bottom, last.bottom);
  }
}

TEST_F(AppSettingsTest, MonthDialogSeparatorHasAFloorOf40) {
  for (auto [stored, loadedAs] : {std::pair{12, 40}, {-5, 40}, {40, 40}, {41, 41}, {100, 100}}) {
    writeIni("[Sorvane]\r\nMONTHDLG_SEP=" + std::to_string(stored) + "\r\n");
    EXPECT_EQ(loaded().monthDialogSeparator(), loadedAs) << stored;
  }
}

TEST_F(AppSettingsTest, PlacementsAndModesAreNotTouchedByReload) {
  writeIni("[Sorvane]\r\nDAYDLG_X=10\r\nDAYDLG_Y=20\r\nDAYDLG_W=300\r\nDAYDLG_H=200\r\nTOP=1\r\n");
  AppSettings s;
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(s.dayDialogPlacement().width, 0);  // only the start-up loads read them
  EXPECT_EQ(s.top(), 0);
  s.loadMemoDialogPlacements();
  s.loadTopmost();
  EXPECT_EQ(s.dayDialogPlacement().x, 10);
  EXPECT_EQ(s.dayDialogPlacement().height, 200);
  EXPECT_EQ(s.top(), 1);
  // The menu changes the modes in memory with the window; a reload (after
  // OK or Apply in the settings dialog) leaves them as the window has them.
  s.setTop(0);
  s.setFrame(1);
  s.setDayDialogPlacement({1, 2, 3, 4});
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(s.top(), 0);
  EXPECT_EQ(s.frame(), 1);
  EXPECT_EQ(s.dayDialogPlacement().width, 3);
}

TEST_F(AppSettingsTest, PictureIsReadOncePerPathAndOnlyForWall2) {
  const std::string picture = dir_.file("wall.bmp");
  writeBytes(picture, tinyBmp());
  writeIni("[Sorvane]\r\nWALL=0\r\nBK_IMAGE=" + picture + "\r\n");
  AppSettings s;
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(pictureBitmap(), nullptr) << "no picture unless WALL is 2";

  writeIni("[Sorvane]\r\nWALL=2\r\nBK_IMAGE=" + picture + "\r\n");
  s.reload(testing_support::screenDeviceContext());
  ASSERT_NE(pictureBitmap(), nullptr);
  EXPECT_EQ(pictureWidth(), 2);
  EXPECT_EQ(std::string(loadedPicturePath()), picture);
  const void* first = pictureBitmap();

  // The file changes on disk, but the same path is not read again.
  writeBytes(picture, "garbage");
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(pictureBitmap(), first);

  // Switching WALL away and back keeps the picture without reading it.
  writeIni("[Sorvane]\r\nWALL=0\r\nBK_IMAGE=" + picture + "\r\n");
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(pictureBitmap(), first);

  // A path differing only in case is another path: it is read (and fails,
  // as the file now holds garbage; the old picture stays on show).
  std::string upper = picture.substr(0, picture.size() - 3) + "BMP";
  writeIni("[Sorvane]\r\nWALL=2\r\nBK_IMAGE=" + upper + "\r\n");
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(std::string(loadedPicturePath()), upper);
  EXPECT_EQ(pictureBitmap(), first);
  EXPECT_EQ(picturePalette(), nullptr);

  // A failed path is not retried, even when the file becomes good.
  writeBytes(upper, tinyBmp());
  s.reload(testing_support::screenDeviceContext());
  EXPECT_EQ(pictureBitmap(), first);
  deletePictureBitmap();
  deletePicturePalette();
}

// The era-year and rokuyo switches are off unless the main section sets
// them; a stored value is kept as it is (2 counts as on for the callers).
TEST_F(AppSettingsTest, EraYearAndRokuyoSwitches) {
  AppSettings none = loaded();
  EXPECT_EQ(none.wareki(), 0);
  EXPECT_EQ(none.rokuyo(), 0);
  writeIni("[Sorvane]\r\nWAREKI=1\r\nROKUYO=2\r\n[OTHER]\r\nWAREKI=0\r\n");
  AppSettings set = loaded();
  EXPECT_EQ(set.wareki(), 1);
  EXPECT_EQ(set.rokuyo(), 2);
  writeIni("[OTHER]\r\nWAREKI=1\r\nROKUYO=1\r\n");
  AppSettings elsewhere = loaded();
  EXPECT_EQ(elsewhere.wareki(), 0);
  EXPECT_EQ(elsewhere.rokuyo(), 0);
}

}  // namespace
