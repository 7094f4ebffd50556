#pragma once
// The warnings the user must see: a message box owned by the active window
// (none when there is none), captioned "Sorvane", with the warning icon.
// Text is Shift_JIS.

void showWarningMessage(const char* text);

// While a hook is set, warnings go to it instead of the screen: the tests
// collect them, the command-line tool prints them on standard error.
using WarningHook = void (*)(const char* text);
void setWarningHook(WarningHook hook);
WarningHook warningHook();

// The platform half: the box itself (the terminal, natively).
void platformShowWarning(const char* text);
