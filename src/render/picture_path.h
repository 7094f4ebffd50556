#pragma once
// Which decoder a background picture's path goes to, and the form of the
// path that is remembered and loaded.
#include <cstddef>
#include <string>
#include <string_view>

// The longest path kept: the remembered path is a 512-byte NUL-terminated field.
inline constexpr std::size_t kMaxPicturePathBytes = 511;

// The path cut to kMaxPicturePathBytes bytes, never inside a double-byte
// Shift_JIS character.
std::string cutPicturePath(std::string_view path);

// True when the last three characters of the path are "bmp" in any letter
// case: the file is read as a BMP. Any other path, also one shorter than
// three characters, goes to the JPEG decoder.
bool isBmpPicturePath(std::string_view path);
