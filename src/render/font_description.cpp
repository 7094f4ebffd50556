#include "render/font_description.h"

#include <cstdio>

#include "settings/settings_file.h"

namespace {

std::uint8_t readByte(const char* section, const char* key, std::uint8_t defaultValue) {
  return static_cast<std::uint8_t>(readSettingInt(section, key, defaultValue) & 0xFF);
}

void writeUnsigned(const char* section, const char* key, std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
  writeSettingString(section, key, text);
}

}  // namespace

void readFontSection(const char* section, FontDescription& font) {
  const FontDescription defaults;
  font.height = readSettingInt(section, "HEIGHT", defaults.height);
  font.width = readSettingInt(section, "WIDTH", defaults.width);
  font.escapement = readSettingInt(section, "ESC", defaults.escapement);
  font.orientation = readSettingInt(section, "ORIENT", defaults.orientation);
  font.weight = readSettingInt(section, "WEIGHT", defaults.weight);
  font.italic = readByte(section, "ITALIC", defaults.italic);
  font.underline = readByte(section, "UNDER", defaults.underline);
  font.strikeOut = readByte(section, "STRIKE", defaults.strikeOut);
  font.charSet = readByte(section, "CHAR", defaults.charSet);
  font.outPrecision = readByte(section, "OUTPUT", defaults.outPrecision);
  font.clipPrecision = readByte(section, "CLIP", defaults.clipPrecision);
  font.quality = readByte(section, "QUALITY", defaults.quality);
  font.pitchAndFamily = readByte(section, "PITCH", defaults.pitchAndFamily);
  readSettingString(section, "FACE", font.faceName, sizeof font.faceName, defaults.faceName);
}

void writeFontSection(const FontDescription& font, const char* section) {
  writeSettingInt(section, "HEIGHT", font.height);
  writeSettingInt(section, "WIDTH", font.width);
  writeSettingInt(section, "ESC", font.escapement);
  writeSettingInt(section, "ORIENT", font.orientation);
  writeSettingInt(section, "WEIGHT", font.weight);
  writeUnsigned(section, "ITALIC", font.italic);
  writeUnsigned(section, "UNDER", font.underline);
  writeUnsigned(section, "STRIKE", font.strikeOut);
  writeUnsigned(section, "CHAR", font.charSet);
  writeUnsigned(section, "OUTPUT", font.outPrecision);
  writeUnsigned(section, "CLIP", font.clipPrecision);
  writeUnsigned(section, "QUALITY", font.quality);
  writeUnsigned(section, "PITCH", font.pitchAndFamily);
  // The field is always terminated; a name filled in elsewhere may not be.
  char face[kFaceNameSize];
  std::snprintf(face, sizeof face, "%.*s", kFaceNameSize - 1, font.faceName);
  writeSettingString(section, "FACE", face);
}
