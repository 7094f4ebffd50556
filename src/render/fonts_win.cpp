#include <windows.h>

#include <cstring>

#include "platform/text_convert.h"
#include "render/dpi_scale.h"
#include "render/fonts.h"

namespace {

HFONT fonts[4] = {};
int dpiOfFonts = kBaseDpi;

HFONT& slot(FontRole role) { return fonts[static_cast<int>(role)]; }

// The face name is Shift_JIS in the settings; asking for it through the wide
// call gets the real "ＭＳ ゴシック" whatever the system's code page.
HFONT createFont(const FontDescription& description) {
  LOGFONTW logfont{};
  // Heights and widths are stored at 96 DPI: a file moves between screens
  // of different scale with the same look.
  logfont.lfHeight = scaleToDpi(description.height, dpiOfFonts);
  logfont.lfWidth = scaleToDpi(description.width, dpiOfFonts);
  logfont.lfEscapement = description.escapement;
  logfont.lfOrientation = description.orientation;
  logfont.lfWeight = description.weight;
  logfont.lfItalic = description.italic;
  logfont.lfUnderline = description.underline;
  logfont.lfStrikeOut = description.strikeOut;
  logfont.lfCharSet = description.charSet;
  logfont.lfOutPrecision = description.outPrecision;
  logfont.lfClipPrecision = description.clipPrecision;
  logfont.lfQuality = description.quality;
  logfont.lfPitchAndFamily = description.pitchAndFamily;
  std::wstring face = sjisToWide(std::string_view(description.faceName, strnlen(description.faceName, kFaceNameSize)));
  if (face.size() >= LF_FACESIZE) face.resize(LF_FACESIZE - 1);
  std::memcpy(logfont.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
  return CreateFontIndirectW(&logfont);
}

void createFrom(FontRole role, const char* section) {
  FontDescription description;
  readFontSection(section, description);
  replaceFont(role, description);
}

void destroy(FontRole role) {
  if (slot(role)) DeleteObject(slot(role));
  slot(role) = nullptr;
}

}  // namespace

FontHandle font(FontRole role) { return slot(role); }

void replaceFont(FontRole role, const FontDescription& description) {
  destroy(role);
  slot(role) = createFont(description);
}

int fontDpi() { return dpiOfFonts; }

void createFonts(int dpi) {
  dpiOfFonts = dpi > 0 ? dpi : kBaseDpi;
  createFrom(FontRole::Title, kTitleFontSection);
  createFrom(FontRole::Main, kMainFontSection);
  createFrom(FontRole::Memo, kMemoFontSection);
  createFrom(FontRole::Week, kWeekFontSection);
}

void destroyFonts() {
  destroy(FontRole::Title);
  destroy(FontRole::Main);
  destroy(FontRole::Memo);
  destroy(FontRole::Week);
}
