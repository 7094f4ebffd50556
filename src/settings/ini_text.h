#pragma once
// INI text in memory, byte for byte. Shift_JIS is never decoded: only ASCII
// letters are folded when names are compared, and a double-byte character is
// always stepped over whole, so that a second byte such as '\\', '|', '[' or
// ']' is never taken for a character of its own. The behaviour follows the
// Windows private-profile functions: the first matching section and the
// first matching key in it win; a write replaces the value in place or
// appends the key after the last non-blank line of its section (adding the
// section at the end of the text when it is missing), and every other byte
// of the text stays as it was. What is written ends its lines with CR LF.
//
// Reading: CR LF, LF and a lone CR end a line. A section header is '['
// (blanks before it allowed), the name, and the first ']'; the rest of its
// line is ignored. Lines before the first header belong to no section. Lines
// whose first non-blank character is ';' are comments. Names are compared
// with surrounding blanks (space, tab, vertical tab, form feed, Ctrl-Z)
// removed, on both sides.
#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section`, with blanks around it and one pair of
// matching quotes (" or ') removed; nullopt when the key is not there.
std::optional<std::string> iniReadValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// Sets `key` in `section` to `value`, written as given. An existing line
// keeps everything up to its '=' and gets `value` for the rest. Returns true
// when the text changed (false when the line already holds exactly `value`).
bool iniWriteValue(std::string& text, std::string_view section, std::string_view key,
                   std::string_view value);

// Parses an integer as the profile functions do: only the first 29
// characters count; blanks (any byte up to ' '), an optional sign, a "0x"
// (hexadecimal), "0o" (octal) or "0b" (binary) prefix, then digits up to the
// first other character; nothing readable gives 0 and overflow wraps around
// modulo 2^32. "%d" text reads back unchanged.
int iniParseInt(std::string_view value);

// The lines of `section` that hold something, each followed by a NUL, then a
// final NUL: an entry as "key=value" with the blanks around both removed
// (quotes kept), another line as it stands, trimmed; comments are left out.
// Empty (a single NUL) when the section is missing or empty.
std::string iniReadSection(std::string_view text, std::string_view section);

// Replaces the body of `section` (its lines up to the last non-blank one,
// comments included) with the NUL-separated `entries`, one line each, written
// as given; the list ends at an empty entry or at the end of the view. A
// missing section is added at the end of the text, unless there are no
// entries. Returns true when the text changed.
bool iniWriteSection(std::string& text, std::string_view section, std::string_view entries);
