#pragma once
// What the tests expect on the screen, worked out here from the calendar's
// rules rather than taken from the program: the month's grid of 42 cells,
// the bands and cells of the client area, and probes that look for the
// cursor frame, the marks and the day numbers' colours in a capture.
#include <windows.h>

#include "e2e/client_capture.h"

// The month as laid out on the grid: six rows of seven, Sunday first.
struct MonthShape {
  int year = 0;
  int month = 0;
  int firstWeekday = 0;  // of the 1st, 0 = Sunday
  int days = 0;
};
MonthShape monthShape(int year, int month);

struct CellPosition {
  int row = 0;
  int column = 0;
};
CellPosition cellOfDay(const MonthShape& month, int day);
// The day in a cell, 0 for an empty one.
int dayInCell(const MonthShape& month, int row, int column);

// The client area's bands and cells for a client of the given size.
struct ExpectedLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  int toolStripHeight = 25; // the tool strip of a framed window; 0 frameless
  int titleHeight = 0;      // title font's text height + 1, when shown
  int weekHeaderHeight = 0; // weekday font's text height + 1, when shown

  int gridTop() const { return toolStripHeight + titleHeight + weekHeaderHeight; }
  int cellWidth() const { return (clientWidth - 1) / 7; }
  int cellHeight() const { return (clientHeight - gridTop() - 1) / 6; }
  int gridLeft() const { return (clientWidth - 7 * cellWidth()) / 2; }
  RECT cell(int row, int column) const;
  RECT cellOf(const MonthShape& month, int day) const;
  POINT centreOf(const MonthShape& month, int day) const;
};

// Text metrics of a font made as the program makes it from a font section
// that sets only HEIGHT (every other field at its default).
struct FontMetrics {
  int height = 0;        // text height
  int averageWidth = 0;  // average character width
};
FontMetrics measureSectionFont(int lfHeight);

// A HEIGHT for a font section whose font has the text height `textHeight`
// here (fonts round differently from system to system); `textHeight`
// itself when no nearby value gives it exactly.
int sectionHeightGiving(int textHeight);

// The day-number font as it is without a MAIN_FONT section.
FontMetrics defaultMainFont();

// The day number's mark rectangle for a number at the cell's left.
RECT markRectLeft(RECT cell, const FontMetrics& mainFont);

// Probes of one capture for one shown month.
class CalendarProbe {
 public:
  CalendarProbe(const Capture& capture, const ExpectedLayout& layout, const MonthShape& month,
                const FontMetrics& mainFont)
      : capture_(capture), layout_(layout), month_(month), mainFont_(mainFont) {}

  // Whether the cell shows the cursor frame: red lines along all four sides.
  bool hasCursor(int day) const;
  // The day whose cell shows the cursor; 0 for none, −1 for more than one.
  int cursorDay() const;
  // Pixels of `colour` in the day's mark rectangle.
  int markPixels(int day, COLORREF colour) const;
  // Whether the day's mark rectangle is mostly covered by `colour`.
  bool hasMark(int day, COLORREF colour) const;
  // The day whose mark is in `colour`; 0 for none, −1 for more than one.
  int markedDay(COLORREF colour) const;
  // Pixels of the day number that satisfy `wanted` (the number's area,
  // leaving out where a cursor frame could be).
  template <typename Predicate>
  int numberPixels(int day, Predicate wanted) const {
    return capture_.count(numberArea(layout_.cellOf(month_, day)), wanted);
  }
  int numberPixelsInCell(int row, int column, bool (*wanted)(COLORREF)) const {
    return capture_.count(numberArea(layout_.cell(row, column)), wanted);
  }

 private:
  RECT numberArea(RECT cell) const;

  const Capture& capture_;
  ExpectedLayout layout_;
  MonthShape month_;
  FontMetrics mainFont_;
};

// The program's colours, as COLORREF.
constexpr COLORREF kRed = 0x000000FF;         // SUNDAY, CURSOR
constexpr COLORREF kToday = 0x00FFC864;       // TODAY
constexpr COLORREF kYotei = 0x0096FFFF;       // YOTEI
constexpr COLORREF kTodayYotei = 0x00C8FF64;  // TODAYYOTEI
