#include <windows.h>

#include "platform/message_box.h"
#include "platform/text_convert.h"

namespace {
WarningHook hook = nullptr;
}

void setWarningHookForTests(WarningHook newHook) { hook = newHook; }
WarningHook warningHookForTests() { return hook; }

void showWarningMessage(const char* text) {
  if (hook) {
    hook(text);
    return;
  }
  MessageBoxW(nullptr, sjisToWide(text).c_str(), L"Sorvane", MB_OK | MB_ICONWARNING);
}
