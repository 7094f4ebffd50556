#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/file_io.h"
#include "platform/file_io_block.h"
#include "platform/path.h"

namespace {

// The program builds Windows paths; natively they are UTF-8, where the byte
// '\\' is always a character of its own, so every one becomes '/'.
std::string nativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

// Opens for reading without ever blocking: a named pipe or a device in
// place of a file would otherwise hang the open (or the read) until some
// other program writes to it. Only a regular file is handed back.
int openRegularFileForReading(const std::string& path, FileReadStatus* status) {
  int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    *status = (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing : FileReadStatus::NotOpened;
    return -1;
  }
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    *status = FileReadStatus::NotOpened;
    return -1;
  }
  // Regular files ignore the flag, but clear it so reads behave as usual.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  *status = FileReadStatus::Ok;
  return fd;
}

// Follows symbolic links to the file they name, so that a save replaces
// that file and leaves the link in place. A link whose target does not
// exist yet gives the target's path: the save creates it.
std::string resolveLinks(const std::string& nativeTarget) {
  std::string current = nativeTarget;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char buffer[PATH_MAX];
    ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return current;
    std::string next(buffer, static_cast<std::size_t>(n));
    if (next[0] != '/') {
      std::size_t slash = current.rfind('/');
      if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
    }
    current = next;
  }
  return current;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded.
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool readAll(int fd, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd, data + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool writeAll(int fd, const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t put = ::write(fd, data + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::string directoryOf(const std::string& nativeFile) {
  std::size_t slash = nativeFile.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : nativeFile.substr(0, slash);
}

}  // namespace

std::string executablePath() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(n));
}

FileReadStatus readFileIntoBlock(const std::string& path, std::size_t maxSize,
                                 BlockHandle* block, std::size_t* size) {
  *block = nullptr;
  *size = 0;
  FileReadStatus status = FileReadStatus::Ok;
  FileDescriptor fd(openRegularFileForReading(path, &status));
  if (!fd.valid()) return status;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) return FileReadStatus::NotOpened;
  return readSizedFileIntoBlock(
      static_cast<unsigned long long>(info.st_size), maxSize,
      [&fd](char* data, std::size_t count) { return readAll(fd.get(), data, count); }, block, size);
}

FileReadStatus readFileIntoBlockSharingWriters(const std::string& path, std::size_t maxSize, BlockHandle* block,
                                               std::size_t* size) {
  return readFileIntoBlock(path, maxSize, block, size);
}

FileReadStatus readFileText(const std::string& path, std::size_t maxSize, std::string& out) {
  out.clear();
  FileReadStatus status = FileReadStatus::Ok;
  FileDescriptor fd(openRegularFileForReading(path, &status));
  if (!fd.valid()) return status;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) return FileReadStatus::NotOpened;
  return readSizedFileText(
      static_cast<unsigned long long>(info.st_size), maxSize,
      [&fd](char* data, std::size_t count) { return readAll(fd.get(), data, count); }, out);
}

namespace {

// A save holds an exclusive lock on its temporary from just after creating
// it until the temporary has been moved over the target. One that nobody
// holds is what a save cut off by a crash or a kill left behind, and can go
// at once rather than a minute later. True when the file was removed.
bool removeAbandonedTemporary(const std::string& file) {
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return false;
  struct stat held;
  if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) return false;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
  // Remove only the file we hold, not one a new save has just made under
  // the same name.
  struct stat named;
  if (::lstat(file.c_str(), &named) != 0 || named.st_ino != held.st_ino || named.st_dev != held.st_dev)
    return false;
  return ::unlink(file.c_str()) == 0;
}

}  // namespace

void removeStaleTemporariesBeside(const std::string& path) {
  const std::string directory = directoryOf(nativePath(path));
  DIR* listing = ::opendir(directory.c_str());
  if (!listing) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(listing)) {
    std::string_view name(entry->d_name);
    if (!isTemporaryFileName(name)) continue;
    std::string file = directory + "/" + std::string(name);
    // Names of earlier builds, which took no lock, only go when stale.
    if (!name.starts_with("~sv") || !removeAbandonedTemporary(file)) {
      struct stat info;
      if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > kStaleTemporarySeconds)
        ::unlink(file.c_str());
    }
  }
  ::closedir(listing);
}

namespace {

// Writes, checks the size, flushes and closes. False on any failure.
bool writeFlushed(FileDescriptor& fd, std::string_view data, bool forReplacement) {
  std::size_t toWrite = data.size();
  std::size_t truncated = 0;
  if (forReplacement && takeTruncatedWriteForTests(&truncated) && truncated < toWrite) toWrite = truncated;
  bool ok = writeAll(fd.get(), data.data(), toWrite);
  struct stat written;
  ok = ok && ::fstat(fd.get(), &written) == 0 &&
       static_cast<unsigned long long>(written.st_size) == data.size();
  ok = ok && !(forReplacement && takeFailedFlushForTests()) && ::fsync(fd.get()) == 0;
  return fd.close() && ok;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view data) {
  removeStaleTemporariesBeside(path);
  const std::string target = resolveLinks(nativePath(path));
  struct stat info;
  // Windows will not replace a file with the read-only attribute; neither do
  // we, whatever rights the user has over the directory.
  if (::stat(target.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) return false;

  // Another save (another process) may be writing a temporary of the same
  // name: take the next free one rather than touch it.
  // The lock that marks the temporary as in use (see
  // removeAbandonedTemporary) is taken on a second descriptor of the same
  // open file, so that it outlasts the close after the write and holds until
  // the move is done.
  std::string temporary;
  int descriptor = -1;
  int lockDescriptor = -1;
  const unsigned base = static_cast<unsigned>(::getpid()) * 16u;
  for (unsigned attempt = 0; attempt < 16 && descriptor < 0; ++attempt) {
    temporary = nativePath(temporaryPathFor(target, base + attempt));
    descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
      if (errno != EEXIST) return false;
      continue;
    }
    lockDescriptor = ::dup(descriptor);
    struct stat created;
    bool locked = lockDescriptor >= 0 && ::flock(lockDescriptor, LOCK_EX) == 0;
    // Another save's sweep may have taken the unlocked file between its
    // creation and our lock: then it is gone, and we start again.
    if (locked && ::fstat(lockDescriptor, &created) == 0 && created.st_nlink == 0) {
      ::close(lockDescriptor);
      ::close(descriptor);
      lockDescriptor = descriptor = -1;
    }
  }
  FileDescriptor lock(lockDescriptor);
  FileDescriptor fd(descriptor);
  if (!fd.valid()) return false;

  bool ok = writeFlushed(fd, data, true);
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable.
  FileDescriptor dir(::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return true;
}

bool createNewFile(const std::string& path, std::string_view data) {
  const std::string file = nativePath(path);
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.valid()) return false;
  if (writeFlushed(fd, data, false)) return true;
  ::unlink(file.c_str());
  return false;
}

FileKind fileKind(const std::string& path) {
  struct stat info;
  if (::stat(nativePath(path).c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Other;
  if (S_ISREG(info.st_mode)) return FileKind::Regular;
  if (S_ISDIR(info.st_mode)) return FileKind::Directory;
  return FileKind::Other;
}

FileStamp fileStamp(const std::string& path) {
  FileStamp stamp;
  struct stat info;
  if (::stat(nativePath(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return stamp;
  stamp.exists = true;
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

bool deleteFileIfExists(const std::string& path) {
  return ::unlink(nativePath(path).c_str()) == 0 || errno == ENOENT;
}
