#pragma once
// Painting the month straight onto the main window's DC: background, title
// band, weekday header, the 42 cells with frames, numbers, marks and memos,
// and the cursor frame. Everything is read at the moment of painting; only
// the layout metrics are kept, for the mouse and single-cell repaints.
#include <windows.h>

#include "calendar/lunar_calendar.h"
#include "calendar/month_grid.h"
#include "calendar/month_step.h"
#include "render/layout.h"

// What a paint needs from the main window.
struct CalendarView {
  const MonthGrid* grid = nullptr;
  YearMonth shown;       // the month on display
  int cursorDay = 1;
  HWND toolWindow = nullptr;  // null: a strip of height 0
  bool frameless = false;
  int dpi = kBaseDpi;  // the window's: sizes given at 96 DPI are scaled to it
  const MonthLunarDates* lunar = nullptr;  // the shown month's, for the rokuyo
};

// The metrics of the last paint (gridLeft is 1 before the first).
GridLayout& gridLayout();

// While set, the paint leaves out the cursor, the marks and today.
bool copyingToClipboard();
void setCopyingToClipboard(bool copying);

void paintCalendar(HWND window, HDC dc, const CalendarView& view);
void measureLayout(HWND window, HDC dc, const CalendarView& view);
void paintBackground(HWND window, HDC dc);
void paintTitle(HWND window, HDC dc);
void paintWeekHeader(HWND window, HDC dc);
void paintGrid(HWND window, HDC dc, const CalendarView& view);
void paintDayNumber(HDC dc, const DayCell& cell, int x, int y, int cellWidth, int cellHeight, YearMonth shown,
                    const MonthLunarDates* lunar = nullptr);
void paintDayMemo(HDC dc, const DayCell& cell, int x, int y, int cellWidth, int cellHeight);
void paintCursor(HWND window, HDC dc, const CalendarView& view);
