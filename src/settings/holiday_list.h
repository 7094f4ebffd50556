#pragma once
// What the holiday page of the settings dialog keeps: the fixed-date
// holidays of the "HOLIDAY" section as list lines "MMDD : name" with a
// user-defined flag, always in date order. Plain functions over plain
// records, so that the page itself only moves text between this list and
// its controls. Text is Shift_JIS.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every text of the page fits in a buffer of this many bytes with its NUL;
// an entry of a hand-edited section whose line would not fit is not listed.
constexpr std::size_t kHolidayTextCapacity = 212;
// The longest name the page takes, in bytes; with key, '=', "||" and the
// flag an entry then stays within 209 bytes.
constexpr std::size_t kHolidayNameLimit = 200;
// Each written entry's share of the section: the longest entry and its NUL.
constexpr std::size_t kHolidayEntryBytes = 210;

struct HolidayEntry {
  std::string line;  // "MMDD : name", at most kHolidayTextCapacity - 1 bytes
  int userDefined = 0;
};

// The section's entries (NUL-separated "key=value", as read whole) that
// the page lists, as list lines in date order. The page lists an entry it
// can write back without losing a byte of its name: four digits, '=', and a
// name (the value up to its first "||") that fits a list line whole and
// does not end in half a double-byte character. The flag is 1 when the
// character after the first "||" is '1'; without "||" it is 0.
std::vector<HolidayEntry> holidayEntriesFromSection(std::string_view entries);

// The section's other entries (a key that is no date, a line without '=',
// a name too long for the list), exactly as read and in their order. The
// page does not show them and writes them back unchanged.
std::vector<std::string> holidayEntriesKeptAsRead(std::string_view entries);

// The section the page writes: "%s=%s||%d" per line in list order, then the
// entries kept as read, each followed by a NUL, the whole ended by one more
// NUL.
std::string holidaySectionFromEntries(const std::vector<HolidayEntry>& entries,
                                      const std::vector<std::string>& keptAsRead = {});

// What OK writes to the section the page listed from `sectionAsRead`:
// nothing (nullopt) while the list still holds what was listed, so that the
// section stays byte for byte, comments and order included; otherwise the
// list's entries and, after them, those kept as read.
std::optional<std::string> holidaySectionToWrite(std::string_view sectionAsRead,
                                                 const std::vector<HolidayEntry>& entries);

enum class HolidayAddResult {
  Added,
  BadMonth,      // not a number from 1 to 12
  BadDay,        // not a day of that month (29 February is one)
  Duplicate,     // a line for that date is listed already
  EmptyName,
  NameTooLong,   // more than kHolidayNameLimit bytes
  NameHasBar,    // a '|' of its own: the line's "||" marker could not be found again
};

// Checks the three edits' texts in the page's order (month, day, date
// already listed, name) and, when they pass, inserts the line in date
// order; `index` receives its place in the list.
HolidayAddResult addHoliday(std::vector<HolidayEntry>& entries, std::string_view monthText,
                            std::string_view dayText, std::string_view name, bool userDefined,
                            std::size_t* index);

// The message for a refused addition (Shift_JIS), null for Added.
const char* holidayAddMessage(HolidayAddResult result);

// The parts of a line as the edits show them: month and day as they stand
// in the key (with their leading zeros) and the name after " : ".
struct HolidayFields {
  std::string month;
  std::string day;
  std::string name;
};
HolidayFields holidayFieldsOf(const HolidayEntry& entry);
