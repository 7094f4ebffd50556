#include "render/gdi_text_win.h"

#include "platform/text_convert.h"

void drawTextIn(HDC dc, std::string_view text, RECT rect, UINT format) {
  std::wstring wide = sjisToWide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void drawTextAt(HDC dc, std::string_view text, int x, int y) {
  std::wstring wide = sjisToWide(text);
  TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
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
