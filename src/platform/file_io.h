#pragma once
// Whole-file reads and writes. Paths are Shift_JIS with '\\' separators, as
// the program builds them; the native build maps the separators itself.
#include <cstddef>
#include <cstdint>
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
// The same, also sharing the file with programs that hold it open for
// writing (a picture still open in a paint program is read as it stands on
// disk). Natively there is no sharing to ask for.
FileReadStatus readFileIntoBlockSharingWriters(const std::string& path, std::size_t maxSize,
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
// replaced. When the target is a symbolic link, the file it points to is
// replaced and the link stays. Temporaries that interrupted saves left in
// the directory are cleared first (see removeStaleTemporariesBeside).
bool replaceFileContents(const std::string& path, std::string_view data);

// Creates a file that must not exist yet and writes `data` to it, flushed.
// False (and nothing left behind) when the name is taken or a write fails.
bool createNewFile(const std::string& path, std::string_view data);

// Removes our temporaries from the directory of `path` when they are more
// than a minute old: such a file is what a save that was cut off (a crash,
// a power cut) left behind, never one that a save is still writing.
void removeStaleTemporariesBeside(const std::string& path);
constexpr int kStaleTemporarySeconds = 60;

// The temporary a save of `path` writes first: "~svXXXXX.tmp" beside it,
// XXXXX five hexadecimal digits of `number`. The name is short on purpose:
// a target at the longest allowed path still leaves room for it.
std::string temporaryPathFor(const std::string& path, unsigned number);
// True for the names temporaryPathFor makes (and ".sorvane-tmp" names,
// which earlier builds used).
bool isTemporaryFileName(std::string_view name);

// Deletes the file. True when it is gone afterwards (also when it never was).
bool deleteFileIfExists(const std::string& path);

enum class FileKind { Missing, Regular, Directory, Other };
// What the path names; Other for devices, pipes and whatever cannot be
// looked at.
FileKind fileKind(const std::string& path);

// What one cheap look at a file tells without opening it: whether it is
// there, its size and its last-write time (in the system's own unit). Two
// looks that differ mean the file was changed, replaced or removed in
// between; equal looks mean nothing for sure (a rewrite within the clock's
// step keeping the size looks the same).
struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

// Test seams: when set, the next replaceFileContents writes only this many
// bytes of its data, as a full disk would, or sees its flush fail; then the
// hook clears itself.
void truncateNextWriteForTests(std::size_t bytes);
bool takeTruncatedWriteForTests(std::size_t* bytes);
void failNextFlushForTests();
bool takeFailedFlushForTests();

// Test seam: when set, the next whole-file read (readFileIntoBlock or
// readFileText) fails after opening the file, as a bad sector would, then
// the hook clears itself.
void failNextReadForTests();
bool takeFailedReadForTests();
