#include <windows.h>

#include "platform/common_controls_win.h"
#include "platform/message_box.h"
#include "platform/text_convert.h"

// Owned by the active window (a memo editor whose save it reports, say): an
// owner is disabled while the box is up, so that a second OK cannot start a
// second save under it. Without one (at start-up) the box stands alone.
void platformShowWarning(const char* text) {
  showMessageBox(GetActiveWindow(), sjisToWide(text).c_str(), MB_OK | MB_ICONWARNING);
}
