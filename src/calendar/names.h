#pragma once
// Name tables and the small date rules every part of the calendar shares.
// Names are Shift_JIS.

// Days per month for month 1..12, February as 28; callers add the leap day
// with isLeapYear. 0 for a month outside 1..12.
int daysInMonthTable(int month);
// 28..31 for month 1..12 of the year, leap day included.
int daysInMonth(int year, int month);
bool isLeapYear(int year);

// "日" … "土" and "Sun" … "Sat" for weekday 0..6 (0 = Sunday).
const char* weekdayNameJa(int index);
const char* weekdayNameEn(int index);
// "Jan" … "Dec" for index 0..11 (month - 1).
const char* monthNameEn(int index);
