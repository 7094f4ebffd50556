#pragma once
// The text of the main window's caption (and of the title band, which shows
// the caption again): the month in one of three styles, or today's date
// while the window is minimised and the settings ask for it.
#include <string>

// `titleStyle` is the TITLE setting: 1 "2004 May", 2 "2004年5月", anything
// else "2004/05". When `day` is above 0 the day part is appended:
// "2004/05/06", "2004 May 6", "2004年5月6日". Shift_JIS.
// With `eraYear` (the WAREKI setting) a style that writes the year with "年"
// writes the era year of the month's first day instead: "令和8年12月",
// "令和元年5月"; the other styles stay as they are.
std::string formatCaption(int titleStyle, int year, int month, int day, bool eraYear = false);
