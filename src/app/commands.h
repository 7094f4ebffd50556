#pragma once
// WM_COMMAND identifiers shared by the menu, the accelerators, the tool
// strip and the program's windows (the other parameter is always 0).

constexpr int CMD_EXIT = 2;
constexpr int CMD_RELOAD_MONTH = 501;
constexpr int CMD_SETTINGS_APPLIED = 2001;  // to the main window
constexpr int CMD_DAYINFO_COMMIT = 2001;    // to the day memo editor
constexpr int CMD_DAYINFO_RELOAD = 2002;
constexpr int CMD_PREV_MONTH = 40001;
constexpr int CMD_THIS_MONTH = 40002;
constexpr int CMD_NEXT_MONTH = 40003;
constexpr int CMD_SETTINGS = 40004;
constexpr int CMD_NEXT_YEAR = 40008;
constexpr int CMD_PREV_YEAR = 40009;
constexpr int CMD_NO_FRAME = 40011;
constexpr int CMD_TOPMOST = 40012;
constexpr int CMD_COPY_BITMAP = 40013;
constexpr int CMD_HELP_UNUSED_1 = 40014;  // Ctrl+F1: consumed, does nothing
constexpr int CMD_HELP_UNUSED_2 = 40015;  // Ctrl+F2: consumed, does nothing
constexpr int CMD_SNAP_CORNER = 40017;
constexpr int CMD_DAY_EDITOR_CLOSED = 40018;
