#pragma once
// The settings dialog ("IDD_ENVFRAME"): a tab control over nine pages, with
// OK, Cancel and Apply. OK and Apply let every page write its keys (the
// file is replaced once for all of them), reload the settings and, for
// Apply, tell the owner with CMD_SETTINGS_APPLIED.
#include <windows.h>

// Runs the dialog modally; true when it was closed with OK.
bool runSettingsDialog(HWND owner);
