// The memo page: memo texts in the cells, with their font and style.
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"

namespace {

constexpr int kDisplayMemo = 1013;
constexpr int kFontButton = 1037;
const DisplayPageShape kShape{kDisplayMemo, {1037, 1050, 1051, 1052, 0}, kFontButton, {1050, 1051, 1052},
                              "MEMOTYPE", kMemoFontSection, FontRole::Memo};

FontDescription memoFontCopy;

bool onCommand(HWND page, int id) {
  switch (id) {
    case kDisplayMemo:
      followDisplaySwitch(page, kShape);
      return true;
    case kFontButton:
      chooseFont(page, memoFontCopy);
      return true;
    default:
      return false;
  }
}

void save(HWND page) {
  writeSettingInt(kMainSection, "DISPLAY_MEMO", isChecked(page, kDisplayMemo) ? 1 : 0);
  saveDisplayPageEnd(page, kShape, memoFontCopy);
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      initDisplayPage(page, kShape, "DISPLAY_MEMO", memoFontCopy);
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(page, LOWORD(wParam)));
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kMemoPage{"ﾒﾓ", L"IDD_ENVMEMO", procedure, save};
