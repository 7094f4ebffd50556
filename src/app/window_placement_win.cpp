#include "app/window_placement_win.h"

#include <vector>

#include "app/placement.h"
#include "render/dpi_scale.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"

namespace {

constexpr char kMain[] = "Sorvane";
constexpr LONG kFramedStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

Rect toRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// The frame and caption of the framed style, from the system's metrics.
FrameInsets framedInsets(HWND window) {
  RECT client{0, 0, 0, 0};
  DWORD extended = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  AdjustWindowRectEx(&client, WS_OVERLAPPEDWINDOW, FALSE, extended);
  return FrameInsets{-client.left, -client.top, client.right, client.bottom};
}

BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
  reinterpret_cast<std::vector<Rect>*>(list)->push_back(toRect(*area));
  return TRUE;
}

// The whole area of every monitor, the primary one first (it is the one a
// window on none of them goes to when it is as near as another).
std::vector<Rect> monitorRects() {
  std::vector<Rect> monitors;
  monitors.push_back(Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// The full area of the monitor the window is on (or nearest to).
Rect monitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return toRect(info.rcMonitor);
  return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int toolStripHeightOf(HWND toolWindow) {
  RECT strip{};
  if (!toolWindow || !GetWindowRect(toolWindow, &strip)) return 0;
  return strip.bottom - strip.top;
}

void moveTo(HWND window, const Rect& r) {
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

// The restored rectangle in screen coordinates. The system keeps it in
// workspace coordinates, which differ from the screen's when a taskbar sits
// at the top or left of the window's monitor (not the primary's: on a
// second monitor that one would move the window at every run);
// restorePlacement moves the window in screen ones.
Rect normalRectOnScreen(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  Rect normal = toRect(placement.rcNormalPosition);
  if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return normal;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return normal;
  return workspaceToScreen(normal, toRect(info.rcMonitor), toRect(info.rcWork));
}

void becomeFrameless(HWND window, HWND toolWindow, const Rect& outer, int clientWidth, int clientHeight) {
  int strip = toolStripHeightOf(toolWindow);
  Rect target = framelessWindowRect(outer, clientWidth, clientHeight, strip);
  appSettings().setFrame(1);
  if (toolWindow) ShowWindow(toolWindow, SW_HIDE);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  style &= ~(WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  style |= WS_POPUP;
  SetWindowLongW(window, GWL_STYLE, style);
  // A 1 × 1 move first, so that the new style takes effect.
  MoveWindow(window, outer.left, outer.top, 1, 1, TRUE);
  moveTo(window, target);
}

void becomeFramed(HWND window, HWND toolWindow, const Rect& outer) {
  Rect target = framedWindowRect(outer, toolStripHeightOf(toolWindow), framedInsets(window));
  appSettings().setFrame(0);
  if (toolWindow) ShowWindow(toolWindow, SW_SHOW);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  style &= ~(WS_POPUP | kFramedStyle);
  style |= kFramedStyle;
  SetWindowLongW(window, GWL_STYLE, style);
  MoveWindow(window, outer.left, outer.top, 1, 1, TRUE);
  moveTo(window, target);
}

}  // namespace

void restorePlacement(HWND window, int dpi) {
  std::vector<Rect> monitors = monitorRects();
  Rect r = restoredWindowRect(readSettingInt(kMain, "X"), readSettingInt(kMain, "Y"), readSettingInt(kMain, "Width"),
                              readSettingInt(kMain, "Height"), monitors.data(), monitors.size(),
                              scaleToDpi(kDefaultWindowSize, dpi));
  moveTo(window, r);
}

void restoreState(HWND window) {
  switch (readSettingInt(kMain, "STATE")) {
    case 1:
      PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case 2:
      PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      break;
    default:
      break;
  }
}

void applyStartupModes(HWND window, HWND toolWindow) {
  AppSettings& s = appSettings();
  // Only 1 means frameless; any other value leaves the window framed, and
  // the flag must say so, or the layout would leave out a strip that shows.
  s.setFrame(readSettingInt(kMain, "FRAME") == 1 ? 1 : 0);
  // The window is framed here, so this makes it frameless.
  if (s.frame() == 1) toggleFrame(window, toolWindow);
  if (s.top() == 1) {
    s.setTop(0);
    toggleTopmost(window);
  }
}

void toggleFrame(HWND window, HWND toolWindow) {
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  if ((style & kFramedStyle) == kFramedStyle)
    becomeFrameless(window, toolWindow, toRect(outer), client.right - client.left, client.bottom - client.top);
  else
    becomeFramed(window, toolWindow, toRect(outer));
}

void toggleTopmost(HWND window) {
  AppSettings& s = appSettings();
  bool toTop = s.top() == 0;
  SetWindowPos(window, toTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  s.setTop(toTop ? 1 : 0);
}

void snapToCorner(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  Point origin = snapCornerOrigin(toRect(outer), monitorOf(window));
  // HWND_TOP brings it to the front of its band without changing the band.
  SetWindowPos(window, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
}

bool placeOnAMonitor(HWND window, const DialogPlacement& saved) {
  if (saved.width == 0 || saved.height == 0) return false;
  std::vector<Rect> monitors = monitorRects();
  moveTo(window, restoredWindowRect(saved.x, saved.y, saved.width, saved.height, monitors.data(), monitors.size()));
  return true;
}

void savePlacement(HWND window, HWND toolWindow) {
  const AppSettings& s = appSettings();
  if (s.savePos() == 0 || !toolWindow || !IsWindow(toolWindow)) return;
  Rect normal = normalRectOnScreen(window);
  SavedPlacement saved;
  if (s.frame() == 0) {
    saved.framedWindow = normal;
  } else {
    WINDOWPLACEMENT strip{};
    strip.length = sizeof strip;
    GetWindowPlacement(toolWindow, &strip);
    int t = strip.rcNormalPosition.bottom - strip.rcNormalPosition.top;
    saved.framedWindow = framedWindowRect(normal, t, framedInsets(window));
  }
  saved.frameless = s.frame();
  saved.state = windowStateValue(IsIconic(window) != 0, IsZoomed(window) != 0);
  saved.dayDialog = s.dayDialogPlacement();
  saved.monthDialog = s.monthDialogPlacement();
  saved.monthDialogSeparator = s.monthDialogSeparator();
  saved.topmost = s.top();
  writeSavedPlacement(saved);
}
