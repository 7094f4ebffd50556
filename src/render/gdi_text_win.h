#pragma once
// Text on a device context. Text is Shift_JIS inside the program; these are
// the only drawing calls, and they hand it to the wide functions, so that
// Japanese shows correctly whatever the system's code page.
#include <windows.h>

#include <string>
#include <string_view>

#include "render/text_effect.h"

// A text converted once for the several draws an effect makes of it.
class ScreenText {
 public:
  explicit ScreenText(std::string_view sjis);
  const std::wstring& wide() const { return wide_; }

 private:
  std::wstring wide_;
};

// DrawTextW of the text in `rect` with `format` (DT_ flags).
void drawTextIn(HDC dc, const ScreenText& text, RECT rect, UINT format);
// What drawTextIn(dc, text, rect, DT_EXTERNALLEADING) draws (lines at CR,
// LF, CR LF and LF CR, from the top-left, each as tall as the font's height
// and external leading, clipped to `rect`), drawn line by line with
// ExtTextOutW as DrawTextW itself does, without DrawTextW measuring each
// line first: the memos are drawn five times over when outlined. Text that
// DrawTextW reads otherwise ('&' before an underlined letter, a tab, a
// line too long for its buffer) is handed to DrawTextW.
// `lineHeight` is the selected font's height with its external leading
// (lineHeightOf); 0 asks the font.
void drawLinesIn(HDC dc, const ScreenText& text, RECT rect, int lineHeight = 0);
int lineHeightOf(HDC dc);
// TextOutW of the text with its reference point at x, y.
void drawTextAt(HDC dc, const ScreenText& text, int x, int y);
// Width and height of the text in the DC's current font.
SIZE measureText(HDC dc, std::string_view text);

// Draws one text with its effect (a DrawType value): shadow or outline first,
// the main colour last. `draw` draws the text displaced by dx, dy.
// `offset` is the effect's distance in pixels (1 at 96 DPI).
void drawEffectText(HDC dc, int drawType, Colour outlineColor, Colour mainColor, const DrawAt& draw,
                    int offset = 1);
