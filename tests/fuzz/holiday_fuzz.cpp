// Feeds any bytes to the two readers of the "HOLIDAY" section: the holiday
// rules that name a month's holidays (through a settings file on a memory file system, as the
// calendar reads it) and the holiday page's list. Besides the sanitizers it
// checks what must hold for any input:
//   - every day of the month has a holiday kind of 0, 1 or 2 and a name
//     that ends inside its buffer;
//   - the list's lines fit the page's buffers and stay in date order, and
//     writing the list and reading it again gives the same list from the
//     second round on;
//   - a holiday the page adds is in the list read back from what it writes.
// Input: an optional first line "YYYYMM" (the month to build), then the
// section's entries, "key=value" separated by NUL or line breaks.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calendar/month_grid.h"
#include "platform/sjis.h"
#include "settings/holiday_list.h"
#include "settings/settings_file.h"

namespace {

// A broken check names its line, so that a finding says which check broke.
#define require(condition)                                                 \
  do {                                                                     \
    if (!(condition)) {                                                    \
      std::fprintf(stderr, "holiday_fuzz: check on line %d broken\n", __LINE__); \
      std::abort();                                                        \
    }                                                                      \
  } while (false)

const std::string& settingsFile() {
  static const std::string path = [] {
    char directory[] = "/dev/shm/sorvane-holiday-fuzz-XXXXXX";
    require(::mkdtemp(directory) != nullptr);
    return std::string(directory) + "/Sorvane.ini";
  }();
  return path;
}

void checkMonth(int year, int month, std::string_view entries) {
  std::string ini = "[HOLIDAY]\r\n";
  for (char c : entries) ini += c == '\0' ? '\n' : c;
  // Written plainly: how the file gets there is not what is fuzzed here.
  std::FILE* file = std::fopen(settingsFile().c_str(), "wb");
  require(file != nullptr);
  require(std::fwrite(ini.data(), 1, ini.size(), file) == ini.size());
  require(std::fclose(file) == 0);
  overrideSettingsFilePath(settingsFile());
  MonthGrid grid;
  require(grid.build(year, month));
  for (int i = 0; i < kGridCells; ++i) {
    const DayCell& cell = grid.cell(i);
    require(cell.holidayKind >= 0 && cell.holidayKind <= 2);
    require(std::memchr(cell.holidayName, '\0', sizeof cell.holidayName) != nullptr);
    if (cell.day == 0) require(cell.holidayKind == 0);
  }
}

bool sameList(const std::vector<HolidayEntry>& a, const std::vector<HolidayEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].line != b[i].line || a[i].userDefined != b[i].userDefined) return false;
  return true;
}

void checkList(const std::vector<HolidayEntry>& list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    require(list[i].line.size() < kHolidayTextCapacity);
    require(list[i].userDefined == 0 || list[i].userDefined == 1);
    if (i > 0) require(!(list[i].line < list[i - 1].line));
    HolidayFields fields = holidayFieldsOf(list[i]);
    require(fields.month.size() + fields.day.size() + fields.name.size() <= list[i].line.size());
  }
}

void checkPage(std::string_view entries, std::string_view tail) {
  std::vector<HolidayEntry> first = holidayEntriesFromSection(entries);
  checkList(first);
  std::vector<HolidayEntry> second = holidayEntriesFromSection(holidaySectionFromEntries(first));
  checkList(second);
  std::vector<HolidayEntry> third = holidayEntriesFromSection(holidaySectionFromEntries(second));
  require(sameList(second, third));

  // An addition from the end of the input: "M D name".
  std::size_t space = tail.find(' ');
  std::size_t space2 = space == std::string_view::npos ? space : tail.find(' ', space + 1);
  if (space2 == std::string_view::npos) return;
  std::string_view name = tail.substr(space2 + 1);
  std::size_t index = 0;
  std::vector<HolidayEntry> list = second;
  HolidayAddResult result =
      addHoliday(list, tail.substr(0, space), tail.substr(space + 1, space2 - space - 1), name, true, &index);
  require((result == HolidayAddResult::Added) == (holidayAddMessage(result) == nullptr));
  if (result != HolidayAddResult::Added) {
    require(sameList(list, second));
    return;
  }
  require(list.size() == second.size() + 1 && index < list.size());
  checkList(list);
  // A name the section can carry comes back as it was added: whole
  // characters (as the page's edit gives them), no NUL, no marker.
  // A '|' anywhere is left out: "a|" is written "a|||1", which reads back
  // as "a" without the flag (a known limit of the section's format).
  if (name.find('\0') != std::string_view::npos || name.find('|') != std::string_view::npos) return;
  if (!name.empty() && isSjisLeadByte(static_cast<unsigned char>(name[sjisStartOfLastChars(name, 1)])) &&
      sjisStartOfLastChars(name, 1) + 1 == name.size())
    return;
  std::vector<HolidayEntry> back = holidayEntriesFromSection(holidaySectionFromEntries(list));
  bool found = false;
  for (const HolidayEntry& entry : back) found = found || (entry.line == list[index].line && entry.userDefined == 1);
  require(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  int year = 1980 + static_cast<int>(size % 121);
  int month = 1 + static_cast<int>(size % 12);
  if (input.size() >= 7 && input[6] == '\n' && input.substr(0, 6).find_first_not_of("0123456789") == std::string_view::npos) {
    year = std::atoi(std::string(input.substr(0, 4)).c_str());
    month = std::atoi(std::string(input.substr(4, 2)).c_str());
    if (year < 1980 || month < 1 || month > 12) return 0;
    input.remove_prefix(7);
  }
  checkMonth(year, month, input);
  std::size_t lastLine = input.rfind('\n');
  checkPage(input, lastLine == std::string_view::npos ? input : input.substr(lastLine + 1));
  return 0;
}
