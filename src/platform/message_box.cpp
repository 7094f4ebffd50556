#include "platform/message_box.h"

namespace {
WarningHook hook = nullptr;
}

void setWarningHook(WarningHook newHook) { hook = newHook; }
WarningHook warningHook() { return hook; }

void showWarningMessage(const char* text) {
  if (hook) {
    hook(text);
    return;
  }
  platformShowWarning(text);
}
