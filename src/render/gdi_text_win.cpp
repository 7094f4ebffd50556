#include "render/gdi_text_win.h"

#include <iterator>

#include "platform/text_convert.h"

ScreenText::ScreenText(std::string_view sjis) : wide_(sjisToWide(sjis)) {}

void drawTextIn(HDC dc, const ScreenText& text, RECT rect, UINT format) {
  DrawTextW(dc, text.wide().c_str(), static_cast<int>(text.wide().size()), &rect, format);
}

namespace {
// DrawTextW keeps this many characters of a line at most.
constexpr std::size_t kDrawTextLineLimit = 1024;

bool isLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }
}  // namespace

int lineHeightOf(HDC dc) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

void drawLinesIn(HDC dc, const ScreenText& text, RECT rect, int lineHeight) {
  const std::wstring& wide = text.wide();
  if (wide.empty()) return;
  if (wide.find_first_of(L"&\t") != std::wstring::npos) return drawTextIn(dc, text, rect, DT_EXTERNALLEADING);
  struct Line {
    std::size_t start, length;
  };
  Line lines[64];
  std::size_t count = 0;
  for (std::size_t at = 0;;) {
    std::size_t end = wide.find_first_of(L"\r\n", at);
    if (end == std::wstring::npos) end = wide.size();
    // More lines than a cell can show, or a very long line: DrawTextW.
    if (count == std::size(lines) || end - at > kDrawTextLineLimit)
      return drawTextIn(dc, text, rect, DT_EXTERNALLEADING);
    lines[count++] = Line{at, end - at};
    if (end == wide.size()) break;
    // A pair of different break characters is one break.
    at = end + 1;
    if (at < wide.size() && isLineBreak(wide[at]) && wide[at] != wide[end]) ++at;
    // Text that ends in a break has no empty line after it.
    if (at == wide.size()) break;
  }
  if (lineHeight <= 0) lineHeight = lineHeightOf(dc);
  int y = rect.top;
  for (std::size_t i = 0; i < count; ++i) {
    // As DrawTextW: the line that reaches past the bottom is the last drawn.
    const bool last = y + lineHeight > rect.bottom;
    if (lines[i].length > 0)
      ExtTextOutW(dc, rect.left, y, ETO_CLIPPED, &rect, wide.data() + lines[i].start,
                  static_cast<UINT>(lines[i].length), nullptr);
    if (last) break;
    y += lineHeight;
  }
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

void drawEffectText(HDC dc, int drawType, Colour outlineColor, Colour mainColor, const DrawAt& draw,
                    int offset) {
  drawEffectSequence(
      drawType, outlineColor, mainColor, [dc](Colour colour) { SetTextColor(dc, colour); }, draw, offset);
}
