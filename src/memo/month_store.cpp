#include "memo/month_store.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "calendar/month_grid.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
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

// Keeps `bytes` beside the month file as "YYYYMM.dat.N.bak", with the first
// N not yet taken: an existing copy is never overwritten. False when no copy
// could be made.
bool keepCopyBeside(const std::string& path, std::string_view bytes, std::string& copy) {
  for (int n = 1; n < 1000; ++n) {
    copy = path + "." + std::to_string(n) + ".bak";
    if (fileKind(copy) != FileKind::Missing) continue;
    if (createNewFile(copy, bytes)) return true;
    // Taken meanwhile by another save: the next number.
    if (fileKind(copy) == FileKind::Missing) break;
  }
  copy.clear();
  return false;
}

// The month file as it is now, read back and written out again, gives the
// very same bytes when everything in it is in the month's blocks. When it
// does not (bytes after a NUL, bytes outside every block, a second copy of
// a day's block, a file that is not ours at all), the next save would drop
// what the reader skipped. Such a file is kept beside the month first, and
// the user is told; `copy` names the copy (or stays empty when none was
// needed). False when the file could not be kept: then the save must not
// happen.
bool keepBytesTheReaderSkips(int year, int month, const std::string& path, const std::string& onDisk,
                             std::string& copy) {
  copy.clear();
  if (onDisk.empty()) return true;
  MonthGrid asRead;
  std::string rewritten;
  asRead.build(year, month);
  if (!asRead.loadFromData(onDisk) || !asRead.saveToData(rewritten)) return false;
  if (rewritten == onDisk) return true;
  if (!keepCopyBeside(path, onDisk, copy)) return false;
  std::string message = "月のファイル「" + std::string(pathFileName(path)) +
                        "」には読み取れない部分があったため、元のファイルを「" +
                        std::string(pathFileName(copy)) + "」として残しました。";
  showWarningMessage(message.c_str());
  return true;
}

// The month file's bytes as they are now; a missing or empty file gives no
// bytes. False when a file is there that cannot be read: it must not be
// replaced unseen.
bool readMonthFileBytes(const std::string& path, std::string& bytes) {
  switch (readFileText(path, kMaxMonthFileSize, bytes)) {
    case FileReadStatus::Ok:
      return true;
    case FileReadStatus::Missing:
    case FileReadStatus::Empty:
      bytes.clear();
      return true;
    default:
      return false;
  }
}

// Replaces the month file with `content`; a month without any memo block
// has no file.
bool writeMonthFile(const std::string& path, const std::string& content) {
  if (content.empty()) {
    removeStaleTemporariesBeside(path);
    return deleteFileIfExists(path);
  }
  return replaceFileContents(path, content);
}

// The read-compare-replace of one save, under the month's lock. `ours` are
// the bytes of the memos to store; with a base (`base` not null) a file
// changed since then is merged with them. `written` receives the bytes the
// file holds afterwards.
MonthSaveResult storeMonthFile(int year, int month, const std::string& path, const std::string& ours,
                               const MonthFileBase* base, std::string& written) {
  MonthSaveResult result;
  FileLock lock;
  switch (lock.acquire(monthLockPath(path), kMonthLockWaitMilliseconds)) {
    case LockStatus::Taken:
      break;
    case LockStatus::Held:
      result.status = MonthSaveStatus::Locked;
      return result;
    case LockStatus::Failed:
      return result;
  }
  // One read of the settings file for the grids built below.
  SettingsReadScope oneRead;
  std::string onDisk, keptCopy;
  if (!readMonthFileBytes(path, onDisk) || !keepBytesTheReaderSkips(year, month, path, onDisk, keptCopy))
    return result;

  written = ours;
  if (base && onDisk != base->bytes) {
    MonthContents baseMonth, theirMonth, ourMonth;
    if (!monthContentsFromData(year, month, base->bytes, baseMonth) ||
        !monthContentsFromData(year, month, onDisk, theirMonth) ||
        !monthContentsFromData(year, month, ours, ourMonth))
      return result;
    MonthMerge merge = mergeMonthContents(baseMonth, theirMonth, ourMonth);
    if (!monthDataFromContents(year, month, merge.merged, written)) return result;
    if (!merge.conflicts.empty()) {
      // Their file whole, before anything of it is replaced. A copy made a
      // moment ago for the bytes the reader skips holds the same bytes.
      if (keptCopy.empty() && !keepCopyBeside(path, onDisk, keptCopy)) return result;
      result.conflictCopy = keptCopy;
      result.conflicts = std::move(merge.conflicts);
    }
    result.merged = true;
  }
  if (!writeMonthFile(path, written)) {
    result.conflicts.clear();
    result.conflictCopy.clear();
    result.merged = false;
    return result;
  }
  result.status = MonthSaveStatus::Saved;
  return result;
}

void (*beforeNextMonthSave)() = nullptr;

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

bool MonthGrid::load(int year, int month, std::string* fileBytes) {
  memosIncomplete_ = false;
  if (fileBytes) fileBytes->clear();
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
  if (fileBytes) fileBytes->assign(bytes, size);
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
  std::string content, written;
  if (memosIncomplete_ || !monthFilePath(year, month, path) || !saveToData(content)) return false;
  return storeMonthFile(year, month, path, content, nullptr, written).saved();
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

std::string monthLockPath(const std::string& monthPath) {
  constexpr std::string_view kExtension = ".dat";
  std::string_view stem(monthPath);
  if (stem.size() >= kExtension.size() && stem.substr(stem.size() - kExtension.size()) == kExtension)
    stem.remove_suffix(kExtension.size());
  return std::string(stem) + ".lck";
}

void runBeforeNextMonthSaveForTests(void (*hook)()) { beforeNextMonthSave = hook; }

bool loadMonth(MonthGrid& grid, int year, int month, MonthFileBase& base) {
  base = MonthFileBase();
  grid.build(year, month);
  bool complete = grid.load(year, month, &base.bytes);
  if (!complete) {
    base.bytes.clear();
    return false;
  }
  base.known = true;
  base.year = year;
  base.month = month;
  return true;
}

MonthSaveResult saveMonth(MonthGrid& grid, int year, int month, MonthFileBase& base) {
  if (void (*hook)() = beforeNextMonthSave) {
    beforeNextMonthSave = nullptr;
    hook();
  }
  MonthSaveResult result;
  std::string path, ours, written;
  if (grid.memosIncomplete() || !monthFilePath(year, month, path) || !grid.saveToData(ours)) return result;
  const bool baseFits = base.known && base.year == year && base.month == month;
  result = storeMonthFile(year, month, path, ours, baseFits ? &base : nullptr, written);
  if (!result.saved()) return result;
  base.known = true;
  base.year = year;
  base.month = month;
  base.bytes = written;
  // The grid shows what the file now holds: the other side's days too.
  if (result.merged) {
    grid.build(year, month);
    grid.loadFromData(written);
  }
  return result;
}

std::string monthConflictMessage(int year, int month, const MonthSaveResult& result) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d.dat", year, month);
  std::string which;
  for (const MonthConflict& conflict : result.conflicts) {
    if (!which.empty()) which += "、";
    if (conflict.day == 0) {
      which += "月のメモ";
    } else {
      char day[16];
      std::snprintf(day, sizeof day, "%d日", conflict.day);
      which += day;
    }
  }
  return "次のメモは、ほかのパソコンかプログラムでも書き換えられていました(" + std::string(name) + "): " +
         which + "\r\n\r\nここで入力したメモを保存しました。ほかで書かれたメモは、元のファイルのまま「" +
         std::string(pathFileName(result.conflictCopy)) + "」に残してあります。";
}

std::string monthLockedMessage(int year, int month) {
  char text[256];
  std::snprintf(text, sizeof text,
                "%d年%d月のメモは、ほかのプログラムが保存している最中のため保存できませんでした。"
                "少し待ってからもう一度保存してください。",
                year, month);
  return text;
}
