#include "platform/common_controls_win.h"

#include <shellapi.h>

namespace {

// Created once, at the first dialog, and kept for the life of the process.
HANDLE stylesContext() {
  static HANDLE context = [] {
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = GetModuleHandleW(nullptr);
    description.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
    return CreateActCtxW(&description);
  }();
  return context;
}

template <typename Function>
Function procedure(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct CommonControls {
  decltype(&SetWindowSubclass) setSubclass = nullptr;
  decltype(&RemoveWindowSubclass) removeSubclass = nullptr;
  decltype(&DefSubclassProc) defaultProcedure = nullptr;
};

// Loaded at the first call, which CommonControlsScope's constructor makes
// while the context is active: comctl32.dll then names version 6. The
// libraries stay loaded for the life of the process.
const CommonControls& commonControls() {
  static const CommonControls loaded = [] {
    CommonControls functions;
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    functions.setSubclass = procedure<decltype(&SetWindowSubclass)>(module, "SetWindowSubclass");
    functions.removeSubclass = procedure<decltype(&RemoveWindowSubclass)>(module, "RemoveWindowSubclass");
    functions.defaultProcedure = procedure<decltype(&DefSubclassProc)>(module, "DefSubclassProc");
    if (auto initialise = procedure<decltype(&InitCommonControlsEx)>(module, "InitCommonControlsEx")) {
      INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
      initialise(&controls);
    }
    return functions;
  }();
  return loaded;
}

HMODULE commonDialogs() {
  static HMODULE module = LoadLibraryW(L"comdlg32.dll");
  return module;
}

}  // namespace

CommonControlsScope::CommonControlsScope() {
  HANDLE context = stylesContext();
  if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
  commonControls();
}

CommonControlsScope::~CommonControlsScope() {
  if (active_) DeactivateActCtx(0, cookie_);
}

int showMessageBox(HWND owner, const wchar_t* text, UINT type) {
  CommonControlsScope styles;
  return MessageBoxW(owner, text, L"Sorvane", type);
}

bool setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  CommonControlsScope styles;
  auto set = commonControls().setSubclass;
  return set && set(window, procedure, id, data);
}

bool removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  auto remove = commonControls().removeSubclass;
  return remove && remove(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only a subclassed window calls this, so comctl32 is loaded already.
  auto defaultProcedure = commonControls().defaultProcedure;
  return defaultProcedure ? defaultProcedure(window, message, wParam, lParam)
                          : DefWindowProcW(window, message, wParam, lParam);
}

bool chooseColour(CHOOSECOLORW& chooser) {
  CommonControlsScope styles;
  auto choose = procedure<decltype(&ChooseColorW)>(commonDialogs(), "ChooseColorW");
  return choose && choose(&chooser);
}

bool chooseFont(CHOOSEFONTW& chooser) {
  CommonControlsScope styles;
  auto choose = procedure<decltype(&ChooseFontW)>(commonDialogs(), "ChooseFontW");
  return choose && choose(&chooser);
}

bool chooseFileToOpen(OPENFILENAMEW& chooser) {
  CommonControlsScope styles;
  auto choose = procedure<decltype(&GetOpenFileNameW)>(commonDialogs(), "GetOpenFileNameW");
  return choose && choose(&chooser);
}

bool openWithShell(HWND owner, const wchar_t* target) {
  CommonControlsScope styles;
  static HMODULE shell = LoadLibraryW(L"shell32.dll");
  auto execute = procedure<decltype(&ShellExecuteW)>(shell, "ShellExecuteW");
  if (!execute) return false;
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(execute(owner, L"open", target, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}
