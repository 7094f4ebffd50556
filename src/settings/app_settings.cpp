#include "settings/app_settings.h"

#include <cstdlib>
#include <cstring>

#include "render/picture.h"
#include "settings/settings_file.h"

namespace {

constexpr char kMain[] = "Sorvane";

const ColourKey kColourKeys[kColourCount] = {
    {"MONTH", 0x00000000},      {"SUNDAY", 0x000000FF},    {"NORMALDAY", 0x00000000},
    {"SATURDAY", 0x00FF0000},   {"FRAME", 0x00000000},     {"CURSOR", 0x000000FF},
    {"TODAY", 0x00FFC864},      {"YOTEI", 0x0096FFFF},     {"TODAYYOTEI", 0x00C8FF64},
    {"MEMODEF", 0x00000000},    {"BACK", 0x00FFFFFF},      {"MONTH_WRAP", 0x00FFFFFF},
    {"WEEK_WRAP", 0x00FFFFFF},  {"DAY_WRAP", 0x00FFFFFF},  {"MEMO_WRAP", 0x00FFFFFF},
};

int readMain(const char* key) { return readSettingInt(kMain, key, 0); }

DialogPlacement readPlacement(const char* x, const char* y, const char* width, const char* height) {
  return DialogPlacement{readMain(x), readMain(y), readMain(width), readMain(height)};
}

}  // namespace

const ColourKey* colourKeys() { return kColourKeys; }

AppSettings& appSettings() {
  static AppSettings settings;
  return settings;
}

Colour AppSettings::color(int index) const {
  return index >= 0 && index < kColourCount ? colors_[index] : 0;
}

void AppSettings::setColor(int index, Colour value) {
  if (index >= 0 && index < kColourCount) colors_[index] = value;
}

void AppSettings::loadColors() {
  for (int i = 0; i < kColourCount; ++i)
    colors_[i] = static_cast<Colour>(
        readSettingInt("COLOR", kColourKeys[i].key, static_cast<int>(kColourKeys[i].defaultValue)));
}

// The order matters: the picture is loaded as soon as WALL is known. The
// modes the menu sets (topmost, frameless) are the window's, not read here:
// the settings dialog never writes them, and reading them back would leave
// the flag saying otherwise than the window does.
void AppSettings::reload(DeviceContext dc) {
  SettingsReadScope reading;  // some forty keys, one read of the file
  title_ = readMain("TITLE");
  displayWaku_ = readMain("DISPLAY_WAKU");
  displayMemo_ = readMain("DISPLAY_MEMO");
  wall_ = readMain("WALL");
  week_ = readMain("WEEK");
  engWeek_ = readMain("ENG_WEEK");
  dayPos_ = readMain("DAY_POS");

  if (wall_ == 2) {
    char path[kPicturePathCapacity];
    readSettingString(kMain, "BK_IMAGE", path, sizeof path);
    // Byte for byte: a path that differs only in case is another file to us.
    if (std::strcmp(path, loadedPicturePath()) != 0) loadPicture(path, dc);
  }

  autoSize_ = readMain("AUTO_SIZE");
  displayTitle_ = readMain("DISPLAY_TITLE");
  savePos_ = readMain("SAVE_POS");

  int height = readSettingInt("MAIN_FONT", "HEIGHT", 0);
  mainFontHeight_ = mainFontHeightFor(height);

  ymark_ = readMain("YMARK");
  tmark_ = readMain("TMARK");
  loadColors();
  iconedTitle_ = readMain("ICONED_TITLE");
  titleType_ = readMain("TITLETYPE");
  weekType_ = readMain("WEEKTYPE");
  dayType_ = readMain("DAYTYPE");
  memoType_ = readMain("MEMOTYPE");
  taskbar_ = readMain("TASKBAR");
  wareki_ = readMain("WAREKI");
  rokuyo_ = readMain("ROKUYO");
}

void AppSettings::loadMemoDialogPlacements() {
  dayDialog_ = readPlacement("DAYDLG_X", "DAYDLG_Y", "DAYDLG_W", "DAYDLG_H");
  monthDialog_ = readPlacement("MONTHDLG_X", "MONTHDLG_Y", "MONTHDLG_W", "MONTHDLG_H");
  monthDialogSeparator_ = readMain("MONTHDLG_SEP");
  if (monthDialogSeparator_ < kMinMonthDialogSeparator) monthDialogSeparator_ = kMinMonthDialogSeparator;
}

void AppSettings::loadTopmost() { top_ = readMain("TOP"); }
