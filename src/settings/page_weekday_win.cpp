// The weekday page: the row of weekday names, English or Japanese, with
// its font and style.
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kWeek = 1005;
constexpr int kEnglish = 1004;
constexpr int kFontButton = 1006;
// The weekday row is drawn for any WEEK but 0.
const DisplayPageShape kShape{kWeek, SwitchReading::NotZero, {1004, 1006, 1044, 1045, 1046}, kFontButton,
                              {1044, 1045, 1046}, "WEEKTYPE", kWeekFontSection};

FontDescription weekFontCopy;

void onInit(HWND page) {
  initDisplayPage(page, kShape, "WEEK", weekFontCopy);
  showSwitch(page, kEnglish, "ENG_WEEK", SwitchReading::OnlyOne);
}

// Turning the row back on shows the style stored in the file again: a
// style chosen before the row was turned off is dropped.
void onWeekSwitch(HWND page) {
  followDisplaySwitch(page, kShape);
  if (IsDlgButtonChecked(page, kWeek) == BST_CHECKED)
    checkOneOfThree(page, kShape.radios, radioForValue(readSettingInt(kMainSection, kShape.typeKey)));
}

bool onCommand(HWND page, int id) {
  switch (id) {
    case kFontButton:
      chooseFont(page, weekFontCopy);
      return true;
    case kWeek:
      onWeekSwitch(page);
      return true;
    default:
      return false;
  }
}

void save(HWND page) {
  saveSwitch(page, kWeek, "WEEK", kShape.switchReading);
  saveSwitch(page, kEnglish, "ENG_WEEK", SwitchReading::OnlyOne);
  saveDisplayPageEnd(page, kShape, weekFontCopy);
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      onInit(page);
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(page, LOWORD(wParam)));
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kWeekdayPage{"曜日", L"IDD_ENVYOUBI", procedure, save};
