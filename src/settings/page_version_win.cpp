// The version page: the icon, the name of the running program's file and
// the version, and a button that opens the read-me beside the program.
#include <windows.h>

#include <string>

#include "platform/common_controls_win.h"
#include "settings/settings_page_win.h"

namespace {

constexpr int kReadMeButton = 1053;
constexpr int kProgramName = 1054;

// The running executable's full path, empty when it cannot be had.
std::wstring programPath() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  return std::wstring(buffer, n);
}

// The read-me the release zip puts beside the program, or empty when there
// is none (a build run from its own folder).
std::wstring readMePath() {
  std::wstring path = programPath();
  std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return std::wstring();
  path.resize(separator + 1);
  path += L"README.txt";
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
  return path;
}

// The name the program was started as: a renamed copy names itself.
void onInitPage(HWND page) {
  std::wstring path = programPath();
  std::size_t separator = path.find_last_of(L"\\/");
  if (separator != std::wstring::npos) {
    std::wstring text = L"Sorvane (" + path.substr(separator + 1) + L")";
    SetDlgItemTextW(page, kProgramName, text.c_str());
  }
  EnableWindow(GetDlgItem(page, kReadMeButton), !readMePath().empty());
}

void openReadMe(HWND page) {
  std::wstring path = readMePath();
  if (!path.empty()) openWithShell(page, path.c_str());
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      onInitPage(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != kReadMeButton) return FALSE;
      openReadMe(page);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kVersionPage{"ﾊﾞｰｼﾞｮﾝ", L"IDD_ENVVERSION", procedure, nullptr};
