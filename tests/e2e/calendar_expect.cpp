#include "e2e/calendar_expect.h"

#include <algorithm>

namespace {

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Weekday of a Gregorian date, 0 = Sunday (Sakamoto's method).
int weekdayOf(int year, int month, int day) {
  static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

// The longest run of one row (or column) of `band` that satisfies isRed,
// as a share of the band's length.
double bestRedRow(const Capture& capture, RECT band) {
  int length = band.right - band.left;
  int best = 0;
  for (int y = band.top; y < band.bottom; ++y) best = std::max(best, capture.count(RECT{band.left, y, band.right, y + 1}, isRed));
  return length > 0 ? static_cast<double>(best) / length : 0.0;
}

double bestRedColumn(const Capture& capture, RECT band) {
  int length = band.bottom - band.top;
  int best = 0;
  for (int x = band.left; x < band.right; ++x) best = std::max(best, capture.count(RECT{x, band.top, x + 1, band.bottom}, isRed));
  return length > 0 ? static_cast<double>(best) / length : 0.0;
}

}  // namespace

MonthShape monthShape(int year, int month) {
  static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  MonthShape shape;
  shape.year = year;
  shape.month = month;
  shape.firstWeekday = weekdayOf(year, month, 1);
  shape.days = lengths[month - 1] + (month == 2 && isLeap(year) ? 1 : 0);
  return shape;
}

CellPosition cellOfDay(const MonthShape& month, int day) {
  int index = month.firstWeekday + day - 1;
  return CellPosition{index / 7, index % 7};
}

int dayInCell(const MonthShape& month, int row, int column) {
  int day = row * 7 + column - month.firstWeekday + 1;
  return day >= 1 && day <= month.days ? day : 0;
}

RECT ExpectedLayout::cell(int row, int column) const {
  int left = gridLeft() + column * cellWidth();
  int top = gridTop() + row * cellHeight();
  return RECT{left, top, left + cellWidth(), top + cellHeight()};
}

RECT ExpectedLayout::cellOf(const MonthShape& month, int day) const {
  CellPosition position = cellOfDay(month, day);
  return cell(position.row, position.column);
}

POINT ExpectedLayout::centreOf(const MonthShape& month, int day) const {
  RECT rect = cellOf(month, day);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

FontMetrics measureSectionFont(int lfHeight) {
  // The defaults of a font section: "ＭＳ ゴシック", Shift_JIS character set,
  // stroke precision, draft quality, fixed pitch, modern family.
  LOGFONTW logfont{};
  logfont.lfHeight = lfHeight;
  logfont.lfWeight = 400;
  logfont.lfCharSet = SHIFTJIS_CHARSET;
  logfont.lfOutPrecision = OUT_STROKE_PRECIS;
  logfont.lfClipPrecision = CLIP_STROKE_PRECIS;
  logfont.lfQuality = DRAFT_QUALITY;
  logfont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpyW(logfont.lfFaceName, L"ＭＳ ゴシック");
  FontMetrics metrics;
  HFONT font = CreateFontIndirectW(&logfont);
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICW text{};
  if (GetTextMetricsW(screen, &text)) {
    metrics.height = text.tmHeight;
    metrics.averageWidth = text.tmAveCharWidth;
  }
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return metrics;
}

int sectionHeightGiving(int textHeight) {
  for (int offset : {0, -1, 1, -2, 2, -3, 3}) {
    int candidate = textHeight + offset;
    if (candidate > 0 && measureSectionFont(candidate).height == textHeight) return candidate;
  }
  return textHeight;
}

FontMetrics defaultMainFont() { return measureSectionFont(-20); }

RECT markRectLeft(RECT cell, const FontMetrics& mainFont) {
  return RECT{cell.left + 1, cell.top + 1, cell.left + 1 + 2 * mainFont.averageWidth,
              cell.top + 1 + mainFont.height};
}

bool CalendarProbe::hasCursor(int day) const {
  RECT cell = layout_.cellOf(month_, day);
  int width = layout_.cellWidth();
  int height = layout_.cellHeight();
  // The frame runs from (left + 2, top + 2) to (left + width, top + height)
  // with a 2-pixel pen; the bands below allow for where the pen's pixels
  // fall and keep clear of the day number.
  RECT top{cell.left + width / 2 + 2, cell.top + 1, cell.left + width - 4, cell.top + 4};
  RECT bottom{cell.left + 4, cell.top + height - 3, cell.left + width - 4, cell.top + height + 1};
  int sideTop = cell.top + mainFont_.height + 3;
  int sideBottom = cell.top + height - 4;
  RECT left{cell.left + 1, sideTop, cell.left + 5, sideBottom};
  RECT right{cell.left + width - 3, sideTop, cell.left + width + 1, sideBottom};
  constexpr double kSolid = 0.8;
  return bestRedRow(capture_, top) >= kSolid && bestRedRow(capture_, bottom) >= kSolid &&
         (sideBottom <= sideTop ||
          (bestRedColumn(capture_, left) >= kSolid && bestRedColumn(capture_, right) >= kSolid));
}

int CalendarProbe::cursorDay() const {
  int found = 0;
  for (int day = 1; day <= month_.days; ++day) {
    if (!hasCursor(day)) continue;
    if (found) return -1;
    found = day;
  }
  return found;
}

int CalendarProbe::markPixels(int day, COLORREF colour) const {
  RECT mark = markRectLeft(layout_.cellOf(month_, day), mainFont_);
  return capture_.count(mark, [colour](COLORREF c) { return sameColour(c, colour); });
}

bool CalendarProbe::hasMark(int day, COLORREF colour) const {
  RECT mark = markRectLeft(layout_.cellOf(month_, day), mainFont_);
  int area = (mark.right - mark.left) * (mark.bottom - mark.top);
  return area > 0 && markPixels(day, colour) * 4 >= area;
}

int CalendarProbe::markedDay(COLORREF colour) const {
  int found = 0;
  for (int day = 1; day <= month_.days; ++day) {
    if (!hasMark(day, colour)) continue;
    if (found) return -1;
    found = day;
  }
  return found;
}

RECT CalendarProbe::numberArea(RECT cell) const {
  return RECT{cell.left + 4, cell.top + 4, cell.right - 3, cell.top + 1 + mainFont_.height};
}
