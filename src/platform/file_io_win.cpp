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
HANDLE openForReading(const std::string& path) {
  return CreateFileW(sjisToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
  if (!wideToSjis(std::wstring_view(buffer, n), path)) return std::string();
  return path;
}

FileReadStatus readFileIntoBlock(const std::string& path, std::size_t maxSize,
                                 BlockHandle* block, std::size_t* size) {
  *block = nullptr;
  *size = 0;
  FileHandle file(openForReading(path));
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
  std::wstring pattern = directory + L"\\*" + sjisToWide(kTemporarySuffix);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowFile;
  GetSystemTimeAsFileTime(&nowFile);
  auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const unsigned long long stale = 10000000ULL * kStaleTemporarySeconds;  // 100 ns units
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (ticks(nowFile) - ticks(found.ftLastWriteTime) > stale) {
      DeleteFileW((directory + L"\\" + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

bool replaceFileContents(const std::string& path, std::string_view data) {
  removeStaleTemporariesBeside(path);
  const std::wstring target = sjisToWide(path);
  // Windows refuses to replace a read-only file; say so before writing
  // anything, and on every system that might let the move through.
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::wstring temporary = sjisToWide(temporaryPathFor(path));
  DeleteFileW(temporary.c_str());
  // Others may read the new file while it is written, but not write it.
  FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;

  std::size_t toWrite = data.size();
  std::size_t truncated = 0;
  if (takeTruncatedWriteForTests(&truncated) && truncated < toWrite) toWrite = truncated;
  bool ok = writeAll(file.get(), data.data(), toWrite);
  unsigned long long written = 0;
  ok = ok && fileSize(file.get(), &written) && written == data.size();
  ok = ok && FlushFileBuffers(file.get());
  ok = file.close() && ok;
  ok = ok && moveOver(temporary, target);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

bool deleteFileIfExists(const std::string& path) {
  if (DeleteFileW(sjisToWide(path).c_str())) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
