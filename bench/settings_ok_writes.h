#pragma once
// The writes of one OK (or Apply) of the settings dialog, key for key in
// the pages' order, with the values the pages would hold: the main
// section's display keys, the four font sections, the fifteen colours and
// the holiday section. `round` varies the values so that a run can write
// changed or unchanged bytes.
#include <string>

#include "render/font_description.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"

inline void writeSettingsDialogKeys(int round) {
  const char* main = "Sorvane";
  FontDescription font;
  font.height = -20 - round % 2;
  writeSettingInt(main, "TITLE", round % 3);
  writeSettingInt(main, "DISPLAY_TITLE", 1);
  writeSettingInt(main, "ICONED_TITLE", 0);
  writeSettingInt(main, "TITLETYPE", 2);
  writeFontSection(font, kTitleFontSection);
  writeSettingInt(main, "WEEK", 1);
  writeSettingInt(main, "ENG_WEEK", 0);
  writeSettingInt(main, "WEEKTYPE", 1);
  writeFontSection(font, kWeekFontSection);
  writeSettingInt(main, "DISPLAY_WAKU", 1);
  writeSettingInt(main, "DAY_POS", 0);
  writeSettingInt(main, "YMARK", 0);
  writeSettingInt(main, "TMARK", 2);
  writeSettingInt(main, "DAYTYPE", 0);
  writeFontSection(font, kMainFontSection);
  writeSettingInt(main, "DISPLAY_MEMO", 1);
  writeSettingInt(main, "MEMOTYPE", 0);
  writeFontSection(font, kMemoFontSection);
  writeSettingInt(main, "WALL", 0);
  writeSettingInt(main, "AUTO_SIZE", 0);
  writeSettingString(main, "BK_IMAGE", "C:\\画像\\壁紙.bmp");
  std::string holidays;
  const char* days[] = {"0101", "0211", "0223", "0429", "0503", "0504", "0505",
                        "0811", "1103", "1123", "1224", "1225", "0714", "0320"};
  for (const char* day : days) holidays += std::string(day) + "=祝日の名前||0" + '\0';
  holidays += '\0';
  writeSettingSection("HOLIDAY", holidays);
  for (int i = 0; i < kColourCount; ++i)
    writeSettingInt("COLOR", colourKeys()[i].key, static_cast<int>(colourKeys()[i].defaultValue) - round % 2);
  writeSettingInt(main, "SAVE_POS", 1);
  writeSettingInt(main, "TASKBAR", 0);
}

// One OK as the dialog runs it: the writes in one batch, the file replaced
// once, the settings read back.
inline bool settingsDialogOk(int round) {
  SettingsWriteBatch batch;
  writeSettingsDialogKeys(round);
  bool written = batch.commit();
  appSettings().reload(nullptr);
  return written;
}
