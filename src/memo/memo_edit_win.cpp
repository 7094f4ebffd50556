#include "memo/memo_edit_win.h"

#include <cstdio>

#include "memo/month_store.h"
#include "platform/common_controls_win.h"
#include "platform/text_convert.h"

namespace {

constexpr UINT kMessageBoxStyle = MB_ICONWARNING | MB_SETFOREGROUND;

std::wstring editText(HWND edit) {
  int length = GetWindowTextLengthW(edit);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(edit, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

// The first character (one UTF-16 unit, or a surrogate pair) that has no
// Shift_JIS form: its offset and length in units. False when there is none.
bool findUnstorableCharacter(const std::wstring& text, std::size_t& at, std::size_t& length) {
  std::string ignored;
  for (std::size_t i = 0; i < text.size(); i += length) {
    length = 1;
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      length = 2;
    if (!wideToSjis(std::wstring_view(text).substr(i, length), ignored)) {
      at = i;
      return true;
    }
  }
  return false;
}

unsigned codePointOf(const std::wstring& text, std::size_t at, std::size_t length) {
  if (length == 2) return 0x10000u + ((text[at] - 0xD800u) << 10) + (text[at + 1] - 0xDC00u);
  return text[at];
}

void selectUnits(HWND edit, std::size_t from, std::size_t to) {
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace

void prepareMemoEdit(HWND edit) { SendMessageW(edit, EM_SETLIMITTEXT, 0, 0); }

void setMemoEditText(HWND edit, std::string_view sjis) {
  SetWindowTextW(edit, sjisToWide(sjis).c_str());
  SendMessageW(edit, EM_SETSEL, 0, 0);
}

bool readStorableMemo(HWND owner, HWND edit, std::string& sjis) {
  std::wstring wide = editText(edit);
  if (!wideToSjis(wide, sjis)) {
    std::size_t at = 0, length = 1;
    if (!findUnstorableCharacter(wide, at, length)) at = 0;
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", codePointOf(wide, at, length));
    std::wstring message = sjisToWide("「");
    message.append(wide, at, length);
    message.append(sjisToWide("」("));
    message.append(sjisToWide(code));
    message.append(sjisToWide(") はShift_JISにない文字のため、予定のファイルに保存できません。\r\n"
                              "この文字を別の文字に置き換えてください。入力した内容はそのまま残っています。"));
    showMessageBox(owner, message.c_str(), MB_OK | kMessageBoxStyle);
    selectUnits(edit, at, at + length);
    return false;
  }
  std::size_t marker = findBlockMarker(sjis);
  if (marker != std::string::npos) {
    showMemoWarning(owner,
                    "「__#」はファイルの中で予定の区切りに使われるため、予定に含めて保存することはできません。\r\n"
                    "この部分を書き換えてください。入力した内容はそのまま残っています。");
    selectMemoText(edit, sjis, marker, marker + 3);
    return false;
  }
  return true;
}

void selectMemoText(HWND edit, std::string_view sjis, std::size_t begin, std::size_t end) {
  std::size_t from = sjisToWide(sjis.substr(0, begin)).size();
  std::size_t to = sjisToWide(sjis.substr(0, end)).size();
  selectUnits(edit, from, to);
}

void showMemoWarning(HWND owner, std::string_view sjis) {
  showMessageBox(owner, sjisToWide(sjis).c_str(), MB_OK | kMessageBoxStyle);
}

bool askMemoQuestion(HWND owner, std::string_view sjis) {
  return showMessageBox(owner, sjisToWide(sjis).c_str(), MB_OKCANCEL | kMessageBoxStyle | MB_DEFBUTTON2) == IDOK;
}

std::string memoSaveFailedMessage(int year, int month) {
  std::string path;
  bool named = monthFilePath(year, month, path);
  // The path is at most kMaxMonthFilePath bytes.
  char message[kMaxMonthFilePath + 512];
  std::snprintf(message, sizeof message,
                "予定を保存できませんでした。\r\n\r\n%s\r\n\r\n"
                "ファイルが読み取り専用か、ディスクがいっぱいか、フォルダーがない可能性があります。"
                "入力した内容はこのウィンドウに残っています。",
                named ? path.c_str() : "?");
  return message;
}

std::string memoNoMemoryMessage() {
  return "メモリが足りないため、予定を保存できませんでした。入力した内容はこのウィンドウに残っています。";
}

bool reportMonthSave(HWND owner, int year, int month, const MonthSaveResult& result) {
  switch (result.status) {
    case MonthSaveStatus::Locked:
      showMemoWarning(owner, monthLockedMessage(year, month));
      return false;
    case MonthSaveStatus::Failed:
      showMemoWarning(owner, memoSaveFailedMessage(year, month));
      return false;
    case MonthSaveStatus::Saved:
      break;
  }
  // Whatever the box is answered with, both texts are in files already.
  if (!result.conflicts.empty()) showMemoWarning(owner, monthConflictMessage(year, month, result));
  return true;
}
