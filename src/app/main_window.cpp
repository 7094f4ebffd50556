#include "app/main_window.h"

#include "app/caption.h"
#include "app/main_accessibility_win.h"
#include "app/tool_window_win.h"
#include "app/window_placement_win.h"
#include "platform/text_convert.h"
#include "render/fonts.h"
#include "render/gdi_guards_win.h"
#include "render/picture.h"
#include "render/window_dpi_win.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"

namespace {

HINSTANCE instanceHandle = nullptr;

// Window creation, in an order later steps rely on: the tool strip first
// (the layout measures it and the placement moves it), the settings before
// today's month (its caption uses TITLE), the fonts after both, the window
// modes last.
void onCreate(HWND window) {
  // Settings, holidays, data directory and fonts from one read of the file.
  SettingsReadScope startUp;
  MainWindowState& state = mainWindowState();
  state.dpi = systemDpiOfWindow(window);
  state.toolWindow = createToolWindow(window, appInstance(), kToolButtonCount, toolButtonTable(), kToolButtonWidth,
                                      kToolButtonHeight, state.dpi);
  restorePlacement(window, state.dpi);
  restoreState(window);
  {
    WindowDC dc(window);
    appSettings().reload(dc.get());
  }
  appSettings().loadMemoDialogPlacements();
  appSettings().loadTopmost();
  state.shownDate = localTimeNow();
  state.cursorDay = state.shownDate.day;
  state.previousCursorDay = state.cursorDay;
  state.watchedDay = state.shownDate.day;
  showMonth(window, state.shownDate.year, state.shownDate.month);
  createFonts(state.dpi);
  applyStartupModes(window, state.toolWindow);
  SetTimer(window, kDateWatchTimer, kDateWatchPeriodMs, nullptr);
  SetTimer(window, kMonthWatchTimer, kMonthWatchPeriodMs, nullptr);
}

void destroyToolWindow() {
  MainWindowState& state = mainWindowState();
  if (state.toolWindow) DestroyWindow(state.toolWindow);
  state.toolWindow = nullptr;
}

void onDestroy(HWND window) {
  KillTimer(window, kDateWatchTimer);
  KillTimer(window, kMonthWatchTimer);
  // Only while the tool strip exists: after a log-off query it is gone and
  // the placement has been saved already.
  savePlacement(window, mainWindowState().toolWindow);
  destroyFonts();
  deletePicturePalette();
  destroyToolWindow();
  deletePictureBitmap();
  endCalendarAccessibility();
  PostQuitMessage(0);
}

// Log-off or shutdown: what matters is done now, as the process may be
// ended without a WM_DESTROY.
LRESULT onQueryEndSession(HWND window) {
  // The session ends whatever we answer; a memo still being typed is
  // stored now, or the user is told that it could not be.
  storeEditorBeforeClosing(window);
  KillTimer(window, kDateWatchTimer);
  KillTimer(window, kMonthWatchTimer);
  savePlacement(window, mainWindowState().toolWindow);
  deletePictureBitmap();
  destroyToolWindow();
  // Should another program refuse the log-off, the calendar goes on without
  // its strip: lay it out and paint it whole again.
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

void onPaint(HWND window) {
  PaintScope paint(window);
  // A paint message may find nothing left to paint: another one (from a
  // RedrawWindow of another thread racing our own queue, say) has painted
  // the region already. Everything drawn would be clipped away, at the
  // full cost of drawing it.
  if (IsRectEmpty(&paint.updateRect())) return;
  paintCalendar(window, paint.dc(), calendarView());
}

void onMove(HWND window) {
  // Over the desktop, what shows through depends on where the window is.
  if (appSettings().wall() == 1) InvalidateRect(window, nullptr, TRUE);
}

void onSize(HWND window) {
  YearMonth shown = shownMonth();
  updateTitle(window, shown.year, shown.month);
  fitToolWindow(mainWindowState().toolWindow);
}

void onActivate(HWND window) {
  WindowDC dc(window);
  SelectPalette(dc.get(), static_cast<HPALETTE>(picturePalette()), FALSE);
  RealizePalette(dc.get());
}

// Only the day of month is compared: the today marking moves at midnight;
// the shown month, the cursor and the caption stay.
// Moved onto a monitor of another scale (or the scale changed): the DPI
// comes from the message itself, since the system may still report the old
// one afterwards. Fonts, strip and layout are made for it, and the window
// takes exactly the rectangle the system suggests.
void onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  MainWindowState& state = mainWindowState();
  const int dpi = HIWORD(wParam);
  if (dpi <= 0) return;
  state.dpi = dpi;
  createFonts(dpi);
  setToolWindowDpi(state.toolWindow, dpi);
  if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  fitToolWindow(state.toolWindow);
  InvalidateRect(window, nullptr, TRUE);
}

// Someone else changed the month file on display: the month is shown with
// their memos. Open memo editors keep what they hold.
void onMonthWatchTimer(HWND window) {
  MainWindowState& state = mainWindowState();
  if (refreshShownMonth(state.monthWatch, state.grid, state.shownBase)) InvalidateRect(window, nullptr, TRUE);
}

void onTimer(HWND window, WPARAM id) {
  if (id == kMonthWatchTimer) {
    onMonthWatchTimer(window);
    return;
  }
  MainWindowState& state = mainWindowState();
  LocalTime now = localTimeNow();
  if (now.day == state.watchedDay) return;
  state.watchedDay = now.day;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

}  // namespace

MainWindowState& mainWindowState() {
  static MainWindowState state;
  return state;
}

YearMonth shownMonth() {
  const MainWindowState& state = mainWindowState();
  return YearMonth{state.shownDate.year, state.shownDate.month};
}

CalendarView calendarView() {
  MainWindowState& state = mainWindowState();
  CalendarView view;
  view.grid = &state.grid;
  view.shown = shownMonth();
  view.cursorDay = state.cursorDay;
  view.toolWindow = state.toolWindow;
  // The frameless flag lives with the settings, where the menu's check mark
  // reads it too: one flag, so the layout and the menu can never disagree.
  view.frameless = appSettings().frame() != 0;
  view.dpi = state.dpi;
  view.lunar = &state.lunar;
  return view;
}

void setAppInstance(HINSTANCE instance) { instanceHandle = instance; }
HINSTANCE appInstance() { return instanceHandle; }

void setDayEditorTarget(int year, int month, int day, MonthGrid* grid) {
  mainWindowState().editorTarget = DayEditorTarget{year, month, day, grid};
}

int dayEditorTarget(int which) {
  const DayEditorTarget& target = mainWindowState().editorTarget;
  switch (which) {
    case 0:
      return target.year;
    case 1:
      return target.month;
    case 2:
      return target.day;
    default:
      return 0;
  }
}

void showMonth(HWND window, int year, int month) {
  SettingsReadScope monthChange;  // the holidays and the data directory
  MainWindowState& state = mainWindowState();
  watchMonthFile(state.monthWatch.file, year, month);
  loadMonth(state.grid, year, month, state.shownBase);
  // Always, whatever ROKUYO says: the settings dialog may turn it on
  // without a new month build, and the paint never computes them.
  buildMonthLunarDates(year, month, state.lunar);
  updateTitle(window, year, month);
}

void updateTitle(HWND window, int year, int month) {
  int day = 0;
  if (IsIconic(window) && appSettings().iconedTitle() == 1) {
    LocalTime now = localTimeNow();
    year = now.year;
    month = now.month;
    day = now.day;
  }
  std::string caption = formatCaption(appSettings().title(), year, month, day, appSettings().wareki() != 0);
  SetWindowTextW(window, sjisToWide(caption).c_str());
}

bool registerWindowClasses(HINSTANCE instance) {
  WNDCLASSEXW calendar{};
  calendar.cbSize = sizeof calendar;
  calendar.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  calendar.lpfnWndProc = mainWindowProc;
  calendar.hInstance = instance;
  calendar.hIcon = LoadIconW(instance, L"CAL_ICON");
  calendar.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  calendar.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  calendar.lpszClassName = kMainWindowClass;
  bool ok = RegisterClassExW(&calendar) != 0;

  // The day memo editor's template names this class to get its icon; the
  // editor's behaviour is its dialog procedure.
  WNDCLASSEXW dayInfo{};
  dayInfo.cbSize = sizeof dayInfo;
  dayInfo.style = CS_HREDRAW | CS_VREDRAW;
  dayInfo.lpfnWndProc = DefDlgProcW;
  dayInfo.cbWndExtra = DLGWINDOWEXTRA;
  dayInfo.hInstance = instance;
  dayInfo.hIcon = LoadIconW(instance, L"MEMO_ICON");
  dayInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  dayInfo.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dayInfo.lpszClassName = kDayInfoClass;
  RegisterClassExW(&dayInfo);
  return ok;
}

HWND createMainWindow(HINSTANCE instance) {
  return CreateWindowExW(0, kMainWindowClass, L"Sorvane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                         200, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate(window);
      return 0;
    case WM_CLOSE:
      onClose(window);
      return 0;
    case WM_DESTROY:
      onDestroy(window);
      return 0;
    case WM_MOVE:
      onMove(window);
      return 0;
    case WM_SIZE:
      onSize(window);
      return 0;
    case WM_ACTIVATE:
      onActivate(window);
      return 0;
    case WM_DPICHANGED:
      onDpiChanged(window, wParam, lParam);
      return 0;
    case WM_PAINT:
      onPaint(window);
      announceCalendarChanges(window);  // a paint follows every change of what is shown
      return 0;
    case WM_QUERYENDSESSION:
      return onQueryEndSession(window);
    case WM_NOTIFY:
      answerToolTipRequest(reinterpret_cast<NMHDR*>(lParam));
      return 0;
    case WM_KEYDOWN:
      onKeyDown(window, wParam);
      return 0;
    case WM_COMMAND:
      return onCommand(window, message, wParam, lParam);
    case WM_TIMER:
      onTimer(window, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(window, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      onLeftButtonDoubleClick(window, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      onRightButtonDown(window, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      onMouseWheel(window, wParam);
      return 0;
    case kNotifyIconMessage:
      onNotifyIcon(window, wParam, lParam);
      return 0;
    default:
      if (LRESULT result = 0; handleAccessibilityMessage(window, message, wParam, lParam, result)) return result;
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
