// Sorvane: the program's entry point and message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "render/paint.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  setCopyingToClipboard(false);
  gridLayout().gridLeft = 1;
  registerWindowClasses(instance);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  setAppInstance(instance);

  HWND window = createMainWindow(instance);
  if (!window) return 0;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  HACCEL accelerators = LoadAcceleratorsW(instance, L"IDA_ACCEL");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Keys typed in the modeless day memo editor pass here too, so Ctrl with
    // the arrows changes the month wherever the focus is.
    if (accelerators && TranslateAcceleratorW(window, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
