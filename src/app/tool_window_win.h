#pragma once
// The tool strip ("ToolWndClass"): five owner-drawn picture buttons along
// the top of the main window's client area. A click is posted to the main
// window as the command the menu would send.
#include <windows.h>
#include <commctrl.h>

constexpr wchar_t kToolWindowClass[] = L"ToolWndClass";
constexpr int kToolButtonCount = 5;
constexpr int kToolButtonWidth = 23;
constexpr int kToolButtonHeight = 21;

// The ten records: the five buttons with their image bitmaps, then the same
// five commands with their mask bitmaps (record i + 5 belongs to button i).
const TBBUTTON* toolButtonTable();

// Creates the strip at the top of `parent` with `count` buttons of the given
// size at 96 DPI, scaled to `dpi`, and keeps a copy of the 2 × count records
// of `table`. A tooltip whose
// texts the parent supplies (answerToolTipRequest) is attached to the
// buttons when the pointer first comes over the strip. Null when the strip
// cannot be created.
HWND createToolWindow(HWND parent, HINSTANCE instance, int count, const TBBUTTON* table, int buttonWidth,
                      int buttonHeight, int dpi);

// Lays the strip and its buttons out again for another DPI (the window was
// moved to a monitor of another scale); their pictures follow.
void setToolWindowDpi(HWND toolWindow, int dpi);

// Spans the strip over the parent's client width, keeping its height.
void fitToolWindow(HWND toolWindow);

// Draws the button of `commandId` into `rect`: its mask combined with AND,
// then its image with OR, from the set of pictures drawn nearest to the
// strip's DPI (1×, 1.5× or 2×), stretched only when the button's size
// differs; a pressed button gets a black top and left edge and its picture
// one pixel (scaled) lower and further right.
void drawToolButton(HDC dc, int commandId, const RECT& rect, bool pressed);

// The tooltip text of a tool command (Shift_JIS), or null for any other id.
const char* toolTipText(int commandId);

// The main window's WM_NOTIFY: fills in the text of a tooltip request for
// a tool button; anything else is left untouched.
void answerToolTipRequest(NMHDR* header);
