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

void copyCalendarBitmap(HWND window) {
  WindowDC windowDc(window);
  MemoryDC memory(windowDc.get());
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const int strip = gridLayout().toolStripHeight;
  const int pictureHeight = height - strip;

  HBITMAP bitmap = CreateCompatibleBitmap(windowDc.get(), width, pictureHeight);
  bool bitmapTaken = false;
  {
    SelectGuard select(memory.get(), bitmap);

    // A whole repaint, now, without the cursor frame, memo marks and today.
    setCopyingToClipboard(true);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);

    // Rows beyond the bitmap's height fall away.
    BitBlt(memory.get(), 0, 0, width, height, windowDc.get(), 0, strip, SRCCOPY);
    HGLOBAL dib = bitmap ? packedDibFrom(memory.get(), width, pictureHeight) : nullptr;

    bool dibTaken = false;
    if (OpenClipboard(window)) {
      EmptyClipboard();
      // Once handed over, the clipboard owns them.
      if (bitmap) bitmapTaken = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
      if (dib) dibTaken = SetClipboardData(CF_DIB, dib) != nullptr;
      CloseClipboard();
    }
    if (dib && !dibTaken) GlobalFree(dib);

    setCopyingToClipboard(false);
    InvalidateRect(window, nullptr, TRUE);
  }
  // Deselected above; a bitmap the clipboard did not take is ours to free.
  if (bitmap && !bitmapTaken) DeleteObject(bitmap);
}
