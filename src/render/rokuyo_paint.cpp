#include "render/rokuyo_paint.h"

#include <cstring>

#include "render/contrast_colours_win.h"
#include "render/dpi_scale.h"
#include "render/gdi_guards_win.h"
#include "render/gdi_text_win.h"
#include "render/paint.h"
#include "render/rokuyo_layout.h"
#include "settings/app_settings.h"

namespace {

constexpr int kRokuyoCount = 6;

// The small type and what it measures, made again only when the day-number
// font it comes from changes (another face, another size): a paint asks
// for it 42 times.
struct SmallType {
  LOGFONTW made{};
  GdiObject<HFONT> font;
  int height = 0;
  int ascent = 0;
  int widths[kRokuyoCount] = {};
};

SmallType& smallType() {
  static SmallType cached;
  return cached;
}

// The day-number font's description with the small height. Kanji in any
// face: the Shift_JIS character set makes the system pick a face that has
// them when the number's face has none.
bool smallTypeFor(HDC dc, const TEXTMETRICW& numberMetrics, LOGFONTW& wanted) {
  HGDIOBJ numberFont = GetCurrentObject(dc, OBJ_FONT);
  if (!numberFont || GetObjectW(numberFont, sizeof wanted, &wanted) != sizeof wanted) return false;
  wanted.lfHeight = rokuyoTextHeightFor(numberMetrics.tmHeight);
  wanted.lfWidth = 0;
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  return wanted.lfHeight > 0;
}

const SmallType* currentSmallType(HDC dc, const TEXTMETRICW& numberMetrics) {
  LOGFONTW wanted{};
  if (!smallTypeFor(dc, numberMetrics, wanted)) return nullptr;
  SmallType& cached = smallType();
  if (cached.font && std::memcmp(&cached.made, &wanted, sizeof wanted) == 0) return &cached;
  cached.font.reset(CreateFontIndirectW(&wanted));
  cached.made = wanted;
  if (!cached.font) return nullptr;
  SelectGuard select(dc, cached.font.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  cached.height = metrics.tmHeight;
  cached.ascent = metrics.tmAscent;
  for (int i = 0; i < kRokuyoCount; ++i)
    cached.widths[i] = measureText(dc, rokuyoName(static_cast<Rokuyo>(i))).cx;
  return &cached;
}

}  // namespace

void paintRokuyo(HDC dc, const MonthLunarDates& month, int day, const Rect& cell, const DayNumberPlacement& number,
                 int numberWidth, const TEXTMETRICW& numberMetrics, Colour colour) {
  if (day < 1 || day > month.dayCount || month.days[day].month == 0) return;
  const SmallType* type = currentSmallType(dc, numberMetrics);
  if (!type) return;
  const AppSettings& s = appSettings();
  const int rokuyo = static_cast<int>(rokuyoOf(month.days[day]));
  const int drawType = s.dayType();
  RokuyoTextMetrics text;
  text.width = type->widths[rokuyo];
  text.height = type->height;
  text.ascent = type->ascent;
  // The effect's offset and the memo's top follow the DPI of the paint, as
  // the number's do.
  const int dpi = gridLayout().dpi;
  const int offset = scaleToDpi(1, dpi);
  const bool effect = drawType == static_cast<int>(DrawType::Shadow) || drawType == static_cast<int>(DrawType::Outline);
  text.reach = effect ? offset : 0;
  DayNumberShape shape{number, numberWidth, numberMetrics.tmAscent};
  RokuyoPlacement place = placeRokuyo(cell, s.dayPos(), shape, scaleToDpi(s.mainFontHeight(), dpi), text);
  if (!place.shown) return;

  SelectGuard select(dc, type->font.get());
  ScreenText name(rokuyoName(static_cast<Rokuyo>(rokuyo)));
  drawEffectText(dc, drawType, paintColour(kColourDayWrap), colour,
                 [&](int dx, int dy) { drawTextAt(dc, name, place.x + dx, place.y + dy); }, offset);
}
