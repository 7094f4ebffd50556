// The title page: the month title's format, the caption while minimised,
// era years, and the title band with its font and style.
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kFormatRadios[3] = {1007, 1008, 1009};
constexpr int kIconedTitle = 1043;
constexpr int kWareki = 1061;
constexpr int kDisplayTitle = 1025;
constexpr int kFontButton = 1003;
// The title band is drawn for any DISPLAY_TITLE but 0.
const DisplayPageShape kShape{kDisplayTitle, SwitchReading::NotZero, {1003, 1040, 1041, 1042, 0}, kFontButton,
                              {1040, 1041, 1042}, "TITLETYPE", kTitleFontSection};

FontDescription titleFontCopy;

void onInit(HWND page) {
  checkOneOfThree(page, kFormatRadios, radioForValue(readSettingInt(kMainSection, "TITLE")));
  initDisplayPage(page, kShape, "DISPLAY_TITLE", titleFontCopy);
  showSwitch(page, kIconedTitle, "ICONED_TITLE", SwitchReading::OnlyOne);
  initOptInSwitch(page, kWareki, "WAREKI");
}

bool onCommand(HWND page, int id) {
  switch (id) {
    case kFontButton:
      chooseFont(page, titleFontCopy);
      return true;
    case kDisplayTitle:
      followDisplaySwitch(page, kShape);
      return true;
    default:
      return false;
  }
}

void save(HWND page) {
  writeSettingInt(kMainSection, "TITLE", readThreeRadios(page, kFormatRadios));
  saveSwitch(page, kDisplayTitle, "DISPLAY_TITLE", kShape.switchReading);
  saveSwitch(page, kIconedTitle, "ICONED_TITLE", SwitchReading::OnlyOne);
  saveOptInSwitch(page, kWareki, "WAREKI");
  saveDisplayPageEnd(page, kShape, titleFontCopy);
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

const SettingsPageKind kTitlePage{"ﾀｲﾄﾙ", L"IDD_ENVTITLE", procedure, save};
