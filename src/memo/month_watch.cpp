#include "memo/month_watch.h"

#include "calendar/month_grid.h"
#include "platform/path.h"

void watchMonthFile(MonthFileWatch& watch, int year, int month) {
  watch = MonthFileWatch();
  watch.year = year;
  watch.month = month;
  if (!monthFilePath(year, month, watch.path)) return;
  watch.directory = std::string(pathDirectory(watch.path));
  watch.stamp = fileStamp(watch.path);
  watch.stampKnown = true;
}

bool monthFileNeedsRead(const MonthFileWatch& watch, const FileStamp& now, bool folderNotified,
                        bool notificationsWork) {
  if (folderNotified || !watch.stampKnown || !(now == watch.stamp)) return true;
  const int every = notificationsWork ? kMonthWatchReadEveryLooksNotified : kMonthWatchReadEveryLooks;
  return watch.looksSinceRead + 1 >= every;
}

MonthFileLook lookAtMonthFile(MonthFileWatch& watch, const MonthFileBase& base, bool folderNotified,
                              bool notificationsWork, std::string& bytes) {
  bytes.clear();
  if (watch.path.empty() || (base.known && (base.year != watch.year || base.month != watch.month)))
    return MonthFileLook::Unchanged;
  const FileStamp now = fileStamp(watch.path);
  if (!monthFileNeedsRead(watch, now, folderNotified, notificationsWork)) {
    ++watch.looksSinceRead;
    return MonthFileLook::Unchanged;
  }
  switch (readFileText(watch.path, kMaxMonthFileSize, bytes)) {
    case FileReadStatus::Ok:
    case FileReadStatus::Empty:
      watch.missingLooks = 0;
      break;
    case FileReadStatus::Missing:
      bytes.clear();
      // Gone with its folder: nothing is known about the month now, and
      // the memos on screen stay.
      if (fileKind(watch.directory) != FileKind::Directory) {
        watch.stampKnown = false;
        watch.missingLooks = 0;
        return MonthFileLook::FolderMissing;
      }
      if (++watch.missingLooks < kMonthWatchMissingLooks) {
        watch.stampKnown = false;
        return MonthFileLook::Unchanged;
      }
      break;
    default:
      bytes.clear();
      watch.stampKnown = false;
      return MonthFileLook::Unreadable;
  }
  // The stamp taken before the read: a change during the read shows as a
  // new stamp at the next look, and that reads again.
  watch.stamp = now;
  watch.stampKnown = true;
  watch.looksSinceRead = 0;
  if (base.known && bytes == base.bytes) {
    bytes.clear();
    return MonthFileLook::Unchanged;
  }
  return MonthFileLook::Changed;
}

bool loadMonthFromBytes(MonthGrid& grid, int year, int month, const std::string& bytes, MonthFileBase& base) {
  base = MonthFileBase();
  grid.build(year, month);
  if (!grid.loadFromData(bytes)) return false;
  base.known = true;
  base.year = year;
  base.month = month;
  base.bytes = bytes;
  return true;
}
