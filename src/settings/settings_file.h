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

// Collects the writes of one action (the settings dialog's OK or Apply) and
// replaces the file once. While a batch is alive, every operation above
// works on one copy of the file in memory, read when the batch began: reads
// see the batch's writes. commit() ends the batch and replaces the file
// when, and only when, its bytes changed, with exactly what the writes one
// by one would have left. A file that exists but could not be read is never
// replaced: the batch then writes nothing and commit() returns false, as it
// does when the replacement fails (the old file stays whole). A batch that
// ends without commit() writes nothing. Batches do not nest: one begun
// while another is alive does nothing and its commit() returns true.
class SettingsWriteBatch {
 public:
  SettingsWriteBatch();
  ~SettingsWriteBatch();
  SettingsWriteBatch(const SettingsWriteBatch&) = delete;
  SettingsWriteBatch& operator=(const SettingsWriteBatch&) = delete;

  bool commit();

  // The batch in progress, or null; its working copy of the file.
  static SettingsWriteBatch* active();
  std::string& text() { return text_; }

 private:
  std::string path_;
  std::string original_;
  std::string text_;
  bool readable_ = false;
};
