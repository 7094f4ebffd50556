#include <windows.h>

#include "platform/file_lock.h"
#include "platform/text_convert.h"

namespace {

// Opened without sharing and deleted on close: while we hold the handle
// nobody else can open the file, and when the handle goes (also when the
// process dies) the file goes with it.
HANDLE createLockFile(const std::wstring& file) {
  return CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// A lock file that nobody holds open (one left on a network drive whose
// session was cut) is opened here and deleted as the handle closes. True
// when the caller may try again at once.
bool takeOverAbandoned(const std::wstring& file) {
  HANDLE handle = CreateFileW(file.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  CloseHandle(handle);
  return true;
}

}  // namespace

void sleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

LockStatus FileLock::acquire(const std::string& path, int waitMilliseconds) {
  release();
  const std::wstring file = sjisToWide(path);
  const DWORD start = GetTickCount();
  DWORD pause = 2;
  while (true) {
    HANDLE handle = createLockFile(file);
    if (handle != INVALID_HANDLE_VALUE) {
      path_ = path;
      handle_ = reinterpret_cast<std::intptr_t>(handle);
      return LockStatus::Taken;
    }
    DWORD error = GetLastError();
    // A file being deleted refuses a new one with "access denied" for a
    // moment; a folder we may not write to refuses it for good, and then
    // there is no file of that name to wait for.
    bool someoneHasIt = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                        error == ERROR_SHARING_VIOLATION ||
                        (error == ERROR_ACCESS_DENIED && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!someoneHasIt) return LockStatus::Failed;
    if (takeOverAbandoned(file)) continue;
    if (GetTickCount() - start >= static_cast<DWORD>(waitMilliseconds)) return LockStatus::Held;
    Sleep(pause);
    if (pause < 25) pause *= 2;
  }
}

void FileLock::release() {
  if (handle_ == kNoHandle) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNoHandle;
  path_.clear();
}
