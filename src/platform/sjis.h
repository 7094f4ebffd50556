#pragma once
// Shift_JIS helpers. The second byte of a double-byte character may be any
// of 0x40..0xFC, including '\\' (0x5C) and '|' (0x7C), so text is never
// scanned for those bytes one byte at a time.
#include <cstddef>
#include <string_view>

// True for the first byte of a double-byte Shift_JIS character.
inline bool isSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length in bytes of the character that starts at `i`: 2 for a lead byte
// followed by another byte, else 1.
inline std::size_t sjisCharLength(std::string_view text, std::size_t i) {
  return isSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Index at which the last `count` characters of the text begin (0 when the
// text has fewer characters).
std::size_t sjisStartOfLastChars(std::string_view text, std::size_t count);

// The longest prefix of at most `maxBytes` bytes that does not end inside a
// double-byte character.
std::size_t sjisCutLength(std::string_view text, std::size_t maxBytes);

// Index of the first occurrence of `needle` that starts on a character
// boundary of `text`, or npos. "||" inside "ポ|" is not found, for example.
std::size_t sjisFind(std::string_view text, std::string_view needle);
