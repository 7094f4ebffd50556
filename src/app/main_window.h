#pragma once
// The main calendar window ("CAL_CLASS"): its state, creation, painting,
// the date watch and shutdown. Input and commands are in main_input.cpp.
#include <windows.h>

#include "calendar/lunar_calendar.h"
#include "calendar/month_grid.h"
#include "calendar/month_step.h"
#include "memo/month_store.h"
#include "memo/month_watch_win.h"
#include "platform/clock.h"
#include "render/paint.h"

constexpr wchar_t kMainWindowClass[] = L"CAL_CLASS";
constexpr wchar_t kDayInfoClass[] = L"DayInfoClass";
constexpr UINT_PTR kDateWatchTimer = 1;
constexpr UINT kDateWatchPeriodMs = 1000;
constexpr UINT kNotifyIconMessage = WM_APP + 100;  // 0x8064

// The day the day memo editor works on.
struct DayEditorTarget {
  int year = 0;
  int month = 0;
  int day = 0;
  MonthGrid* grid = nullptr;
};

// Everything the main window keeps between messages. One set per process.
struct MainWindowState {
  MonthGrid grid;
  MonthLunarDates lunar;  // the 旧暦 dates of the grid's month, for the rokuyo
  // The bytes the grid's memos came from, and the watch that notices when
  // someone else changes them.
  MonthFileBase shownBase;
  ShownMonthWatch monthWatch;
  LocalTime shownDate;  // its year and month are the month on display
  int cursorDay = 1;
  int previousCursorDay = 1;
  int watchedDay = 0;
  HWND toolWindow = nullptr;
  HWND dayEditorWindow = nullptr;
  HWND monthDialogWindow = nullptr;  // while the modal month memo dialog runs
  // The DPI the calendar is drawn at: the window's at creation, then what
  // each WM_DPICHANGED says.
  int dpi = 96;
  DayEditorTarget editorTarget;
};

MainWindowState& mainWindowState();
YearMonth shownMonth();
CalendarView calendarView();

void setAppInstance(HINSTANCE instance);
HINSTANCE appInstance();

void setDayEditorTarget(int year, int month, int day, MonthGrid* grid);
// year for 0, month for 1, day for 2, and 0 for anything else.
int dayEditorTarget(int which);

// Builds the month with its lunar dates, loads its memos (recording their
// bytes in shownBase and pointing the month watch at their file) and sets
// the caption. Repaints nothing.
void showMonth(HWND window, int year, int month);
// Sets the caption: the month in the TITLE style, or today's date while
// minimised when ICONED_TITLE is 1.
void updateTitle(HWND window, int year, int month);

bool registerWindowClasses(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Input and commands (main_input.cpp).
void onKeyDown(HWND window, WPARAM key);
LRESULT onCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void onLeftButtonDown(HWND window, LPARAM point);
void onLeftButtonDoubleClick(HWND window, LPARAM point);
void onRightButtonDown(HWND window, LPARAM point);
void onMouseWheel(HWND window, WPARAM wParam);
void onNotifyIcon(HWND window, WPARAM wParam, LPARAM lParam);
// The context menu from the keyboard (Shift+F10, the menu key), at the cursor day.
void showKeyboardContextMenu(HWND window);
// Moves the cursor to `day` of the shown month and opens its memo, as Enter does.
void openDayEditorOn(HWND window, int day);
// The window's close box, Alt+F4 and the menu's exit: what the day memo
// editor holds is stored first, and a failed store keeps the window open.
void onClose(HWND window);
// Stores what the open day memo editor or month memo dialog holds, if it
// was changed. False when it could not be stored (the user was told).
bool storeEditorBeforeClosing(HWND window);
