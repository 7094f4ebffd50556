#pragma once
// The month memo dialog: a modal window ("IDD_MONTHINFO") with the month
// memo above and every day memo of the month, under "[%2d日]" headings,
// below. OK writes both back into the grid and saves the month file.
#include <windows.h>

#include "calendar/month_grid.h"
#include "platform/clock.h"

// What the dialog works on: the displayed date (its year and month) and
// the grid that holds that month with its memos.
struct MonthMemoDialogParams {
  const LocalTime* shownDate;
  MonthGrid* grid;
};

// Runs the dialog owned by `owner`. True after OK, false after Cancel.
bool runMonthMemoDialog(HINSTANCE instance, HWND owner, const MonthMemoDialogParams& params);
