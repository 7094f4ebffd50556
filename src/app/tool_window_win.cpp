#include "app/tool_window_win.h"

#include <algorithm>
#include <cstring>

#include "app/commands.h"
#include "app/main_accessibility_win.h"
#include "platform/common_controls_win.h"
#include "platform/memory_block.h"
#include "platform/sjis.h"
#include "platform/text_convert.h"
#include "render/dpi_scale.h"
#include "render/gdi_guards_win.h"

namespace {

// What the strip keeps: the button count, the instance its bitmaps are
// loaded from, the DPI it is laid out for, then 2 × count records.
struct ToolTableHeader {
  int count;
  HINSTANCE instance;
  int dpi;
};

// The drawn sets of pictures lie 10 resource ids apart: 1×, 1.5×, 2×.
constexpr int kPictureSetStride = 10;

BlockHandle toolTable = nullptr;
HWND toolTip = nullptr;

// Image 115–119, masks 120–124, in the buttons' order.
const TBBUTTON kToolButtons[2 * kToolButtonCount] = {
    {115, CMD_PREV_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {116, CMD_THIS_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {117, CMD_NEXT_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {118, CMD_SETTINGS, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {119, CMD_COPY_BITMAP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {120, CMD_PREV_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {124, CMD_THIS_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {123, CMD_NEXT_MONTH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {121, CMD_SETTINGS, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {122, CMD_COPY_BITMAP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
};

// Locks the table for the length of a drawing.
class TableLock {
 public:
  TableLock() : bytes_(lockBlock(toolTable)) {}
  ToolTableHeader* header() { return reinterpret_cast<ToolTableHeader*>(bytes_); }
  ~TableLock() {
    if (bytes_) unlockBlock(toolTable);
  }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;
  const ToolTableHeader* header() const { return reinterpret_cast<const ToolTableHeader*>(bytes_); }
  const TBBUTTON* records() const { return reinterpret_cast<const TBBUTTON*>(bytes_ + sizeof(ToolTableHeader)); }

 private:
  char* bytes_;
};

void onToolPaint(HWND tool) {
  PaintScope paint(tool);
  HDC dc = paint.dc();
  RECT client{};
  GetClientRect(tool, &client);
  {
    GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(COLOR_MENU)));
    FillRect(dc, &client, brush.get());
  }
  {
    SelectGuard white(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
  }
  SelectGuard black(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, 0, client.bottom - 1, nullptr);
  LineTo(dc, client.right, client.bottom - 1);
}

void onToolDestroy() {
  freeBlock(toolTable);
  toolTable = nullptr;
  if (toolTip) DestroyWindow(toolTip);
  toolTip = nullptr;
}

// One tooltip for all buttons; the parent supplies the texts on request.
// It has no owner: under Wine a topmost popup owned by the main window keeps
// the main window itself out of the topmost band. The strip destroys it.
// It is made when the pointer first comes over the strip, not at start-up:
// it is the one thing the calendar's own window needs the common controls
// for. The tooltip subclasses the buttons, so it sees the mouse move that
// follows the cursor query which made it.
void attachToolTip(HWND tool) {
  if (toolTip) return;
  HWND parent = GetParent(tool);
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(tool, GWLP_HINSTANCE));
  CommonControlsScope styles;
  toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                            nullptr);
  if (!toolTip) return;
  for (int i = 0; i < kToolButtonCount; ++i) {
    HWND button = GetDlgItem(tool, kToolButtons[i].idCommand);
    if (!button) continue;
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.hinst = instance;
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// A button takes the keyboard focus when it is pressed. A press that ends
// off the button clicks nothing and so never hands the focus back: the
// calendar's keys would stop working. Every release returns it.
LRESULT CALLBACK toolButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
  // A picture has no name: the button answers with its tooltip's text.
  if (message == WM_GETOBJECT)
    if (LRESULT answer = answerToolButtonObject(button, wParam, lParam)) return answer;
  LRESULT result = CallWindowProcW(original, button, message, wParam, lParam);
  if (message == WM_LBUTTONUP && GetFocus() == button) {
    HWND calendar = GetParent(GetParent(button));
    if (calendar) SetFocus(calendar);
  }
  return result;
}

LRESULT CALLBACK toolWindowProc(HWND tool, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      onToolDestroy();
      return 0;
    case WM_PAINT:
      onToolPaint(tool);
      return 0;
    case WM_SETCURSOR:
      attachToolTip(tool);
      return DefWindowProcW(tool, message, wParam, lParam);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      drawToolButton(item->hDC, static_cast<int>(item->CtlID), item->rcItem, (item->itemState & ODS_SELECTED) != 0);
      return 0;
    }
    case WM_COMMAND:
      // Posted: the main window acts once the button's own click is done.
      PostMessageW(GetParent(tool), WM_COMMAND, wParam, lParam);
      // A clicked button takes the keyboard focus; the calendar's keys
      // (Enter, the arrows) must go on working after a click on the strip.
      if (GetFocus() == reinterpret_cast<HWND>(lParam)) SetFocus(GetParent(tool));
      return 0;
    default:
      return DefWindowProcW(tool, message, wParam, lParam);
  }
}

// The strip's height, its buttons' size and places for `dpi`: the 96-DPI
// sizes scaled (23 × 21 buttons two pixels below the strip's top, two
// pixels of strip below them).
void layOutButtons(HWND tool, const TBBUTTON* records, int count, int buttonWidth, int buttonHeight, int dpi) {
  const int width = scaleToDpi(buttonWidth, dpi), height = scaleToDpi(buttonHeight, dpi);
  const int top = scaleToDpi(2, dpi);
  for (int i = 0; i < count; ++i) {
    if (HWND button = GetDlgItem(tool, records[i].idCommand)) MoveWindow(button, i * width, top, width, height, TRUE);
  }
  RECT own{};
  GetClientRect(tool, &own);
  MoveWindow(tool, 0, 0, std::max<int>(own.right, count * width + scaleToDpi(30, dpi)), height + scaleToDpi(4, dpi),
             TRUE);
}

}  // namespace

const TBBUTTON* toolButtonTable() { return kToolButtons; }

HWND createToolWindow(HWND parent, HINSTANCE instance, int count, const TBBUTTON* table, int buttonWidth,
                      int buttonHeight, int dpi) {
  WNDCLASSEXW toolClass{};
  toolClass.cbSize = sizeof toolClass;
  toolClass.style = CS_HREDRAW | CS_VREDRAW;
  toolClass.lpfnWndProc = toolWindowProc;
  toolClass.hInstance = instance;
  toolClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  toolClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  toolClass.lpszClassName = kToolWindowClass;
  RegisterClassExW(&toolClass);

  const int width = scaleToDpi(buttonWidth, dpi), height = scaleToDpi(buttonHeight, dpi);
  HWND tool = CreateWindowExW(0, kToolWindowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0,
                              count * width + scaleToDpi(30, dpi), height + scaleToDpi(4, dpi), parent, nullptr,
                              instance, nullptr);
  if (!tool) return nullptr;
  for (int i = 0; i < count; ++i) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, i * width,
                                  scaleToDpi(2, dpi), width, height, tool,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(table[i].idCommand)), instance, nullptr);
    if (!button) continue;
    SetWindowLongPtrW(button, GWLP_USERDATA, GetWindowLongPtrW(button, GWLP_WNDPROC));
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolButtonProc));
  }
  freeBlock(toolTable);
  std::size_t records = 2 * static_cast<std::size_t>(count);
  toolTable = allocateBlock(sizeof(ToolTableHeader) + records * sizeof(TBBUTTON));
  if (char* bytes = lockBlock(toolTable)) {
    ToolTableHeader header{count, instance, dpi};
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, table, records * sizeof(TBBUTTON));
    unlockBlock(toolTable);
  }
  return tool;
}

void fitToolWindow(HWND toolWindow) {
  if (!toolWindow || !IsWindow(toolWindow)) return;
  RECT parent{};
  GetClientRect(GetParent(toolWindow), &parent);
  RECT own{};
  GetClientRect(toolWindow, &own);
  MoveWindow(toolWindow, 0, 0, parent.right - parent.left, own.bottom - own.top, TRUE);
}

void setToolWindowDpi(HWND toolWindow, int dpi) {
  if (!toolWindow) return;
  {
    TableLock table;
    ToolTableHeader* header = table.header();
    if (!header) return;
    header->dpi = dpi;
    layOutButtons(toolWindow, table.records(), header->count, kToolButtonWidth, kToolButtonHeight, dpi);
  }
  fitToolWindow(toolWindow);
  InvalidateRect(toolWindow, nullptr, TRUE);
}

void drawToolButton(HDC dc, int commandId, const RECT& rect, bool pressed) {
  TableLock table;
  const ToolTableHeader* header = table.header();
  if (!header) return;
  int found = -1;
  for (int i = 0; i < header->count; ++i) {
    if (table.records()[i].idCommand == commandId) {
      found = i;
      break;
    }
  }
  if (found < 0) return;
  // The set drawn nearest to the DPI; stretched only when the button is
  // of another size than that set's pictures.
  const int set = toolPictureScaleIndex(header->dpi);
  const int pictureId = table.records()[found].iBitmap + set * kPictureSetStride;
  const int maskId = table.records()[found + header->count].iBitmap + set * kPictureSetStride;
  GdiObject<HBITMAP> image(LoadBitmapW(header->instance, MAKEINTRESOURCEW(pictureId)));
  GdiObject<HBITMAP> mask(LoadBitmapW(header->instance, MAKEINTRESOURCEW(maskId)));
  const int pictureWidth = toolPictureSize(kToolButtonWidth, set);
  const int pictureHeight = toolPictureSize(kToolButtonHeight, set);
  MemoryDC memory(dc);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int offset = 0;
  if (pressed) {
    SelectGuard black(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, width, 0);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 0, height);
    offset = scaleToDpi(1, header->dpi);
    width -= offset;
    height -= offset;
  }
  // A pressed button shows its picture moved, cut at the right and bottom.
  const bool stretch = pictureWidth != rect.right - rect.left || pictureHeight != rect.bottom - rect.top;
  auto blit = [&](HBITMAP bitmap, DWORD operation) {
    SelectGuard select(memory.get(), bitmap);
    if (!stretch) {
      BitBlt(dc, offset, offset, width, height, memory.get(), 0, 0, operation);
      return;
    }
    const int sourceWidth = MulDiv(width, pictureWidth, rect.right - rect.left);
    const int sourceHeight = MulDiv(height, pictureHeight, rect.bottom - rect.top);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, offset, offset, width, height, memory.get(), 0, 0, sourceWidth, sourceHeight, operation);
  };
  blit(mask.get(), SRCAND);
  blit(image.get(), SRCPAINT);
}

const char* toolTipText(int commandId) {
  switch (commandId) {
    case CMD_PREV_MONTH:
      return "前の月";
    case CMD_THIS_MONTH:
      return "今月";
    case CMD_NEXT_MONTH:
      return "次の月";
    case CMD_SETTINGS:
      return "設定";
    case CMD_COPY_BITMAP:
      return "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ";
    default:
      return nullptr;
  }
}

void answerToolTipRequest(NMHDR* header) {
  if (!header) return;
  // The tooltip of this strip speaks the wide form (TTN_GETDISPINFOW);
  // the narrow form (−520) is answered in Shift_JIS alike.
  if (header->code != TTN_GETDISPINFOW && header->code != TTN_GETDISPINFOA) return;
  auto* wide = reinterpret_cast<NMTTDISPINFOW*>(header);
  auto* narrow = reinterpret_cast<NMTTDISPINFOA*>(header);
  UINT flags = header->code == TTN_GETDISPINFOW ? wide->uFlags : narrow->uFlags;
  UINT_PTR id = header->idFrom;
  if (flags & TTF_IDISHWND) id = static_cast<UINT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(id)));
  const char* text = toolTipText(static_cast<int>(id));
  if (!text) return;
  if (header->code == TTN_GETDISPINFOW) {
    std::wstring converted = sjisToWide(text);
    std::size_t length = converted.size() < 79 ? converted.size() : 79;
    std::memcpy(wide->szText, converted.data(), length * sizeof(wchar_t));
    wide->szText[length] = L'\0';
    wide->lpszText = wide->szText;
    wide->hinst = nullptr;
  } else {
    std::size_t length = sjisCutLength(text, sizeof narrow->szText - 1);
    std::memcpy(narrow->szText, text, length);
    narrow->szText[length] = '\0';
    narrow->lpszText = narrow->szText;
    narrow->hinst = nullptr;
  }
}
