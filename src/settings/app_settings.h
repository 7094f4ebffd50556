#pragma once
// The settings that painting and the windows consult on every message, held
// in memory. AppSettings::reload fills them from the settings file at the
// main window's creation and after OK or Apply in the settings dialog; the
// setters change memory only, never the file. Values are kept as read,
// without range checks: each user decides what an odd value means.
#include <cstdint>

#include "calendar/colour.h"

// A device context of the main window, handed through to picture loading
// (an HDC on Windows; the native build has none).
using DeviceContext = void*;

enum class DrawType { Normal = 0, Shadow = 1, Outline = 2 };
enum class MarkStyle { FilledBox = 0, Box = 1, FilledCircle = 2, Circle = 3, Underline = 4, None = 5 };

// Indexes of AppSettings::color, in the order of the "COLOR" section.
enum ColourIndex {
  kColourMonth, kColourSunday, kColourNormalDay, kColourSaturday, kColourFrame, kColourCursor,
  kColourToday, kColourYotei, kColourTodayYotei, kColourMemoDefault, kColourBack,
  kColourMonthWrap, kColourWeekWrap, kColourDayWrap, kColourMemoWrap, kColourCount
};

// Key and default of each colour, in index order.
struct ColourKey {
  const char* key;
  Colour defaultValue;
};
const ColourKey* colourKeys();

struct DialogPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

constexpr int kMinMonthDialogSeparator = 40;
constexpr int kDefaultMainFontHeight = 20;
// The memo text starts mainFontHeight below a cell's top. No window is
// taller than this, so a larger value could only empty the memo rectangle;
// bounding it keeps cellY + mainFontHeight inside int for every cell.
constexpr int kMaxMainFontHeight = 32767;

// mainFontHeight for a MAIN_FONT HEIGHT: its absolute value, 20 for 0, at
// most kMaxMainFontHeight (INT_MIN included, which has no absolute value).
constexpr int mainFontHeightFor(int fontHeight) {
  if (fontHeight == 0) return kDefaultMainFontHeight;
  if (fontHeight < -kMaxMainFontHeight || fontHeight > kMaxMainFontHeight) return kMaxMainFontHeight;
  return fontHeight < 0 ? -fontHeight : fontHeight;
}
constexpr unsigned kPicturePathCapacity = 512;

class AppSettings {
 public:
  // Reads the whole record from the settings file; loads the background
  // picture for `dc` when WALL is 2 and BK_IMAGE names a new file.
  void reload(DeviceContext dc);
  void loadColors();
  // Once at start-up: the placements of the two memo dialogs.
  void loadMemoDialogPlacements();
  // Once at start-up: the topmost flag from TOP. From then on the menu
  // changes it with the window, and a reload leaves it as the window has it.
  void loadTopmost();

  int title() const { return title_; }
  void setTitle(int value) { title_ = value; }
  int displayWaku() const { return displayWaku_; }
  void setDisplayWaku(int value) { displayWaku_ = value; }
  int displayMemo() const { return displayMemo_; }
  void setDisplayMemo(int value) { displayMemo_ = value; }
  int wall() const { return wall_; }
  void setWall(int value) { wall_ = value; }
  int week() const { return week_; }
  void setWeek(int value) { week_ = value; }
  int engWeek() const { return engWeek_; }
  void setEngWeek(int value) { engWeek_ = value; }
  int dayPos() const { return dayPos_; }
  void setDayPos(int value) { dayPos_ = value; }
  int autoSize() const { return autoSize_; }
  void setAutoSize(int value) { autoSize_ = value; }
  int displayTitle() const { return displayTitle_; }
  void setDisplayTitle(int value) { displayTitle_ = value; }
  int savePos() const { return savePos_; }
  void setSavePos(int value) { savePos_ = value; }
  int top() const { return top_; }
  void setTop(int value) { top_ = value; }
  int mainFontHeight() const { return mainFontHeight_; }
  void setMainFontHeight(int value) {
    mainFontHeight_ = value < 0 ? 0 : value > kMaxMainFontHeight ? kMaxMainFontHeight : value;
  }
  int ymark() const { return ymark_; }
  void setYmark(int value) { ymark_ = value; }
  int tmark() const { return tmark_; }
  void setTmark(int value) { tmark_ = value; }
  // Index 0..14; an index outside that range reads as black and is not stored.
  Colour color(int index) const;
  void setColor(int index, Colour value);
  int iconedTitle() const { return iconedTitle_; }
  void setIconedTitle(int value) { iconedTitle_ = value; }
  int titleType() const { return titleType_; }
  void setTitleType(int value) { titleType_ = value; }
  int weekType() const { return weekType_; }
  void setWeekType(int value) { weekType_ = value; }
  int dayType() const { return dayType_; }
  void setDayType(int value) { dayType_ = value; }
  int memoType() const { return memoType_; }
  void setMemoType(int value) { memoType_ = value; }
  int taskbar() const { return taskbar_; }
  void setTaskbar(int value) { taskbar_ = value; }
  int frame() const { return frame_; }
  void setFrame(int value) { frame_ = value; }
  const DialogPlacement& dayDialogPlacement() const { return dayDialog_; }
  void setDayDialogPlacement(const DialogPlacement& value) { dayDialog_ = value; }
  const DialogPlacement& monthDialogPlacement() const { return monthDialog_; }
  void setMonthDialogPlacement(const DialogPlacement& value) { monthDialog_ = value; }
  // WAREKI: era years in the caption and title formats that write "年".
  // ROKUYO: the rokuyo beside each day number. Like the other switches,
  // any stored value but 0 (2 or more included) counts as on.
  int wareki() const { return wareki_; }
  void setWareki(int value) { wareki_ = value; }
  int rokuyo() const { return rokuyo_; }
  void setRokuyo(int value) { rokuyo_ = value; }
  int monthDialogSeparator() const { return monthDialogSeparator_; }
  void setMonthDialogSeparator(int value) { monthDialogSeparator_ = value; }

 private:
  int title_ = 0;
  int displayWaku_ = 0;
  int displayMemo_ = 0;
  int wall_ = 0;
  int week_ = 0;
  int engWeek_ = 0;
  int dayPos_ = 0;
  int autoSize_ = 0;
  int displayTitle_ = 0;
  int savePos_ = 0;
  int top_ = 0;
  int mainFontHeight_ = kDefaultMainFontHeight;
  int ymark_ = 0;
  int tmark_ = 0;
  Colour colors_[kColourCount] = {};
  int iconedTitle_ = 0;
  int titleType_ = 0;
  int weekType_ = 0;
  int dayType_ = 0;
  int memoType_ = 0;
  int taskbar_ = 0;
  int frame_ = 0;
  int wareki_ = 0;
  int rokuyo_ = 0;
  DialogPlacement dayDialog_;
  DialogPlacement monthDialog_;
  int monthDialogSeparator_ = kMinMonthDialogSeparator;
};

// The one record of the process.
AppSettings& appSettings();
