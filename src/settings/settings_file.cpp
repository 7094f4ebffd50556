#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>

#include "platform/file_io.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "settings/ini_text.h"

namespace {

// A settings file is a few kilobytes; anything past this is not ours.
constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;

std::string overriddenPath;

std::string readSettingsText() {
  std::string text;
  readFileText(settingsFilePath(), kMaxSettingsFileSize, text);
  return text;
}

// Writes the new text only when it differs, so that storing a value that is
// already there leaves the file (and its time stamp) alone.
// Without a path (the executable's own could not be had) nothing is
// written anywhere.
void storeIfChanged(std::string& text, bool changed) {
  std::string path = settingsFilePath();
  if (changed && !path.empty()) replaceFileContents(path, text);
}

}  // namespace

void overrideSettingsFilePath(const std::string& path) { overriddenPath = path; }

std::string settingsFilePath() {
  if (!overriddenPath.empty()) return overriddenPath;
  std::string path = executablePath();
  if (path.empty()) return path;
  // Whatever the last three characters are (normally "exe"), they become "ini".
  path.resize(pathStartOfLastChars(path, 3));
  return path + "ini";
}

int readSettingInt(const char* section, const char* key, int defaultValue) {
  std::optional<std::string> value = iniReadValue(readSettingsText(), section, key);
  // As with the system's profile functions, "KEY=" with nothing after it
  // gives the default, not 0.
  return value && !value->empty() ? iniParseInt(*value) : defaultValue;
}

void writeSettingInt(const char* section, const char* key, int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  writeSettingString(section, key, digits);
}

std::size_t readSettingString(const char* section, const char* key, char* buffer,
                              std::size_t capacity, const char* defaultValue) {
  if (!buffer || capacity == 0) return 0;
  std::optional<std::string> value = iniReadValue(readSettingsText(), section, key);
  std::string_view text = value ? std::string_view(*value) : std::string_view(defaultValue);
  std::size_t length = sjisCutLength(text, capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

void writeSettingString(const char* section, const char* key, const char* text) {
  std::string content = readSettingsText();
  storeIfChanged(content, iniWriteValue(content, section, key, text));
}

std::string readSettingSection(const char* section) {
  return iniReadSection(readSettingsText(), section);
}

void writeSettingSection(const char* section, const std::string& entries) {
  std::string content = readSettingsText();
  storeIfChanged(content, iniWriteSection(content, section, entries));
}

namespace {

// The text of the settings file before a write. False when there is a file
// that could not be read: writing then would throw its contents away. A
// missing file reads as empty, as it does for every other operation.
bool readSettingsTextForWrite(const std::string& path, std::string& text) {
  if (readFileText(path, kMaxSettingsFileSize, text)) return true;
  text.clear();
  return fileKind(path) == FileKind::Missing;
}

}  // namespace

void writeSettingStrings(const char* section, const SettingValue* values, std::size_t count) {
  std::string path = settingsFilePath();
  if (path.empty() || !values) return;
  std::string content;
  if (!readSettingsTextForWrite(path, content)) return;
  bool changed = false;
  for (std::size_t i = 0; i < count; ++i)
    if (iniWriteValue(content, section, values[i].key, values[i].text ? values[i].text : "")) changed = true;
  if (changed) replaceFileContents(path, content);
}
