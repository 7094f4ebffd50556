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

// The file's text as one read found it. `writable` is false when a file is
// there that could not be read: its text is then empty (every read gives
// its default) and no write may replace the file.
struct SettingsText {
  std::string path;
  std::string text;
  bool writable = true;
};

SettingsText readSettingsFile(const std::string& path) {
  SettingsText read;
  read.path = path;
  const FileReadStatus status = readFileText(path, kMaxSettingsFileSize, read.text);
  read.writable = status == FileReadStatus::Ok || status == FileReadStatus::Empty ||
                  status == FileReadStatus::Missing;
  return read;
}

int scopeDepth = 0;
// The text of the operation under way; empty path when none is held.
SettingsText held;

// Hands `use` the file's text: the held one inside a scope, else a read of
// its own that is gone when `use` returns.
template <typename Use>
auto withSettingsText(Use use) {
  // Inside a write batch every operation works on the batch's copy.
  if (SettingsWriteBatch* batch = SettingsWriteBatch::active()) return use(batch->text());
  const std::string path = settingsFilePath();
  if (scopeDepth == 0) return use(readSettingsFile(path).text);
  // The path is compared, not assumed: the tool may point it elsewhere.
  if (held.path.empty() || held.path != path) held = readSettingsFile(path);
  return use(held.text);
}

// Reads the file afresh, lets `edit` change its text and replaces the file
// when the text changed. Whatever the file holds afterwards is what the
// rest of a scoped operation reads.
template <typename Edit>
bool editSettingsFile(Edit edit) {
  if (SettingsWriteBatch* batch = SettingsWriteBatch::active()) {
    if (!batch->writable()) return false;
    edit(batch->text());
    return true;
  }
  SettingsText current = readSettingsFile(settingsFilePath());
  // Without a path (the executable's own could not be had) nothing is
  // written anywhere.
  bool ok = current.writable && !current.path.empty();
  if (ok) {
    std::string before = current.text;
    if (edit(current.text)) {
      ok = replaceFileContents(current.path, current.text);
      // A failed replacement leaves the old file as it was.
      if (!ok) current.text = std::move(before);
    }
  }
  if (scopeDepth > 0) held = std::move(current);
  return ok;
}

}  // namespace

SettingsReadScope::SettingsReadScope() { ++scopeDepth; }

SettingsReadScope::~SettingsReadScope() {
  if (--scopeDepth == 0) held = SettingsText{};
}

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
  std::optional<std::string> value =
      withSettingsText([&](const std::string& text) { return iniReadValue(text, section, key); });
  // As with the system's profile functions, "KEY=" with nothing after it
  // gives the default, not 0.
  return value && !value->empty() ? iniParseInt(*value) : defaultValue;
}

bool writeSettingInt(const char* section, const char* key, int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  return writeSettingString(section, key, digits);
}

std::size_t readSettingString(const char* section, const char* key, char* buffer,
                              std::size_t capacity, const char* defaultValue) {
  if (!buffer || capacity == 0) return 0;
  std::optional<std::string> value =
      withSettingsText([&](const std::string& text) { return iniReadValue(text, section, key); });
  std::string_view text = value ? std::string_view(*value) : std::string_view(defaultValue);
  std::size_t length = sjisCutLength(text, capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

bool writeSettingString(const char* section, const char* key, const char* text) {
  return editSettingsFile([&](std::string& content) { return iniWriteValue(content, section, key, text); });
}

std::string readSettingSection(const char* section) {
  return withSettingsText([&](const std::string& text) { return iniReadSection(text, section); });
}

bool writeSettingSection(const char* section, const std::string& entries) {
  return editSettingsFile([&](std::string& content) { return iniWriteSection(content, section, entries); });
}

// ---- SettingsWriteBatch ----------------------------------------------------

namespace {
SettingsWriteBatch* activeBatch = nullptr;
}  // namespace

SettingsWriteBatch::SettingsWriteBatch() {
  if (activeBatch) return;  // an inner batch leaves the work to the outer one
  path_ = settingsFilePath();
  // A file that is not there is simply empty; one that is there but cannot
  // be read must not be replaced by what a batch built from nothing.
  SettingsText read = readSettingsFile(path_);
  readable_ = read.writable && !path_.empty();
  original_ = read.text;
  text_ = original_;
  activeBatch = this;
}

SettingsWriteBatch::~SettingsWriteBatch() {
  if (activeBatch == this) activeBatch = nullptr;
}

SettingsWriteBatch* SettingsWriteBatch::active() { return activeBatch; }

bool SettingsWriteBatch::commit() {
  if (activeBatch != this) return true;
  activeBatch = nullptr;
  // A read scope that outlives the batch must see the file as it is now.
  held = SettingsText{};
  if (!readable_) return false;
  if (text_ == original_) return true;
  if (!replaceFileContents(path_, text_)) return false;
  original_ = text_;
  return true;
}

bool writeSettingStrings(const char* section, const SettingValue* values, std::size_t count) {
  if (!values) return false;
  SettingsWriteBatch batch;
  for (std::size_t i = 0; i < count; ++i)
    writeSettingString(section, values[i].key, values[i].text ? values[i].text : "");
  return batch.commit();
}
