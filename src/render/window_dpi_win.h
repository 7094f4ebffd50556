#pragma once
// The DPI a window is drawn at, as the system reports it: the window's own
// (per monitor) where the system can say, else the screen's. The main
// window keeps the value it was created with until a WM_DPICHANGED gives
// another, because the system may go on reporting the old one afterwards.
#include <windows.h>

int systemDpiOfWindow(HWND window);
