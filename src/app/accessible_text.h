#pragma once
// What a screen reader hears of the calendar, built from the month grid in
// memory (no file is read): the table's name and, for every day, a name
// and a description. Shift_JIS, like every text inside the program; the
// accessibility interface converts it at its boundary.
//
// The child ids of the calendar's object are the day numbers: day d is
// child d, so an id stays valid for as long as the month is shown.
#include <string>
#include <string_view>

#include "calendar/month_grid.h"
#include "calendar/month_step.h"
#include "render/layout.h"

// "2026年12月" whatever caption style is chosen; with `eraYear` (the WAREKI
// setting) the era year of the month's first day, "令和8年12月".
std::string accessibleMonthName(YearMonth shown, bool eraYear);

// The holiday's name as it is said: empty on an ordinary day; a user
// holiday's name without its "||" marker and what follows the marker.
std::string_view spokenHolidayName(const DayCell& cell);

struct DayAccessibleText {
  std::string name;         // "12月7日 月曜日 今日 祝日名 メモの一行目"
  std::string description;  // the memo after its first line, else empty
};

// The name of a day cell of the shown month: the date, the weekday, "今日"
// when `today`, the holiday's name and the memo's first line, separated by
// spaces (parts that are empty are left out). The memo's other lines go to
// the description only. An empty cell gives two empty texts.
DayAccessibleText dayAccessibleText(const DayCell& cell, YearMonth shown, bool today);

// The number of days of the month in the grid (its children).
int accessibleDayCount(const MonthGrid& grid);
// The grid index of `day`, or −1 when the grid has no such day.
int cellIndexOfDay(const MonthGrid& grid, int day);

// Where a step from one child leads, as a table's cells do: left and right
// stay within the week row, up and down within the weekday column, next and
// previous follow the days, first and last from the table itself.
enum class CellStep { Up, Down, Left, Right, Next, Previous, FirstChild, LastChild };
// The day reached from `fromDay` (0: the table itself), or 0 when the step
// leads nowhere.
int stepFromDay(const MonthGrid& grid, int fromDay, CellStep step);

// The day under a client point, or 0 (bands, margins, empty cells).
int dayAtPoint(const MonthGrid& grid, const GridLayout& layout, int clientWidth, int clientHeight, int x, int y);
// The client rectangle of `day`'s cell; false when the grid has no such day.
bool dayCellRect(const MonthGrid& grid, const GridLayout& layout, int clientWidth, int clientHeight, int day,
                 Rect& out);
