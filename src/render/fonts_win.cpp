#include <windows.h>

#include <cstring>

#include "platform/text_convert.h"
#include "render/fonts.h"

namespace {

HFONT fonts[4] = {};

HFONT& slot(FontRole role) { return fonts[static_cast<int>(role)]; }

// The face name is Shift_JIS in the settings; asking for it through the wide
// call gets the real "ＭＳ ゴシック" whatever the system's code page.
HFONT createFont(const FontSpec& spec) {
  LOGFONTW logfont{};
  logfont.lfHeight = spec.height;
  logfont.lfWidth = spec.width;
  logfont.lfEscapement = spec.escapement;
  logfont.lfOrientation = spec.orientation;
  logfont.lfWeight = spec.weight;
  logfont.lfItalic = spec.italic;
  logfont.lfUnderline = spec.underline;
  logfont.lfStrikeOut = spec.strikeOut;
  logfont.lfCharSet = spec.charSet;
  logfont.lfOutPrecision = spec.outPrecision;
  logfont.lfClipPrecision = spec.clipPrecision;
  logfont.lfQuality = spec.quality;
  logfont.lfPitchAndFamily = spec.pitchAndFamily;
  std::wstring face = sjisToWide(std::string_view(spec.faceName, strnlen(spec.faceName, kFaceNameSize)));
  if (face.size() >= LF_FACESIZE) face.resize(LF_FACESIZE - 1);
  std::memcpy(logfont.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
  return CreateFontIndirectW(&logfont);
}

void createFrom(FontRole role, const char* section) {
  FontSpec spec;
  readFontSection(section, spec);
  replaceFont(role, spec);
}

void destroy(FontRole role) {
  if (slot(role)) DeleteObject(slot(role));
  slot(role) = nullptr;
}

}  // namespace

FontHandle font(FontRole role) { return slot(role); }

void replaceFont(FontRole role, const FontSpec& spec) {
  destroy(role);
  slot(role) = createFont(spec);
}

void createFonts() {
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
