#include "settings/settings_pages.h"

#include "platform/sjis.h"
#include "settings/app_settings.h"

int valueOfRadioGroup(bool firstChecked, bool secondChecked) {
  if (firstChecked) return 0;
  if (secondChecked) return 1;
  return 2;
}

int radioForValue(int value) { return value == 1 || value == 2 ? value : 0; }

bool switchIsOn(int stored, SwitchReading reading) {
  return reading == SwitchReading::NotZero ? stored != 0 : stored == 1;
}

int switchValueToSave(int stored, SwitchReading reading, bool checked) {
  if (switchIsOn(stored, reading) == checked) return stored;
  return checked ? 1 : 0;
}
bool optInSwitchNeedsWrite(int stored, bool checked) { return (stored != 0) != checked; }

int markListItemFor(int value) { return value >= 0 && value < kMarkStyleCount ? value : -1; }

const char* markStyleText(int index) {
  static const char* const texts[kMarkStyleCount] = {"■", "□", "●", "○", "＿", "なし"};
  return index >= 0 && index < kMarkStyleCount ? texts[index] : "";
}

std::string_view sjisDirectoryPart(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += sjisCharLength(path, i))
    if (path[i] == '\\') last = i;
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

const char* colourListText(int index) {
  static const char* const texts[kColourCount] = {
      "月名の色",   "日曜日の色",     "平日の色",         "土曜日の色",          "日付枠の色",
      "カーソルの色", "今日の色",       "予定がある日の色", "今日で予定がある時の色", "メモの標準色",
      "背景の色",   "月名の縁取り色", "曜日の縁取り色",   "日付の縁取り色",      "メモの縁取り色"};
  return index >= 0 && index < kColourCount ? texts[index] : "";
}
