#pragma once
// iCalendar (RFC 5545) text for the memos and holidays of months: one
// all-day event per day memo and, when asked, one per holiday. UIDs depend
// only on the date and the kind of event, so a calendar that imports a
// second export updates its events instead of adding them again.
#include <string>
#include <string_view>

class MonthGrid;

// TEXT value escaping: backslash, semicolon, comma, and line ends as "\n"
// (CR LF, CR and LF alike).
std::string icsEscape(std::string_view utf8);

// One content line, folded after at most 75 octets per physical line (the
// continuation lines begin with a space), never inside a UTF-8 sequence;
// every physical line ends in CR LF.
std::string icsFoldLine(std::string_view line);

// The calendar's opening and closing lines.
std::string icsBegin();
std::string icsEnd();

// The events of one built and loaded month. `stamp` is the DTSTAMP value
// ("YYYYMMDDTHHMMSSZ"). Memo and holiday texts in the grid are Shift_JIS.
std::string icsMonthEvents(const MonthGrid& grid, int year, int month, bool holidays,
                           const std::string& stamp);
