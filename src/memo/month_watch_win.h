#pragma once
// The calendar's watch over the month on display: a change notification
// on the data folder, re-armed whenever the folder comes back, and the
// looks of month_watch.h at every tick of the main window's watch timer.
// One GUI thread, no worker: the timer polls the notification's handle.
#include <windows.h>

#include <string>

#include "memo/month_watch.h"

// FindFirstChangeNotification on one folder, owned: closed when the object
// goes, when the folder changes, or when it proves dead.
class FolderChangeNotice {
 public:
  FolderChangeNotice() = default;
  ~FolderChangeNotice() { close(); }
  FolderChangeNotice(const FolderChangeNotice&) = delete;
  FolderChangeNotice& operator=(const FolderChangeNotice&) = delete;

  // True when something in `directory` may have changed since the last
  // call: the notification fired, or it was armed just now (after a start,
  // a folder change or the folder's return, when nothing is known of what
  // happened meanwhile). A folder that is not there arms nothing; the next
  // call tries again.
  bool poll(const std::string& directory);
  bool armed() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Drops the notification; the next poll arms a new one. For a folder
  // that went away, or that was swapped for another of the same name,
  // whose changes the old handle would never report.
  void close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string directory_;
};

// What the main window keeps to watch its month.
struct ShownMonthWatch {
  MonthFileWatch file;
  FolderChangeNotice folder;
};

// How often the main window looks (its own timer, beside the date watch).
constexpr UINT_PTR kMonthWatchTimer = 2;
constexpr UINT kMonthWatchPeriodMs = 500;

// One look at the month on display. When someone else changed its file,
// the grid is built again with the file's memos, `base` records them and
// the result is true: the caller repaints. Nothing else is touched (an
// open memo editor keeps its text and its own base).
bool refreshShownMonth(ShownMonthWatch& watch, MonthGrid& grid, MonthFileBase& base);
