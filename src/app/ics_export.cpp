#include "app/ics_export.h"

#include <cstdio>

#include "calendar/month_grid.h"
#include "calendar/names.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"

namespace {

constexpr std::size_t kFoldOctets = 75;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string dateValue(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year % 10000, month % 100, day % 100);
  return text;
}

// The all-day event's end is the next day (exclusive).
std::string nextDateValue(int year, int month, int day) {
  if (day < daysInMonth(year, month)) return dateValue(year, month, day + 1);
  if (month < 12) return dateValue(year, month + 1, 1);
  return dateValue(year + 1, 1, 1);
}

std::string firstLine(std::string_view utf8) {
  return std::string(utf8.substr(0, utf8.find_first_of("\r\n")));
}

void appendEvent(std::string& out, const std::string& uid, const std::string& stamp, int year, int month,
                 int day, const std::string& summary, const std::string* description, bool holiday) {
  out += icsFoldLine("BEGIN:VEVENT");
  out += icsFoldLine("UID:" + uid);
  out += icsFoldLine("DTSTAMP:" + stamp);
  out += icsFoldLine("DTSTART;VALUE=DATE:" + dateValue(year, month, day));
  out += icsFoldLine("DTEND;VALUE=DATE:" + nextDateValue(year, month, day));
  out += icsFoldLine("SUMMARY:" + icsEscape(summary));
  if (description) out += icsFoldLine("DESCRIPTION:" + icsEscape(*description));
  // A holiday or a note takes no time out of the day.
  out += icsFoldLine("TRANSP:TRANSPARENT");
  if (holiday) out += icsFoldLine("CATEGORIES:HOLIDAY");
  out += icsFoldLine("END:VEVENT");
}

}  // namespace

std::string icsEscape(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\r') {
      out += "\\n";
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string icsFoldLine(std::string_view line) {
  std::string out;
  // The first physical line holds 75 octets; each continuation line holds
  // its leading space and 74 more.
  std::size_t room = kFoldOctets;
  while (line.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && isContinuationByte(static_cast<unsigned char>(line[cut]))) --cut;
    out.append(line.substr(0, cut)).append("\r\n ");
    line.remove_prefix(cut);
    room = kFoldOctets - 1;
  }
  out.append(line).append("\r\n");
  return out;
}

std::string icsBegin() {
  return icsFoldLine("BEGIN:VCALENDAR") + icsFoldLine("VERSION:2.0") +
         icsFoldLine("PRODID:-//Sorvane//sorvane-cal//JA") + icsFoldLine("CALSCALE:GREGORIAN");
}

std::string icsEnd() { return icsFoldLine("END:VCALENDAR"); }

std::string icsMonthEvents(const MonthGrid& grid, int year, int month, bool holidays, const std::string& stamp) {
  std::string out;
  for (int day = 1; const DayCell* cell = grid.findDay(day); ++day) {
    const std::string date = dateValue(year, month, day);
    if (holidays && cell->holidayKind != 0) {
      std::string_view name(cell->holidayName);
      name = name.substr(0, sjisFind(name, "||"));
      appendEvent(out, date + "-holiday@sorvane", stamp, year, month, day, sjisToUtf8(name), nullptr,
                  true);
    }
    if (cell->memo.present() && !cell->memo.text().empty()) {
      const std::string text = sjisToUtf8(cell->memo.text());
      appendEvent(out, date + "-memo@sorvane", stamp, year, month, day, firstLine(text), &text, false);
    }
  }
  return out;
}
