#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/file_io.h"
#include "platform/file_io_block.h"
#include "platform/sjis.h"

namespace {

// The program builds Windows paths; here every '\\' that is a character of
// its own (not the second byte of a double-byte one) becomes '/'.
std::string nativePath(const std::string& path) {
  std::string out = path;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (isSjisLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      ++i;
    } else if (out[i] == '\\') {
      out[i] = '/';
    }
  }
  return out;
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
  FileDescriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing : FileReadStatus::NotOpened;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileReadStatus::NotOpened;
  return readSizedFileIntoBlock(
      static_cast<unsigned long long>(info.st_size), maxSize,
      [&fd](char* data, std::size_t count) { return readAll(fd.get(), data, count); }, block, size);
}

FileReadStatus readFileText(const std::string& path, std::size_t maxSize, std::string& out) {
  out.clear();
  FileDescriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing : FileReadStatus::NotOpened;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileReadStatus::NotOpened;
  return readSizedFileText(
      static_cast<unsigned long long>(info.st_size), maxSize,
      [&fd](char* data, std::size_t count) { return readAll(fd.get(), data, count); }, out);
}

void removeStaleTemporariesBeside(const std::string& path) {
  const std::string directory = directoryOf(nativePath(path));
  DIR* listing = ::opendir(directory.c_str());
  if (!listing) return;
  const std::size_t suffixLength = std::strlen(kTemporarySuffix);
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(listing)) {
    std::string_view name(entry->d_name);
    if (name.size() <= suffixLength || name.substr(name.size() - suffixLength) != kTemporarySuffix) continue;
    std::string file = directory + "/" + std::string(name);
    struct stat info;
    if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > kStaleTemporarySeconds)
      ::unlink(file.c_str());
  }
  ::closedir(listing);
}

bool replaceFileContents(const std::string& path, std::string_view data) {
  removeStaleTemporariesBeside(path);
  const std::string target = nativePath(path);
  struct stat info;
  // Windows will not replace a file with the read-only attribute; neither do
  // we, whatever rights the user has over the directory.
  if (::stat(target.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) return false;

  const std::string temporary = nativePath(temporaryPathFor(path));
  ::unlink(temporary.c_str());
  FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.valid()) return false;

  std::size_t toWrite = data.size();
  std::size_t truncated = 0;
  if (takeTruncatedWriteForTests(&truncated) && truncated < toWrite) toWrite = truncated;
  bool ok = writeAll(fd.get(), data.data(), toWrite);
  struct stat written;
  ok = ok && ::fstat(fd.get(), &written) == 0 &&
       static_cast<unsigned long long>(written.st_size) == data.size();
  ok = ok && ::fsync(fd.get()) == 0;
  ok = fd.close() && ok;
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

bool deleteFileIfExists(const std::string& path) {
  return ::unlink(nativePath(path).c_str()) == 0 || errno == ENOENT;
}
