#pragma once
// Whole-file reads and writes. Paths are Shift_JIS with '\\' separators, as
// the program builds them; the native build maps the separators itself.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/memory_block.h"

// Full path of the running executable (at most 260 characters on Windows).
std::string executablePath();

enum class FileReadStatus {
  Ok,        // the data is in the block
  Empty,     // the file exists and holds no bytes; no block
  Missing,   // there is no such file
  NotOpened, // the file exists but cannot be opened or is not a file
  NoMemory,  // the block could not be allocated (or the file is absurdly large)
  ReadError, // the read stopped short; no block
};

// Reads a whole file, sharing it with other readers, into a new zero-filled
// block of size + 1 bytes, so that the data is always NUL-terminated. The
// caller owns the block. `maxSize` bounds what is even tried.
FileReadStatus readFileIntoBlock(const std::string& path, std::size_t maxSize,
                                 BlockHandle* block, std::size_t* size);

// Reads a whole (small) file into `out`, with the statuses of
// readFileIntoBlock: only Ok leaves bytes in `out`. A file larger than
// `maxSize` gives NoMemory. Callers that go on to replace the file must tell
// Missing (nothing to lose) from the rest (a file is there that we could not
// read).
FileReadStatus readFileText(const std::string& path, std::size_t maxSize, std::string& out);

// Replaces the file with `data` without ever destroying what was there: the
// bytes go to a temporary file in the same directory, are flushed to disk,
// and the temporary is moved over the target. On any failure the temporary
// is removed and the old file stays as it was. A read-only target is not
// replaced. Temporaries that interrupted saves left in the directory are
// cleared first (see removeStaleTemporariesBeside).
bool replaceFileContents(const std::string& path, std::string_view data);

// Removes our temporaries (names ending in ".sorvane-tmp") from the
// directory of `path` when they are more than a minute old: such a file is
// what a save that was cut off (a crash, a power cut) left behind, never one
// that a save is still writing.
void removeStaleTemporariesBeside(const std::string& path);
constexpr char kTemporarySuffix[] = ".sorvane-tmp";
constexpr int kStaleTemporarySeconds = 60;

// Deletes the file. True when it is gone afterwards (also when it never was).
bool deleteFileIfExists(const std::string& path);

// The name of the temporary that replaceFileContents uses for `path`.
std::string temporaryPathFor(const std::string& path);

// Test seam: when set, the next replaceFileContents writes only this many
// bytes of its data, as a full disk would, then the hook clears itself.
void truncateNextWriteForTests(std::size_t bytes);
bool takeTruncatedWriteForTests(std::size_t* bytes);

// Test seam: when set, the next whole-file read (readFileIntoBlock or
// readFileText) fails after opening the file, as a bad sector would, then
// the hook clears itself.
void failNextReadForTests();
bool takeFailedReadForTests();
