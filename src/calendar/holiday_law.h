#pragma once
// Japan's public holidays as the law in force on each date decided them,
// from 1980 on: the fixed dates with the years they held, the Monday rules
// with their first years, the equinoxes, the one-off days, the substitute
// rule before and after 2007 and the citizens' holidays. Used instead of the
// "HOLIDAY" section's public entries when the main section's HOLIDAY_LAW is 1.
class MonthGrid;

// True when the settings file asks for the law (HOLIDAY_LAW=1).
bool holidayLawEnabled();

// The law's name for the date (Shift_JIS), or null on an ordinary day.
// Substitute days are "振替休日", citizens' holidays "国民の休日".
const char* lawHolidayName(int year, int month, int day);

// Marks the grid's days by the law (kind 1); the section's user holidays
// ("||1") still mark the days the law leaves ordinary (kind 2). Runs on a
// grid whose days are laid out and whose holiday fields are cleared.
void applyHolidayLaw(MonthGrid& grid, int year, int month);
