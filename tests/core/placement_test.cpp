// The placement arithmetic of the main window and the one-replacement write
// of its 16 keys at close.
#include "app/placement.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_io.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace {

using testing_support::readBytes;
using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

const Rect kScreen{0, 0, 1024, 768};

Rect restoreOn(std::initializer_list<Rect> monitors, int x, int y, int width, int height) {
  return restoredWindowRect(x, y, width, height, monitors.begin(), monitors.size());
}

// The restored rectangle comes in workspace coordinates: offset by the work
// area of the window's own monitor, not the primary's.
TEST(WorkspaceToScreen, UsesTheWorkAreaOfTheWindowsOwnMonitor) {
  const Rect primary{0, 0, 1920, 1080}, primaryWork{0, 0, 1920, 1040};  // taskbar at the bottom
  const Rect second{1920, 0, 3200, 1024}, secondWork{1920, 40, 3200, 1024};  // taskbar at the top
  const Rect third{-1280, 0, 0, 1024}, thirdWork{-1220, 0, 0, 1024};       // taskbar at the left
  EXPECT_EQ(workspaceToScreen(Rect{100, 80, 400, 330}, primary, primaryWork), (Rect{100, 80, 400, 330}));
  // Saved as it is on the screen, restored there at the next start: no
  // creep of 40 pixels a run.
  EXPECT_EQ(workspaceToScreen(Rect{2000, 60, 2300, 310}, second, secondWork), (Rect{2000, 100, 2300, 350}));
  EXPECT_EQ(workspaceToScreen(Rect{-1200, 10, -900, 260}, third, thirdWork), (Rect{-1140, 10, -840, 260}));
}

TEST(RestoredWindowRect, OneScreenKeepsTheDefaultsAndTheWorkedExamples) {
  // No settings file: top-left corner, 200 × 200.
  EXPECT_EQ(restoreOn({kScreen}, 0, 0, 0, 0), (Rect{0, 0, 200, 200}));
  EXPECT_EQ(restoreOn({kScreen}, 10, 20, -5, 300), (Rect{10, 20, 210, 320}));
  // Past the right edge: pulled back so that its right edge is the screen's.
  EXPECT_EQ(restoreOn({kScreen}, 5000, 100, 300, 200).left, 724);
  EXPECT_EQ(restoreOn({kScreen}, 100, 900, 300, 200).top, 568);
  // Partly visible: stays, also at a negative X.
  EXPECT_EQ(restoreOn({kScreen}, -50, 100, 300, 200), (Rect{-50, 100, 250, 300}));
  EXPECT_EQ(restoreOn({kScreen}, 900, 700, 300, 200), (Rect{900, 700, 1200, 900}));
}

TEST(RestoredWindowRect, AWindowOnNoMonitorComesBackOntoTheNearest) {
  // Wholly left of the only screen (its monitor was unplugged): brought in.
  EXPECT_EQ(restoreOn({kScreen}, -500, 100, 300, 200), (Rect{0, 100, 300, 300}));
  EXPECT_EQ(restoreOn({kScreen}, -2000, -2000, 300, 200), (Rect{0, 0, 300, 200}));
  // Larger than the screen: its left and top edges at the screen's.
  EXPECT_EQ(restoreOn({kScreen}, 3000, 3000, 1500, 1000), (Rect{0, 0, 1500, 1000}));
  // Absurd saved values neither overflow nor get lost.
  Rect far = restoreOn({kScreen}, 2147483647, -2147483647 - 1, 2147483647, 300);
  EXPECT_GE(far.left, 0);
  EXPECT_EQ(far.top, 0);
  EXPECT_GT(far.right, far.left);
}

TEST(RestoredWindowRect, SecondMonitorsKeepTheirWindows) {
  const Rect right{1024, 0, 2944, 1080};
  const Rect left{-1280, -200, 0, 824};
  // On the monitor to the right of the primary one: kept there.
  EXPECT_EQ(restoreOn({kScreen, right}, 1500, 300, 300, 200), (Rect{1500, 300, 1800, 500}));
  // On the monitor to the left (negative X): kept.
  EXPECT_EQ(restoreOn({kScreen, left}, -900, -100, 300, 200), (Rect{-900, -100, -600, 100}));
  // That monitor unplugged: the window moves onto the primary one, size kept.
  EXPECT_EQ(restoreOn({kScreen}, 1500, 300, 300, 200), (Rect{724, 300, 1024, 500}));
  // Below the right monitor, which is nearer than the primary one.
  EXPECT_EQ(restoreOn({kScreen, right}, 2000, 1500, 300, 200), (Rect{2000, 880, 2300, 1080}));
  // No monitor known: kept as saved.
  EXPECT_EQ(restoredWindowRect(-500, 0, 100, 100, nullptr, 0), (Rect{-500, 0, -400, 100}));
}

TEST(FrameToggle, FramelessKeepsTheCalendarAreaAndFramedBuildsTheFrameAroundIt) {
  // A framed window 308 × 277 at (100, 100) with a 300 × 250 client area
  // and a frame of 4 at the sides: the calendar area (below the 25-pixel
  // strip) starts at (104, 100 + 277 − 250 − 4 + 25) = (104, 148).
  Rect framed{100, 100, 408, 377};
  Rect frameless = framelessWindowRect(framed, 300, 250, 25);
  EXPECT_EQ(frameless, (Rect{104, 148, 404, 373}));

  // Back with a frame of 4 and a caption of 19: the same window again, so
  // the calendar area keeps its place and its size.
  FrameInsets frame{4, 23, 4, 4};
  Rect back = framedWindowRect(frameless, 25, frame);
  EXPECT_EQ(back, framed);
  // However often the mode changes.
  Rect again = framedWindowRect(framelessWindowRect(back, 300, 250, 25), 25, frame);
  EXPECT_EQ(again, framed);
  // A wider frame on one side only.
  EXPECT_EQ(framedWindowRect(Rect{10, 50, 110, 150}, 25, FrameInsets{1, 30, 8, 2}), (Rect{9, -5, 118, 152}));

  // An uneven frame: its side is the truncated half of the difference.
  EXPECT_EQ(framelessWindowRect(Rect{0, 0, 311, 300}, 300, 250, 25).left, 5);
}

TEST(FrameToggle, ACalendarAreaNoTallerThanTheStripLeavesAWindowTwoPixelsHigh) {
  Rect frameless = framelessWindowRect(Rect{10, 10, 318, 64}, 300, 25, 25);
  EXPECT_EQ(frameless.bottom - frameless.top, 2);
  EXPECT_EQ(framelessWindowRect(Rect{10, 10, 318, 50}, 300, 10, 25).bottom -
                framelessWindowRect(Rect{10, 10, 318, 50}, 300, 10, 25).top,
            2);
}

TEST(SnapCorner, EachQuarterGoesToItsCornerAndTheExactCentreToBottomRight) {
  auto snap = [](int left, int top, int width, int height, const Rect& screen) {
    return snapCornerOrigin(Rect{left, top, left + width, top + height}, screen);
  };
  EXPECT_EQ(snap(100, 100, 300, 200, kScreen), (Point{0, 0}));
  EXPECT_EQ(snap(700, 100, 300, 200, kScreen), (Point{724, 0}));
  EXPECT_EQ(snap(100, 500, 300, 200, kScreen), (Point{0, 568}));
  EXPECT_EQ(snap(700, 500, 300, 200, kScreen), (Point{724, 568}));
  // Centre exactly at (512, 384): bottom right.
  EXPECT_EQ(snap(362, 284, 300, 200, kScreen), (Point{724, 568}));
  // One pixel up and left of the middle: top left.
  EXPECT_EQ(snap(361, 283, 300, 200, kScreen), (Point{0, 0}));
  // Partly off screen: the centre decides.
  EXPECT_EQ(snap(-250, -150, 300, 200, kScreen), (Point{0, 0}));
  // A monitor right of the primary one: its own corners.
  EXPECT_EQ(snap(2500, 900, 300, 200, Rect{1024, 0, 2944, 1080}), (Point{2644, 880}));
}

TEST(WindowState, MinimisedBeforeMaximised) {
  EXPECT_EQ(windowStateValue(false, false), 0);
  EXPECT_EQ(windowStateValue(true, false), 1);
  EXPECT_EQ(windowStateValue(false, true), 2);
  EXPECT_EQ(windowStateValue(true, true), 1);
}

class SavedPlacementFile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("Sorvane.ini");
  SettingsFileOverride redirect{path};

  SavedPlacement sample() const {
    SavedPlacement saved;
    saved.framedWindow = Rect{-50, 30, 250, 330};
    saved.frameless = 1;
    saved.state = 2;
    saved.dayDialog = DialogPlacement{1, 2, 3, 4};
    saved.monthDialog = DialogPlacement{5, 6, 7, 8};
    saved.monthDialogSeparator = 99;
    saved.topmost = 1;
    return saved;
  }
};

TEST_F(SavedPlacementFile, OneReplacementGivesTheBytesOfSixteenWritesInOrder) {
  // A file with other keys, some of the 16 already there in another case,
  // and a section after the main one.
  const std::string original =
      "[Sorvane]\r\nTITLE=2\r\nwidth=10\r\nTOP=0\r\n\r\n[COLOR]\r\nBACK=255\r\n";
  writeBytes(path, original);
  writeSettingInt("Sorvane", "X", -50);
  writeSettingInt("Sorvane", "Y", 30);
  writeSettingInt("Sorvane", "Width", 300);
  writeSettingInt("Sorvane", "Height", 300);
  writeSettingInt("Sorvane", "FRAME", 1);
  writeSettingInt("Sorvane", "STATE", 2);
  writeSettingInt("Sorvane", "DAYDLG_X", 1);
  writeSettingInt("Sorvane", "DAYDLG_Y", 2);
  writeSettingInt("Sorvane", "DAYDLG_W", 3);
  writeSettingInt("Sorvane", "DAYDLG_H", 4);
  writeSettingInt("Sorvane", "MONTHDLG_X", 5);
  writeSettingInt("Sorvane", "MONTHDLG_Y", 6);
  writeSettingInt("Sorvane", "MONTHDLG_W", 7);
  writeSettingInt("Sorvane", "MONTHDLG_H", 8);
  writeSettingInt("Sorvane", "MONTHDLG_SEP", 99);
  writeSettingInt("Sorvane", "TOP", 1);
  const std::string oneByOne = readBytes(path);

  writeBytes(path, original);
  writeSavedPlacement(sample());
  EXPECT_EQ(readBytes(path), oneByOne);

  // Without a file the first write creates it, with the same 16 lines.
  std::remove(path.c_str());
  writeSavedPlacement(sample());
  std::string created = readBytes(path);
  EXPECT_EQ(created.rfind("[Sorvane]\r\nX=-50\r\nY=30\r\nWidth=300\r\nHeight=300\r\nFRAME=1\r\nSTATE=2\r\n", 0), 0u)
      << created;
  EXPECT_NE(created.find("MONTHDLG_SEP=99\r\nTOP=1\r\n"), std::string::npos) << created;
}

TEST_F(SavedPlacementFile, AFailedFlushWritesNoneOfTheKeys) {
  const std::string original = "[Sorvane]\r\nX=1\r\nTOP=0\r\n";
  writeBytes(path, original);
  // Sixteen separate replacements would lose only the first to the failed
  // flush; one replacement loses all or nothing.
  failNextFlushForTests();
  writeSavedPlacement(sample());
  takeFailedFlushForTests();
  EXPECT_EQ(readBytes(path), original);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
}

TEST_F(SavedPlacementFile, AFileThatCannotBeReadIsLeftAsItIs) {
  // Larger than any settings file is read: writing would replace it with
  // the 16 keys alone.
  std::string huge = "[Sorvane]\r\nX=1\r\n";
  huge.append(17u * 1024 * 1024, ';');
  writeBytes(path, huge);
  writeSavedPlacement(sample());
  EXPECT_EQ(readBytes(path).size(), huge.size());
  EXPECT_TRUE(readBytes(path) == huge);
}

}  // namespace
