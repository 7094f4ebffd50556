#pragma once
// The month files: every memo of one month lives in "<data>\YYYYMM.dat".
// MonthGrid::load and MonthGrid::save (declared with the grid) read and
// write them; this header gives the paths.
//
// File format, byte for byte (Shift_JIS, no header, no final NUL):
//   "__#00#__\r\n" + month memo text        -- only when there is a month memo
//   for each day with a memo, ascending:
//   "\r\n__#DD#__CCCCCCCC\r\n" + memo text  -- DD the day, CCCCCCCC the colour
// The CR LF that opens a day block ends the text before it.
#include <string>
#include <string_view>
#include <vector>

#include "memo/month_merge.h"

class MonthGrid;

// Longest month file path, in bytes. Longer data directories are refused.
constexpr std::size_t kMaxMonthFilePath = 255;
// The DATADIR setting is read with this capacity.
constexpr std::size_t kDataDirCapacity = 512;
// Month files larger than this are taken as a lack of memory, not read.
constexpr std::size_t kMaxMonthFileSize = 64u * 1024 * 1024;

// The data directory: DATADIR from the settings (or the override) with one
// trailing separator removed, or, when it is empty, the directory of the
// executable. Empty when neither can be had.
std::string dataDirectory();

// Points dataDirectory() at another directory (the command-line tool's
// --data); an empty path restores the rule above.
void overrideDataDirectory(const std::string& directory);

// "<data directory>\YYYYMM.dat"; false when there is no data directory or
// the path would be longer than kMaxMonthFilePath.
bool monthFilePath(int year, int month, std::string& path);

// Byte offset of the first "__#" in a memo's text, or npos. The reader finds
// block markers byte by byte, whatever characters the bytes belong to, so a
// memo holding that sequence anywhere (also as the second byte of a
// double-byte character followed by "_#") would be cut or taken for another
// day's block when read back. Every writer of memo text refuses such text.
std::size_t findBlockMarker(std::string_view memo);

// ---- Saving without overwriting what someone else wrote ---------------------
//
// The folder of the month files may be kept equal between two PCs by a sync
// tool, lie on a shared drive, or be written by sorvane-cal and scripts. So
// a save first compares the file on disk with the bytes this program last
// read or wrote for that month (its base): when they differ, someone else
// changed the month meanwhile, and the save merges day by day (see
// month_merge.h) instead of writing the grid over their change. The read,
// the compare and the replacement run under the month's lock file, so that
// two saves at the same moment cannot lose either.

// The bytes of one month file as this program last read or wrote it. The
// caller keeps it beside the grid it loaded, from the load to the save.
struct MonthFileBase {
  bool known = false;  // false: nothing read yet, or the read failed
  int year = 0;
  int month = 0;
  std::string bytes;   // empty also when there was no file
};

// Builds the grid for the month, loads its memos as MonthGrid::load does and
// records the bytes they came from in `base` (unknown when the file could
// not be read whole). False as MonthGrid::load.
bool loadMonth(MonthGrid& grid, int year, int month, MonthFileBase& base);

// How long a save waits for another save of the same month to finish.
constexpr int kMonthLockWaitMilliseconds = 2000;

enum class MonthSaveStatus {
  Saved,   // the file holds the grid's memos, merged with others' changes
  Failed,  // nothing was replaced: no folder, no rights, an unreadable file,
           // no memory; the memos are only in the grid
  Locked,  // another save of the month held its lock for the whole wait;
           // nothing was replaced
};

struct MonthSaveResult {
  MonthSaveStatus status = MonthSaveStatus::Failed;
  // The file had been changed by someone else since the base: the grid was
  // rebuilt and now holds what the file holds (their days and ours).
  bool merged = false;
  // Memos that both sides changed differently: ours is in the month file,
  // theirs in `conflictCopy`, the whole month file as it was on disk just
  // before the save ("YYYYMM.dat.N.bak" beside it, a name not taken before).
  std::vector<MonthConflict> conflicts;
  std::string conflictCopy;
  bool saved() const { return status == MonthSaveStatus::Saved; }
};

// Writes the grid's month under the month's lock, merging with the file on
// disk when it differs from `base`, and makes `base` the bytes written.
// With a base that is not known or belongs to another month there is nothing
// to compare with, and the grid's memos replace the file as MonthGrid::save
// does. Every caller must tell the user of conflicts (monthConflictMessage)
// and of a lock that stayed held (monthLockedMessage).
MonthSaveResult saveMonth(MonthGrid& grid, int year, int month, MonthFileBase& base);

// The message for the box captioned "Sorvane" after a save with conflicts:
// which memos, and the file that holds the other side's text. Shift_JIS.
std::string monthConflictMessage(int year, int month, const MonthSaveResult& result);
// The message when another save held the month's lock. Shift_JIS.
std::string monthLockedMessage(int year, int month);

// The lock file of a month file: "YYYYMM.lck" beside "YYYYMM.dat" (as long
// as the month file's own path, so that it fits wherever that fits).
std::string monthLockPath(const std::string& monthPath);

// Test seam: the next saveMonth calls `hook` before it does anything else,
// so that a test can change the file behind the saver's back; then the
// hook clears itself.
void runBeforeNextMonthSaveForTests(void (*hook)());
