#include <windows.h>

#include "platform/file_io.h"
#include "platform/file_io_block.h"
#include "platform/text_convert.h"

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool close() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// Read access only, shared with other readers: a read-only file, or one that
// another program has open for reading, is still read.
HANDLE openForReading(const std::string& path, DWORD sharing = FILE_SHARE_READ) {
  return CreateFileW(sjisToWide(path).c_str(), GENERIC_READ, sharing, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool fileSize(HANDLE file, unsigned long long* size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(file, &value) || value.QuadPart < 0) return false;
  *size = static_cast<unsigned long long>(value.QuadPart);
  return true;
}

bool readAll(HANDLE file, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD chunk = static_cast<DWORD>(size - done > 0x10000000 ? 0x10000000 : size - done);
    DWORD got = 0;
    if (!ReadFile(file, data + done, chunk, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

bool writeAll(HANDLE file, const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD chunk = static_cast<DWORD>(size - done > 0x10000000 ? 0x10000000 : size - done);
    DWORD put = 0;
    if (!WriteFile(file, data + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

// A virus scanner or an indexer may hold the target for a moment; a few
// short retries ride that out without making a save feel slow.
bool moveOver(const std::wstring& from, const std::wstring& to) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return false;
    Sleep(50);
  }
  return false;
}

}  // namespace

std::string executablePath() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string path;
  if (wideToSjis(std::wstring_view(buffer, n), path)) return path;
  // A folder named with a character Shift_JIS lacks: its short (8.3) name,
  // where the volume keeps one, is plain ASCII and names the same place.
  // Only the folder takes its short form; the file's own name stays, since
  // the settings file is named after it.
  std::wstring_view full(buffer, n);
  std::size_t separator = full.find_last_of(L"\\/");
  if (separator == std::wstring_view::npos) return std::string();
  std::wstring folder(full.substr(0, separator));
  wchar_t shortFolder[MAX_PATH + 1];
  DWORD m = GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH);
  std::string name;
  if (m == 0 || m >= MAX_PATH || !wideToSjis(std::wstring_view(shortFolder, m), path) ||
      !wideToSjis(full.substr(separator), name))
    return std::string();
  return path + name;
}

namespace {

FileReadStatus readBlockSharing(const std::string& path, DWORD sharing, std::size_t maxSize, BlockHandle* block,
                                std::size_t* size) {
  *block = nullptr;
  *size = 0;
  FileHandle file(openForReading(path, sharing));
  if (!file.valid()) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? FileReadStatus::Missing
               : FileReadStatus::NotOpened;
  }
  unsigned long long bytes = 0;
  if (!fileSize(file.get(), &bytes)) return FileReadStatus::NotOpened;
  return readSizedFileIntoBlock(
      bytes, maxSize, [&file](char* data, std::size_t count) { return readAll(file.get(), data, count); },
      block, size);
}

}  // namespace

FileReadStatus readFileIntoBlock(const std::string& path, std::size_t maxSize, BlockHandle* block,
                                 std::size_t* size) {
  return readBlockSharing(path, FILE_SHARE_READ, maxSize, block, size);
}

FileReadStatus readFileIntoBlockSharingWriters(const std::string& path, std::size_t maxSize, BlockHandle* block,
                                               std::size_t* size) {
  return readBlockSharing(path, FILE_SHARE_READ | FILE_SHARE_WRITE, maxSize, block, size);
}

FileReadStatus readFileText(const std::string& path, std::size_t maxSize, std::string& out) {
  out.clear();
  FileHandle file(openForReading(path));
  if (!file.valid()) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                          : FileReadStatus::NotOpened;
  }
  unsigned long long bytes = 0;
  if (!fileSize(file.get(), &bytes)) return FileReadStatus::NotOpened;
  return readSizedFileText(
      bytes, maxSize, [&file](char* data, std::size_t count) { return readAll(file.get(), data, count); }, out);
}

void removeStaleTemporariesBeside(const std::string& path) {
  std::wstring wide = sjisToWide(path);
  std::size_t separator = wide.find_last_of(L"\\/");
  std::wstring directory = separator == std::wstring::npos ? L"." : wide.substr(0, separator);
  std::wstring pattern = directory + L"\\*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowFile;
  GetSystemTimeAsFileTime(&nowFile);
  auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const unsigned long long stale = 10000000ULL * kStaleTemporarySeconds;  // 100 ns units
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!isTemporaryFileName(wideToUtf8(found.cFileName))) continue;
    if (ticks(nowFile) - ticks(found.ftLastWriteTime) > stale) {
      DeleteFileW((directory + L"\\" + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

namespace {

// Writes, checks the size, flushes and closes. False on any failure.
bool writeFlushed(FileHandle& file, std::string_view data, bool forReplacement) {
  std::size_t toWrite = data.size();
  std::size_t truncated = 0;
  if (forReplacement && takeTruncatedWriteForTests(&truncated) && truncated < toWrite) toWrite = truncated;
  bool ok = writeAll(file.get(), data.data(), toWrite);
  unsigned long long written = 0;
  ok = ok && fileSize(file.get(), &written) && written == data.size();
  ok = ok && !(forReplacement && takeFailedFlushForTests()) && FlushFileBuffers(file.get());
  return file.close() && ok;
}

// A symbolic link (or junction) in place of the file: the file it leads to
// is the one to replace, so that the link stays and its target gets the
// new memos.
std::string resolveLinks(const std::string& path) {
  DWORD attributes = GetFileAttributesW(sjisToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  FileHandle file(CreateFileW(sjisToWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  wchar_t buffer[MAX_PATH + 8];
  DWORD n = GetFinalPathNameByHandleW(file.get(), buffer, MAX_PATH + 7, FILE_NAME_NORMALIZED);
  if (n == 0 || n > MAX_PATH + 6) return path;
  std::wstring_view finalPath(buffer, n);
  if (finalPath.substr(0, 4) == L"\\\\?\\") finalPath.remove_prefix(4);
  std::string resolved;
  return wideToSjis(finalPath, resolved) ? resolved : path;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view data) {
  removeStaleTemporariesBeside(path);
  const std::string targetPath = resolveLinks(path);
  const std::wstring target = sjisToWide(targetPath);
  // Windows refuses to replace a read-only file; say so before writing
  // anything, and on every system that might let the move through.
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;

  // Another save (another process) may be writing a temporary of the same
  // name: take the next free one rather than touch it. Others may read the
  // new file while it is written, but not write it.
  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  const unsigned base = static_cast<unsigned>(GetCurrentProcessId()) * 16u;
  for (unsigned attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = sjisToWide(temporaryPathFor(targetPath, base + attempt));
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS)
      return false;
  }
  FileHandle file(handle);
  if (!file.valid()) return false;

  bool ok = writeFlushed(file, data, true);
  ok = ok && moveOver(temporary, target);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

bool createNewFile(const std::string& path, std::string_view data) {
  const std::wstring file = sjisToWide(path);
  FileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) return false;
  if (writeFlushed(handle, data, false)) return true;
  DeleteFileW(file.c_str());
  return false;
}

FileKind fileKind(const std::string& path) {
  DWORD attributes = GetFileAttributesW(sjisToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::Missing : FileKind::Other;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return FileKind::Other;
  return FileKind::Regular;
}

FileStamp fileStamp(const std::string& path) {
  FileStamp stamp;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(sjisToWide(path).c_str(), GetFileExInfoStandard, &data)) return stamp;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return stamp;
  stamp.exists = true;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                             data.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

bool deleteFileIfExists(const std::string& path) {
  if (DeleteFileW(sjisToWide(path).c_str())) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
