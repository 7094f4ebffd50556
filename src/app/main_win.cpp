// Sorvane: the program's entry point and message loop.
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "platform/common_controls_win.h"
#include "platform/file_io.h"
#include "platform/text_convert.h"
#include "render/paint.h"

namespace {

// The settings file and the month files live beside the executable, named
// in Shift_JIS. When a folder on the way there has a character Shift_JIS
// lacks and the volume keeps no short name for it, they cannot be named at
// all: the calendar then writes nothing anywhere, and says which folder is
// the cause, rather than losing every change silently.
void warnIfProgramFolderUnusable() {
  if (!executablePath().empty()) return;
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::wstring_view path(buffer, n);
  std::wstring_view folder;
  for (std::size_t start = 0; start < path.size();) {
    std::size_t end = path.find_first_of(L"\\/", start);
    std::wstring_view part = path.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    std::string unused;
    if (!wideToSjis(part, unused)) {
      folder = part;
      break;
    }
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  if (folder.empty()) return;
  std::wstring text = L"フォルダー名「" + std::wstring(folder) +
                      L"」には Shift_JIS で表せない文字があるため、このフォルダーの中では設定とメモを読み書きできません。"
                      L"\nこのままでは何も保存されません。別の名前のフォルダーに移してから起動してください。";
  showMessageBox(nullptr, text.c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  setCopyingToClipboard(false);
  gridLayout().gridLeft = 1;
  registerWindowClasses(instance);
  setAppInstance(instance);
  warnIfProgramFolderUnusable();

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
