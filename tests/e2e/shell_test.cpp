// The window around the calendar: the tool strip and its buttons, the
// clipboard picture, the frameless and topmost modes, the snap into a
// screen corner, and the placement remembered from one run to the next.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"
#include "e2e/memo_windows.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
const MonthShape kDecember2004 = monthShape(2004, 12);
constexpr int kStripHeight = 25;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 21;
constexpr int kCommands[5] = {40001, 40002, 40003, 40004, 40013};
constexpr LONG kFramedStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

const std::string kGridOnly =
    iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "DISPLAY_MEMO=0", "SAVE_POS=0"});

class ShellTest : public CalendarWindowTest {
 protected:
  HWND strip() const { return FindWindowExW(window(), nullptr, L"ToolWndClass", nullptr); }

  // The tool strip's rectangle in the main window's client coordinates.
  RECT stripRect() const {
    RECT r{};
    GetWindowRect(strip(), &r);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  // The top-left corner of the calendar area on the screen: the client
  // area's, below the strip while it shows.
  POINT calendarOrigin() const {
    POINT origin{0, 0};
    ClientToScreen(window(), &origin);
    HWND tool = strip();
    if (tool && IsWindowVisible(tool)) origin.y += kStripHeight;
    return origin;
  }

  SIZE clientSize() const {
    RECT client{};
    GetClientRect(window(), &client);
    return SIZE{client.right, client.bottom};
  }

  bool framed() const { return (GetWindowLongW(window(), GWL_STYLE) & kFramedStyle) == kFramedStyle; }
  bool topmost() const { return (GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

  // The main section of the settings file the program left, key by key.
  std::map<std::string, std::string> savedKeys() {
    std::string text;
    app().readFile(kSettingsFileName, text);
    std::map<std::string, std::string> keys;
    keyOrder.clear();
    bool inMain = false;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      start = end + 2;
      if (!line.empty() && line[0] == '[') {
        inMain = line == "[Sorvane]";
        continue;
      }
      std::size_t equals = line.find('=');
      if (!inMain || equals == std::string::npos) continue;
      keys[line.substr(0, equals)] = line.substr(equals + 1);
      keyOrder.push_back(line.substr(0, equals));
    }
    return keys;
  }
  std::vector<std::string> keyOrder;

  // Waits until `done()` holds; false when the time is up.
  template <typename Condition>
  bool waitUntil(Condition done, DWORD timeoutMs = 3000) {
    DWORD started = GetTickCount();
    while (!done()) {
      if (GetTickCount() - started >= timeoutMs) return false;
      Sleep(50);
    }
    return true;
  }

  // Opens the context menu, reads which of its text rows carry a check mark
  // in the left margin, and closes it again.
  std::vector<bool> menuCheckMarks(const char* step) {
    std::vector<bool> marks;
    rightClick(window(), middle().x, middle().y);
    HWND menu = nullptr;
    if (!waitUntil([&] { return (menu = findProcessWindow(app().processId(), L"#32768")) != nullptr; })) return marks;
    Sleep(200);
    Capture picture = Capture::of(menu);
    picture.saveBmp(e2eOptions().shotDir + L"\\ShellTest.MenuCheckMarks-" + std::wstring(step, step + std::strlen(step)) + L".bmp");
    pressKey(VK_ESCAPE);
    waitUntil([&] { return findProcessWindow(app().processId(), L"#32768") == nullptr; });
    settle(window());
    // Rows of text: runs of rows with dark pixels right of the margin.
    constexpr int kMargin = 15;
    auto rowHasInk = [&](int y, int from, int to) {
      for (int x = from; x < to; ++x)
        if (isDark(picture.at(x, y))) return true;
      return false;
    };
    int top = -1;
    for (int y = 0; y <= picture.height(); ++y) {
      bool ink = y < picture.height() && rowHasInk(y, kMargin + 1, picture.width() - 3);
      if (ink && top < 0) top = y;
      if (!ink && top >= 0) {
        if (y - top > 3) {
          bool checked = false;
          for (int row = top; row < y; ++row) checked = checked || rowHasInk(row, 2, kMargin);
          marks.push_back(checked);
        }
        top = -1;
      }
    }
    return marks;
  }

  POINT middle() const {
    SIZE size = clientSize();
    return POINT{size.cx / 2, size.cy / 2 + (size.cy > 2 * kStripHeight ? kStripHeight / 2 : 0)};
  }
};

std::string number(int value) { return std::to_string(value); }

// ---- The clipboard, as another program reads it --------------------------

bool openClipboardSoon() {
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(50);
  }
  return false;
}

void emptyClipboard() {
  if (!openClipboardSoon()) return;
  EmptyClipboard();
  CloseClipboard();
}

struct ClipboardPictures {
  Capture bitmap;  // CF_BITMAP, read back through GetDIBits
  Capture dib;     // CF_DIB as it lies on the clipboard
};

Capture readBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return Capture();
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return Capture();
  return Capture::fromPixels(info.bmWidth, info.bmHeight, std::move(pixels));
}

// A packed DIB of 24 or 32 bits without colour table, either row order.
Capture readPackedDib(HGLOBAL block) {
  if (!block) return Capture();
  const auto* bytes = static_cast<const unsigned char*>(GlobalLock(block));
  if (!bytes) return Capture();
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  Capture result;
  int width = header.biWidth;
  int height = std::abs(header.biHeight);
  int bits = header.biBitCount;
  if ((bits == 24 || bits == 32) && header.biCompression == BI_RGB && width > 0 && height > 0 &&
      GlobalSize(block) >= header.biSize + static_cast<SIZE_T>(((width * bits + 31) / 32) * 4) * height) {
    std::size_t stride = static_cast<std::size_t>(((width * bits + 31) / 32) * 4);
    const unsigned char* rows = bytes + header.biSize;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      int sourceRow = header.biHeight > 0 ? height - 1 - y : y;
      const unsigned char* p = rows + stride * sourceRow;
      for (int x = 0; x < width; ++x, p += bits / 8)
        pixels[static_cast<std::size_t>(y) * width + x] = (p[2] << 16) | (p[1] << 8) | p[0];
    }
    result = Capture::fromPixels(width, height, std::move(pixels));
  }
  GlobalUnlock(block);
  return result;
}

ClipboardPictures readClipboardPictures() {
  ClipboardPictures pictures;
  if (!openClipboardSoon()) return pictures;
  pictures.bitmap = readBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
  pictures.dib = readPackedDib(GetClipboardData(CF_DIB));
  CloseClipboard();
  return pictures;
}

bool clipboardHasBitmap() {
  if (!openClipboardSoon()) return false;
  bool has = IsClipboardFormatAvailable(CF_BITMAP) != 0;
  CloseClipboard();
  return has;
}

// Pixels that differ between two pictures of the same size, counting only
// those `counted` accepts; −1 when the sizes differ.
template <typename Counted>
int differingPixels(const Capture& a, const Capture& b, int bOffsetY, Counted counted) {
  if (a.width() != b.width() || a.height() + bOffsetY > b.height()) return -1;
  int differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (counted(x, y) && a.at(x, y) != b.at(x, y + bOffsetY)) ++differing;
  return differing;
}

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

TEST_F(ShellTest, FirstStartWithoutASettingsFileIsTopLeftFramed200By200) {
  ASSERT_TRUE(prepareWritable(nullptr));
  ASSERT_TRUE(startAsItOpens(kDecember15));
  RECT r = app().windowRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_TRUE(framed());
  EXPECT_FALSE(topmost());
  EXPECT_FALSE(IsIconic(window()));
  EXPECT_FALSE(IsZoomed(window()));
  ASSERT_NE(strip(), nullptr);
  EXPECT_TRUE(IsWindowVisible(strip()));
  RECT s = stripRect();
  EXPECT_EQ(s.top, 0);
  EXPECT_EQ(s.bottom - s.top, kStripHeight);
  EXPECT_EQ(s.right - s.left, clientSize().cx);
  EXPECT_EQ(app().caption(), L"2004/12");
  ASSERT_TRUE(app().close());
  // SAVE_POS is 0 without a settings file: nothing is written.
  EXPECT_FALSE(app().fileExists(kSettingsFileName));
}

TEST_F(ShellTest, ToolButtonsSitInTheStripAndSendTheirCommands) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_NE(strip(), nullptr);
  RECT s = stripRect();
  EXPECT_EQ(s.left, 0);
  EXPECT_EQ(s.top, 0);
  EXPECT_EQ(s.right, 300);
  EXPECT_EQ(s.bottom, kStripHeight);

  // Widening the window widens the strip; the buttons stay where they were.
  ASSERT_TRUE(app().placeWithClientSize(100, 100, 420, 250));
  EXPECT_EQ(stripRect().right, 420);
  for (int i = 0; i < 5; ++i) {
    HWND button = GetDlgItem(strip(), kCommands[i]);
    ASSERT_NE(button, nullptr) << "button " << i;
    RECT b{};
    GetWindowRect(button, &b);
    MapWindowPoints(nullptr, strip(), reinterpret_cast<POINT*>(&b), 2);
    EXPECT_EQ(b.left, i * kButtonWidth) << "button " << i;
    EXPECT_EQ(b.top, 2) << "button " << i;
    EXPECT_EQ(b.right - b.left, kButtonWidth) << "button " << i;
    EXPECT_EQ(b.bottom - b.top, kButtonHeight) << "button " << i;
  }
  layout.clientWidth = 420;

  auto clickButton = [&](int i) { leftClick(window(), i * kButtonWidth + kButtonWidth / 2, 2 + kButtonHeight / 2); };
  clickButton(2);
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01") << "next month";
  clickButton(0);
  clickButton(0);
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11") << "previous month twice";
  clickButton(1);
  EXPECT_EQ(captionWhen(L"2004/12"), L"2004/12") << "this month";
  Capture screen = shotWithCursorOn("this-month", kDecember2004, 15);
  EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), 15);

  // The keys still reach the calendar after a click on the strip.
  pressKey(VK_RIGHT);
  Capture moved = shotWithCursorOn("key-after-button", kDecember2004, 16);
  EXPECT_EQ(probe(moved, kDecember2004).cursorDay(), 16) << "the arrow key after a button click";

  // A press on the empty strip right of the buttons neither drags the
  // window nor does anything else.
  RECT before = app().windowRect();
  leftDrag(window(), 300, 12, 40, 30);
  RECT after = app().windowRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(app().caption(), L"2004/12");
}

TEST_F(ShellTest, AHeldButtonLooksSunkenAndActsOnRelease) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  // The raised look: a white top row and left column (client y 2, x 0).
  Capture up = shot("raised");
  EXPECT_TRUE(sameColour(up.at(8, 2), RGB(255, 255, 255))) << std::hex << up.at(8, 2);
  EXPECT_TRUE(sameColour(up.at(0, 10), RGB(255, 255, 255))) << std::hex << up.at(0, 10);
  EXPECT_TRUE(sameColour(up.at(kButtonWidth - 1, 10), RGB(0, 0, 0)));

  leftPress(window(), kButtonWidth / 2, 2 + kButtonHeight / 2);
  Capture down = shotWhen("sunken", [](const Capture& c) { return sameColour(c.at(8, 2), RGB(0, 0, 0)); });
  EXPECT_TRUE(sameColour(down.at(8, 2), RGB(0, 0, 0))) << "black edge along the top";
  EXPECT_TRUE(sameColour(down.at(0, 10), RGB(0, 0, 0))) << "black edge down the left";
  EXPECT_TRUE(sameColour(down.at(8, 3), RGB(255, 255, 255))) << "the picture one pixel lower";
  EXPECT_TRUE(sameColour(down.at(1, 10), RGB(255, 255, 255))) << "the picture one pixel further right";
  EXPECT_EQ(app().caption(), L"2004/12") << "nothing happens before the release";
  leftRelease(window());
  EXPECT_EQ(captionWhen(L"2004/11"), L"2004/11") << "previous month on release";
  Capture again = shot("raised-again");
  EXPECT_TRUE(sameColour(again.at(8, 2), RGB(255, 255, 255)));
}

TEST_F(ShellTest, TooltipsNameTheButtons) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  const wchar_t* texts[5] = {L"前の月", L"今月", L"次の月", L"設定", L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ"};
  for (int i = 0; i < 5; ++i) {
    // Away first, so that each button starts its own tooltip.
    movePointerTo(toScreen(window(), 150, 150));
    Sleep(300);
    POINT over = toScreen(window(), i * kButtonWidth + kButtonWidth / 2, 2 + kButtonHeight / 2);
    movePointerTo(over);
    std::wstring shown;
    waitUntil([&] {
      movePointerTo(over);
      HWND tip = findProcessWindow(app().processId(), L"tooltips_class32");
      wchar_t text[128] = {};
      // WM_GETTEXT itself: GetWindowText of another process's window reads
      // only the caption the system keeps, which a tooltip never sets.
      DWORD_PTR copied = 0;
      if (tip) SendMessageTimeoutW(tip, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied);
      shown = text;
      return shown == texts[i];
    }, 4000);
    EXPECT_EQ(shown, texts[i]) << "tooltip of button " << i;
  }
}

TEST_F(ShellTest, ClipboardPictureLeavesOutStripCursorAndMarks) {
  std::string settings =
      iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=1", "DISPLAY_MEMO=1", "SAVE_POS=0"});
  ASSERT_TRUE(prepare(settings));
  ASSERT_TRUE(addFile(L"200412.dat", monthFileText("", {{20, 0x00000000, "memo"}})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  leftClick(window(), layout.centreOf(kDecember2004, 22).x, layout.centreOf(kDecember2004, 22).y);
  Capture screen = shotWithCursorOn("screen", kDecember2004, 22);
  CalendarProbe onScreen = probe(screen, kDecember2004);
  ASSERT_EQ(onScreen.cursorDay(), 22);
  ASSERT_EQ(onScreen.markedDay(kToday), 15);
  ASSERT_EQ(onScreen.markedDay(kYotei), 20);

  emptyClipboard();
  leftClick(window(), 4 * kButtonWidth + kButtonWidth / 2, 2 + kButtonHeight / 2);
  ASSERT_TRUE(waitUntil(clipboardHasBitmap)) << "no bitmap on the clipboard";
  ClipboardPictures pictures = readClipboardPictures();
  Capture after = shotWithCursorOn("screen-after", kDecember2004, 22);
  pictures.bitmap.saveBmp(e2eOptions().shotDir + L"\\ShellTest.ClipboardPicture-copied.bmp");

  // The calendar area below the 25-pixel strip, as a bitmap and as a DIB.
  ASSERT_FALSE(pictures.bitmap.empty()) << "CF_BITMAP";
  EXPECT_EQ(pictures.bitmap.width(), 300);
  EXPECT_EQ(pictures.bitmap.height(), 250 - kStripHeight);
  ASSERT_FALSE(pictures.dib.empty()) << "CF_DIB";
  EXPECT_EQ(differingPixels(pictures.dib, pictures.bitmap, 0, [](int, int) { return true; }), 0)
      << "CF_DIB and CF_BITMAP differ";

  // Without cursor, today's mark and the memo mark...
  ExpectedLayout below = layout;
  below.toolStripHeight = 0;
  below.clientHeight = 250 - kStripHeight;
  CalendarProbe copied(pictures.bitmap, below, kDecember2004, mainFont);
  EXPECT_EQ(copied.cursorDay(), 0);
  EXPECT_EQ(copied.markedDay(kToday), 0);
  EXPECT_EQ(copied.markedDay(kYotei), 0);
  EXPECT_GT(copied.numberPixels(15, isDark), 5) << "day numbers are drawn";
  // ...and otherwise what the screen shows, pixel for pixel.
  RECT skip[3] = {below.cellOf(kDecember2004, 15), below.cellOf(kDecember2004, 20), below.cellOf(kDecember2004, 22)};
  for (RECT& r : skip) InflateRect(&r, 2, 2);
  int differing = differingPixels(pictures.bitmap, after, kStripHeight, [&](int x, int y) {
    return !inside(skip[0], x, y) && !inside(skip[1], x, y) && !inside(skip[2], x, y);
  });
  EXPECT_EQ(differing, 0) << "pixels outside the marked cells differ from the screen";
  // The memo text itself is in the picture.
  RECT memo = below.cellOf(kDecember2004, 20);
  memo.top += mainFont.height + 2;
  EXPECT_GT(pictures.bitmap.count(memo, isDark), 3) << "the memo text";

  // The screen has its cursor and marks back.
  CalendarProbe back = probe(after, kDecember2004);
  EXPECT_EQ(back.cursorDay(), 22);
  EXPECT_EQ(back.markedDay(kToday), 15);
}

// The picture is the calendar as it paints itself, not what the screen
// shows at its place: the memo editor lying over it stays out, and the part
// of the calendar beyond the screen's edge is in it.
TEST_F(ShellTest, TheClipboardPictureIsTheCalendarWhereverItIsCoveredOrOffTheScreen) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=1",
                               "DISPLAY_MEMO=1", "SAVE_POS=0"})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  Capture uncovered = shotWithCursorOn("uncovered", kDecember2004, 15);
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  // A third of the calendar beyond the screen's left edge, the editor over
  // the middle of what is left.
  RECT placed = app().windowRect();
  SetWindowPos(window(), nullptr, -100, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  settle(window(), 200);
  const POINT origin = calendarOrigin();
  MoveWindow(editor, origin.x + 160, origin.y + 40, 200, 150, TRUE);
  settle(editor, 200);

  emptyClipboard();
  PostMessageW(window(), WM_COMMAND, 40013, 0);
  ASSERT_TRUE(waitUntil(clipboardHasBitmap)) << "no bitmap on the clipboard";
  ClipboardPictures pictures = readClipboardPictures();
  pictures.bitmap.saveBmp(e2eOptions().shotDir + L"\\ShellTest.CoveredClipboardPicture-copied.bmp");
  ASSERT_EQ(pictures.bitmap.height(), 250 - kStripHeight);
  RECT today = layout.cellOf(kDecember2004, 15);
  InflateRect(&today, 2, 2);
  EXPECT_EQ(differingPixels(pictures.bitmap, uncovered, kStripHeight,
                            [&](int x, int y) { return !inside(today, x, y + kStripHeight); }),
            0)
      << "the picture holds something other than the calendar";
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
}

// A client area no higher than the strip has no picture to copy: the
// clipboard keeps what the user had put on it.
TEST_F(ShellTest, ACopyWithNoCalendarAreaLeavesTheClipboardAlone) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  RECT outer = app().windowRect();
  RECT client{};
  GetClientRect(window(), &client);
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left, frameHeight + kStripHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  settle(window(), 200);
  ASSERT_LE(clientSize().cy, kStripHeight);
  ASSERT_TRUE(openClipboardSoon());
  EmptyClipboard();
  const char text[] = "kept";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  std::memcpy(GlobalLock(block), text, sizeof text);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  PostMessageW(window(), WM_COMMAND, 40013, 0);
  settle(window(), 300);
  ASSERT_TRUE(openClipboardSoon());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)) << "the user's clipboard was emptied";
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  CloseClipboard();
}

TEST_F(ShellTest, FramelessClipboardPictureIsTheWholeClientArea) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  SIZE size = clientSize();
  emptyClipboard();
  // The strip and its copy button are hidden: the command comes as the
  // button would send it.
  PostMessageW(window(), WM_COMMAND, 40013, 0);
  ASSERT_TRUE(waitUntil(clipboardHasBitmap)) << "no bitmap on the clipboard";
  ClipboardPictures pictures = readClipboardPictures();
  EXPECT_EQ(pictures.bitmap.width(), size.cx);
  EXPECT_EQ(pictures.bitmap.height(), size.cy);
  EXPECT_EQ(pictures.dib.width(), size.cx);
  EXPECT_EQ(pictures.dib.height(), size.cy);
  ExpectedLayout whole = layout;
  whole.toolStripHeight = 0;
  whole.clientWidth = size.cx;
  whole.clientHeight = size.cy;
  CalendarProbe copied(pictures.bitmap, whole, kDecember2004, mainFont);
  EXPECT_EQ(copied.cursorDay(), 0);
  EXPECT_EQ(copied.markedDay(kToday), 0);
  Capture screen = shotWhen("frameless", [&](const Capture& c) {
    return CalendarProbe(c, whole, kDecember2004, mainFont).cursorDay() == 15;
  });
  EXPECT_EQ(CalendarProbe(screen, whole, kDecember2004, mainFont).cursorDay(), 15);
}

TEST_F(ShellTest, FramelessAndBackKeepTheCalendarAreaInPlace) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  const POINT origin = calendarOrigin();
  Capture framedShot = shotWithCursorOn("framed", kDecember2004, 15);

  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); })) << "still framed";
  LONG style = GetWindowLongW(window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU) << "the system menu bit stays";
  EXPECT_FALSE(IsWindowVisible(strip())) << "the strip is hidden";
  POINT now = calendarOrigin();
  EXPECT_EQ(now.x, origin.x);
  EXPECT_EQ(now.y, origin.y);
  EXPECT_EQ(clientSize().cx, 300);
  EXPECT_EQ(clientSize().cy, 250 - kStripHeight);
  // The same picture, now from the window's top edge.
  ExpectedLayout frameless = layout;
  frameless.toolStripHeight = 0;
  frameless.clientHeight = 250 - kStripHeight;
  Capture bare = shotWhen("frameless", [&](const Capture& c) {
    return CalendarProbe(c, frameless, kDecember2004, mainFont).cursorDay() == 15;
  });
  EXPECT_EQ(differingPixels(bare, framedShot, kStripHeight, [](int, int) { return true; }), 0);

  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return framed(); })) << "still frameless";
  EXPECT_FALSE(GetWindowLongW(window(), GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(IsWindowVisible(strip()));
  now = calendarOrigin();
  EXPECT_EQ(now.x, origin.x);
  EXPECT_EQ(now.y, origin.y);
  EXPECT_EQ(clientSize().cx, 300);
  EXPECT_EQ(clientSize().cy, 250) << "client height after the round trip";
  // And once more: nothing drifts.
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return framed(); }));
  now = calendarOrigin();
  EXPECT_EQ(now.x, origin.x);
  EXPECT_EQ(now.y, origin.y);
  EXPECT_EQ(clientSize().cx, 300);
  EXPECT_EQ(clientSize().cy, 250);
  EXPECT_EQ(stripRect().right, 300);
}

TEST_F(ShellTest, FramelessWindowOfNoCalendarHeightIsTwoPixelsHigh) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_TRUE(app().placeWithClientSize(100, 100, 300, 20));
  // Only the strip shows, which has no context menu: the command as the
  // menu sends it.
  PostMessageW(window(), WM_COMMAND, 40011, 0);
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  RECT r = app().windowRect();
  EXPECT_EQ(r.bottom - r.top, 2);
  EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(ShellTest, TopmostFollowsTheSettingAndTheMenu) {
  std::string settings = kGridOnly + iniText({"TOP=1"});
  ASSERT_TRUE(prepare(settings));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  EXPECT_TRUE(waitUntil([&] { return topmost(); })) << "TOP=1 starts topmost ";
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'T'));
  EXPECT_TRUE(waitUntil([&] { return !topmost(); })) << "the menu takes it out";
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'T'));
  EXPECT_TRUE(waitUntil([&] { return topmost(); })) << "and puts it back";
  // The window keeps its place throughout.
  RECT r = app().windowRect();
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
}

TEST_F(ShellTest, SnapGoesToTheNearestCornerAndTheExactCentreToBottomRight) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT r = app().windowRect();
  const int width = r.right - r.left, height = r.bottom - r.top;
  struct Case {
    const char* name;
    int left, top, expectLeft, expectTop;
  };
  const Case cases[] = {
      {"top-left", 150, 120, 0, 0},
      {"top-right", screenWidth - width - 150, 120, screenWidth - width, 0},
      {"bottom-left", 150, screenHeight - height - 120, 0, screenHeight - height},
      {"bottom-right", screenWidth - width - 150, screenHeight - height - 120, screenWidth - width,
       screenHeight - height},
      // The centre exactly in the middle of the screen.
      {"centre", screenWidth / 2 - width / 2, screenHeight / 2 - height / 2, screenWidth - width,
       screenHeight - height},
      // One pixel up and left of it.
      {"near-centre", screenWidth / 2 - width / 2 - 1, screenHeight / 2 - height / 2 - 1, 0, 0},
  };
  for (const Case& c : cases) {
    SetWindowPos(window(), nullptr, c.left, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    settle(window());
    ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'E')) << c.name;
    EXPECT_TRUE(waitUntil([&] { return app().windowRect().left == c.expectLeft && app().windowRect().top == c.expectTop; }))
        << c.name << ": at " << app().windowRect().left << "," << app().windowRect().top;
    RECT now = app().windowRect();
    EXPECT_EQ(now.right - now.left, width) << c.name;
    EXPECT_EQ(now.bottom - now.top, height) << c.name;
  }
}

TEST_F(ShellTest, PlacementAndModesComeBackWithSavePos) {
  ASSERT_TRUE(prepareWritable(iniText({"[Sorvane]", "SAVE_POS=1", "DAYDLG_X=7", "MONTHDLG_SEP=55"}).c_str()));
  ASSERT_TRUE(startAsItOpens(kDecember15));
  SetWindowPos(window(), nullptr, 150, 120, 320, 260, SWP_NOZORDER);
  settle(window());
  ASSERT_TRUE(app().close());
  auto keys = savedKeys();
  EXPECT_EQ(keys["X"], "150");
  EXPECT_EQ(keys["Y"], "120");
  EXPECT_EQ(keys["Width"], "320");
  EXPECT_EQ(keys["Height"], "260");
  EXPECT_EQ(keys["FRAME"], "0");
  EXPECT_EQ(keys["STATE"], "0");
  EXPECT_EQ(keys["TOP"], "0");
  EXPECT_EQ(keys["DAYDLG_X"], "7") << "the memo dialogs' placements are written back";
  EXPECT_EQ(keys["MONTHDLG_SEP"], "55");
  const std::vector<std::string> order = {"SAVE_POS", "DAYDLG_X", "MONTHDLG_SEP", "X", "Y", "Width", "Height",
                                          "FRAME", "STATE", "DAYDLG_Y", "DAYDLG_W", "DAYDLG_H", "MONTHDLG_X",
                                          "MONTHDLG_Y", "MONTHDLG_W", "MONTHDLG_H", "TOP"};
  EXPECT_EQ(keyOrder, order) << "keys in place, the new ones appended in their order";

  // Back where it was, framed; then frameless and topmost.
  ASSERT_TRUE(startAgainAsItOpens(kDecember15));
  RECT r = app().windowRect();
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 260);
  EXPECT_TRUE(framed());
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'T'));
  ASSERT_TRUE(waitUntil([&] { return topmost(); }));
  const POINT origin = calendarOrigin();
  const SIZE size = clientSize();
  ASSERT_TRUE(app().close());
  keys = savedKeys();
  EXPECT_EQ(keys["FRAME"], "1");
  EXPECT_EQ(keys["TOP"], "1");
  // The framed rectangle that shows this calendar area: the one the window
  // had before it went frameless.
  EXPECT_EQ(keys["X"], "150");
  EXPECT_EQ(keys["Y"], "120");
  EXPECT_EQ(keys["Width"], "320");
  EXPECT_EQ(keys["Height"], "260");

  // Frameless and topmost again, the calendar area where it was.
  ASSERT_TRUE(startAgainAsItOpens(kDecember15));
  EXPECT_TRUE(waitUntil([&] { return !framed() && topmost(); }));
  EXPECT_FALSE(IsWindowVisible(strip()));
  POINT now = calendarOrigin();
  EXPECT_EQ(now.x, origin.x);
  EXPECT_EQ(now.y, origin.y);
  EXPECT_EQ(clientSize().cx, size.cx);
  EXPECT_EQ(clientSize().cy, size.cy);
}

// With a taskbar at the top the system keeps the restored rectangle in
// workspace coordinates; saved and restored, the window stays where it was.
TEST_F(ShellTest, AWorkAreaBelowATopTaskbarDoesNotMoveTheWindowFromRunToRun) {
  RECT full{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT previous{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &previous, 0));
  RECT work = full;
  work.top = 40;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, SPIF_SENDCHANGE));
  struct RestoreWorkArea {
    RECT area;
    ~RestoreWorkArea() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE); }
  } restore{previous};
  ASSERT_TRUE(prepareWritable(
      iniText({"[Sorvane]", "SAVE_POS=1", "X=150", "Y=120", "Width=300", "Height=250"}).c_str()));
  for (int run = 0; run < 2; ++run) {
    if (run == 0)
      ASSERT_TRUE(startAsItOpens(kDecember15));
    else
      ASSERT_TRUE(startAgainAsItOpens(kDecember15));
    RECT r = app().windowRect();
    EXPECT_EQ(r.left, 150) << "run " << run;
    EXPECT_EQ(r.top, 120) << "run " << run;
    ASSERT_TRUE(app().close());
    auto keys = savedKeys();
    EXPECT_EQ(keys["X"], "150") << "run " << run;
    EXPECT_EQ(keys["Y"], "120") << "run " << run;
  }
}

TEST_F(ShellTest, MaximisedAndMinimisedWindowsComeBackSo) {
  ASSERT_TRUE(prepareWritable(
      iniText({"[Sorvane]", "SAVE_POS=1", "X=100", "Y=80", "Width=300", "Height=250"}).c_str()));
  ASSERT_TRUE(startAsItOpens(kDecember15));
  ShowWindow(window(), SW_MAXIMIZE);
  ASSERT_TRUE(waitUntil([&] { return IsZoomed(window()) != 0; }));
  ASSERT_TRUE(app().close());
  auto keys = savedKeys();
  EXPECT_EQ(keys["STATE"], "2");
  EXPECT_EQ(keys["X"], "100") << "the restored rectangle";
  EXPECT_EQ(keys["Width"], "300");

  ASSERT_TRUE(startAgainAsItOpens(kDecember15));
  EXPECT_TRUE(waitUntil([&] { return IsZoomed(window()) != 0; })) << "reopens maximised";
  // Restored, it stands where it was saved. (Wine tells another process
  // only the current rectangle of a window, not its restored one.)
  ShowWindow(window(), SW_RESTORE);
  EXPECT_TRUE(waitUntil([&] { return !IsZoomed(window()); }));
  RECT restored = app().windowRect();
  EXPECT_EQ(restored.left, 100);
  EXPECT_EQ(restored.top, 80);
  EXPECT_EQ(restored.right - restored.left, 300);
  EXPECT_EQ(restored.bottom - restored.top, 250);
  ShowWindow(window(), SW_MINIMIZE);
  ASSERT_TRUE(waitUntil([&] { return IsIconic(window()) != 0; }));
  ASSERT_TRUE(app().close());
  EXPECT_EQ(savedKeys()["STATE"], "1");
  EXPECT_EQ(savedKeys()["Height"], "250");

  ASSERT_TRUE(startAgainAsItOpens(kDecember15));
  EXPECT_TRUE(waitUntil([&] { return IsIconic(window()) != 0; })) << "reopens minimised";
}

TEST_F(ShellTest, WithoutSavePosModesChangedInTheRunAreNotWritten) {
  // prepare() remembers the settings file: closing must leave it as it was.
  ASSERT_TRUE(prepare(kGridOnly + iniText({"FRAME=0", "X=100", "Y=100"})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'T'));
  ASSERT_TRUE(waitUntil([&] { return topmost(); }));
}

TEST_F(ShellTest, LogOffSavesOnceAndTheLaterCloseSavesNothing) {
  ASSERT_TRUE(prepareWritable(iniText({"[Sorvane]", "SAVE_POS=1"}).c_str()));
  ASSERT_TRUE(startAsItOpens(kDecember15));
  SetWindowPos(window(), nullptr, 60, 70, 300, 240, SWP_NOZORDER);
  settle(window());
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u) << "log-off may go on";
  EXPECT_EQ(strip(), nullptr) << "the tool strip is gone";
  auto keys = savedKeys();
  EXPECT_EQ(keys["X"], "60");
  EXPECT_EQ(keys["Height"], "240");
  // The log-off was refused elsewhere: the window stays; closing it later
  // does not save again.
  SetWindowPos(window(), nullptr, 200, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  settle(window());
  ASSERT_TRUE(app().close());
  EXPECT_EQ(savedKeys()["X"], "60");
}

TEST_F(ShellTest, SavedRectanglesAreBroughtBackOntoTheScreen) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    const char* name;
    int x, y, expectX, expectY;
  };
  const Case cases[] = {
      {"beyond the right edge", 5000, 100, screenWidth - 300, 100},
      {"partly off to the left", -50, 100, -50, 100},
      {"below the bottom edge", 100, 5000, 100, screenHeight - 200},
      // Where an unplugged monitor was: left of, and right of the screen.
      {"wholly left of the screen", -500, 100, 0, 100},
      {"wholly above the screen", 100, -400, 100, 0},
      {"just right of the screen", screenWidth, 50, screenWidth - 300, 50},
  };
  ASSERT_TRUE(prepareWritable(nullptr));
  bool first = true;
  for (const Case& c : cases) {
    std::string x = "X=" + number(c.x), y = "Y=" + number(c.y);
    ASSERT_TRUE(app().writeFile(kSettingsFileName,
                                iniText({"[Sorvane]", "SAVE_POS=0", x.c_str(), y.c_str(), "Width=300", "Height=200"})));
    ASSERT_TRUE(first ? startAsItOpens(kDecember15) : startAgainAsItOpens(kDecember15)) << c.name;
    first = false;
    RECT r = app().windowRect();
    EXPECT_EQ(r.left, c.expectX) << c.name;
    EXPECT_EQ(r.top, c.expectY) << c.name;
    EXPECT_EQ(r.right - r.left, 300) << c.name;
    EXPECT_EQ(r.bottom - r.top, 200) << c.name;
    ASSERT_TRUE(app().close()) << c.name;
  }
}

TEST_F(ShellTest, MenuCheckMarksFollowTheModes) {
  ASSERT_TRUE(prepare(kGridOnly + iniText({"TOP=1"})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_TRUE(waitUntil([&] { return topmost(); }));
  std::vector<bool> marks = menuCheckMarks("top");
  ASSERT_EQ(marks.size(), 8u) << "menu rows with text";
  EXPECT_FALSE(marks[4]) << "ｳｨﾝﾄﾞｳ枠を表示しない";
  EXPECT_TRUE(marks[5]) << "常に手前に表示, with TOP=1 and the window topmost";
  for (int row : {0, 1, 2, 3, 6, 7}) EXPECT_FALSE(marks[row]) << "row " << row;

  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'T'));
  ASSERT_TRUE(waitUntil([&] { return !topmost(); }));
  marks = menuCheckMarks("not-top");
  ASSERT_EQ(marks.size(), 8u);
  EXPECT_FALSE(marks[4]);
  EXPECT_FALSE(marks[5]);

  ASSERT_TRUE(chooseFromMenu(middle().x, middle().y, 'W'));
  ASSERT_TRUE(waitUntil([&] { return !framed(); }));
  marks = menuCheckMarks("frameless");
  ASSERT_EQ(marks.size(), 8u);
  EXPECT_TRUE(marks[4]);
  EXPECT_FALSE(marks[5]);
}

TEST_F(ShellTest, ACopyWhileTheClipboardIsHeldElsewhereLeavesItAndTheScreenAlone) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  ASSERT_TRUE(openClipboardSoon());
  EmptyClipboard();
  // The clipboard stays open here while the calendar tries to copy.
  leftClick(window(), 4 * kButtonWidth + kButtonWidth / 2, 2 + kButtonHeight / 2);
  settle(window(), 200);
  CloseClipboard();
  EXPECT_FALSE(clipboardHasBitmap()) << "nothing was handed over";
  // The normal paint is back: cursor and today's mark on the 15th.
  Capture screen = shotWithCursorOn("after", kDecember2004, 15);
  EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), 15);
  EXPECT_EQ(probe(screen, kDecember2004).markedDay(kToday), 15);
  // And a copy afterwards works.
  leftClick(window(), 4 * kButtonWidth + kButtonWidth / 2, 2 + kButtonHeight / 2);
  EXPECT_TRUE(waitUntil(clipboardHasBitmap));
}

TEST_F(ShellTest, AnOddFrameValueLeavesTheWindowFramedWithTheCalendarBelowTheStrip) {
  ASSERT_TRUE(prepare(kGridOnly + iniText({"FRAME=2"})));
  ASSERT_TRUE(start(kDecember15, 300, 250));
  EXPECT_TRUE(framed());
  EXPECT_TRUE(IsWindowVisible(strip()));
  Capture screen = shotWithCursorOn("framed", kDecember2004, 15);
  EXPECT_EQ(probe(screen, kDecember2004).cursorDay(), 15) << "the grid laid out below the 25-pixel strip";
  std::vector<bool> marks = menuCheckMarks("frame-2");
  ASSERT_EQ(marks.size(), 8u);
  EXPECT_FALSE(marks[4]) << "no check mark at the frameless item";
}
