// The colour page: the fifteen colours as owner-drawn rows, each changed
// with the colour chooser on a double click.
#include <windows.h>

#include <commdlg.h>

#include "platform/common_controls_win.h"
#include "platform/text_convert.h"
#include "render/gdi_guards_win.h"
#include "settings/app_settings.h"
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kList = 1027;

// The chooser's custom colours: black at the start, kept for the whole run
// and shared by every opening of the dialog; never saved.
COLORREF customColors[16] = {};

void onInit(HWND page) {
  const AppSettings& settings = appSettings();
  for (int i = 0; i < kColourCount; ++i) {
    LRESULT row = SendDlgItemMessageW(page, kList, LB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(sjisToWide(colourListText(i)).c_str()));
    if (row >= 0) SendDlgItemMessageW(page, kList, LB_SETITEMDATA, static_cast<WPARAM>(row), settings.color(i));
  }
}

void fillRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  RECT rect{left, top, right, bottom};
  FillRect(dc, &rect, brush.get());
}

void onDrawItem(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const RECT& row = item.rcItem;
  fillRect(item.hDC, row.left, row.top, row.right, row.bottom, back);
  if (item.itemID == static_cast<UINT>(-1)) return;
  // The white frame ends at a fixed x of 32, wherever the row starts.
  fillRect(item.hDC, row.left + 4, row.top, 32, row.bottom, RGB(255, 255, 255));
  fillRect(item.hDC, row.left + 5, row.top + 1, 30, row.bottom - 1, static_cast<COLORREF>(item.itemData));
  LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (length <= 0) return;
  std::wstring label(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(label.data()));
  label.resize(static_cast<std::size_t>(length));
  COLORREF oldText = SetTextColor(item.hDC, text);
  COLORREF oldBack = SetBkColor(item.hDC, back);
  TextOutW(item.hDC, row.left + 40, row.top + 3, label.c_str(), static_cast<int>(label.size()));
  SetTextColor(item.hDC, oldText);
  SetBkColor(item.hDC, oldBack);
}

void chooseRowColour(HWND page) {
  LRESULT row = SendDlgItemMessageW(page, kList, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) return;
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = page;
  chooser.rgbResult = static_cast<COLORREF>(SendDlgItemMessageW(page, kList, LB_GETITEMDATA, row, 0));
  chooser.lpCustColors = customColors;
  chooser.Flags = CC_RGBINIT;
  if (!chooseColour(chooser)) return;
  SendDlgItemMessageW(page, kList, LB_SETITEMDATA, static_cast<WPARAM>(row), chooser.rgbResult);
  InvalidateRect(page, nullptr, TRUE);
  InvalidateRect(GetDlgItem(page, kList), nullptr, TRUE);
}

bool onCommand(HWND page, WPARAM wParam) {
  if (LOWORD(wParam) != kList) return false;
  if (HIWORD(wParam) == LBN_DBLCLK) chooseRowColour(page);
  return true;
}

void save(HWND page) {
  for (int i = 0; i < kColourCount; ++i) {
    Colour colour = static_cast<Colour>(SendDlgItemMessageW(page, kList, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    writeSettingInt("COLOR", colourKeys()[i].key, static_cast<int>(colour));
    appSettings().setColor(i, colour);
  }
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInit(page);
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(page, wParam));
    case WM_DRAWITEM:
      onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const SettingsPageKind kColourPage{"色", L"IDD_ENVCOLOR", procedure, save};
