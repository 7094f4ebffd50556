#include "render/window_dpi_win.h"

#include "render/dpi_scale.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// GetDpiForWindow came with Windows 10 (1607): looked up once at run time,
// so that the program still starts on older systems.
GetDpiForWindowFunction getDpiForWindow() {
  static const GetDpiForWindowFunction function = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<GetDpiForWindowFunction>(
                      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                : nullptr;
  }();
  return function;
}

}  // namespace

int systemDpiOfWindow(HWND window) {
  if (window) {
    if (GetDpiForWindowFunction function = getDpiForWindow()) {
      UINT dpi = function(window);
      if (dpi > 0) return static_cast<int>(dpi);
    }
  }
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}
