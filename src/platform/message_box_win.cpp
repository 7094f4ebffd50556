#include <windows.h>

#include "platform/common_controls_win.h"
#include "platform/message_box.h"
#include "platform/text_convert.h"

void platformShowWarning(const char* text) {
  showMessageBox(nullptr, sjisToWide(text).c_str(), MB_OK | MB_ICONWARNING);
}
