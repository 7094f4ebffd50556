// The other page: whether the window's place is saved at exit.
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"

namespace {

constexpr int kSavePosition = 1012;

void save(HWND page) {
  saveSwitch(page, kSavePosition, "SAVE_POS", SwitchReading::NotZero);
  // Nothing depends on TASKBAR any more; every save sets it to 0.
  writeSettingInt(kMainSection, "TASKBAR", 0);
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // The placement is saved at exit for any SAVE_POS but 0.
      showSwitch(page, kSavePosition, "SAVE_POS", SwitchReading::NotZero);
      return TRUE;
    case WM_COMMAND:
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kOtherPage{"その他", L"IDD_ENVOTHER", procedure, save};
