#include "e2e/memo_windows.h"

#include "e2e/desktop_input.h"
#include "e2e/sorvane_process.h"

namespace {

struct DialogSearch {
  DWORD processId;
  bool monthDialog;
  HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring(name) != L"#32770") return TRUE;
  bool isMonthDialog = GetDlgItem(window, 1031) != nullptr;
  if (isMonthDialog != search->monthDialog) return TRUE;
  search->found = window;
  return FALSE;
}

HWND findDialog(DWORD processId, bool monthDialog) {
  DialogSearch search{processId, monthDialog, nullptr};
  EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Find>
HWND waitFor(Find find, DWORD timeoutMs) {
  DWORD started = GetTickCount();
  for (;;) {
    HWND found = find();
    if (found || GetTickCount() - started >= timeoutMs) return found;
    Sleep(50);
  }
}

BOOL CALLBACK collectStatic(HWND child, LPARAM data) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (_wcsicmp(name, L"Static") == 0) {
    auto* text = reinterpret_cast<std::wstring*>(data);
    *text += windowText(child);
  }
  return TRUE;
}

void sendUnicode(wchar_t unit) {
  INPUT input[2] = {};
  for (int i = 0; i < 2; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wScan = unit;
    input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, input, sizeof input[0]);
}

}  // namespace

HWND waitForDayEditor(DWORD processId, DWORD timeoutMs) {
  return waitFor([&] { return findProcessWindow(processId, L"DayInfoClass"); }, timeoutMs);
}

HWND waitForMonthDialog(DWORD processId, DWORD timeoutMs) {
  return waitFor([&] { return findDialog(processId, true); }, timeoutMs);
}

HWND waitForMessageBox(DWORD processId, DWORD timeoutMs) {
  return waitFor([&] { return findDialog(processId, false); }, timeoutMs);
}

bool waitUntilGone(HWND window, DWORD timeoutMs) {
  DWORD started = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window) && GetTickCount() - started < timeoutMs) Sleep(50);
  return !IsWindow(window) || !IsWindowVisible(window);
}

std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"<no answer>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  text.resize(copied);
  return text;
}

std::wstring controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? windowText(control) : L"<no control>";
}

std::wstring messageBoxText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, collectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

HWND focusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void typeText(const std::wstring& text) {
  for (wchar_t unit : text) {
    if (unit == L'\n')
      pressKey(VK_RETURN);
    else
      sendUnicode(unit);
    Sleep(10);
  }
  Sleep(50);
}

void clickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT rect{};
  GetWindowRect(control, &rect);
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(dialog, &centre);
  leftClick(dialog, centre.x, centre.y);
}
