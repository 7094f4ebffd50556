// The memo page: memo texts in the cells, with their font and style.
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"

namespace {

constexpr int kDisplayMemo = 1013;
constexpr int kFontButton = 1037;
// Memo text is drawn only for DISPLAY_MEMO 1.
const DisplayPageShape kShape{kDisplayMemo, SwitchReading::OnlyOne, {1037, 1050, 1051, 1052, 0}, kFontButton,
                              {1050, 1051, 1052}, "MEMOTYPE", kMemoFontSection};

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
  saveSwitch(page, kDisplayMemo, "DISPLAY_MEMO", kShape.switchReading);
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
