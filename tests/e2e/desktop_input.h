#pragma once
// Real input for another process's window: the mouse and keyboard events
// go through SendInput, as a user's would, to whatever lies under the
// pointer or has the focus. Points are client coordinates of `window`.
#include <windows.h>

// Activates `window` and waits until it is the foreground window.
bool bringToFront(HWND window);

// Gives the window's thread time to handle what the input started: waits a
// little, then until the thread answers a sent message, twice.
void settle(HWND window, DWORD pauseMs = 60);

POINT toScreen(HWND window, int x, int y);

// Puts the pointer on a screen point (and checks it got there).
bool movePointerTo(POINT screen);

void leftClick(HWND window, int x, int y);
void leftDoubleClick(HWND window, int x, int y);
void rightClick(HWND window, int x, int y);

// The two halves of a click, for looking at what a held button shows.
void leftPress(HWND window, int x, int y);
void leftRelease(HWND window);

// Presses the left button at a client point, moves the pointer by (dx, dy)
// in small steps and releases it.
void leftDrag(HWND window, int x, int y, int dx, int dy);

// One key stroke, optionally with Ctrl held.
void pressKey(WORD virtualKey, bool withCtrl = false);

// One wheel message of `delta` (positive: away from the user) with the
// pointer over the client point.
void turnWheel(HWND window, int x, int y, int delta);
