#include "platform/accessibility_win.h"

// {618736E0-3C3D-11CF-810C-00AA00389B71}
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {

template <typename Function>
Function procedure(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct AccessibilityLibrary {
  decltype(&LresultFromObject) resultFromObject = nullptr;
  decltype(&AccessibleObjectFromWindow) objectFromWindow = nullptr;
  decltype(&SysAllocStringLen) allocString = nullptr;
  decltype(&CoInitializeEx) initialise = nullptr;
  decltype(&CoUninitialize) uninitialise = nullptr;
};

const AccessibilityLibrary& library() {
  static const AccessibilityLibrary loaded = [] {
    AccessibilityLibrary l;
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
    l.resultFromObject = procedure<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    l.objectFromWindow = procedure<decltype(&AccessibleObjectFromWindow)>(oleacc, "AccessibleObjectFromWindow");
    l.allocString = procedure<decltype(&SysAllocStringLen)>(oleaut32, "SysAllocStringLen");
    l.initialise = procedure<decltype(&CoInitializeEx)>(ole32, "CoInitializeEx");
    l.uninitialise = procedure<decltype(&CoUninitialize)>(ole32, "CoUninitialize");
    return l;
  }();
  return loaded;
}

// The GUI thread's COM, begun by the first request and ended with the window.
bool comStarted = false;

}  // namespace

bool startAccessibility() {
  if (comStarted) return true;
  const AccessibilityLibrary& l = library();
  if (!l.resultFromObject || !l.allocString || !l.initialise || !l.uninitialise) return false;
  // S_FALSE: already initialised on this thread, which still counts once.
  HRESULT result = l.initialise(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(result)) return false;
  comStarted = true;
  return true;
}

void endAccessibility() {
  if (!comStarted) return;
  library().uninitialise();
  comStarted = false;
}

LRESULT resultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
  if (!startAccessibility()) return 0;
  LRESULT result = library().resultFromObject(iid, wParam, object);
  return result < 0 ? 0 : result;
}

BSTR allocateBstr(std::wstring_view text) {
  const AccessibilityLibrary& l = library();
  if (!l.allocString) return nullptr;
  return l.allocString(text.data(), static_cast<UINT>(text.size()));
}

IDispatch* standardWindowObject(HWND window) {
  const AccessibilityLibrary& l = library();
  if (!l.objectFromWindow) return nullptr;
  IDispatch* object = nullptr;
  if (FAILED(l.objectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}
