// The yardstick for start-up time and memory: a program that registers a
// class, opens one window, creates the four fonts a calendar with default
// settings uses and paints one line of Japanese on white, and nothing else.
// Without the fonts the yardstick would leave out what any Japanese text
// costs under Wine (the font files mapped, the glyph caches), which is not
// the calendar's own doing.
#include <windows.h>

namespace {

HFONT fonts[4] = {};

// The calendar's default font: 20 pixels of "ＭＳ ゴシック", Shift_JIS.
HFONT createDefaultFont() {
  LOGFONTW logfont{};
  logfont.lfHeight = -20;
  logfont.lfWeight = FW_NORMAL;
  logfont.lfCharSet = SHIFTJIS_CHARSET;
  logfont.lfOutPrecision = OUT_STROKE_PRECIS;
  logfont.lfClipPrecision = CLIP_STROKE_PRECIS;
  logfont.lfQuality = DRAFT_QUALITY;
  logfont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpyW(logfont.lfFaceName, L"ＭＳ ゴシック");
  return CreateFontIndirectW(&logfont);
}

LRESULT CALLBACK minimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      HGDIOBJ old = SelectObject(dc, fonts[0]);
      static const wchar_t kLine[] = L"2004年12月 日月火水木金土";
      TextOutW(dc, 4, 4, kLine, lstrlenW(kLine));
      SelectObject(dc, old);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = minimalProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"MINIMAL_CLASS";
  RegisterClassExW(&windowClass);
  for (HFONT& font : fonts) font = createDefaultFont();
  HWND window = CreateWindowExW(0, L"MINIMAL_CLASS", L"minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  for (HFONT font : fonts) DeleteObject(font);
  return 0;
}
