#include "render/paint.h"

#include <cstdio>
#include <string>

#include "calendar/names.h"
#include "platform/clock.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "render/contrast_colours_win.h"
#include "render/fonts.h"
#include "render/gdi_guards_win.h"
#include "render/gdi_text_win.h"
#include "render/picture.h"
#include "render/rokuyo_paint.h"
#include "settings/app_settings.h"

namespace {

GridLayout layout;
bool copying = false;

// The title band shows the caption, up to 63 bytes of it.
constexpr int kTitleTextCapacity = 64;

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

TEXTMETRICW metricsOf(HDC dc, HFONT font) {
  SelectGuard select(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics;
}

RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

Colour weekdayColour(int weekday) {
  if (weekday == 0) return paintColour(kColourSunday);
  if (weekday == 6) return paintColour(kColourSaturday);
  return paintColour(kColourNormalDay);
}

bool hasVisibleMemo(const DayCell& cell) {
  if (copying || !cell.memo.present()) return false;
  MemoLock text(cell.memo);
  return text.data() && text.data()[0] != '\0';
}

// A length of `pixels` at 96 DPI at the DPI of the paint.
int px(int pixels) { return scaleToDpi(pixels, layout.dpi); }

void drawMark(HDC dc, int style, const Rect& r, Colour colour) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, px(2), colour));
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  SelectGuard selectPen(dc, pen.get());
  SelectGuard selectBrush(dc, brush.get());
  RECT rect = toRECT(r);
  switch (static_cast<MarkStyle>(paintMarkStyle(style))) {
    case MarkStyle::FilledBox:
      FillRect(dc, &rect, brush.get());
      break;
    case MarkStyle::Box: {
      SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
      break;
    }
    case MarkStyle::FilledCircle:
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      break;
    case MarkStyle::Circle: {
      SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      break;
    }
    case MarkStyle::Underline:
      MoveToEx(dc, r.left, r.bottom, nullptr);
      LineTo(dc, r.right, r.bottom);
      break;
    default:
      break;
  }
}

// The window's own DC lines the desktop up by itself. Any other DC (the
// clipboard's bitmap) starts at the screen's corner: the desktop is painted
// shifted by the client area's place on the screen, so that the picture
// shows what lies behind the window.
void paintDesktopBehind(HWND window, HDC dc) {
  if (WindowFromDC(dc) == window) {
    PaintDesktop(dc);
    return;
  }
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  POINT previous{};
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  PaintDesktop(dc);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

}  // namespace

GridLayout& gridLayout() { return layout; }
bool copyingToClipboard() { return copying; }
void setCopyingToClipboard(bool value) { copying = value; }

void paintCalendar(HWND window, HDC dc, const CalendarView& view) {
  measureLayout(window, dc, view);
  paintBackground(window, dc);
  paintTitle(window, dc);
  paintWeekHeader(window, dc);
  paintGrid(window, dc, view);
  paintCursor(window, dc, view);
}

void measureLayout(HWND window, HDC dc, const CalendarView& view) {
  const AppSettings& s = appSettings();
  layout.dpi = view.dpi;
  layout.titleHeight =
      s.displayTitle() != 0 ? metricsOf(dc, static_cast<HFONT>(font(FontRole::Title))).tmHeight + px(1) : 0;
  layout.toolStripHeight = 0;
  if (!view.frameless && view.toolWindow) {
    RECT strip{};
    if (GetWindowRect(view.toolWindow, &strip)) layout.toolStripHeight = strip.bottom - strip.top;
  }
  layout.weekHeaderHeight =
      s.week() != 0 ? metricsOf(dc, static_cast<HFONT>(font(FontRole::Week))).tmHeight + px(1) : 0;
  layout.gridLeft = gridLeftFor(clientSize(window).cx);
}

void paintBackground(HWND window, HDC dc) {
  const AppSettings& s = appSettings();
  SIZE size = clientSize(window);
  const int wall = paintWallStyle(s.wall());
  if (wall == 1) {
    paintDesktopBehind(window, dc);
    return;
  }
  if (wall == 2) {
    HBITMAP picture = static_cast<HBITMAP>(pictureBitmap());
    if (!picture) return;  // the class's white erase shows
    {
      MemoryDC memory(dc);
      SelectGuard select(memory.get(), picture);
      if (s.autoSize() != 0) {
        StretchBlt(dc, 0, layout.toolStripHeight, size.cx, size.cy - layout.toolStripHeight, memory.get(), 0, 0,
                   pictureWidth(), pictureHeight(), SRCCOPY);
      } else {
        BitBlt(dc, 0, layout.toolStripHeight, pictureWidth(), pictureHeight(), memory.get(), 0, 0, SRCCOPY);
      }
    }
    if (HPALETTE palette = static_cast<HPALETTE>(picturePalette())) {
      SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
    return;
  }
  GdiObject<HBRUSH> brush(CreateSolidBrush(paintColour(kColourBack)));
  RECT client{0, 0, size.cx, size.cy};
  FillRect(dc, &client, brush.get());
}

void paintTitle(HWND window, HDC dc) {
  const AppSettings& s = appSettings();
  if (s.displayTitle() == 0) return;
  SelectGuard select(dc, font(FontRole::Title));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT rect = toRECT(titleRect(layout, clientSize(window).cx, metrics.tmHeight));
  // The caption is read back from the window, as the title band repeats it.
  wchar_t caption[kTitleTextCapacity] = {};
  GetWindowTextW(window, caption, kTitleTextCapacity);
  std::string text;
  wideToSjis(caption, text);
  // Cut to 63 bytes, the room the band has always had.
  text.resize(sjisCutLength(text, kTitleTextCapacity - 1));
  ScreenText title(text);
  drawEffectText(dc, s.titleType(), paintColour(kColourMonthWrap), paintColour(kColourMonth), [&](int dx, int dy) {
    drawTextIn(dc, title, RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}, DT_CENTER);
  }, px(1));
}

void paintWeekHeader(HWND window, HDC dc) {
  const AppSettings& s = appSettings();
  if (s.week() == 0) return;
  SelectGuard select(dc, font(FontRole::Week));
  SetBkMode(dc, TRANSPARENT);
  int width = clientSize(window).cx;
  for (int column = 0; column < kGridColumns; ++column) {
    RECT rect = toRECT(weekHeaderRect(layout, width, column));
    ScreenText name(s.engWeek() == 1 ? weekdayNameEn(column) : weekdayNameJa(column));
    drawEffectText(dc, s.weekType(), paintColour(kColourWeekWrap), weekdayColour(column), [&](int dx, int dy) {
      drawTextIn(dc, name, RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy},
                 DT_CENTER | DT_NOCLIP);
    }, px(1));
  }
}

void paintGrid(HWND window, HDC dc, const CalendarView& view) {
  const AppSettings& s = appSettings();
  SIZE size = clientSize(window);
  int cellWidth = cellWidthFor(size.cx);
  int cellHeight = cellHeightFor(size.cy, layout.gridTop());
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, paintColour(kColourFrame)));
  SelectGuard selectPen(dc, pen.get());
  SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      const DayCell& cell = view.grid->cell(row * kGridColumns + column);
      int x = layout.gridLeft + column * cellWidth;
      int y = layout.gridTop() + row * cellHeight;
      // One pixel more on the right and bottom: neighbours share their lines.
      if (s.displayWaku() == 1) Rectangle(dc, x, y, x + cellWidth + 1, y + cellHeight + 1);
      paintDayNumber(dc, cell, x, y, cellWidth, cellHeight, view.shown, view.lunar);
      if (s.displayMemo() == 1) paintDayMemo(dc, cell, x, y, cellWidth, cellHeight);
    }
  }
}

void paintDayNumber(HDC dc, const DayCell& cell, int x, int y, int cellWidth, int cellHeight, YearMonth shown,
                    const MonthLunarDates* lunar) {
  if (cell.day == 0) return;
  const AppSettings& s = appSettings();
  SelectGuard select(dc, font(FontRole::Main));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", cell.day);
  ScreenText number(digits);
  SIZE extent = measureText(dc, digits);
  DayNumberPlacement place = placeDayNumber(x, y, cellWidth, s.dayPos(), metrics.tmHeight, metrics.tmAveCharWidth,
                                            extent.cx, metrics.tmItalic != 0, layout.dpi);

  bool memo = hasVisibleMemo(cell);
  Colour numberColour = weekdayColour(cell.weekday);
  if (cell.holidayKind == 1 || cell.holidayKind == 2) numberColour = paintColour(kColourSunday);
  LocalTime now = localTimeNow();
  bool today = !copying && now.year == shown.year && now.month == shown.month && now.day == cell.day;

  SetBkMode(dc, TRANSPARENT);
  if (today) {
    drawMark(dc, s.tmark(), place.markRect, paintColour(memo ? kColourTodayYotei : kColourToday));
  } else if (memo) {
    drawMark(dc, s.ymark(), place.markRect, paintColour(kColourYotei));
  }
  drawEffectText(dc, s.dayType(), paintColour(kColourDayWrap), numberColour,
                 [&](int dx, int dy) { drawTextAt(dc, number, place.textX + dx, place.textY + dy); }, px(1));
  if (lunar && s.rokuyo() != 0)
    paintRokuyo(dc, *lunar, cell.day, Rect{x, y, x + cellWidth, y + cellHeight}, place, extent.cx, metrics,
                numberColour);
}

void paintDayMemo(HDC dc, const DayCell& cell, int x, int y, int cellWidth, int cellHeight) {
  if (!cell.memo.present()) return;
  MemoLock text(cell.memo);
  if (!text.data()) return;
  const AppSettings& s = appSettings();
  RECT rect = toRECT(memoRect(x, y, cellWidth, cellHeight, s.mainFontHeight(), layout.dpi));
  SetBkMode(dc, TRANSPARENT);
  SelectGuard select(dc, font(FontRole::Memo));
  ScreenText memo(std::string_view(text.data(), text.length()));
  // Asked once: an outlined memo is drawn five times.
  const int lineHeight = lineHeightOf(dc);
  const Colour colour = memoPaintColour(cell.memoColor);
  drawEffectText(dc, s.memoType(), paintColour(kColourMemoWrap), colour, [&](int dx, int dy) {
    drawLinesIn(dc, memo, RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}, lineHeight);
  }, px(1));
}

void paintCursor(HWND window, HDC dc, const CalendarView& view) {
  if (copying) return;
  const DayCell* target = view.grid->findDay(view.cursorDay);
  if (!target || view.cursorDay <= 0) return;
  int index = static_cast<int>(target - &view.grid->cell(0));
  SIZE size = clientSize(window);
  Rect cell = cellRect(layout, size.cx, size.cy, index / kGridColumns, index % kGridColumns);
  Rect frame = cursorRect(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, layout.dpi);
  GdiObject<HPEN> pen(CreatePen(PS_DOT, px(2), paintColour(kColourCursor)));
  SelectGuard selectPen(dc, pen.get());
  SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}
