#pragma once
// Noticing that someone else changed the month file on display: another PC
// through a sync tool or a shared drive, sorvane-cal, a script. The calendar
// looks at the file every few hundred milliseconds; a look is a cheap check
// of its size and time, and the file is read only when that check, a change
// notification of its folder or a periodic safety read calls for it. What
// was read is compared with the bytes this program last read or wrote
// (MonthFileBase): equal bytes are our own save or a touch, and change
// nothing on screen.
//
// The watch is plain data and the looks are plain functions, so that what
// decides about a read and a reload is tested without a window; the folder
// notification itself is the Windows program's (month_watch_win.h).
#include <string>

#include "memo/month_store.h"
#include "platform/file_io.h"

class MonthGrid;

// Where network and synced folders fail both the notification and the
// file's time, a look reads the bytes anyway after this many looks without
// a read; with a working notification of the folder, after the longer count.
constexpr int kMonthWatchReadEveryLooks = 6;
constexpr int kMonthWatchReadEveryLooksNotified = 20;
// A month file that is gone counts as deleted only when it is still gone at
// this many looks in a row: a sync tool replacing a file may delete it
// first and write the new one a moment later.
constexpr int kMonthWatchMissingLooks = 2;

struct MonthFileWatch {
  int year = 0;
  int month = 0;
  std::string path;       // the month file, named when the month was shown
  std::string directory;  // the folder it lies in
  bool stampKnown = false;
  FileStamp stamp;        // the file as the last look saw it
  int looksSinceRead = 0;
  int missingLooks = 0;
};

// Points the watch at the month file of year and month in the data
// directory, and takes the file's stamp. Called before the month is read,
// so that a change between the stamp and the read is seen at the next look.
// Reads the settings (the data directory): call it with the month's load.
void watchMonthFile(MonthFileWatch& watch, int year, int month);

// Whether a look must read the file: the folder reported a change, the
// stamp differs from the last one (or there is none), or too many looks
// went by without a read (`notificationsWork`: the folder's notification is
// armed, which makes the safety read rarer).
bool monthFileNeedsRead(const MonthFileWatch& watch, const FileStamp& now, bool folderNotified,
                        bool notificationsWork);

enum class MonthFileLook {
  Unchanged,      // the file holds the base's bytes, or was not read
  Changed,        // someone else changed it: `bytes` holds it now
  Unreadable,     // it could not be read now (held, a read error): look again
  FolderMissing,  // its folder is gone (a network drive, a sync tool's renames)
};

// One look at the watched month file, compared with `base` (the bytes the
// calendar shows). A base of another month, or the watch of none, gives
// Unchanged; an unknown base (the last read failed) and a readable file give
// Changed, so that the month is read whole again.
MonthFileLook lookAtMonthFile(MonthFileWatch& watch, const MonthFileBase& base, bool folderNotified,
                              bool notificationsWork, std::string& bytes);

// The grid built for the month with the memos of `bytes`, which were read
// from its file a moment ago, and `base` recording them, as loadMonth does
// from a read of its own. False when memory ran short (the base is then
// unknown, and a save refuses the grid).
bool loadMonthFromBytes(MonthGrid& grid, int year, int month, const std::string& bytes, MonthFileBase& base);
