#pragma once
// The main window's two looks (framed with the tool strip, or a bare popup),
// the topmost band, the snap into a screen corner, and the placement and
// modes remembered in the settings file. The arithmetic is in placement.h.
#include <windows.h>

#include "settings/app_settings.h"

// At creation, before the settings are loaded: X, Y, Width and Height, put
// back onto a monitor that exists now. Saved sizes are the system's pixels
// as they were; a missing size is the default 200 at 96 DPI, scaled to `dpi`.
void restorePlacement(HWND window, int dpi);
// At creation: posts the minimise or maximise request STATE asks for.
void restoreState(HWND window);
// At creation, after the fonts: the frameless mode (FRAME) and the topmost
// band (TOP).
void applyStartupModes(HWND window, HWND toolWindow);

void toggleFrame(HWND window, HWND toolWindow);
void toggleTopmost(HWND window);
// Moves the window into the corner of its monitor nearest to its centre.
void snapToCorner(HWND window);

// A memo dialog's saved rectangle, when it has a size (false otherwise,
// and nothing moves): where it was, or, when it lies on no monitor now,
// moved onto the nearest one with its size, as the main window is.
bool placeOnAMonitor(HWND window, const DialogPlacement& saved);

// At close and at log-off: writes the placement, the modes and the memo
// dialogs' placements, when SAVE_POS is set and the tool strip still exists.
void savePlacement(HWND window, HWND toolWindow);
