#include <windows.h>

#include "platform/text_convert.h"

namespace {
constexpr UINT kShiftJis = 932;

std::wstring toWide(UINT codePage, DWORD flags, std::string_view text, bool* ok) {
  *ok = true;
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()),
                              nullptr, 0);
  if (n <= 0) {
    *ok = false;
    return std::wstring();
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}
}  // namespace

std::wstring sjisToWide(std::string_view sjis) {
  bool ok = true;
  return toWide(kShiftJis, 0, sjis, &ok);
}

bool wideToSjis(std::wstring_view wide, std::string& out) {
  out.clear();
  if (wide.empty()) return true;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(),
                              static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  out.assign(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      out.data(), n, nullptr, nullptr);
  return true;
}

bool utf8ToSjis(std::string_view utf8, std::string& out) {
  out.clear();
  bool ok = true;
  std::wstring wide = toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &ok);
  return ok && wideToSjis(wide, out);
}

std::string sjisToUtf8(std::string_view sjis) { return wideToUtf8(sjisToWide(sjis)); }

std::string wideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

bool pathFromUtf8(std::string_view utf8, std::string& out) { return utf8ToSjis(utf8, out); }

std::string pathFromSettingText(std::string_view sjis) { return std::string(sjis); }
