#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/file_lock.h"

namespace {

std::string nativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

long long monotonicMilliseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// True when `file` still names the very file open as `fd`.
bool namesOpenFile(const std::string& file, int fd) {
  struct stat held, named;
  return ::fstat(fd, &held) == 0 && ::lstat(file.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
         held.st_dev == named.st_dev;
}

// Removes a lock file that its holder left behind: nobody holds its lock, or
// it is older than any save takes. True when the caller may try again at
// once. The file is removed only while we hold what we opened and the name
// still leads to it, so that a lock a new holder just made stays.
bool takeOverAbandoned(const std::string& file) {
  int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;  // gone meanwhile: try again
  bool removed = false;
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    bool unheld = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    bool stale = std::time(nullptr) - info.st_mtime > kStaleLockSeconds;
    if ((unheld || stale) && namesOpenFile(file, fd)) removed = ::unlink(file.c_str()) == 0;
  }
  ::close(fd);
  return removed;
}

}  // namespace

void sleepMilliseconds(int milliseconds) {
  timespec pause{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}

LockStatus FileLock::acquire(const std::string& path, int waitMilliseconds) {
  release();
  const std::string file = nativePath(path);
  const long long deadline = monotonicMilliseconds() + waitMilliseconds;
  int pause = 2;
  while (true) {
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd >= 0) {
      // Between the creation and the lock another program may have taken
      // the fresh file for an abandoned one and removed it; then it is not
      // ours to hold, and we start again.
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesOpenFile(file, fd)) {
        path_ = file;
        handle_ = fd;
        return LockStatus::Taken;
      }
      ::close(fd);
    } else if (errno != EEXIST) {
      return LockStatus::Failed;
    } else if (takeOverAbandoned(file)) {
      continue;
    }
    if (monotonicMilliseconds() >= deadline) return LockStatus::Held;
    sleepMilliseconds(pause);
    if (pause < 25) pause *= 2;
  }
}

void FileLock::release() {
  if (handle_ == kNoHandle) return;
  int fd = static_cast<int>(handle_);
  // Removed while still locked, so that nobody takes it for abandoned in
  // between; and only when the name still leads to our file (a lock taken
  // over as stale belongs to its new holder).
  if (namesOpenFile(path_, fd)) ::unlink(path_.c_str());
  ::close(fd);
  handle_ = kNoHandle;
  path_.clear();
}
