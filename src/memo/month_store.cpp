#include "memo/month_store.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "calendar/month_grid.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/text_convert.h"
#include "settings/settings_file.h"

namespace {

constexpr std::string_view kMonthMarker = "__#00#__\r\n";
constexpr std::string_view kBlockStart = "\r\n__#";
constexpr std::size_t kDayMarkerLength = 8;   // "__#DD#__"
constexpr std::size_t kColourLength = 8;      // "%08d"
constexpr std::size_t kDayHeaderLength = kDayMarkerLength + kColourLength + 2;

std::string overriddenDataDirectory;

// A memo's text runs from `begin` to the CR LF that opens the next block, or
// to the end of the data.
std::string_view textFrom(std::string_view data, std::size_t begin) {
  if (begin >= data.size()) return std::string_view();
  std::size_t end = data.find(kBlockStart, begin);
  return data.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

// The colour field as a decimal integer: blanks, an optional sign, digits up
// to the first other character, never looking past the field itself.
long parseColourField(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  long value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (field[i] - '0');
  return negative ? -value : value;
}

// The colour as eight characters. Every colour the program makes fits; one
// that came from an odd file and would not is written as a plain colour,
// because a longer field would shift the text of the block.
void appendColourField(std::string& out, Colour colour) {
  auto value = static_cast<std::int32_t>(colour);
  if (value < -9999999 || value > 99999999) value = static_cast<std::int32_t>(colour & 0x00FFFFFF);
  char field[16];
  std::snprintf(field, sizeof field, "%08d", static_cast<int>(value));
  out += field;
}

// The month file as it is now, read back and written out again, gives the
// very same bytes when everything in it is in the month's blocks. When it
// does not (bytes after a NUL, bytes outside every block, a second copy of
// a day's block, a file that is not ours at all), the next save would drop
// what the reader skipped. Such a file is kept beside the month first, as
// "YYYYMM.dat.N.bak" with the first N not yet taken, and the user is told.
// False when the file could not be kept: then the save must not happen.
bool keepBytesTheReaderSkips(int year, int month, const std::string& path) {
  BlockHandle block = nullptr;
  std::size_t size = 0;
  FileReadStatus status = readFileIntoBlock(path, kMaxMonthFileSize, &block, &size);
  if (status == FileReadStatus::Missing || status == FileReadStatus::Empty) return true;
  // A file that is there but cannot be read now cannot be kept either.
  if (status != FileReadStatus::Ok) return false;
  const char* bytes = lockBlock(block);
  if (!bytes) {
    freeBlock(block);
    return false;
  }
  std::string onDisk(bytes, size);
  unlockBlock(block);
  freeBlock(block);

  MonthGrid asRead;
  std::string rewritten;
  asRead.build(year, month);
  if (!asRead.loadFromData(onDisk) || !asRead.saveToData(rewritten)) return false;
  if (rewritten == onDisk) return true;

  for (int n = 1; n < 1000; ++n) {
    std::string backup = path + "." + std::to_string(n) + ".bak";
    if (fileKind(backup) != FileKind::Missing) continue;
    if (!createNewFile(backup, onDisk)) return false;
    std::string message = "月のファイル「" + std::string(pathFileName(path)) +
                          "」には読み取れない部分があったため、元のファイルを「" +
                          std::string(pathFileName(backup)) + "」として残しました。";
    showWarningMessage(message.c_str());
    return true;
  }
  return false;
}

void warnNoMemoryForFile() {
  showWarningMessage("メモリの確保に失敗しました。ファイルを開くことができません。");
}

void warnNoMemoryForMemo() {
  showWarningMessage("メモリの確保に失敗しました。ファイルの読み込みに失敗しました。");
}

}  // namespace

std::size_t findBlockMarker(std::string_view memo) { return memo.find("__#"); }

void overrideDataDirectory(const std::string& directory) { overriddenDataDirectory = directory; }

std::string dataDirectory() {
  if (!overriddenDataDirectory.empty()) return std::string(pathWithoutTrailingSeparator(overriddenDataDirectory));
  char setting[kDataDirCapacity];
  readSettingString("Sorvane", "DATADIR", setting, sizeof setting);
  if (setting[0] != '\0') return std::string(pathWithoutTrailingSeparator(pathFromSettingText(setting)));
  // An executable whose path could not be had leaves no directory at all,
  // rather than the root of the drive.
  return std::string(pathDirectory(executablePath()));
}

bool monthFilePath(int year, int month, std::string& path) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d.dat", year, month);
  std::string directory = dataDirectory();
  path = directory.empty() ? std::string() : joinPath(directory, name);
  if (path.empty() || path.size() > kMaxMonthFilePath) {
    path.clear();
    return false;
  }
  return true;
}

bool MonthGrid::load(int year, int month) {
  memosIncomplete_ = false;
  std::string path;
  if (!monthFilePath(year, month, path)) {
    memosIncomplete_ = true;
    return false;
  }

  BlockHandle block = nullptr;
  std::size_t size = 0;
  switch (readFileIntoBlock(path, kMaxMonthFileSize, &block, &size)) {
    case FileReadStatus::Ok:
      break;
    case FileReadStatus::Missing:
    case FileReadStatus::Empty:
      return true;
    case FileReadStatus::NoMemory:
      memosIncomplete_ = true;
      warnNoMemoryForFile();
      return false;
    case FileReadStatus::NotOpened:
    case FileReadStatus::ReadError:
      memosIncomplete_ = true;
      return false;
  }

  const char* bytes = lockBlock(block);
  if (!bytes) {
    freeBlock(block);
    memosIncomplete_ = true;
    warnNoMemoryForFile();
    return false;
  }
  bool complete = loadFromData(std::string_view(bytes, size));
  unlockBlock(block);
  freeBlock(block);
  return complete;
}

bool MonthGrid::loadFromData(std::string_view bytes) {
  // The data is text: it ends at the first NUL, if a stray one is in there.
  std::string_view data = bytes.substr(0, bytes.find('\0'));
  bool complete = true;

  std::size_t monthMarker = data.find(kMonthMarker);
  if (monthMarker != std::string_view::npos) {
    complete = setMonthMemo(textFrom(data, monthMarker + kMonthMarker.size()));
    if (!complete) warnNoMemoryForMemo();
  }

  for (int i = 0; complete && i < kGridCells; ++i) {
    DayCell& dayCell = cells_[i];
    if (dayCell.day == 0) continue;
    char marker[16];
    std::snprintf(marker, sizeof marker, "__#%02d#__", dayCell.day);
    std::size_t at = data.find(marker);
    if (at == std::string_view::npos) continue;
    std::string_view colour = data.substr(at + kDayMarkerLength, kColourLength);
    dayCell.memoColor = static_cast<Colour>(parseColourField(colour));
    dayCell.memo = MemoText::copyOf(textFrom(data, at + kDayHeaderLength), &complete);
    if (!complete) warnNoMemoryForMemo();
  }
  memosIncomplete_ = !complete;
  return complete;
}

bool MonthGrid::save(int year, int month) const {
  std::string path;
  std::string content;
  if (memosIncomplete_ || !monthFilePath(year, month, path) || !saveToData(content)) return false;

  if (!keepBytesTheReaderSkips(year, month, path)) return false;
  // A month without any memo block has no file.
  if (content.empty()) {
    removeStaleTemporariesBeside(path);
    return deleteFileIfExists(path);
  }
  return replaceFileContents(path, content);
}

bool MonthGrid::saveToData(std::string& content) const {
  content.clear();
  if (monthMemo_.present()) {
    MemoLock text(monthMemo_);
    if (!text.data()) return false;
    content.append(kMonthMarker);
    content.append(text.data(), text.length());
  }
  for (const DayCell& dayCell : cells_) {
    if (dayCell.day == 0 || !dayCell.memo.present()) continue;
    MemoLock text(dayCell.memo);
    // Writing the header without its text would lose the memo on disk.
    if (!text.data()) return false;
    char marker[16];
    std::snprintf(marker, sizeof marker, "\r\n__#%02d#__", dayCell.day);
    content += marker;
    appendColourField(content, dayCell.memoColor);
    content += "\r\n";
    content.append(text.data(), text.length());
  }
  return true;
}
