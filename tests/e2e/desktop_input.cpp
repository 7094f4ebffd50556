#include "e2e/desktop_input.h"

namespace {

DWORD lastClickAt = 0;

// A click that follows the last one within the double-click time would pair
// with it (the window class asks for double clicks, of either button).
void waitOutDoubleClickTime() {
  DWORD needed = GetDoubleClickTime() + 100;
  DWORD since = GetTickCount() - lastClickAt;
  if (lastClickAt != 0 && since < needed) Sleep(needed - since);
}

void noteClick() { lastClickAt = GetTickCount(); }

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void sendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  switch (virtualKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;  // the arrow keys, not the keypad's
      break;
    default:
      break;
  }
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// Absolute coordinates in SendInput's 0..65535 scale for the primary screen.
void sendMoveTo(POINT screen) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  LONG dx = MulDiv(screen.x, 65536, width) + 65536 / width / 2;
  LONG dy = MulDiv(screen.y, 65536, height) + 65536 / height / 2;
  sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
}

}  // namespace

bool bringToFront(HWND window) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    Sleep(50);
  }
  return GetForegroundWindow() == window;
}

void settle(HWND window, DWORD pauseMs) {
  for (int round = 0; round < 2; ++round) {
    Sleep(pauseMs);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  }
}

POINT toScreen(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

bool movePointerTo(POINT screen) {
  sendMoveTo(screen);
  Sleep(20);
  POINT now{};
  GetCursorPos(&now);
  if (now.x != screen.x || now.y != screen.y) {
    SetCursorPos(screen.x, screen.y);
    Sleep(20);
    GetCursorPos(&now);
  }
  return now.x == screen.x && now.y == screen.y;
}

void leftClick(HWND window, int x, int y) {
  waitOutDoubleClickTime();
  movePointerTo(toScreen(window, x, y));
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(30);
  sendMouse(MOUSEEVENTF_LEFTUP);
  noteClick();
  settle(window);
}

void leftDoubleClick(HWND window, int x, int y) {
  waitOutDoubleClickTime();
  movePointerTo(toScreen(window, x, y));
  for (int click = 0; click < 2; ++click) {
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(20);
    sendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(40);
  }
  noteClick();
  settle(window);
}

void rightClick(HWND window, int x, int y) {
  waitOutDoubleClickTime();
  movePointerTo(toScreen(window, x, y));
  sendMouse(MOUSEEVENTF_RIGHTDOWN);
  Sleep(30);
  sendMouse(MOUSEEVENTF_RIGHTUP);
  noteClick();
  settle(window);
}

void leftPress(HWND window, int x, int y) {
  waitOutDoubleClickTime();
  movePointerTo(toScreen(window, x, y));
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  settle(window);
}

void leftRelease(HWND window) {
  sendMouse(MOUSEEVENTF_LEFTUP);
  noteClick();
  settle(window);
}

void leftDrag(HWND window, int x, int y, int dx, int dy) {
  waitOutDoubleClickTime();
  POINT from = toScreen(window, x, y);
  movePointerTo(from);
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(150);
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step) {
    sendMoveTo(POINT{from.x + dx * step / kSteps, from.y + dy * step / kSteps});
    Sleep(40);
  }
  Sleep(100);
  sendMouse(MOUSEEVENTF_LEFTUP);
  noteClick();
  settle(window, 150);
}

void pressKey(WORD virtualKey, bool withCtrl) {
  if (withCtrl) sendKey(VK_CONTROL, false);
  sendKey(virtualKey, false);
  Sleep(20);
  sendKey(virtualKey, true);
  if (withCtrl) sendKey(VK_CONTROL, true);
  Sleep(20);
}

void turnWheel(HWND window, int x, int y, int delta) {
  movePointerTo(toScreen(window, x, y));
  sendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta));
}
