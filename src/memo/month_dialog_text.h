#pragma once
// The text of the month memo dialog's lower edit: every day memo of the
// month under a heading line "[%2d日]\r\n", and the split of such text back
// into day memos. Plain functions over Shift_JIS bytes, so that the split is
// tested and fuzzed without a window.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "calendar/colour.h"

class MonthGrid;

// Bytes of a heading: "[", two day digits, "日" (two bytes), "]", CR LF.
constexpr std::size_t kDayHeadingLength = 8;

// "[%2d日]\r\n": single-digit days have a space before the digit.
std::string dayMemoHeading(int day);

// For every day of the grid's month, in ascending order, that has a memo
// block (even an empty one): its heading, its text and CR LF.
std::string buildDayMemoText(const MonthGrid& grid);

// Where a day's memo lies in the lower edit's text: `begin` and `end` are
// byte offsets with begin <= end <= text.size(). `headingAt` is where the
// day's heading starts. `found` is false when the text has no heading for
// the day (the day then has no memo).
struct DayMemoSpan {
  bool found = false;
  std::size_t headingAt = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The first heading of `day` in the text, searched from the beginning, and
// the memo under it: it runs to the CR LF before the next heading of any
// day (a CR LF, "[", two bytes that are not examined, then "日]\r\n"), or,
// when none follows, to the end of the text less a final CR LF that lies
// inside it.
DayMemoSpan findDayMemo(std::string_view text, int day);

// Text that the split would store in no day: text above the first heading,
// text under a second copy of a heading, text under a heading of a day the
// month does not have (`daysInMonth` days) or under a heading-shaped line
// that names no day. Line breaks, spaces and tabs on their own do not
// count. `found` is false when nothing would be dropped; otherwise
// [begin, end) is the first line of the first such text, without its line
// break.
struct DroppedText {
  bool found = false;
  std::size_t begin = 0;
  std::size_t end = 0;
};
DroppedText findDroppedText(std::string_view text, int daysInMonth);

// A memo whose bytes changed on their way into the dialog's edits and back:
// bytes that are no Shift_JIS character become "・", and some characters
// come back as another code of the same character. `stored` is what the
// month file holds, `shown` what the same text gives when read back from
// the edit untouched.
struct MemoAsShown {
  bool changed = false;
  std::string stored;
  std::string shown;
};
// Index 0 is the month memo, 1..31 the days.
using MonthAsShown = std::array<MemoAsShown, 32>;

// The memos of the grid whose bytes `roundTrip` (the way to the edit and
// back) changes. A memo that `roundTrip` cannot carry at all is left out:
// no text read back from an edit can equal its shown form.
MonthAsShown monthAsShown(const MonthGrid& grid, bool (*roundTrip)(std::string_view, std::string&));

// Writes both edits back into the grid, which holds the month of the
// dialog: the month memo (replaced even when empty), then, for every day of
// the month, the memo the split finds (or none). A day that had no memo
// block gets `newMemoColour`; one that had keeps its colour. A memo that
// reads back exactly as it was shown (`asShown`, when given) keeps the bytes
// it had, so that the text of days nobody edited is never re-encoded. False
// when memory ran short; the grid then holds what was stored up to that
// point.
bool storeMonthDialogText(MonthGrid& grid, std::string_view monthMemo, std::string_view dayText,
                          Colour newMemoColour, const MonthAsShown* asShown = nullptr);
