#include "memo/month_watch_win.h"

#include "calendar/month_grid.h"
#include "platform/file_io.h"
#include "platform/text_convert.h"
#include "settings/settings_file.h"

namespace {

// Written in place (its time and size) or renamed over (a name appears).
constexpr DWORD kNoticeFilter = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE;

}  // namespace

void FolderChangeNotice::close() {
  if (handle_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool FolderChangeNotice::poll(const std::string& directory) {
  if (directory != directory_) {
    close();
    directory_ = directory;
  }
  if (directory_.empty()) return false;
  if (handle_ == INVALID_HANDLE_VALUE) {
    if (fileKind(directory_) != FileKind::Directory) return false;
    handle_ = FindFirstChangeNotificationW(sjisToWide(directory_).c_str(), FALSE, kNoticeFilter);
    return handle_ != INVALID_HANDLE_VALUE;
  }
  if (WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) return false;
  // A handle that cannot wait again (its folder deleted) is dropped; the
  // folder is armed anew once it is back.
  if (!FindNextChangeNotification(handle_)) close();
  return true;
}

bool refreshShownMonth(ShownMonthWatch& watch, MonthGrid& grid, MonthFileBase& base) {
  const bool notified = watch.folder.poll(watch.file.directory);
  const FileStamp before = watch.file.stamp;
  const bool stampWasKnown = watch.file.stampKnown;
  std::string bytes;
  switch (lookAtMonthFile(watch.file, base, notified, watch.folder.armed(), bytes)) {
    case MonthFileLook::Unchanged:
    case MonthFileLook::Unreadable:
      break;
    case MonthFileLook::FolderMissing:
      watch.folder.close();
      break;
    case MonthFileLook::Changed: {
      // A change that the stamp showed and the notification did not: the
      // handle may watch a folder that was renamed away with a new one put
      // in its place. It is armed again on the folder the name now means.
      if (!notified && stampWasKnown && !(before == watch.file.stamp)) watch.folder.close();
      // The holidays come with the build: one read of the settings.
      SettingsReadScope oneRead;
      loadMonthFromBytes(grid, watch.file.year, watch.file.month, bytes, base);
      return true;
    }
  }
  return false;
}
