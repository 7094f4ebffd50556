#pragma once
// The settings file: the executable's path with its last three characters
// replaced by "ini", INI text in Shift_JIS. A read opens the file anew
// unless a SettingsReadScope is alive (see below); nothing outlives an
// operation, so a change made by hand between two operations is seen by the
// second. A read always sees the last write. A missing or unreadable file,
// section or key is never an error: the default applies.
//
// A write reads the file afresh, edits its text and replaces the file. When
// the file is there but cannot be read (held by another program, a folder of
// that name, too large, a read error), the write does nothing at all:
// editing what we could not read would replace every other setting with
// nothing. Writes return false then and when the file cannot be replaced;
// storing a value that is already there is success.
#include <cstddef>
#include <string>

// The settings file's path, computed on every call.
std::string settingsFilePath();

// Points settingsFilePath() at another file (the command-line tool's --ini);
// an empty path restores the rule above.
void overrideSettingsFilePath(const std::string& path);

// The key's value as an integer, `defaultValue` when the key is missing.
int readSettingInt(const char* section, const char* key, int defaultValue = 0);
bool writeSettingInt(const char* section, const char* key, int value);

// Copies the value (or `defaultValue`) into `buffer`, cut to capacity - 1
// bytes without splitting a double-byte character, always NUL-terminated.
// Returns the number of bytes copied.
std::size_t readSettingString(const char* section, const char* key, char* buffer,
                              std::size_t capacity, const char* defaultValue = "");
bool writeSettingString(const char* section, const char* key, const char* text);

// A whole section as "key=value" entries, each followed by a NUL, the list
// ended by a second NUL (the shape of the Windows section functions).
std::string readSettingSection(const char* section);
// Replaces the section's lines with `entries` (the same shape); the section
// is added at the end of the file when it is missing.
bool writeSettingSection(const char* section, const std::string& entries);

// One operation's reads from one read of the file. Under Wine every open is
// a round trip to the server, and a month build alone looks up some thirty
// holidays: while a scope is alive, the first read loads the file and the
// following ones answer from that text. A write inside the scope still works
// on the file as it is and leaves its result for the reads after it. Scopes
// nest; the text is dropped when the outermost one ends. Hold one for an
// operation that runs to its end without waiting for the user (never across
// a dialog, where the user may edit the file by hand).
class SettingsReadScope {
 public:
  SettingsReadScope();
  ~SettingsReadScope();
  SettingsReadScope(const SettingsReadScope&) = delete;
  SettingsReadScope& operator=(const SettingsReadScope&) = delete;
};
