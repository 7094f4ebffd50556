#pragma once
// The month memo dialog: a modal window ("IDD_MONTHINFO") with the month
// memo above and every day memo of the month, under "[%2d日]" headings,
// below. OK writes both back into the month and saves its file; the owner
// is sent CMD_RELOAD_MONTH after every save.
#include <windows.h>

#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "platform/clock.h"

// What the dialog works on: the displayed date (its year and month) and the
// bytes of that month's file as the calendar shows them (the month is read
// afresh when they belong to another month or are not known). The dialog
// keeps its own copy of the month and of those bytes from the moment it
// opens: OK saves its text merged with whatever was changed in the file
// meanwhile, and a calendar showing others' changes meanwhile touches
// nothing the dialog holds.
// `openDialog`, when given, holds the dialog's window while it is open and
// null otherwise, so that the owner can reach the modal dialog.
struct MonthMemoDialogParams {
  const LocalTime* shownDate;
  const MonthFileBase* shownBase;
  HWND* openDialog = nullptr;
};

// Runs the dialog owned by `owner`. True after OK, false after Cancel.
bool runMonthMemoDialog(HINSTANCE instance, HWND owner, const MonthMemoDialogParams& params);

// Log-off: stores and saves what the open dialog holds, as OK would, and
// leaves it open. An untouched dialog stores nothing. False when the text
// could not be stored: the user has been told and the dialog keeps it.
bool storeMonthMemoDialogNow(HWND dialog);
