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

// Collects the writes of one action (the settings dialog's OK or Apply, the
// window placement at close) and replaces the file once. While a batch is
// alive, every operation above works on one copy of the file in memory,
// read when the batch began: reads see the batch's writes. commit() ends the
// batch and replaces the file when, and only when, its bytes changed, with
// exactly what the writes one by one would have left. A file that exists
// but could not be read is never replaced: the batch then writes nothing
// and commit() returns false, as it does when the replacement fails (the
// old file stays whole). A batch that ends without commit() writes nothing.
// Batches do not nest: one begun while another is alive does nothing and
// its commit() returns true.
class SettingsWriteBatch {
 public:
  SettingsWriteBatch();
  ~SettingsWriteBatch();
  SettingsWriteBatch(const SettingsWriteBatch&) = delete;
  SettingsWriteBatch& operator=(const SettingsWriteBatch&) = delete;

  bool commit();

  // The batch in progress, or null.
  static SettingsWriteBatch* active();
  // Its working copy of the file; false from writable() when the file is
  // there but could not be read.
  std::string& text() { return text_; }
  bool writable() const { return readable_; }

 private:
  std::string path_;
  std::string original_;
  std::string text_;
  bool readable_ = false;
};

// One key of a batch of writes to one section.
struct SettingValue {
  const char* key;
  const char* text;
};

// Writes `count` keys of `section` in one SettingsWriteBatch: the result is
// byte for byte what writeSettingString for each of them, in their order,
// would give, but the file is read once and replaced (and flushed) once,
// and only when something changed. When the file exists but cannot be
// read, nothing is written and the file stays as it is (false).
bool writeSettingStrings(const char* section, const SettingValue* values, std::size_t count);
