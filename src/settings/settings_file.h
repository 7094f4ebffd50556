#pragma once
// The settings file: the executable's path with its last three characters
// replaced by "ini", INI text in Shift_JIS. Every read and write opens the
// file anew; nothing is cached, so a read always sees the last write. A
// missing file, section or key is never an error: the default applies. A
// failed write is ignored.
#include <cstddef>
#include <string>

// The settings file's path, computed on every call.
std::string settingsFilePath();

// Points settingsFilePath() at another file (the command-line tool's --ini);
// an empty path restores the rule above.
void overrideSettingsFilePath(const std::string& path);

// The key's value as an integer, `defaultValue` when the key is missing.
int readSettingInt(const char* section, const char* key, int defaultValue = 0);
void writeSettingInt(const char* section, const char* key, int value);

// Copies the value (or `defaultValue`) into `buffer`, cut to capacity - 1
// bytes without splitting a double-byte character, always NUL-terminated.
// Returns the number of bytes copied.
std::size_t readSettingString(const char* section, const char* key, char* buffer,
                              std::size_t capacity, const char* defaultValue = "");
void writeSettingString(const char* section, const char* key, const char* text);

// A whole section as "key=value" entries, each followed by a NUL, the list
// ended by a second NUL (the shape of the Windows section functions).
std::string readSettingSection(const char* section);
// Replaces the section's lines with `entries` (the same shape); the section
// is added at the end of the file when it is missing.
void writeSettingSection(const char* section, const std::string& entries);

// One key and its new value, for writeSettingStrings.
struct SettingValue {
  const char* key;
  const char* text;
};

// Writes `count` keys of `section` as one replacement of the file: the
// result is byte for byte what writeSettingString for each of them, in
// their order, would give, but the file is read once and replaced (and
// flushed) once, and only when something changed. When the file exists but
// cannot be read, nothing is written and the file stays as it is.
void writeSettingStrings(const char* section, const SettingValue* values, std::size_t count);
