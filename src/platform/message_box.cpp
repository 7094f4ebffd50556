#include "platform/message_box.h"

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
  platformShowWarning(text);
}
