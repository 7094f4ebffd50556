#include "memo/month_dialog_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/commands.h"
#include "app/window_placement_win.h"
#include "calendar/names.h"
#include "memo/memo_edit_win.h"
#include "memo/month_dialog_text.h"
#include "memo/month_watch.h"
#include "platform/common_controls_win.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "render/dpi_scale.h"
#include "render/window_dpi_win.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"

namespace {

constexpr int kMonthLabelId = 1057;
constexpr int kMonthEditId = 1030;
constexpr int kSplitterId = 1056;  // the label of the day memos
constexpr int kDayEditId = 1031;
constexpr int kMinMonthEditHeight = 10;
constexpr std::size_t kQuoteBytes = 80;
// Sent by the owner at log-off: store now, stay open. The result is 1 when
// nothing typed is left unsaved.
constexpr UINT kStoreNowMessage = WM_APP + 1;

struct MonthDialogState {
  MonthMemoDialogParams params{};
  bool splitterDragging = false;
  int lastDragX = 0;  // noted, not used
  int lastDragY = 0;
  bool layingOut = false;
  // The memos whose bytes the edits would change, so that OK stores those of
  // days nobody edited as they were.
  MonthAsShown asShown;
  // The dialog's own month: as its file was when the dialog opened, and
  // those bytes, which OK's save compares the file with.
  MonthGrid grid;
  MonthFileBase base;
};

// What a memo's bytes become in an edit and read back untouched.
bool roundTripThroughEdit(std::string_view sjis, std::string& shown) {
  return wideToSjis(sjisToWide(sjis), shown);
}

MonthDialogState* stateOf(HWND dialog) {
  return reinterpret_cast<MonthDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

int shownYear(const MonthDialogState& state) { return state.params.shownDate->year; }
int shownMonth(const MonthDialogState& state) { return state.params.shownDate->month; }

RECT childRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int childHeight(HWND dialog, int id) {
  RECT rect = childRect(dialog, id);
  return rect.bottom - rect.top;
}

void setChildHeight(HWND dialog, int id, int height) {
  RECT rect = childRect(dialog, id);
  SetWindowPos(GetDlgItem(dialog, id), nullptr, 0, 0, rect.right - rect.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void place(HWND dialog, int id, int x, int y, int width, int height) {
  MoveWindow(GetDlgItem(dialog, id), x, y, width, height, TRUE);
}

// Every control keeps its height but the day memos' edit, which takes the
// rest. A window too low for the month memo's edit grows to fit it.
// The gaps are pixels at 96 DPI, scaled to the dialog's own DPI as the
// system scales its dialog units.
void layOut(HWND dialog, MonthDialogState& state, int width, int height) {
  if (state.layingOut) return;
  state.layingOut = true;
  const int dpi = systemDpiOfWindow(dialog);
  auto px = [dpi](int pixels) { return scaleToDpi(pixels, dpi); };
  const int labelHeight = childHeight(dialog, kMonthLabelId);
  const int monthEditHeight = childHeight(dialog, kMonthEditId);
  const int splitterHeight = childHeight(dialog, kSplitterId);
  const RECT ok = childRect(dialog, IDOK);
  const RECT cancel = childRect(dialog, IDCANCEL);
  const int okWidth = ok.right - ok.left, okHeight = ok.bottom - ok.top;
  const int minimum = labelHeight + monthEditHeight + splitterHeight + okHeight + px(16);
  if (height < minimum) {
    RECT outer{};
    GetWindowRect(dialog, &outer);
    int outerHeight = minimum + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYSIZEFRAME);
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    height = minimum + 1;
  }
  const int one = px(1);
  place(dialog, kMonthLabelId, one, one, width - one, labelHeight);
  int y = labelHeight + px(2);
  place(dialog, kMonthEditId, one, y, width - one, monthEditHeight);
  y += monthEditHeight + one;
  place(dialog, kSplitterId, one, y, width - one, splitterHeight);
  y += splitterHeight + one;
  place(dialog, kDayEditId, one, y, width - one, std::max(0, height - y - okHeight - one));
  place(dialog, IDOK, one, height - okHeight - one, okWidth, okHeight);
  place(dialog, IDCANCEL, okWidth + px(2), height - okHeight - one, cancel.right - cancel.left,
        cancel.bottom - cancel.top);
  InvalidateRect(dialog, nullptr, TRUE);
  state.layingOut = false;
}

void layOutClient(HWND dialog, MonthDialogState& state) {
  RECT client{};
  GetClientRect(dialog, &client);
  layOut(dialog, state, client.right, client.bottom);
}

void recordPlacement(HWND dialog) {
  RECT rect{};
  GetWindowRect(dialog, &rect);
  appSettings().setMonthDialogPlacement(
      DialogPlacement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
  appSettings().setMonthDialogSeparator(childHeight(dialog, kMonthEditId));
}

// The saved rectangle when it has a size, else the template's; the month
// memo's edit as high as MONTHDLG_SEP.
void applyPlacement(HWND dialog) {
  RECT created{};
  GetWindowRect(dialog, &created);
  MoveWindow(dialog, 0, 0, 0, 0, FALSE);
  setChildHeight(dialog, kMonthEditId, appSettings().monthDialogSeparator());
  // A saved rectangle on no monitor now (one since unplugged) is brought
  // onto the nearest: a modal dialog out of sight would leave the calendar
  // disabled with no way back but a guessed Esc.
  if (!placeOnAMonitor(dialog, appSettings().monthDialogPlacement()))
    MoveWindow(dialog, created.left, created.top, created.right - created.left, created.bottom - created.top, TRUE);
}

// The dialog's month as the calendar shows it: from the calendar's bytes
// when they are this month's (no read), else read from its file.
void loadDialogMonth(MonthDialogState& state) {
  SettingsReadScope oneRead;  // the holidays and the data directory
  const int year = shownYear(state), month = shownMonth(state);
  const MonthFileBase* shown = state.params.shownBase;
  if (shown && shown->known && shown->year == year && shown->month == month)
    loadMonthFromBytes(state.grid, year, month, shown->bytes, state.base);
  else
    loadMonth(state.grid, year, month, state.base);
}

// Back to the month the edits were filled from, after a save that did not
// happen: the next OK stores the text onto the same month again.
void restoreDialogMonth(MonthDialogState& state) {
  SettingsReadScope oneRead;
  const int year = shownYear(state), month = shownMonth(state);
  if (state.base.known && state.base.year == year && state.base.month == month) {
    state.grid.build(year, month);
    state.grid.loadFromData(state.base.bytes);
  } else {
    loadMonth(state.grid, year, month, state.base);
  }
}

// Both edits from the dialog's month, untouched.
void fillEdits(HWND dialog, MonthDialogState& state) {
  state.asShown = monthAsShown(state.grid, roundTripThroughEdit);
  const MemoText& monthMemo = state.grid.monthMemo();
  setMemoEditText(GetDlgItem(dialog, kMonthEditId), monthMemo.present() ? monthMemo.text() : std::string());
  setMemoEditText(GetDlgItem(dialog, kDayEditId), buildDayMemoText(state.grid));
}

void onInitDialog(HWND dialog, const MonthMemoDialogParams* params) {
  auto* state = new MonthDialogState;
  state->params = *params;
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  if (state->params.openDialog) *state->params.openDialog = dialog;

  char title[32];
  std::snprintf(title, sizeof title, "%d年%d月", shownYear(*state), shownMonth(*state));
  SetWindowTextW(dialog, sjisToWide(title).c_str());

  HWND monthEdit = GetDlgItem(dialog, kMonthEditId);
  HWND dayEdit = GetDlgItem(dialog, kDayEditId);
  prepareMemoEdit(monthEdit);
  prepareMemoEdit(dayEdit);
  loadDialogMonth(*state);
  fillEdits(dialog, *state);
  SetFocus(monthEdit);
  applyPlacement(dialog);
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MEMO_ICON", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

// Asks before text that no day would get is dropped; the quoted line is
// selected in the edit either way, so the user sees where it is.
bool confirmDroppedText(HWND dialog, const std::string& dayText, int daysInMonth) {
  DroppedText dropped = findDroppedText(dayText, daysInMonth);
  if (!dropped.found) return true;
  std::string_view line = std::string_view(dayText).substr(dropped.begin, dropped.end - dropped.begin);
  bool cut = false;
  std::size_t keep = sjisCutLength(line, kQuoteBytes);
  if (keep < line.size()) {
    line = line.substr(0, keep);
    cut = true;
  }
  std::string question = "次の文字はどの日の見出しの下にもないため、保存すると失われます。\r\n\r\n「";
  question += line;
  question += cut ? "…」" : "」";
  question +=
      "\r\n\r\n見出しは「[ 7日]」のように1行に書きます(1桁の日は数字の前に空白)。\r\n"
      "このまま保存しますか？";
  selectMemoText(GetDlgItem(dialog, kDayEditId), dayText, dropped.begin, dropped.end);
  return askMemoQuestion(dialog, question);
}

// Writes both edits into the dialog's month and saves it, merged with what
// was changed in the file since the dialog opened: days added there stay,
// and memos changed on both sides are reported (both texts are in files).
// False, after telling the user, when something the user typed would not
// be kept as typed: the dialog then stays open with its text, and its month
// is as it was. `merged` tells whether the file held others' changes, which
// the dialog's month now holds too.
bool storeMonthDialog(HWND dialog, MonthDialogState& state, bool& merged) {
  merged = false;
  std::string monthMemo, dayText;
  if (!readStorableMemo(dialog, GetDlgItem(dialog, kMonthEditId), monthMemo)) return false;
  if (!readStorableMemo(dialog, GetDlgItem(dialog, kDayEditId), dayText)) return false;
  const int year = shownYear(state), month = shownMonth(state);
  if (!confirmDroppedText(dialog, dayText, daysInMonth(year, month))) return false;
  bool stored = storeMonthDialogText(state.grid, monthMemo, dayText, appSettings().color(kColourMemoDefault),
                                     &state.asShown);
  MonthSaveResult result;
  if (stored) result = saveMonth(state.grid, year, month, state.base);
  // The calendar shows what the file holds now.
  SendMessageW(GetWindow(dialog, GW_OWNER), WM_COMMAND, CMD_RELOAD_MONTH, 0);
  if (!stored) {
    restoreDialogMonth(state);
    showMemoWarning(dialog, memoNoMemoryMessage());
    return false;
  }
  if (!reportMonthSave(dialog, year, month, result)) {
    restoreDialogMonth(state);
    return false;
  }
  merged = result.merged;
  return true;
}

bool holdsChanges(HWND dialog) {
  return SendDlgItemMessageW(dialog, kMonthEditId, EM_GETMODIFY, 0, 0) != 0 ||
         SendDlgItemMessageW(dialog, kDayEditId, EM_GETMODIFY, 0, 0) != 0;
}

// What OK stores, without closing; the edits then count as saved.
bool storeNow(HWND dialog, MonthDialogState& state) {
  if (!holdsChanges(dialog)) return true;
  bool merged = false;
  if (!storeMonthDialog(dialog, state, merged)) return false;
  // The dialog stays open on the month as saved, others' days included,
  // so that a later OK starts from it.
  if (merged) fillEdits(dialog, state);
  SendDlgItemMessageW(dialog, kMonthEditId, EM_SETMODIFY, FALSE, 0);
  SendDlgItemMessageW(dialog, kDayEditId, EM_SETMODIFY, FALSE, 0);
  InvalidateRect(GetWindow(dialog, GW_OWNER), nullptr, TRUE);
  return true;
}

void onCommand(HWND dialog, int id) {
  MonthDialogState* state = stateOf(dialog);
  if (!state) return;
  if (id == IDOK) {
    bool merged = false;
    if (!storeMonthDialog(dialog, *state, merged)) return;
    recordPlacement(dialog);
    EndDialog(dialog, 1);
  } else if (id == IDCANCEL) {
    recordPlacement(dialog);
    EndDialog(dialog, 0);
  }
}

bool overSplitter(HWND dialog, POINT point) {
  RECT splitter = childRect(dialog, kSplitterId);
  return PtInRect(&splitter, point) != FALSE;
}

void onMouseMove(HWND dialog, MonthDialogState& state, LPARAM position) {
  POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (!state.splitterDragging) {
    if (overSplitter(dialog, point)) {
      SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
      SetCapture(dialog);
    } else {
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      if (GetCapture() == dialog) ReleaseCapture();
    }
    return;
  }
  SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
  if (point.y == state.lastDragY) return;
  const int minimum = scaleToDpi(kMinMonthEditHeight, systemDpiOfWindow(dialog));
  int height = std::max(minimum, childHeight(dialog, kMonthEditId) + static_cast<int>(point.y - state.lastDragY));
  state.lastDragY = static_cast<int>(point.y);
  setChildHeight(dialog, kMonthEditId, height);
  layOutClient(dialog, state);
}

void onLeftButtonDown(HWND dialog, MonthDialogState& state, LPARAM position) {
  POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (!overSplitter(dialog, point)) return;
  SetCapture(dialog);
  state.splitterDragging = true;
  state.lastDragX = static_cast<int>(point.x);
  state.lastDragY = static_cast<int>(point.y);
}

void endDrag(HWND dialog, MonthDialogState& state) {
  if (!state.splitterDragging) return;
  state.splitterDragging = false;
  if (GetCapture() == dialog) ReleaseCapture();
}

INT_PTR CALLBACK monthMemoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    onInitDialog(dialog, reinterpret_cast<const MonthMemoDialogParams*>(lParam));
    return FALSE;  // the focus is set
  }
  MonthDialogState* state = stateOf(dialog);
  if (!state) return FALSE;
  switch (message) {
    case WM_COMMAND:
      onCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) layOut(dialog, *state, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      onMouseMove(dialog, *state, lParam);
      return TRUE;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(dialog, *state, lParam);
      return TRUE;
    case WM_LBUTTONUP:
      endDrag(dialog, *state);
      return TRUE;
    case WM_CAPTURECHANGED:
      state->splitterDragging = false;
      return TRUE;
    case kStoreNowMessage:
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, storeNow(dialog, *state) ? 1 : 0);
      return TRUE;
    case WM_DESTROY:
      if (state->params.openDialog) *state->params.openDialog = nullptr;
      InvalidateRect(GetWindow(dialog, GW_OWNER), nullptr, TRUE);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      delete state;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool storeMonthMemoDialogNow(HWND dialog) {
  return !dialog || SendMessageW(dialog, kStoreNowMessage, 0, 0) != 0;
}

bool runMonthMemoDialog(HINSTANCE instance, HWND owner, const MonthMemoDialogParams& params) {
  CommonControlsScope styles;
  return DialogBoxParamW(instance, L"IDD_MONTHINFO", owner, monthMemoDialogProc, reinterpret_cast<LPARAM>(&params)) == 1;
}
