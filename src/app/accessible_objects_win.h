#pragma once
// The Active Accessibility objects of the program's windows, which draw
// themselves and so have nothing a screen reader could read otherwise:
// the calendar as a table of day cells, and the tool strip's buttons.
// Both read what they say at the moment they are asked, from what is in
// memory; neither reads a file.
#include <windows.h>
#include <oleacc.h>

#include "calendar/month_grid.h"
#include "calendar/month_step.h"
#include "platform/clock.h"
#include "render/layout.h"

// What the calendar's object reads at every request.
struct CalendarAccessView {
  const MonthGrid* grid = nullptr;
  YearMonth shown;
  int cursorDay = 0;
  LocalTime today;
  bool eraYear = false;
  GridLayout layout;  // as the last paint measured it
};
using CalendarAccessReader = CalendarAccessView (*)();
// Opens the day memo editor on `day` of the shown month, as Enter does.
using CalendarDayOpener = void (*)(HWND window, int day);

// A new object for `window`'s client area with one reference, which the
// caller releases; null when memory is short. Role table; its children
// are the days (child id = day number), role cell.
IAccessible* createCalendarAccessible(HWND window, CalendarAccessReader read, CalendarDayOpener open);

// A new object for a push button whose name is `name` (Shift_JIS, kept by
// pointer: a text that lives as long as the program) and whose default
// action, "押す", clicks it.
IAccessible* createButtonAccessible(HWND button, const char* name);

// The objects alive in this process, for the tests of their reference counts.
long liveAccessibleObjects();
