#pragma once
// A copy of a window's client area as it is on the screen, read pixel by
// pixel and kept as a .bmp for people to look at.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class Capture {
 public:
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }

  // The colour at a client point as a COLORREF (0x00BBGGRR); CLR_INVALID
  // outside the capture.
  COLORREF at(int x, int y) const;

  // How many pixels of `area` (clipped to the capture) satisfy `wanted`.
  template <typename Predicate>
  int count(RECT area, Predicate wanted) const {
    int found = 0;
    for (int y = area.top > 0 ? area.top : 0; y < area.bottom && y < height_; ++y)
      for (int x = area.left > 0 ? area.left : 0; x < area.right && x < width_; ++x)
        if (wanted(at(x, y))) ++found;
    return found;
  }

  // 24-bit uncompressed BMP.
  bool saveBmp(const std::wstring& path) const;

  // Copies the client area of `window` (of any process on this desktop).
  static Capture of(HWND window);
  // Copies a rectangle of the screen (frames and captions included).
  static Capture ofScreen(RECT area);
  // A picture from elsewhere (the clipboard): top-down rows of 0x00RRGGBB.
  static Capture fromPixels(int width, int height, std::vector<std::uint32_t> pixels);

 private:
  static Capture copyOf(HDC source, int left, int top, int width, int height);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down rows, 0x00RRGGBB
};

// Colour tests, with room for the blending at the edges of text.
bool sameColour(COLORREF a, COLORREF b, int tolerance = 8);
bool isRed(COLORREF c);    // the Sunday, holiday and cursor red
bool isBlue(COLORREF c);   // the Saturday blue
bool isDark(COLORREF c);   // black text and frame lines
