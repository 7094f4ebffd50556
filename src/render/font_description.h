#pragma once
// A font as the settings file describes it: one section per font, one key
// per field of the platform's LOGFONT. The record mirrors LOGFONT so that the
// Windows side fills one from the other field by field.
#include <cstdint>

constexpr int kFaceNameSize = 32;

struct FontDescription {
  std::int32_t height = -20;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 128;        // SHIFTJIS_CHARSET
  std::uint8_t outPrecision = 3;     // OUT_STROKE_PRECIS
  std::uint8_t clipPrecision = 2;    // CLIP_STROKE_PRECIS
  std::uint8_t quality = 1;          // DRAFT_QUALITY
  std::uint8_t pitchAndFamily = 49;  // FIXED_PITCH | FF_MODERN
  char faceName[kFaceNameSize] = "ＭＳ ゴシック";  // Shift_JIS
};

// The four font sections.
constexpr char kTitleFontSection[] = "TITLE_FONT";
constexpr char kMainFontSection[] = "MAIN_FONT";
constexpr char kMemoFontSection[] = "MEMO_FONT";
constexpr char kWeekFontSection[] = "WEEK_FONT";

// Fills every field from the section; an absent key keeps its default. The
// 8-bit fields take the low 8 bits of what is read; FACE arrives cut to 31
// bytes (never inside a double-byte character).
void readFontSection(const char* section, FontDescription& font);

// Writes the 14 keys in their fixed order: 32-bit fields as signed decimal,
// 8-bit fields as 0..255, FACE as it stands.
void writeFontSection(const FontDescription& font, const char* section);
