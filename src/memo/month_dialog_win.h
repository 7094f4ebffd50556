#pragma once
// The month memo dialog: a modal window ("IDD_MONTHINFO") with the month
// memo above and every day memo of the month, under "[%2d日]" headings,
// below. OK writes both back into the grid and saves the month file.
#include <windows.h>

#include "calendar/month_grid.h"
#include "platform/clock.h"

// What the dialog works on: the displayed date (its year and month) and
// the grid that holds that month with its memos.
// `openDialog`, when given, holds the dialog's window while it is open and
// null otherwise, so that the owner can reach the modal dialog.
struct MonthMemoDialogParams {
  const LocalTime* shownDate;
  MonthGrid* grid;
  HWND* openDialog = nullptr;
};

// Runs the dialog owned by `owner`. True after OK, false after Cancel.
bool runMonthMemoDialog(HINSTANCE instance, HWND owner, const MonthMemoDialogParams& params);

// Log-off: stores and saves what the open dialog holds, as OK would, and
// leaves it open. An untouched dialog stores nothing. False when the text
// could not be stored: the user has been told and the dialog keeps it.
bool storeMonthMemoDialogNow(HWND dialog);
