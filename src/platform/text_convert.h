#pragma once
// The one place where text changes encoding. Inside, text is Shift_JIS
// (code page 932); terminals speak UTF-8 and Windows' wide functions UTF-16.
#include <string>
#include <string_view>

// Converts UTF-8 to Shift_JIS. False, with `out` empty, when the input is
// not valid UTF-8 or holds a character Shift_JIS cannot represent.
bool utf8ToSjis(std::string_view utf8, std::string& out);

// Converts Shift_JIS to UTF-8; a byte sequence that is not Shift_JIS comes
// out as U+FFFD rather than being dropped.
std::string sjisToUtf8(std::string_view sjis);

// A path typed on the command line (UTF-8) in the form the file functions
// take: Shift_JIS on Windows, the bytes as they are natively, where the
// file system itself speaks UTF-8. False when it cannot be represented.
bool pathFromUtf8(std::string_view utf8, std::string& out);

// A path held as Shift_JIS text in the settings file, in the form the file
// functions take: unchanged on Windows, UTF-8 natively.
std::string pathFromSettingText(std::string_view sjis);

#ifdef _WIN32
std::wstring sjisToWide(std::string_view sjis);
// False, with `out` empty, when a character has no Shift_JIS form.
bool wideToSjis(std::wstring_view wide, std::string& out);
std::string wideToUtf8(std::wstring_view wide);
#endif
