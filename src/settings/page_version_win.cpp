// The version page: the icon, the name and version, and a button that
// opens the project's page in the browser.
#include <windows.h>

#include "platform/common_controls_win.h"
#include "settings/settings_page_win.h"

namespace {

constexpr int kProjectPageButton = 1053;
constexpr wchar_t kProjectPage[] = L"https://github.com/sorvane/sorvane/blob/main/README.md";

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != kProjectPageButton) return FALSE;
      openWithShell(page, kProjectPage);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kVersionPage{"ﾊﾞｰｼﾞｮﾝ", L"IDD_ENVVERSION", procedure, nullptr};
