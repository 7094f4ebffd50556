#include "app/cal_tool.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "app/ics_export.h"
#include "calendar/era.h"
#include "calendar/lunar_calendar.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "memo/month_store.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "settings/settings_file.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr Colour kMaxColour = 0x00FFFFFF;

const char kUsage[] =
    "usage: sorvane-cal show [--tsv] YEAR MONTH\n"
    "       sorvane-cal set-memo YEAR MONTH DAY [--color N] TEXT\n"
    "       sorvane-cal set-month-memo YEAR MONTH TEXT\n"
    "       sorvane-cal export --ics FROM TO [--holidays]   (months as YYYYMM)\n"
    "options: --ini FILE   settings file (default: sorvane-cal.ini beside this tool,\n"
    "                      else Sorvane.ini there)\n"
    "         --data DIR   directory of the month files (default: from the settings)\n"
    "         --color N    memo colour 0..16777215 (0x00BBGGRR); default: the day's\n"
    "                      colour, or the standard memo colour for a new memo\n"
    "TEXT is UTF-8; \"-\" reads it from standard input. Years start at 1980.\n";

struct Options {
  std::string command;
  std::vector<std::string> positional;
  bool tsv = false;
  bool ics = false;
  bool holidays = false;
  bool hasColour = false;
  Colour colour = 0;
  std::string iniPath;
  std::string dataDir;
};

struct Date {
  int year = 0;
  int month = 0;
};

int usageError(const ToolStreams& io, const std::string& why) {
  std::fprintf(io.err, "sorvane-cal: %s\n%s", why.c_str(), kUsage);
  return kExitUsage;
}

int failure(const ToolStreams& io, const std::string& why) {
  std::fprintf(io.err, "sorvane-cal: %s\n", why.c_str());
  return kExitFailed;
}

// A whole decimal number within [low, high], nothing else.
bool parseNumber(const std::string& text, long low, long high, long* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

// Splits the arguments into options and positional values. Options may
// stand anywhere after the command; "--" ends them.
bool parseArguments(const std::vector<std::string>& args, Options& options, std::string& why) {
  if (args.empty()) {
    why = "no command given";
    return false;
  }
  options.command = args[0];
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg[1] != '-') {
      options.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--tsv") {
      options.tsv = true;
    } else if (arg == "--ics") {
      options.ics = true;
    } else if (arg == "--holidays") {
      options.holidays = true;
    } else if (arg == "--ini" || arg == "--data" || arg == "--color") {
      if (i + 1 >= args.size()) {
        why = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "--ini") {
        options.iniPath = value;
      } else if (arg == "--data") {
        options.dataDir = value;
      } else {
        long colour = 0;
        if (!parseNumber(value, 0, kMaxColour, &colour)) {
          why = "--color takes a number from 0 to 16777215";
          return false;
        }
        options.hasColour = true;
        options.colour = static_cast<Colour>(colour);
      }
    } else {
      why = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

bool parseDate(const Options& options, Date& date, std::string& why) {
  long year = 0;
  long month = 0;
  if (!parseNumber(options.positional[0], kFirstYear, 9999, &year)) {
    why = "YEAR must be a year from 1980 to 9999";
    return false;
  }
  if (!parseNumber(options.positional[1], 1, 12, &month)) {
    why = "MONTH must be 1 to 12";
    return false;
  }
  date.year = static_cast<int>(year);
  date.month = static_cast<int>(month);
  return true;
}

// Points the core at the files the options name. Paths are given in UTF-8.
bool applyLocations(const Options& options, const ToolStreams& io) {
  std::string path;
  if (options.iniPath.empty()) {
    // By the program's rule the tool's settings are sorvane-cal.ini; without
    // one, it reads the program's Sorvane.ini beside it, as the release
    // unpacks them.
    std::string own = settingsFilePath();
    if (fileKind(own) == FileKind::Missing)
      overrideSettingsFilePath(joinPath(pathDirectory(own), "Sorvane.ini"));
  } else {
    if (!pathFromUtf8(options.iniPath, path)) return failure(io, "--ini: path cannot be used") == 0;
    // A folder, a pipe or a device would be read as no settings, and the
    // memos would go wherever the defaults say.
    FileKind kind = fileKind(path);
    if (kind != FileKind::Regular && kind != FileKind::Missing)
      return failure(io, "--ini: " + options.iniPath + " is not a file") == 0;
    overrideSettingsFilePath(path);
  }
  if (!options.dataDir.empty()) {
    if (!pathFromUtf8(options.dataDir, path)) return failure(io, "--data: path cannot be used") == 0;
    overrideDataDirectory(path);
  }
  std::string directory = dataDirectory();
  if (directory.empty() || fileKind(directory) != FileKind::Directory)
    return failure(io, "the data directory " + sjisToUtf8(directory) + " does not exist") == 0;
  return true;
}

// The core's warnings (a month file kept aside before a save, a lack of
// memory) are lines on standard error here, never a box on the screen.
std::FILE* warningStream = nullptr;
void printWarning(const char* text) { std::fprintf(warningStream, "sorvane-cal: %s\n", sjisToUtf8(text).c_str()); }

// ---- reading a month --------------------------------------------------------

// A holiday name as the calendar shows it: cut at the user-holiday marker.
std::string shownHolidayName(const DayCell& cell) {
  std::string_view name(cell.holidayName);
  return std::string(name.substr(0, sjisFind(name, "||")));
}

// One line per value: line ends, tabs and backslashes written as escapes.
std::string escapeForTsv(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
      out += "\\n";
      ++i;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\x0a";  // a bare LF is not what the editors write; keep it apart
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

// printf into a Shift_JIS string: the format's literals are Shift_JIS too.
void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 0) out.append(buffer, static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

// A memo indented under its heading, one terminal line per memo line.
void appendIndented(std::string& out, const std::string& memo) {
  std::string_view rest(memo);
  while (true) {
    std::size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end);
    if (!line.empty()) out.append("    ").append(line);
    out += '\n';
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 2);
  }
}

void printTsv(const MonthGrid& grid, const Date& date, std::FILE* out) {
  MonthLunarDates lunar;
  buildMonthLunarDates(date.year, date.month, lunar);
  const MemoText& monthMemo = grid.monthMemo();
  std::fprintf(out, "#month\t%d\t%s\n", monthMemo.present() ? 1 : 0,
               escapeForTsv(sjisToUtf8(monthMemo.text())).c_str());
  for (int day = 1; const DayCell* cell = grid.findDay(day); ++day) {
    bool hasMemo = cell->memo.present();
    // The lunar date and its rokuyo; empty fields where the day lies
    // outside the range the lunar calendar is computed for.
    const LunarDate lunarDate = day <= lunar.dayCount ? lunar.days[day] : LunarDate();
    char lunarText[16];
    std::string lunarField(formatLunarDate(lunarDate, lunarText, sizeof lunarText));
    std::string rokuyoField = lunarDate.month != 0 ? rokuyoName(rokuyoOf(lunarDate)) : "";
    std::fprintf(out, "%d\t%d\t%d\t%s\t%d\t%lu\t%s\t%s\t%s\n", cell->day, cell->weekday, cell->holidayKind,
                 escapeForTsv(sjisToUtf8(shownHolidayName(*cell))).c_str(), hasMemo ? 1 : 0,
                 hasMemo ? static_cast<unsigned long>(cell->memoColor) : 0UL,
                 escapeForTsv(sjisToUtf8(cell->memo.text())).c_str(), sjisToUtf8(lunarField).c_str(),
                 sjisToUtf8(rokuyoField).c_str());
  }
}

// The month as a small calendar, with marks after the day numbers: '*' a
// public holiday, '+' a user holiday, 'm' a memo. Built in Shift_JIS, like
// every text of the program, and converted for the terminal at the end.
void printCalendar(const MonthGrid& grid, const Date& date, bool eraYear, std::FILE* out) {
  std::string text;
  if (eraYear) {
    char era[32];
    const std::string_view yearText = formatEraYear(date.year, date.month, 1, era, sizeof era);
    appendf(text, "           %.*s%d月\n", static_cast<int>(yearText.size()), yearText.data(), date.month);
  } else {
    appendf(text, "           %d年%d月\n", date.year, date.month);
  }
  for (int weekday = 0; weekday < 7; ++weekday) appendf(text, "   %s", weekdayNameJa(weekday));
  text += '\n';
  for (int row = 0; row < 6; ++row) {
    std::string line;
    for (int column = 0; column < 7; ++column) {
      const DayCell& cell = grid.cell(row * 7 + column);
      if (cell.day == 0) {
        line += "     ";
        continue;
      }
      char holiday = cell.holidayKind == 1 ? '*' : cell.holidayKind == 2 ? '+' : ' ';
      appendf(line, "%3d%c%c", cell.day, holiday, cell.memo.present() ? 'm' : ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (!line.empty()) text.append(line).append("\n");
  }
  text += "(* 祝日  + 休日  m メモ)\n";

  bool heading = false;
  for (int day = 1; const DayCell* cell = grid.findDay(day); ++day) {
    if (cell->holidayKind == 0) continue;
    if (!heading) text += "\n祝日・休日:\n";
    heading = true;
    appendf(text, "  %2d日(%s) %s\n", day, weekdayNameJa(cell->weekday), shownHolidayName(*cell).c_str());
  }
  if (grid.monthMemo().present()) {
    text += "\n月のメモ:\n";
    appendIndented(text, grid.monthMemo().text());
  }
  heading = false;
  for (int day = 1; const DayCell* cell = grid.findDay(day); ++day) {
    if (!cell->memo.present()) continue;
    if (!heading) text += "\n日のメモ:\n";
    heading = true;
    appendf(text, "  %2d日(%s) 色 %lu\n", day, weekdayNameJa(cell->weekday),
            static_cast<unsigned long>(cell->memoColor));
    appendIndented(text, cell->memo.text());
  }
  std::fputs(sjisToUtf8(text).c_str(), out);
}

int showMonthCommand(const Options& options, const ToolStreams& io) {
  if (options.positional.size() != 2) return usageError(io, "show takes YEAR MONTH");
  Date date;
  std::string why;
  if (!parseDate(options, date, why)) return usageError(io, why);
  if (!applyLocations(options, io)) return kExitFailed;
  MonthGrid grid;
  grid.build(date.year, date.month);
  if (!grid.load(date.year, date.month)) return failure(io, "the month file could not be read whole");
  if (options.tsv) {
    printTsv(grid, date, io.out);
  } else {
    printCalendar(grid, date, readSettingInt("Sorvane", "WAREKI", 0) != 0, io.out);
  }
  return 0;
}

// ---- writing memos ----------------------------------------------------------

bool readAllInput(std::FILE* in, std::string& text) {
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
  return !std::ferror(in);
}

// The memo as the edit controls would hold it: Shift_JIS, CR LF line ends.
bool memoFromArgument(const std::string& argument, const ToolStreams& io, std::string& memo,
                      std::string& why) {
  std::string utf8 = argument;
  if (argument == "-") {
    utf8.clear();
    if (!readAllInput(io.in, utf8)) {
      why = "cannot read standard input";
      return false;
    }
  }
  // The memo ends at its first NUL when it is read back.
  if (utf8.find('\0') != std::string::npos) {
    why = "the text holds a NUL byte";
    return false;
  }
  std::string withCrLf;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) withCrLf += '\r';
    withCrLf += utf8[i];
  }
  if (!utf8ToSjis(withCrLf, memo)) {
    why = "the text has a character that Shift_JIS cannot hold (or is not UTF-8)";
    return false;
  }
  // The month file marks its blocks with "__#": inside a memo such text
  // would cut the memo short, or be taken for another day's memo, when the
  // file is read back.
  if (findBlockMarker(memo) != std::string::npos) {
    why = "the text holds \"__#\", which the month file uses to mark its memos";
    return false;
  }
  return true;
}

int loadForEdit(MonthGrid& grid, MonthFileBase& base, const Date& date, const ToolStreams& io) {
  if (!loadMonth(grid, date.year, date.month, base))
    return failure(io, "the month file could not be read whole; nothing was written");
  return 0;
}

// Saves the edited month. The file may have been changed since it was read
// (the calendar, another PC, another script): their other days stay, and a
// memo both changed keeps ours in the file and theirs in a copy, which the
// user is told of line by line.
int saveEdited(MonthGrid& grid, MonthFileBase& base, const Date& date, const ToolStreams& io) {
  MonthSaveResult result = saveMonth(grid, date.year, date.month, base);
  if (result.status == MonthSaveStatus::Locked)
    return failure(io, "another program is saving this month and did not finish; nothing was written");
  if (!result.saved()) return failure(io, "the month file could not be written");
  const std::string copy = sjisToUtf8(std::string(pathFileName(result.conflictCopy)));
  for (const MonthConflict& conflict : result.conflicts) {
    std::string what = conflict.day == 0 ? std::string("the month memo")
                                         : "the memo of day " + std::to_string(conflict.day);
    std::fprintf(io.err,
                 "sorvane-cal: %s of %04d/%02d was also changed by someone else: this text was stored, "
                 "the other one is kept in %s\n",
                 what.c_str(), date.year, date.month, copy.c_str());
  }
  return 0;
}

int setMemoCommand(const Options& options, const ToolStreams& io) {
  if (options.positional.size() != 4) return usageError(io, "set-memo takes YEAR MONTH DAY TEXT");
  Date date;
  std::string why;
  if (!parseDate(options, date, why)) return usageError(io, why);
  long day = 0;
  if (!parseNumber(options.positional[2], 1, daysInMonth(date.year, date.month), &day))
    return usageError(io, "DAY is not a day of that month");
  std::string memo;
  if (!memoFromArgument(options.positional[3], io, memo, why)) return failure(io, why);
  if (!applyLocations(options, io)) return kExitFailed;

  MonthGrid grid;
  MonthFileBase base;
  if (int code = loadForEdit(grid, base, date, io)) return code;
  DayCell* cell = grid.findDay(static_cast<int>(day));
  bool allocated = false;
  MemoText text = MemoText::copyOf(memo, &allocated);
  if (!allocated) return failure(io, "out of memory");
  // A new memo starts in the standard memo colour, as in the day editor.
  Colour colour = cell->memo.present()
                      ? cell->memoColor
                      : static_cast<Colour>(readSettingInt("COLOR", "MEMODEF", 0));
  if (options.hasColour) colour = options.colour;
  cell->memo = std::move(text);
  cell->memoColor = colour;
  return saveEdited(grid, base, date, io);
}

int setMonthMemoCommand(const Options& options, const ToolStreams& io) {
  if (options.positional.size() != 3) return usageError(io, "set-month-memo takes YEAR MONTH TEXT");
  if (options.hasColour) return usageError(io, "a month memo has no colour");
  Date date;
  std::string why;
  if (!parseDate(options, date, why)) return usageError(io, why);
  std::string memo;
  if (!memoFromArgument(options.positional[2], io, memo, why)) return failure(io, why);
  if (!applyLocations(options, io)) return kExitFailed;

  MonthGrid grid;
  MonthFileBase base;
  if (int code = loadForEdit(grid, base, date, io)) return code;
  if (!grid.setMonthMemo(memo)) return failure(io, "out of memory");
  return saveEdited(grid, base, date, io);
}

// ---- iCalendar export --------------------------------------------------------

// A month as YYYYMM, from January 1980 to December 9999.
bool parseYearMonth(const std::string& text, Date& date) {
  long value = 0;
  if (text.size() != 6 || !parseNumber(text, 198001, 999912, &value)) return false;
  date.year = static_cast<int>(value / 100);
  date.month = static_cast<int>(value % 100);
  return date.month >= 1 && date.month <= 12;
}

// Now in UTC, the DTSTAMP of every event of one export.
std::string utcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
  return text;
}

int exportCommand(const Options& options, const ToolStreams& io) {
  if (!options.ics) return usageError(io, "export needs a format: --ics");
  if (options.positional.size() != 2) return usageError(io, "export takes FROM TO (months as YYYYMM)");
  Date from, to;
  if (!parseYearMonth(options.positional[0], from) || !parseYearMonth(options.positional[1], to))
    return usageError(io, "FROM and TO must be months as YYYYMM, from 198001");
  if (to.year * 12 + to.month < from.year * 12 + from.month) return usageError(io, "TO comes before FROM");
  if (!applyLocations(options, io)) return kExitFailed;

  // The whole text first: a month that cannot be read leaves no half file.
  const std::string stamp = utcStamp();
  std::string text = icsBegin();
  MonthGrid grid;
  for (Date d = from; d.year * 12 + d.month <= to.year * 12 + to.month;) {
    grid.build(d.year, d.month);
    if (!grid.load(d.year, d.month))
      return failure(io, "the month file of " + std::to_string(d.year) + "/" + std::to_string(d.month) +
                             " could not be read whole");
    text += icsMonthEvents(grid, d.year, d.month, options.holidays, stamp);
    if (++d.month > 12) {
      d.month = 1;
      ++d.year;
    }
  }
  text += icsEnd();
  if (std::fwrite(text.data(), 1, text.size(), io.out) != text.size() || std::fflush(io.out) != 0)
    return failure(io, "the calendar could not be written");
  return 0;
}

}  // namespace

int runCalTool(const std::vector<std::string>& args, const ToolStreams& io) {
  warningStream = io.err;
  setWarningHook(printWarning);
  // One command is one operation: its settings come from one read.
  SettingsReadScope oneRead;
  Options options;
  std::string why;
  if (!parseArguments(args, options, why)) return usageError(io, why);
  if ((options.ics || options.holidays) && options.command != "export")
    return usageError(io, "--ics and --holidays belong to export");
  if (options.command == "show") return showMonthCommand(options, io);
  if (options.command == "set-memo") return setMemoCommand(options, io);
  if (options.command == "set-month-memo") return setMonthMemoCommand(options, io);
  if (options.command == "export") return exportCommand(options, io);
  if (options.command == "--help" || options.command == "help") {
    std::fputs(kUsage, io.out);
    return 0;
  }
  return usageError(io, "unknown command " + options.command);
}
