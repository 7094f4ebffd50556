#pragma once
// The day memo editor: a modeless window ("IDD_DAYINFO", class
// "DayInfoClass") in which the user writes the memo of the day named by
// DayEditorTarget and picks its colour. It works on the target's MonthGrid
// and writes the month file on every OK and every CMD_DAYINFO_COMMIT.
//
// Commands it handles: IDOK, IDCANCEL, 1028 (colour), CMD_DAYINFO_COMMIT
// (store and save, stay open; the message's result is 1 when the memo was
// saved, 0 when it was not and the user has been told why, so that the
// caller keeps the editor on its day), CMD_DAYINFO_RELOAD (show the new
// target). It sends its owner CMD_RELOAD_MONTH after every store and
// CMD_DAY_EDITOR_CLOSED when it is destroyed.
#include <windows.h>

// Creates the editor for the current target, owned by `owner`, and shows
// it. Null when it cannot be created.
HWND createDayEditor(HINSTANCE instance, HWND owner);

// True when the editor holds text or a colour that the user changed and
// that has not been stored yet: closing the calendar must not drop it.
bool dayEditorHoldsChanges(HWND editor);
