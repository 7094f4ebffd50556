// The main window's mouse, keyboard and commands.
#include <windowsx.h>

#include "app/clipboard_copy_win.h"
#include "app/commands.h"
#include "app/main_accessibility_win.h"
#include "app/main_window.h"
#include "app/window_placement_win.h"
#include "calendar/names.h"
#include "memo/day_editor_win.h"
#include "memo/month_dialog_win.h"
#include "render/gdi_guards_win.h"
#include "settings/app_settings.h"
#include "settings/settings_dialog_win.h"

namespace {

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

bool editorOpen() {
  HWND editor = mainWindowState().dayEditorWindow;
  return editor && IsWindow(editor);
}

void invalidateAll(HWND window) { InvalidateRect(window, nullptr, TRUE); }

// Moves the shown month by n months and shows it. Months before January
// 1980 are refused silently: nothing changes.
void stepMonth(HWND window, int n) {
  MainWindowState& state = mainWindowState();
  YearMonth to;
  if (!stepYearMonth(shownMonth(), n, to)) return;
  state.shownDate.year = to.year;
  state.shownDate.month = to.month;
  showMonth(window, to.year, to.month);
}

// The cursor keeps its day unless the shown month is shorter.
void clampCursorDay() {
  MainWindowState& state = mainWindowState();
  state.cursorDay = clampDayToMonth(state.cursorDay, shownMonth());
}

// The cursor moves by offset days and never leaves the shown month.
void stepCursor(int offset) {
  MainWindowState& state = mainWindowState();
  state.cursorDay = stepDayInMonth(state.cursorDay, offset, shownMonth());
}

// A month change by n, from the menu, the accelerators, the wheel or the
// tool strip.
void changeMonth(HWND window, int n) {
  MainWindowState& state = mainWindowState();
  stepMonth(window, n);
  clampCursorDay();
  state.previousCursorDay = state.cursorDay;
  invalidateAll(window);
}

void goToThisMonth(HWND window) {
  MainWindowState& state = mainWindowState();
  state.shownDate = localTimeNow();
  state.cursorDay = state.shownDate.day;
  showMonth(window, state.shownDate.year, state.shownDate.month);
  state.previousCursorDay = state.cursorDay;
  invalidateAll(window);
}

// The day under a client point, or −1 (bands, margins, empty cells, and any
// point while the cells have no size).
int hitTestDay(HWND window, int x, int y) {
  SIZE size = clientSize(window);
  int index = cellIndexAt(gridLayout(), size.cx, size.cy, x, y);
  if (index < 0) return -1;
  int day = mainWindowState().grid.cell(index).day;
  return day == 0 ? -1 : day;
}

// Repaints the cell of `day` now, clipped to it.
void invalidateDayCell(HWND window, int day) {
  const MonthGrid& grid = mainWindowState().grid;
  SIZE size = clientSize(window);
  for (int index = 0; index < kGridCells; ++index) {
    if (grid.cell(index).day != day) continue;
    Rect cell = cellRect(gridLayout(), size.cx, size.cy, index / kGridColumns, index % kGridColumns);
    RECT rect{cell.left, cell.top, cell.right, cell.bottom};
    InvalidateRect(window, &rect, TRUE);
    UpdateWindow(window);
    return;
  }
}

void moveCursorFrame(HWND window, HDC dc) {
  invalidateDayCell(window, mainWindowState().previousCursorDay);
  paintCursor(window, dc, calendarView());
  announceCalendarChanges(window);
}

// Asks an open editor to store and save its text, then repaints the day it
// worked on. False when the editor could not save and keeps its text: the
// caller must then leave it on its day.
bool commitOpenEditor(HWND window) {
  bool committed = true;
  if (editorOpen())
    committed = SendMessageW(mainWindowState().dayEditorWindow, WM_COMMAND, CMD_DAYINFO_COMMIT, 0) != 0;
  YearMonth shown = shownMonth();
  if (dayEditorTarget(0) == shown.year && dayEditorTarget(1) == shown.month)
    invalidateDayCell(window, dayEditorTarget(2));
  if (!committed) SetActiveWindow(mainWindowState().dayEditorWindow);
  return committed;
}

// Points the day memo editor at the cursor day, creating it when none is open.
void pointEditorAtCursor(HWND window) {
  MainWindowState& state = mainWindowState();
  YearMonth shown = shownMonth();
  setDayEditorTarget(shown.year, shown.month, state.cursorDay, &state.grid);
  if (editorOpen())
    SendMessageW(state.dayEditorWindow, WM_COMMAND, CMD_DAYINFO_RELOAD, 0);
  else
    state.dayEditorWindow = createDayEditor(appInstance(), window);
}

void openDayEditor(HWND window) {
  if (!commitOpenEditor(window)) return;
  pointEditorAtCursor(window);
}

// The month memo dialog for the shown month; an open day editor has saved
// its text and goes first, as both work on the one grid.
void openMonthMemoDialog(HWND window) {
  MainWindowState& state = mainWindowState();
  if (editorOpen()) DestroyWindow(state.dayEditorWindow);
  state.dayEditorWindow = nullptr;
  MonthMemoDialogParams params{&state.shownDate, &state.shownBase, &state.monthDialogWindow};
  runMonthMemoDialog(appInstance(), window, params);
}

void showContextMenu(HWND window, POINT point, int popupIndex) {
  HMENU menu = LoadMenuW(appInstance(), L"IDR_POPUP");
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, popupIndex);
  if (popup) {
    const AppSettings& s = appSettings();
    CheckMenuItem(popup, CMD_NO_FRAME, MF_BYCOMMAND | (s.frame() == 1 ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, CMD_TOPMOST, MF_BYCOMMAND | (s.top() == 1 ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, window, nullptr);
  }
  DestroyMenu(menu);
}

}  // namespace

// Closing the calendar stores what the open editor holds, as switching
// days does; an untouched editor stores nothing (a stored empty memo
// would change the month file). False when the text could not be saved:
// the user has been told, and the calendar stays open with the editor.
bool storeEditorBeforeClosing(HWND window) {
  // The month memo dialog is modal: while it is open no day editor is, and
  // only a log-off reaches the calendar.
  if (mainWindowState().monthDialogWindow) return storeMonthMemoDialogNow(mainWindowState().monthDialogWindow);
  HWND editor = mainWindowState().dayEditorWindow;
  if (!editorOpen() || !dayEditorHoldsChanges(editor)) return true;
  return commitOpenEditor(window);
}

void onClose(HWND window) {
  if (storeEditorBeforeClosing(window)) DestroyWindow(window);
}


void onKeyDown(HWND window, WPARAM key) {
  MainWindowState& state = mainWindowState();
  WindowDC dc(window);
  state.previousCursorDay = state.cursorDay;
  int offset = 0;
  switch (key) {
    case VK_LEFT:
      offset = -1;
      break;
    case VK_UP:
      offset = -7;
      break;
    case VK_RIGHT:
      offset = 1;
      break;
    case VK_DOWN:
      offset = 7;
      break;
    case VK_RETURN:
      // Shift+Enter is the keyboard's way to the month memo dialog, which
      // the mouse reaches by a double click above the grid.
      if (GetKeyState(VK_SHIFT) & 0x8000) {
        if (commitOpenEditor(window)) openMonthMemoDialog(window);
        return;
      }
      openDayEditor(window);
      return;
    case 'C':
      // Ctrl+C copies the calendar as the tool strip's button does; only on
      // the calendar, so that the editors keep their own Ctrl+C.
      if (GetKeyState(VK_CONTROL) & 0x8000) copyCalendarBitmap(window, calendarView());
      return;
    case VK_TAB:
      if ((GetKeyState(VK_CONTROL) & 0x8000) && editorOpen()) SetActiveWindow(state.dayEditorWindow);
      return;
    default:
      return;
  }
  stepCursor(offset);
  moveCursorFrame(window, dc.get());
}

LRESULT onCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindowState& state = mainWindowState();
  switch (LOWORD(wParam)) {
    case CMD_EXIT:
      onClose(window);
      return 0;
    case CMD_RELOAD_MONTH: {
      YearMonth shown = shownMonth();
      showMonth(window, shown.year, shown.month);
      return 0;
    }
    case CMD_SETTINGS_APPLIED:
    case CMD_SETTINGS: {
      // What follows the settings dialog runs whatever it answered. After
      // OK or Apply the month is built again, so that holidays changed on
      // the holiday page (or the law switched) show at once.
      bool confirmed = LOWORD(wParam) == CMD_SETTINGS_APPLIED || runSettingsDialog(window);
      YearMonth shown = shownMonth();
      if (confirmed)
        showMonth(window, shown.year, shown.month);
      else
        updateTitle(window, shown.year, shown.month);
      invalidateAll(window);
      return 0;
    }
    case CMD_PREV_MONTH:
      changeMonth(window, -1);
      return 0;
    case CMD_THIS_MONTH:
      goToThisMonth(window);
      return 0;
    case CMD_NEXT_MONTH:
      changeMonth(window, 1);
      return 0;
    case CMD_NEXT_YEAR:
      changeMonth(window, 12);
      return 0;
    case CMD_PREV_YEAR:
      changeMonth(window, -12);
      return 0;
    case CMD_NO_FRAME:
      toggleFrame(window, state.toolWindow);
      return 0;
    case CMD_TOPMOST:
      toggleTopmost(window);
      return 0;
    case CMD_COPY_BITMAP:
      copyCalendarBitmap(window, calendarView());
      return 0;
    case CMD_SNAP_CORNER:
      snapToCorner(window);
      return 0;
    case CMD_DAY_EDITOR_CLOSED:
      state.dayEditorWindow = nullptr;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A click on the calendar gives it the keyboard, wherever the focus was in
// it (a tool strip button): the arrows and Enter then act on the calendar.
void takeKeyboardFocus(HWND window) {
  if (GetFocus() != window) SetFocus(window);
}

void onLeftButtonDown(HWND window, LPARAM point) {
  takeKeyboardFocus(window);
  MainWindowState& state = mainWindowState();
  state.previousCursorDay = state.cursorDay;
  // The coordinates are taken as unsigned: a point left of or above the
  // client area (during capture) is far away, not negative.
  int day = hitTestDay(window, LOWORD(point), HIWORD(point));
  if (day == -1) {
    // Anywhere but a day drags the window, framed or frameless.
    SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  state.cursorDay = day;
  WindowDC dc(window);
  moveCursorFrame(window, dc.get());
}

void onLeftButtonDoubleClick(HWND window, LPARAM point) {
  if (!commitOpenEditor(window)) return;
  if (static_cast<int>(HIWORD(point)) < gridLayout().gridTop())
    openMonthMemoDialog(window);
  else
    pointEditorAtCursor(window);
}

void onRightButtonDown(HWND window, LPARAM point) {
  takeKeyboardFocus(window);
  POINT screen{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(window, &screen);
  showContextMenu(window, screen, 0);
}

void onMouseWheel(HWND window, WPARAM wParam) {
  // Away from the user: back one month; towards: forward one month.
  changeMonth(window, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
}

void showKeyboardContextMenu(HWND window) {
  // At the cursor day, where the keyboard's attention is.
  SIZE size = clientSize(window);
  POINT point{0, 0};
  const MonthGrid& grid = mainWindowState().grid;
  if (const DayCell* cell = grid.findDay(mainWindowState().cursorDay); cell && size.cx > 0) {
    int index = static_cast<int>(cell - &grid.cell(0));
    Rect r = cellRect(gridLayout(), size.cx, size.cy, index / kGridColumns, index % kGridColumns);
    point = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  ClientToScreen(window, &point);
  showContextMenu(window, point, 0);
}

void openDayEditorOn(HWND window, int day) {
  MainWindowState& state = mainWindowState();
  if (!state.grid.findDay(day) || day <= 0) return;
  state.previousCursorDay = state.cursorDay;
  state.cursorDay = day;
  {
    WindowDC dc(window);
    moveCursorFrame(window, dc.get());
  }
  openDayEditor(window);
}

// As a notification-area icon would send it: left click restores the
// window, right click offers "終了" at the mouse. No icon is registered.
void onNotifyIcon(HWND window, WPARAM wParam, LPARAM lParam) {
  if (wParam != 1) return;
  if (lParam == WM_LBUTTONDOWN) {
    ShowWindow(window, SW_SHOWNORMAL);
  } else if (lParam == WM_RBUTTONDOWN) {
    SetForegroundWindow(window);
    POINT cursor{};
    GetCursorPos(&cursor);
    showContextMenu(window, cursor, 2);
  }
}
