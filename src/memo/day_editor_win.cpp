#include "memo/day_editor_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/caption.h"
#include "app/commands.h"
#include "app/window_placement_win.h"
#include "render/dpi_scale.h"
#include "render/window_dpi_win.h"
#include "app/main_window.h"
#include "calendar/lunar_calendar.h"
#include "calendar/names.h"
#include "memo/memo_edit_win.h"
#include "memo/month_store.h"
#include "platform/common_controls_win.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "render/gdi_guards_win.h"
#include "settings/app_settings.h"

namespace {

constexpr int kEditId = 1003;
constexpr int kColourButtonId = 1028;
constexpr UINT_PTR kKeysSubclassId = 1;
constexpr int kSwatchGap = 5;
constexpr int kSwatchWidth = 30;

// What outlives one editor window: the colour being edited and the
// colour chooser's custom colours, kept for the life of the process.
struct DayEditorState {
  COLORREF editorColor = 0;
  COLORREF shownColor = 0;  // the colour as last shown or stored
  COLORREF customColors[16] = {};
  // The bytes of the month file that the shown memo came from: a save
  // compares the file with them, so that a change of the same day made
  // elsewhere meanwhile is kept and reported, never overwritten.
  MonthFileBase base;
};

DayEditorState& editorState() {
  static DayEditorState state;
  return state;
}

const DayEditorTarget& target() { return mainWindowState().editorTarget; }

DayCell* targetCell() {
  const DayEditorTarget& t = target();
  return t.grid ? t.grid->findDay(t.day) : nullptr;
}

HWND ownerOf(HWND editor) { return GetWindow(editor, GW_OWNER); }
HWND editOf(HWND editor) { return GetDlgItem(editor, kEditId); }

bool keyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// "2004年11月23日(火)" ("平成16年11月23日(火)" with WAREKI=1), with
// ROKUYO=1 a space, the 六曜 and the 旧暦 date ("先勝 旧10/12",
// "大安 旧閏2/15"), then a space and the holiday's name up to its "||".
void setTitle(HWND editor) {
  const DayEditorTarget& t = target();
  const DayCell* cell = targetCell();
  const AppSettings& s = appSettings();
  std::string text = formatCaption(2, t.year, t.month, t.day, s.wareki() != 0);
  text += '(';
  text += weekdayNameJa(cell ? cell->weekday : 0);
  text += ')';
  if (s.rokuyo() != 0) {
    const LunarDate lunar = lunarDateOf(t.year, t.month, t.day);
    char buffer[16];
    const std::string_view lunarText = formatLunarDate(lunar, buffer, sizeof buffer);
    if (!lunarText.empty()) {
      text += ' ';
      text += rokuyoName(rokuyoOf(lunar));
      text += " 旧";
      text += lunarText;
    }
  }
  if (cell && cell->holidayName[0] != '\0') {
    std::string_view name(cell->holidayName, strnlen(cell->holidayName, sizeof cell->holidayName));
    std::size_t marker = sjisFind(name, "||");
    text += ' ';
    text += name.substr(0, marker);
  }
  SetWindowTextW(editor, sjisToWide(text).c_str());
}

// The target day's memo in the edit and its colour in the swatch. A day
// without a memo starts with the MEMODEF colour, which its cell takes now.
void showTargetMemo(HWND editor) {
  DayCell* cell = targetCell();
  if (cell && cell->memo.present()) {
    setMemoEditText(editOf(editor), cell->memo.text());
  } else {
    setMemoEditText(editOf(editor), "");
    if (cell) cell->memoColor = appSettings().color(kColourMemoDefault);
  }
  if (cell) editorState().editorColor = cell->memoColor;
  editorState().shownColor = editorState().editorColor;
  // The memo came from the calendar's grid, whose bytes the main window
  // keeps; for another month there is nothing to compare with yet.
  const MonthFileBase& shown = mainWindowState().shownBase;
  const DayEditorTarget& t = target();
  if (t.grid == &mainWindowState().grid && shown.known && shown.year == t.year && shown.month == t.month)
    editorState().base = shown;
  else
    editorState().base = MonthFileBase();
  InvalidateRect(editor, nullptr, TRUE);
}

void recordPlacement(HWND editor) {
  RECT rect{};
  GetWindowRect(editor, &rect);
  appSettings().setDayDialogPlacement(DialogPlacement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

void applyPlacement(HWND editor) { placeOnAMonitor(editor, appSettings().dayDialogPlacement()); }

// The month as the editor's memo came from it, for the editor's save: from
// the recorded bytes, or read afresh when none are known.
bool loadMonthForSave(MonthGrid& grid, int year, int month, MonthFileBase& base) {
  if (base.known && base.year == year && base.month == month) {
    grid.build(year, month);
    return grid.loadFromData(base.bytes);
  }
  return loadMonth(grid, year, month, base);
}

// Puts the edit's text and editorColor into the target day's cell of the
// target month as the editor's base has it (the main window may be showing
// another month), and saves that month, merging it with changes made
// elsewhere since. Whatever happens, the main window is then asked to show
// its own month again. False, after telling the user, when the text could
// not be stored or saved: it stays in the edit. Memos changed on both sides
// are reported; both texts are in files then.
bool storeEditedMemo(HWND editor) {
  std::string text;
  if (!readStorableMemo(editor, editOf(editor), text)) return false;
  bool allocated = true;
  MemoText memo = MemoText::copyOf(text, &allocated);
  if (!allocated) {
    showMemoWarning(editor, memoNoMemoryMessage());
    return false;
  }
  const DayEditorTarget& t = target();
  if (!t.grid) return false;
  const int year = t.year, month = t.month;
  MonthFileBase& base = editorState().base;
  auto grid = std::make_unique<MonthGrid>();
  loadMonthForSave(*grid, year, month, base);
  DayCell* cell = grid->findDay(t.day);
  MonthSaveResult result;
  if (cell) {
    cell->memo = std::move(memo);
    cell->memoColor = editorState().editorColor;
    result = saveMonth(*grid, year, month, base);
  }
  SendMessageW(ownerOf(editor), WM_COMMAND, CMD_RELOAD_MONTH, 0);
  if (!reportMonthSave(editor, year, month, result)) return false;
  // What is on screen is now what the file holds.
  SendMessageW(editOf(editor), EM_SETMODIFY, FALSE, 0);
  editorState().shownColor = editorState().editorColor;
  return true;
}

void closeEditor(HWND editor) {
  recordPlacement(editor);
  SendMessageW(ownerOf(editor), WM_COMMAND, CMD_RELOAD_MONTH, 0);
  DestroyWindow(editor);
}

void onOk(HWND editor) {
  if (!storeEditedMemo(editor)) return;  // the text stays on screen
  recordPlacement(editor);
  DestroyWindow(editor);
}

void onCommit(HWND editor) {
  LRESULT stored = storeEditedMemo(editor) ? 1 : 0;
  SetWindowLongPtrW(editor, DWLP_MSGRESULT, stored);
}

void onReload(HWND editor) {
  const DayEditorTarget& t = target();
  MainWindowState& state = mainWindowState();
  // The editor is pointed at a day of the month on display, which is read
  // afresh with its bytes; the editor's base takes them.
  if (t.grid == &state.grid) loadMonth(state.grid, state.shownDate.year, state.shownDate.month, state.shownBase);
  setTitle(editor);
  showTargetMemo(editor);
  SetFocus(editOf(editor));
}

void onChooseColour(HWND editor) {
  DayEditorState& state = editorState();
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = editor;
  chooser.rgbResult = state.editorColor;
  chooser.lpCustColors = state.customColors;
  chooser.Flags = CC_RGBINIT;
  if (!chooseColour(chooser)) return;
  state.editorColor = chooser.rgbResult;
  InvalidateRect(editor, nullptr, TRUE);
}

void onCommand(HWND editor, int id) {
  switch (id) {
    case IDOK:
      onOk(editor);
      break;
    case IDCANCEL:
      closeEditor(editor);
      break;
    case kColourButtonId:
      onChooseColour(editor);
      break;
    case CMD_DAYINFO_COMMIT:
      onCommit(editor);
      break;
    case CMD_DAYINFO_RELOAD:
      onReload(editor);
      break;
    default:
      break;
  }
}

RECT childRect(HWND editor, int id) {
  RECT rect{};
  HWND child = GetDlgItem(editor, id);
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The edit fills the window above a row of three buttons as large as the
// colour button.
// The gaps are pixels at 96 DPI, scaled to the editor's own DPI as the
// system scales its dialog units.
void onSize(HWND editor, int width, int height) {
  RECT colour = childRect(editor, kColourButtonId);
  int w = colour.right - colour.left, h = colour.bottom - colour.top;
  const int dpi = systemDpiOfWindow(editor);
  auto px = [dpi](int pixels) { return scaleToDpi(pixels, dpi); };
  MoveWindow(editOf(editor), 0, 0, width, height - h - px(4), TRUE);
  int y = height - h - px(2);
  MoveWindow(GetDlgItem(editor, IDOK), px(5), y, w, h, TRUE);
  MoveWindow(GetDlgItem(editor, IDCANCEL), w + px(10), y, w, h, TRUE);
  MoveWindow(GetDlgItem(editor, kColourButtonId), 2 * w + px(15), y, w, h, TRUE);
  InvalidateRect(editor, nullptr, TRUE);
}

// The menu colour, and the swatch of editorColor right of the colour button.
void onEraseBackground(HWND editor, HDC dc) {
  RECT client{};
  GetClientRect(editor, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
  RECT button = childRect(editor, kColourButtonId);
  const int dpi = systemDpiOfWindow(editor);
  const int gap = scaleToDpi(kSwatchGap, dpi), swatchWidth = scaleToDpi(kSwatchWidth, dpi);
  RECT swatch{button.right + gap, button.top, button.right + gap + swatchWidth, button.bottom};
  GdiObject<HBRUSH> brush(CreateSolidBrush(editorState().editorColor));
  if (brush) FillRect(dc, &swatch, brush.get());
}

// Focus order of Tab: edit, OK, Cancel, colour button, and round again.
int nextInTabOrder(int id, bool backwards) {
  static constexpr int kOrder[] = {kEditId, IDOK, IDCANCEL, kColourButtonId};
  constexpr int kCount = 4;
  int at = 0;
  while (at < kCount && kOrder[at] != id) ++at;
  if (at == kCount) return kEditId;
  return kOrder[(at + (backwards ? kCount - 1 : 1)) % kCount];
}

// The editor's keyboard, as the main loop does no dialog-message routing.
// True when the key is swallowed.
bool onControlKeyDown(HWND control, WPARAM key) {
  HWND editor = GetParent(control);
  int id = GetDlgCtrlID(control);
  switch (key) {
    case VK_TAB:
      if (keyHeld(VK_CONTROL))
        SetActiveWindow(ownerOf(editor));
      else
        SetFocus(GetDlgItem(editor, nextInTabOrder(id, keyHeld(VK_SHIFT))));
      return true;
    case VK_ESCAPE:
      PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
      return false;
    case VK_RETURN:
      if (id == IDOK) PostMessageW(editor, WM_COMMAND, IDOK, 0);
      return false;
    default:
      return false;
  }
}

LRESULT CALLBACK controlKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_KEYDOWN:
      if (onControlKeyDown(control, wParam)) return 0;
      break;
    case WM_CHAR:
      if (wParam == L'\t') return 0;  // no tab is ever typed
      break;
    case WM_NCDESTROY:
      removeWindowSubclass(control, controlKeysProc, id);
      break;
    default:
      break;
  }
  return defSubclassProc(control, message, wParam, lParam);
}

void onInitDialog(HWND editor) {
  prepareMemoEdit(editOf(editor));
  setTitle(editor);
  showTargetMemo(editor);
  SetFocus(editOf(editor));
  applyPlacement(editor);
  for (int id : {kEditId, IDOK, IDCANCEL, kColourButtonId})
    setWindowSubclass(GetDlgItem(editor, id), controlKeysProc, kKeysSubclassId, 0);
}

// The main window repaints what the editor may have changed and forgets it.
void onDestroy(HWND editor) {
  HWND owner = ownerOf(editor);
  InvalidateRect(owner, nullptr, TRUE);
  SendMessageW(owner, WM_COMMAND, CMD_DAY_EDITOR_CLOSED, 0);
}

INT_PTR CALLBACK dayEditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInitDialog(editor);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      onCommand(editor, LOWORD(wParam));
      return TRUE;
    case WM_SIZE:
      onSize(editor, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_ERASEBKGND:
      onEraseBackground(editor, reinterpret_cast<HDC>(wParam));
      SetWindowLongPtrW(editor, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_DESTROY:
      onDestroy(editor);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool dayEditorHoldsChanges(HWND editor) {
  return SendMessageW(editOf(editor), EM_GETMODIFY, 0, 0) != 0 ||
         editorState().editorColor != editorState().shownColor;
}

HWND createDayEditor(HINSTANCE instance, HWND owner) {
  CommonControlsScope styles;
  HWND editor = CreateDialogParamW(instance, L"IDD_DAYINFO", owner, dayEditorProc, 0);
  if (editor) ShowWindow(editor, SW_SHOW);
  return editor;
}
