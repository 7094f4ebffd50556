#pragma once
// Splitting and joining paths. On Windows a path is Shift_JIS text, where
// the second byte of a double-byte character may be 0x5C, the byte of '\\':
// "表" is 0x95 0x5C. Natively a path holds the file system's bytes (UTF-8),
// where no byte of a multi-byte character is ever below 0x80. The character
// rules therefore differ by platform, and every place that takes a path
// apart or puts one together goes through these functions.
#include <cstddef>
#include <string>
#include <string_view>

// Length in bytes of the character of `path` that starts at `i`.
std::size_t pathCharLength(std::string_view path, std::size_t i);

// Index of the last separator ('\\' or '/') that is a character of its own,
// or npos when there is none.
std::size_t pathLastSeparator(std::string_view path);

// The directory that holds `path`: everything before its last separator
// (empty when there is none).
std::string_view pathDirectory(std::string_view path);

// The last component of `path`.
std::string_view pathFileName(std::string_view path);

// `directory` with one trailing separator removed: "D:\memo\" and "D:\memo"
// name the same files. A second separator before it stays, and so does a
// separator that is the whole path.
std::string_view pathWithoutTrailingSeparator(std::string_view directory);

// directory + '\\' + name. The program builds every path with '\\'; the
// native file functions map it to '/'.
std::string joinPath(std::string_view directory, std::string_view name);

// Index at which the last `count` characters of `path` begin (0 when it has
// fewer characters).
std::size_t pathStartOfLastChars(std::string_view path, std::size_t count);
