#include <cstdio>

#include "platform/message_box.h"
#include "platform/text_convert.h"

namespace {
WarningHook hook = nullptr;
}

void setWarningHookForTests(WarningHook newHook) { hook = newHook; }
WarningHook warningHookForTests() { return hook; }

// Natively there is no desktop to show a box on; the terminal gets the text.
void showWarningMessage(const char* text) {
  if (hook) {
    hook(text);
    return;
  }
  std::fprintf(stderr, "Sorvane: %s\n", sjisToUtf8(text).c_str());
}
