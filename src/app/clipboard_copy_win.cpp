#include "app/clipboard_copy_win.h"

#include <cstring>

#include "render/gdi_guards_win.h"
#include "render/paint.h"

namespace {

// A packed 24-bit bottom-up DIB of `width` × `height` pixels copied from
// `source`, in a movable global block for the clipboard; null on failure.
HGLOBAL packedDibFrom(HDC source, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject<HBITMAP> section(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return nullptr;
  MemoryDC memory(source);
  {
    SelectGuard select(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
  }
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  const std::size_t imageBytes = stride * static_cast<std::size_t>(height);
  info.bmiHeader.biSizeImage = static_cast<DWORD>(imageBytes);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof info.bmiHeader + imageBytes);
  if (!block) return nullptr;
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, &info.bmiHeader, sizeof info.bmiHeader);
  std::memcpy(bytes + sizeof info.bmiHeader, bits, imageBytes);
  GlobalUnlock(block);
  return block;
}

}  // namespace

void copyCalendarBitmap(HWND window, const CalendarView& view) {
  WindowDC windowDc(window);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  measureLayout(window, windowDc.get(), view);
  const int strip = gridLayout().toolStripHeight;
  const int pictureHeight = height - strip;
  // No picture, no copy: the clipboard keeps what the user had on it.
  if (width <= 0 || pictureHeight <= 0) return;
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(windowDc.get(), width, pictureHeight));
  if (!bitmap) return;

  // The calendar is painted straight into the bitmap, by the code that
  // paints the window, without the cursor frame, memo marks and today.
  // Copied from the screen instead, it would hold whatever covers the
  // window there (the memo editor, another topmost window) and miss what
  // lies off the screen. The strip's rows fall above the bitmap.
  MemoryDC memory(windowDc.get());
  HGLOBAL dib = nullptr;
  {
    SelectGuard select(memory.get(), bitmap.get());
    // What the window's erase gives where the paint leaves the background
    // alone (a picture smaller than the window, or none loaded).
    RECT area{0, 0, width, pictureHeight};
    FillRect(memory.get(), &area, reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)));
    SetViewportOrgEx(memory.get(), 0, -strip, nullptr);
    setCopyingToClipboard(true);
    paintCalendar(window, memory.get(), view);
    setCopyingToClipboard(false);
    SetViewportOrgEx(memory.get(), 0, 0, nullptr);
    GdiFlush();
    dib = packedDibFrom(memory.get(), width, pictureHeight);
  }
  if (!dib) return;
  if (!OpenClipboard(window)) {
    GlobalFree(dib);
    return;
  }
  EmptyClipboard();
  // Once handed over, the clipboard owns them.
  if (SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();
  if (!SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
  CloseClipboard();
}
