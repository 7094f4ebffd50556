#include "app/accessible_text.h"

#include <cstdio>

#include "app/caption.h"
#include "calendar/names.h"
#include "platform/sjis.h"

namespace {

void appendPart(std::string& text, std::string_view part) {
  if (part.empty()) return;
  if (!text.empty()) text += ' ';
  text += part;
}

// The end of the first line: a CR or an LF. Both are single bytes that no
// Shift_JIS character holds as its second byte, so a plain scan is safe.
std::size_t firstLineEnd(std::string_view text) {
  std::size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? text.size() : end;
}

// What follows the first line's break (CR LF, a lone LF or a lone CR).
std::string_view afterFirstLine(std::string_view text, std::size_t lineEnd) {
  if (lineEnd >= text.size()) return {};
  std::size_t next = lineEnd + 1;
  if (text[lineEnd] == '\r' && next < text.size() && text[next] == '\n') ++next;
  return text.substr(next);
}

}  // namespace

std::string accessibleMonthName(YearMonth shown, bool eraYear) {
  // Always the "年" style: a reader says it as a month, not as digits.
  return formatCaption(2, shown.year, shown.month, 0, eraYear);
}

std::string_view spokenHolidayName(const DayCell& cell) {
  if (cell.holidayKind != 1 && cell.holidayKind != 2) return {};
  std::string_view name(cell.holidayName, sjisCutLength(cell.holidayName, sizeof cell.holidayName));
  name = name.substr(0, name.find('\0'));
  return name.substr(0, sjisFind(name, "||"));
}

DayAccessibleText dayAccessibleText(const DayCell& cell, YearMonth shown, bool today) {
  DayAccessibleText text;
  if (cell.day <= 0) return text;
  char date[32];
  std::snprintf(date, sizeof date, "%d月%d日", shown.month, cell.day);
  appendPart(text.name, date);
  std::string weekday = weekdayNameJa(cell.weekday % 7);
  weekday += "曜日";
  appendPart(text.name, weekday);
  if (today) appendPart(text.name, "今日");
  appendPart(text.name, spokenHolidayName(cell));
  if (cell.memo.present()) {
    MemoLock lock(cell.memo);
    if (lock.data()) {
      std::string_view memo(lock.data(), lock.length());
      std::size_t end = firstLineEnd(memo);
      appendPart(text.name, memo.substr(0, end));
      text.description = afterFirstLine(memo, end);
    }
  }
  return text;
}

int accessibleDayCount(const MonthGrid& grid) {
  int count = 0;
  for (int i = 0; i < kGridCells; ++i)
    if (grid.cell(i).day > count) count = grid.cell(i).day;
  return count;
}

int cellIndexOfDay(const MonthGrid& grid, int day) {
  if (day <= 0) return -1;
  const DayCell* cell = grid.findDay(day);
  return cell ? static_cast<int>(cell - &grid.cell(0)) : -1;
}

int stepFromDay(const MonthGrid& grid, int fromDay, CellStep step) {
  const int last = accessibleDayCount(grid);
  if (last == 0) return 0;
  if (fromDay == 0) {
    if (step == CellStep::FirstChild) return 1;
    if (step == CellStep::LastChild) return last;
    return 0;
  }
  const int index = cellIndexOfDay(grid, fromDay);
  if (index < 0) return 0;
  int to = -1;
  switch (step) {
    case CellStep::Next:
      return fromDay < last ? fromDay + 1 : 0;
    case CellStep::Previous:
      return fromDay > 1 ? fromDay - 1 : 0;
    case CellStep::Left:
      if (index % kGridColumns > 0) to = index - 1;
      break;
    case CellStep::Right:
      if (index % kGridColumns < kGridColumns - 1) to = index + 1;
      break;
    case CellStep::Up:
      to = index - kGridColumns;
      break;
    case CellStep::Down:
      to = index + kGridColumns;
      break;
    default:
      return 0;  // a cell has no children
  }
  if (to < 0 || to >= kGridCells) return 0;
  return grid.cell(to).day;
}

int dayAtPoint(const MonthGrid& grid, const GridLayout& layout, int clientWidth, int clientHeight, int x, int y) {
  int index = cellIndexAt(layout, clientWidth, clientHeight, x, y);
  return index < 0 ? 0 : grid.cell(index).day;
}

bool dayCellRect(const MonthGrid& grid, const GridLayout& layout, int clientWidth, int clientHeight, int day,
                 Rect& out) {
  int index = cellIndexOfDay(grid, day);
  if (index < 0) return false;
  out = cellRect(layout, clientWidth, clientHeight, index / kGridColumns, index % kGridColumns);
  return true;
}
