#include "memo/month_dialog_text.h"

#include <cstdio>
#include <vector>

#include "calendar/month_grid.h"

namespace {

// "日]\r\n" in Shift_JIS, written as bytes so that every compiler (the
// fuzzer's too) sees the same five bytes.
constexpr std::string_view kHeadingTail{"\x93\xfa]\r\n", 5};

// A heading of any day starts at `at`: "[", two bytes, "日]\r\n".
bool headingShapeAt(std::string_view text, std::size_t at) {
  return at + kDayHeadingLength <= text.size() && text[at] == '[' && text.substr(at + 3, kHeadingTail.size()) == kHeadingTail;
}

bool isBlank(char c) { return c == '\r' || c == '\n' || c == ' ' || c == '\t'; }

void cover(std::vector<bool>& covered, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < covered.size(); ++i) covered[i] = true;
}

// The first line with something on it in [from, to), skipping a heading
// line at its start: that is the text the user would miss.
DroppedText meaningfulLine(std::string_view text, std::size_t from, std::size_t to) {
  std::size_t at = from;
  if (headingShapeAt(text.substr(0, to), at)) at += kDayHeadingLength;
  while (at < to && isBlank(text[at])) ++at;
  DroppedText dropped;
  if (at >= to) return dropped;
  std::size_t end = at;
  // CR and LF never occur inside a double-byte character (trail bytes start at 0x40).
  while (end < to && text[end] != '\r' && text[end] != '\n') ++end;
  dropped.found = true;
  dropped.begin = at;
  dropped.end = end;
  return dropped;
}

}  // namespace

std::string dayMemoHeading(int day) {
  char number[8];
  std::snprintf(number, sizeof number, "%2d", day);
  std::string heading = "[";
  heading += number;
  heading += kHeadingTail;
  return heading;
}

std::string buildDayMemoText(const MonthGrid& grid) {
  std::string text;
  for (int day = 1; day <= 31; ++day) {
    const DayCell* cell = grid.findDay(day);
    if (!cell) break;
    if (!cell->memo.present()) continue;
    text += dayMemoHeading(day);
    text += cell->memo.text();
    text += "\r\n";
  }
  return text;
}

DayMemoSpan findDayMemo(std::string_view text, int day) {
  DayMemoSpan span;
  std::size_t heading = text.find(dayMemoHeading(day));
  if (heading == std::string_view::npos) return span;
  span.found = true;
  span.headingAt = heading;
  span.begin = heading + kDayHeadingLength;
  // The next heading of any day: CR LF, then a heading's shape. Its digits
  // are not looked at.
  for (std::size_t at = span.begin; at + 2 + kDayHeadingLength <= text.size(); ++at) {
    if (text[at] == '\r' && text[at + 1] == '\n' && headingShapeAt(text, at + 2)) {
      span.end = at;
      return span;
    }
  }
  span.end = text.size();
  if (text.size() >= span.begin + 2 && text.substr(text.size() - 2) == "\r\n") span.end = text.size() - 2;
  return span;
}

DroppedText findDroppedText(std::string_view text, int daysInMonth) {
  std::vector<bool> covered(text.size(), false);
  for (int day = 1; day <= daysInMonth && day <= 31; ++day) {
    DayMemoSpan span = findDayMemo(text, day);
    if (!span.found) continue;
    cover(covered, span.headingAt, span.begin);
    cover(covered, span.begin, span.end);
    // The CR LF that ends the memo: before the next heading, or the text's last.
    if (span.end < text.size()) cover(covered, span.end, span.end + 2);
  }
  std::size_t at = 0;
  while (at < text.size()) {
    if (covered[at]) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && !covered[end]) ++end;
    DroppedText dropped = meaningfulLine(text, at, end);
    if (dropped.found) return dropped;
    at = end;
  }
  return DroppedText{};
}

bool storeMonthDialogText(MonthGrid& grid, std::string_view monthMemo, std::string_view dayText,
                          Colour newMemoColour) {
  if (!grid.setMonthMemo(monthMemo)) return false;
  for (int day = 1; day <= 31; ++day) {
    DayCell* cell = grid.findDay(day);
    if (!cell) break;
    bool hadMemo = cell->memo.present();
    cell->memo.reset();
    DayMemoSpan span = findDayMemo(dayText, day);
    if (!span.found) continue;
    bool ok = true;
    MemoText memo = MemoText::copyOf(dayText.substr(span.begin, span.end - span.begin), &ok);
    if (!ok) return false;
    cell->memo = std::move(memo);
    if (!hadMemo) cell->memoColor = newMemoColour;
  }
  return true;
}
