#pragma once
// The clipboard copy: a picture of the calendar as painted, without the
// cursor frame, the memo marks and the today marking, and without the tool
// strip, as a device-dependent bitmap (CF_BITMAP) and as a
// device-independent one (CF_DIB) for programs that take only that.
// The clipboard is left as it was when there is no picture to put on it.
#include <windows.h>

#include "render/paint.h"

void copyCalendarBitmap(HWND window, const CalendarView& view);
