// The date page: where the day number stands in its cell, its font and
// style, the two marks, the cell frames and the rokuyo beside the number.
// It has no display switch.
#include <cstdlib>

#include "platform/text_convert.h"
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kPositionRadios[3] = {1021, 1022, 1023};
constexpr int kFontButton = 1038;
constexpr int kMemoMarkList = 1035;
constexpr int kTodayMarkList = 1036;
constexpr int kFrames = 1001;
constexpr int kRokuyo = 1060;
const DisplayPageShape kShape{0, SwitchReading::OnlyOne, {0}, kFontButton, {1047, 1048, 1049}, "DAYTYPE",
                              kMainFontSection};

FontDescription mainFontCopy;

void fillMarkList(HWND page, int id, int stored) {
  for (int i = 0; i < kMarkStyleCount; ++i)
    SendDlgItemMessageW(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sjisToWide(markStyleText(i)).c_str()));
  SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(markListItemFor(stored)), 0);
}

int markListSelection(HWND page, int id) {
  LRESULT selected = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void onInit(HWND page) {
  showSwitch(page, kFrames, "DISPLAY_WAKU", SwitchReading::OnlyOne);
  checkOneOfThree(page, kPositionRadios, radioForValue(readSettingInt(kMainSection, "DAY_POS")));
  initDisplayPage(page, kShape, nullptr, mainFontCopy);
  fillMarkList(page, kMemoMarkList, readSettingInt(kMainSection, "YMARK"));
  fillMarkList(page, kTodayMarkList, readSettingInt(kMainSection, "TMARK"));
  initOptInSwitch(page, kRokuyo, "ROKUYO");
}

bool onCommand(HWND page, int id) {
  if (id != kFontButton) return false;
  chooseFont(page, mainFontCopy);
  return true;
}

void save(HWND page) {
  saveSwitch(page, kFrames, "DISPLAY_WAKU", SwitchReading::OnlyOne);
  // Centre and right are asked first: with no button checked it is left.
  int position = isChecked(page, kPositionRadios[1]) ? 1 : isChecked(page, kPositionRadios[2]) ? 2 : 0;
  writeSettingInt(kMainSection, "DAY_POS", position);
  writeSettingInt(kMainSection, "YMARK", markListSelection(page, kMemoMarkList));
  writeSettingInt(kMainSection, "TMARK", markListSelection(page, kTodayMarkList));
  // mainFontHeight follows with the reload after the save.
  saveOptInSwitch(page, kRokuyo, "ROKUYO");
  saveDisplayPageEnd(page, kShape, mainFontCopy);
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

const SettingsPageKind kDatePage{"日付", L"IDD_ENVHIDUKE", procedure, save};
