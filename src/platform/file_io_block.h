#pragma once
// The half of readFileIntoBlock that both platforms share: once the file is
// open and its size known, the block is sized one byte past the data (so the
// text always ends in a zero), filled by the platform's own read loop, and
// handed over only when every byte arrived.

#include <cstddef>
#include <string>

#include "platform/file_io.h"
#include "platform/memory_block.h"

// `readAll(char* data, std::size_t size)` reads exactly `size` bytes or fails.
template <typename ReadAll>
FileReadStatus readSizedFileIntoBlock(unsigned long long fileSize, std::size_t maxSize, ReadAll readAll,
                                      BlockHandle* block, std::size_t* size) {
  if (fileSize == 0) return FileReadStatus::Empty;
  if (fileSize > maxSize) return FileReadStatus::NoMemory;
  BlockHandle data = allocateBlock(static_cast<std::size_t>(fileSize) + 1);
  if (!data) return FileReadStatus::NoMemory;
  char* bytes = lockBlock(data);
  bool ok = bytes && !takeFailedReadForTests() && readAll(bytes, static_cast<std::size_t>(fileSize));
  unlockBlock(data);
  if (!ok) {
    freeBlock(data);
    return FileReadStatus::ReadError;
  }
  *block = data;
  *size = static_cast<std::size_t>(fileSize);
  return FileReadStatus::Ok;
}

// The same for readFileText: the bytes go to `out`, which stays empty
// unless every byte arrived.
template <typename ReadAll>
FileReadStatus readSizedFileText(unsigned long long fileSize, std::size_t maxSize, ReadAll readAll,
                                 std::string& out) {
  out.clear();
  if (fileSize == 0) return FileReadStatus::Empty;
  if (fileSize > maxSize) return FileReadStatus::NoMemory;
  out.resize(static_cast<std::size_t>(fileSize));
  if (takeFailedReadForTests() || !readAll(out.data(), out.size())) {
    out.clear();
    return FileReadStatus::ReadError;
  }
  return FileReadStatus::Ok;
}
