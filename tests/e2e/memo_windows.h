#pragma once
// The calendar's memo windows seen from the driver: the day memo editor
// ("DayInfoClass"), the month memo dialog and the message boxes captioned
// "Sorvane", found among the windows of the program's process, their texts
// read with WM_GETTEXT, and Unicode typing through SendInput.
#include <windows.h>

#include <string>

// Waits for a visible window of the process: the day memo editor, the
// month memo dialog (a dialog with the edit 1031), a message box (a dialog
// without it). Null when none appears in time.
HWND waitForDayEditor(DWORD processId, DWORD timeoutMs = 3000);
HWND waitForMonthDialog(DWORD processId, DWORD timeoutMs = 3000);
HWND waitForMessageBox(DWORD processId, DWORD timeoutMs = 3000);
// Waits until the window is gone; false when it is still there.
bool waitUntilGone(HWND window, DWORD timeoutMs = 3000);

std::wstring windowText(HWND window);
std::wstring controlText(HWND dialog, int id);
// The texts of a message box's static controls, joined.
std::wstring messageBoxText(HWND box);
// The control that has the keyboard focus in the window's thread.
HWND focusedControl(HWND window);

// Types the text as Unicode key events; "\n" is typed as the Enter key.
void typeText(const std::wstring& text);
// Clicks the centre of a dialog's control.
void clickControl(HWND dialog, int id);
