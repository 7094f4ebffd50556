#include "memo/month_dialog_text.h"

#include <cstdio>
#include <vector>

#include "calendar/month_grid.h"
#include "platform/sjis.h"

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

// The bytes to store for text read back from the dialog: the memo's own
// bytes when the text is what the dialog showed of them.
std::string_view unchangedBytes(std::string_view text, const MemoAsShown* shown) {
  if (shown && shown->changed && text == shown->shown) return shown->stored;
  return text;
}

void noteAsShown(MemoAsShown& entry, const MemoText& memo, bool (*roundTrip)(std::string_view, std::string&)) {
  if (!memo.present()) return;
  std::string stored = memo.text();
  std::string shown;
  if (!roundTrip(stored, shown) || shown == stored) return;
  entry.changed = true;
  entry.stored = std::move(stored);
  entry.shown = std::move(shown);
}

}  // namespace

MonthAsShown monthAsShown(const MonthGrid& grid, bool (*roundTrip)(std::string_view, std::string&)) {
  MonthAsShown result;
  noteAsShown(result[0], grid.monthMemo(), roundTrip);
  for (int day = 1; day <= 31; ++day) {
    const DayCell* cell = grid.findDay(day);
    if (!cell) break;
    noteAsShown(result[day], cell->memo, roundTrip);
  }
  return result;
}

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
  // Only a "[" that begins a character opens a heading: the second byte of
  // a double-byte character such as "ー" (0x81 0x5B) is no "[".
  std::size_t heading = sjisFind(text, dayMemoHeading(day));
  if (heading == std::string_view::npos) return span;
  span.found = true;
  span.headingAt = heading;
  span.begin = heading + kDayHeadingLength;
  // A heading right under this one ends the memo before it begins: the
  // heading's own CR LF is the line break in front of the next heading.
  // Otherwise the day above would take the next day's heading and text.
  if (headingShapeAt(text, span.begin)) {
    span.end = span.begin;
    return span;
  }
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
    // The CR LF that ends the memo: before the next heading, or the text's
    // last. An empty memo right above a heading has none of its own.
    if (span.end < text.size() && text[span.end] == '\r') cover(covered, span.end, span.end + 2);
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
                          Colour newMemoColour, const MonthAsShown* asShown) {
  if (!grid.setMonthMemo(unchangedBytes(monthMemo, asShown ? &(*asShown)[0] : nullptr))) return false;
  for (int day = 1; day <= 31; ++day) {
    DayCell* cell = grid.findDay(day);
    if (!cell) break;
    bool hadMemo = cell->memo.present();
    cell->memo.reset();
    DayMemoSpan span = findDayMemo(dayText, day);
    if (!span.found) continue;
    bool ok = true;
    std::string_view text = dayText.substr(span.begin, span.end - span.begin);
    MemoText memo = MemoText::copyOf(unchangedBytes(text, asShown ? &(*asShown)[day] : nullptr), &ok);
    if (!ok) return false;
    cell->memo = std::move(memo);
    if (!hadMemo) cell->memoColor = newMemoColour;
  }
  return true;
}
