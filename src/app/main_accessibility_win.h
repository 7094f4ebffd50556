#pragma once
// The main window's part in accessibility: its object, answered to
// WM_GETOBJECT, the WinEvents a screen reader listens for, the context
// menu from the keyboard, and the repaint when the system's colours or
// its high-contrast mode change.
#include <windows.h>

// Handles what the main window does for accessibility: WM_GETOBJECT for the
// client area, WM_CONTEXTMENU from the keyboard (Shift+F10, the menu key),
// WM_SETTINGCHANGE and WM_SYSCOLORCHANGE, and the private request to open a
// day (kOpenDayMessage). True with `result` set when it was one of them.
bool handleAccessibilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Raises the WinEvents for what changed since the last call: focus on the
// cursor day when it moved (while the calendar has the keyboard), name
// changes of the table and of every day whose name changed. Nothing until
// a client has asked for the calendar's object.
void announceCalendarChanges(HWND window);

// At the window's destruction: clients holding objects are cut off.
void endCalendarAccessibility();

// The tool strip buttons' WM_GETOBJECT: their object for OBJID_CLIENT, else 0.
LRESULT answerToolButtonObject(HWND button, WPARAM wParam, LPARAM lParam);
