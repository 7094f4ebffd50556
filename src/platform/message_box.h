#pragma once
// The warnings the user must see: a message box without owner, captioned
// "Sorvane", with the warning icon. Text is Shift_JIS.

void showWarningMessage(const char* text);

// Test seam: while a hook is set, warnings go to it instead of the screen.
using WarningHook = void (*)(const char* text);
void setWarningHookForTests(WarningHook hook);
WarningHook warningHookForTests();

// The platform half: the box itself (the terminal, natively).
void platformShowWarning(const char* text);
