#pragma once
// The 六曜 in a day cell, beside its number (ROKUYO=1). Painting only
// draws: the month's lunar dates are worked out when the month is built.
#include <windows.h>

#include "calendar/colour.h"
#include "calendar/lunar_calendar.h"
#include "render/layout.h"

// Draws the 六曜 of `day` of `month` beside the day number, in `colour`
// with the day number's text effect, in a small type made from the font
// selected in `dc` (the day-number font, whose metrics are `numberMetrics`).
// `number` is where the number was drawn and `numberWidth` its width.
// Nothing for a day the month does not have or where the cell has no room.
void paintRokuyo(HDC dc, const MonthLunarDates& month, int day, const Rect& cell, const DayNumberPlacement& number,
                 int numberWidth, const TEXTMETRICW& numberMetrics, Colour colour);
