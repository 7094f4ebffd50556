#pragma once
// INI text in memory, byte for byte. Shift_JIS is never decoded: only ASCII
// letters are folded when names are compared, so that a trail byte is never
// mistaken for a letter. The behaviour follows the Windows private-profile
// functions: the first matching section and the first matching key win; a
// write replaces the value in place or appends the key at the end of its
// section (adding the section at the end of the text when it is missing),
// and every other byte of the text stays as it was.
#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section`, with blanks around it and one pair of
// matching quotes removed; nullopt when the key is not there.
std::optional<std::string> iniReadValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// Sets `key` in `section` to `value`. Returns true when the text changed.
bool iniWriteValue(std::string& text, std::string_view section, std::string_view key,
                   std::string_view value);

// Parses an integer as the profile functions do: blanks, an optional sign,
// a "0x" (hexadecimal), "0o" (octal) or "0b" (binary) prefix, then digits up
// to the first other character; nothing readable gives 0.
int iniParseInt(std::string_view value);

// The lines of `section` that hold something, each followed by a NUL, then a
// final NUL. Empty (a single NUL) when the section is missing or empty.
std::string iniReadSection(std::string_view text, std::string_view section);

// Replaces every line of `section` with the NUL-separated `entries`. Returns
// true when the text changed.
bool iniWriteSection(std::string& text, std::string_view section, std::string_view entries);
