#include "e2e/client_capture.h"

#include <cstdlib>
#include <utility>

COLORREF Capture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

Capture Capture::copyOf(HDC source, int left, int top, int width, int height) {
  Capture capture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY)) {
      GdiFlush();
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      capture.pixels_.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
      for (std::uint32_t& pixel : capture.pixels_) pixel &= 0x00FFFFFF;
      capture.width_ = width;
      capture.height_ = height;
    }
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  return capture;
}

Capture Capture::of(HWND window) {
  RECT client{};
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return Capture();
  HDC windowDc = GetDC(window);
  if (!windowDc) return Capture();
  Capture capture = copyOf(windowDc, 0, 0, client.right, client.bottom);
  ReleaseDC(window, windowDc);
  return capture;
}

Capture Capture::ofScreen(RECT area) {
  if (area.right <= area.left || area.bottom <= area.top) return Capture();
  HDC screen = GetDC(nullptr);
  if (!screen) return Capture();
  Capture capture = copyOf(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return capture;
}

bool Capture::saveBmp(const std::wstring& path) const {
  if (empty()) return false;
  const int rowBytes = (width_ * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width_;
  header.biHeight = height_;  // bottom-up, as every reader expects
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(rowBytes * height_);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;

  std::vector<unsigned char> image(header.biSizeImage, 0);
  for (int y = 0; y < height_; ++y) {
    unsigned char* row = image.data() + static_cast<std::size_t>(height_ - 1 - y) * rowBytes;
    for (int x = 0; x < width_; ++x) {
      std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
      row[x * 3 + 0] = pixel & 0xFF;
      row[x * 3 + 1] = (pixel >> 8) & 0xFF;
      row[x * 3 + 2] = (pixel >> 16) & 0xFF;
    }
  }
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &header, sizeof header, &written, nullptr) &&
            WriteFile(out, image.data(), header.biSizeImage, &written, nullptr);
  CloseHandle(out);
  return ok;
}

bool sameColour(COLORREF a, COLORREF b, int tolerance) {
  if (a == CLR_INVALID || b == CLR_INVALID) return false;
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool isRed(COLORREF c) {
  return c != CLR_INVALID && GetRValue(c) >= 160 && GetGValue(c) <= 100 && GetBValue(c) <= 100;
}

bool isBlue(COLORREF c) {
  return c != CLR_INVALID && GetBValue(c) >= 160 && GetRValue(c) <= 100 && GetGValue(c) <= 100;
}

bool isDark(COLORREF c) {
  return c != CLR_INVALID && GetRValue(c) <= 100 && GetGValue(c) <= 100 && GetBValue(c) <= 100;
}

Capture Capture::fromPixels(int width, int height, std::vector<std::uint32_t> pixels) {
  Capture capture;
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) return capture;
  capture.width_ = width;
  capture.height_ = height;
  capture.pixels_ = std::move(pixels);
  for (std::uint32_t& pixel : capture.pixels_) pixel &= 0x00FFFFFF;
  return capture;
}
