// The system's current look (common controls version 6) for the program's
// dialogs, message boxes, common dialogs and tooltips, and only for them.
//
// The calendar and its tool strip draw themselves, so the process does not
// ask for the new controls at start-up: binding them for the whole process
// cost about a fifth of the start-up time and 3 MB of memory under Wine,
// before anything used them. Instead the program's manifest for them sits
// under the isolation-aware resource id, and whatever creates a dialog, a
// message box or a tooltip does it inside a CommonControlsScope.
//
// For the same reason comctl32, comdlg32 and shell32 are not imported: the
// functions below load them at their first call. comctl32 must be loaded
// while the scope is active, or the process would keep the old version;
// the functions see to that themselves.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

class CommonControlsScope {
 public:
  CommonControlsScope();
  ~CommonControlsScope();
  CommonControlsScope(const CommonControlsScope&) = delete;
  CommonControlsScope& operator=(const CommonControlsScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// MessageBoxW with the caption "Sorvane", in the current look.
int showMessageBox(HWND owner, const wchar_t* text, UINT type);

// The comctl32 subclassing functions. False (and, for the default
// procedure, DefWindowProcW) when the library cannot be loaded.
bool setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
bool removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The common dialogs, in the current look. False when cancelled, when they
// fail, or when their library cannot be loaded.
bool chooseColour(CHOOSECOLORW& chooser);
bool chooseFont(CHOOSEFONTW& chooser);
bool chooseFileToOpen(OPENFILENAMEW& chooser);

// ShellExecuteW with the verb "open"; false when it fails.
bool openWithShell(HWND owner, const wchar_t* target);
