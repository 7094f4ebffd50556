#pragma once
// The rectangle arithmetic of the main window's placement and modes: where
// a saved rectangle is put back on the monitors there are now, the frame a
// frameless window gets back (and loses) around its calendar area, and the
// screen corner nearest to a window. Plain numbers in and out; the window
// calls are in window_placement_win.cpp.
#include <cstddef>

#include "render/layout.h"
#include "settings/app_settings.h"

// How far a framed window reaches beyond its client area on each side: the
// sizing frame, and at the top the caption too (as the system computes them
// for the framed style).
struct FrameInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Where the window goes at start: the saved X, Y, Width and Height (a width
// or height ≤ 0 becomes `defaultSize`, 200 at 96 DPI). A rectangle that overlaps any of the monitors
// stays where it is, even partly off screen; one that overlaps none (a
// monitor since unplugged, a screen since made smaller) is moved, keeping its
// size, onto the nearest monitor, as far as it must to lie inside it (a
// window larger than the monitor is put at its left or top edge). With no
// monitors given the rectangle is kept.
constexpr int kDefaultWindowSize = 200;
Rect restoredWindowRect(int x, int y, int width, int height, const Rect* monitors, std::size_t monitorCount,
                        int defaultSize = kDefaultWindowSize);

// The restored rectangle the system keeps for a window (in workspace
// coordinates) in screen coordinates. Workspace coordinates are offset by
// how far the work area of the window's own monitor lies from that
// monitor's corner (a taskbar at its top or left); `monitor` and `work` are
// that monitor's full and work areas.
Rect workspaceToScreen(const Rect& normal, const Rect& monitor, const Rect& work);

// The window rectangle of the frameless window that shows the calendar area
// where it is now: `window` and the client size are the framed window's,
// `toolStripHeight` the tool strip's outer height. The width of one frame
// side is taken from the window itself: (window width − client width) / 2.
// The height is never less than 2.
Rect framelessWindowRect(const Rect& window, int clientWidth, int clientHeight, int toolStripHeight);

// The framed window rectangle built around a frameless `window`: the frame,
// the caption and the tool strip grow around it, so that the calendar area
// keeps its place and its size. Also the rectangle saved for a window
// closed frameless.
Rect framedWindowRect(const Rect& window, int toolStripHeight, const FrameInsets& frame);

// The top-left corner that puts `window` into the corner of `screen` its
// centre is nearest to; a centre exactly in the middle goes right and down.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
Point snapCornerOrigin(const Rect& window, const Rect& screen);

// STATE: 1 minimised, 2 maximised, 0 otherwise.
int windowStateValue(bool minimised, bool maximised);

// What the main window writes at close when SAVE_POS is set.
struct SavedPlacement {
  Rect framedWindow;  // X, Y, Width, Height: always the framed rectangle
  int frameless = 0;  // FRAME
  int state = 0;      // STATE
  DialogPlacement dayDialog;
  DialogPlacement monthDialog;
  int monthDialogSeparator = 0;
  int topmost = 0;  // TOP
};

// Writes the 16 keys to the main section in their order: X, Y, Width,
// Height, FRAME, STATE, DAYDLG_X, DAYDLG_Y, DAYDLG_W, DAYDLG_H, MONTHDLG_X,
// MONTHDLG_Y, MONTHDLG_W, MONTHDLG_H, MONTHDLG_SEP, TOP, as one replacement
// of the settings file.
void writeSavedPlacement(const SavedPlacement& saved);
