#include <windows.h>

#include "platform/message_box.h"
#include "platform/text_convert.h"

void platformShowWarning(const char* text) {
  MessageBoxW(nullptr, sjisToWide(text).c_str(), L"Sorvane", MB_OK | MB_ICONWARNING);
}
