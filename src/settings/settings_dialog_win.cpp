#include "settings/settings_dialog_win.h"

#include <commctrl.h>

#include <string>

#include "app/commands.h"
#include "platform/common_controls_win.h"
#include "platform/text_convert.h"
#include "render/fonts.h"
#include "render/gdi_guards_win.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_page_win.h"

namespace {

constexpr int kTabControl = 1036;
constexpr int kApplyButton = 3;
constexpr int kPageCount = 9;
constexpr int kHolidayIndex = 5;

// The page table: tab order, creation order, save order and the index the
// tab control reports are all this order.
const SettingsPageKind* const kPages[kPageCount] = {
    &kTitlePage,      &kWeekdayPage, &kDatePage,  &kMemoPage,   &kBackgroundPage,
    &kHolidayPage,    &kColourPage,  &kOtherPage, &kVersionPage,
};

struct FrameState {
  HWND pages[kPageCount] = {};
};

FrameState* stateOf(HWND frame) { return reinterpret_cast<FrameState*>(GetWindowLongPtrW(frame, DWLP_USER)); }

void showPage(const FrameState& state, int selected) {
  for (int i = 0; i < kPageCount; ++i)
    if (state.pages[i]) ShowWindow(state.pages[i], i == selected ? SW_SHOWNORMAL : SW_HIDE);
}

void onInit(HWND frame, FrameState& state) {
  SetWindowLongPtrW(frame, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  HWND tab = GetDlgItem(frame, kTabControl);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (int i = 0; i < kPageCount; ++i) {
    std::wstring text = sjisToWide(kPages[i]->tabText);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  // The pages fill their controls from one read of the settings file; the
  // scope ends before the dialog waits for the user.
  SettingsReadScope oneRead;
  for (int i = 0; i < kPageCount; ++i) {
    state.pages[i] = CreateDialogParamW(instance, kPages[i]->templateName, frame, kPages[i]->procedure, 0);
    // Above the tab control, which they overlap.
    if (state.pages[i])
      SetWindowPos(state.pages[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  showPage(state, 0);
}

// Every page writes its keys into one batch, the file is replaced once,
// and the settings are read back for the main window. The calendar then
// shows what the file holds: after a failed write the old fonts stay, with
// the old day-number height the reload reads back.
void saveAndReload(HWND frame, const FrameState& state) {
  SettingsWriteBatch batch;
  for (int i = 0; i < kPageCount; ++i)
    if (kPages[i]->save && state.pages[i]) kPages[i]->save(state.pages[i]);
  const bool saved = batch.commit();
  // Only the holiday page reports a failed write; with one file replaced
  // once, its section failed with everything else.
  if (!saved && state.pages[kHolidayIndex]) reportHolidaySaveFailure(state.pages[kHolidayIndex]);
  SettingsReadScope oneRead;
  if (saved) createFonts(fontDpi());
  HWND owner = GetParent(frame);
  WindowDC dc(owner);
  appSettings().reload(dc.get());
}

bool onCommand(HWND frame, int id) {
  FrameState* state = stateOf(frame);
  if (!state) return false;
  switch (id) {
    case IDOK:
      saveAndReload(frame, *state);
      EndDialog(frame, 1);
      return true;
    case kApplyButton:
      saveAndReload(frame, *state);
      SendMessageW(GetParent(frame), WM_COMMAND, CMD_SETTINGS_APPLIED, 0);
      return true;
    case IDCANCEL:
      EndDialog(frame, 0);
      return true;
    default:
      return false;
  }
}

bool onNotify(HWND frame, const NMHDR& header) {
  FrameState* state = stateOf(frame);
  if (!state || header.idFrom != kTabControl || header.code != TCN_SELCHANGE) return false;
  showPage(*state, static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
  return true;
}

void onDestroy(HWND frame) {
  FrameState* state = stateOf(frame);
  if (!state) return;
  for (HWND& page : state->pages) {
    if (page) DestroyWindow(page);
    page = nullptr;
  }
}

INT_PTR CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInit(frame, *reinterpret_cast<FrameState*>(lParam));
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(frame, LOWORD(wParam)));
    case WM_NOTIFY:
      return handled(onNotify(frame, *reinterpret_cast<const NMHDR*>(lParam)));
    case WM_DESTROY:
      onDestroy(frame);
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(frame, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool runSettingsDialog(HWND owner) {
  // The dialog's own loop still dispatches what other windows post to the
  // main window (the tool strip's settings button among them): one dialog
  // at a time.
  static bool open = false;
  if (open) return false;
  open = true;
  FrameState state;
  CommonControlsScope styles;
  INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), L"IDD_ENVFRAME", owner, frameProcedure,
                                   reinterpret_cast<LPARAM>(&state));
  open = false;
  return result == 1;
}
