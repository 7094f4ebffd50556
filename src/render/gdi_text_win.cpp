#include "render/gdi_text_win.h"

#include "platform/text_convert.h"

ScreenText::ScreenText(std::string_view sjis) : wide_(sjisToWide(sjis)) {}

void drawTextIn(HDC dc, const ScreenText& text, RECT rect, UINT format) {
  DrawTextW(dc, text.wide().c_str(), static_cast<int>(text.wide().size()), &rect, format);
}

void drawTextAt(HDC dc, const ScreenText& text, int x, int y) {
  TextOutW(dc, x, y, text.wide().c_str(), static_cast<int>(text.wide().size()));
}

SIZE measureText(HDC dc, std::string_view text) {
  std::wstring wide = sjisToWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size;
}

void drawEffectText(HDC dc, int drawType, Colour outlineColor, Colour mainColor, const DrawAt& draw) {
  drawEffectSequence(
      drawType, outlineColor, mainColor, [dc](Colour colour) { SetTextColor(dc, colour); }, draw);
}
