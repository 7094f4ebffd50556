#include "app/placement.h"

#include <cstdint>
#include <cstdio>

#include "settings/settings_file.h"

namespace {

bool overlaps(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// How far apart two rectangles are along one axis (0 when they overlap).
std::int64_t gap(int aLow, int aHigh, int bLow, int bHigh) {
  if (aHigh <= bLow) return static_cast<std::int64_t>(bLow) - aHigh;
  if (bHigh <= aLow) return static_cast<std::int64_t>(aLow) - bHigh;
  return 0;
}

std::int64_t squaredDistance(const Rect& a, const Rect& b) {
  std::int64_t dx = gap(a.left, a.right, b.left, b.right);
  std::int64_t dy = gap(a.top, a.bottom, b.top, b.bottom);
  return dx * dx + dy * dy;
}

// Moves [low, low + size) into [areaLow, areaHigh); an interval longer than
// the area starts where the area starts.
int pullInside(int low, int size, int areaLow, int areaHigh) {
  if (static_cast<std::int64_t>(low) + size > areaHigh) low = areaHigh - size;
  if (low < areaLow) low = areaLow;
  return low;
}

}  // namespace

Rect restoredWindowRect(int x, int y, int width, int height, const Rect* monitors, std::size_t monitorCount,
                        int defaultSize) {
  if (width <= 0) width = defaultSize;
  if (height <= 0) height = defaultSize;
  // Far-off saved values must not overflow the right and bottom edges.
  constexpr int kFar = 1 << 28;
  if (x > kFar) x = kFar;
  if (y > kFar) y = kFar;
  if (x < -kFar) x = -kFar;
  if (y < -kFar) y = -kFar;
  if (width > kFar) width = kFar;
  if (height > kFar) height = kFar;
  Rect window{x, y, x + width, y + height};
  if (!monitors || monitorCount == 0) return window;

  const Rect* nearest = &monitors[0];
  std::int64_t nearestDistance = squaredDistance(window, monitors[0]);
  for (std::size_t i = 0; i < monitorCount; ++i) {
    if (overlaps(window, monitors[i])) return window;
    std::int64_t distance = squaredDistance(window, monitors[i]);
    if (distance < nearestDistance) {
      nearest = &monitors[i];
      nearestDistance = distance;
    }
  }
  int left = pullInside(x, width, nearest->left, nearest->right);
  int top = pullInside(y, height, nearest->top, nearest->bottom);
  return Rect{left, top, left + width, top + height};
}

Rect workspaceToScreen(const Rect& normal, const Rect& monitor, const Rect& work) {
  const int dx = work.left - monitor.left;
  const int dy = work.top - monitor.top;
  return Rect{normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

Rect framelessWindowRect(const Rect& window, int clientWidth, int clientHeight, int toolStripHeight) {
  int windowWidth = window.right - window.left;
  int windowHeight = window.bottom - window.top;
  int side = (windowWidth - clientWidth) / 2;
  int top = toolStripHeight + windowHeight - clientHeight - side;
  int height = clientHeight - toolStripHeight;
  if (height < 2) height = 2;
  int left = window.left + side;
  return Rect{left, window.top + top, left + clientWidth, window.top + top + height};
}

Rect framedWindowRect(const Rect& window, int toolStripHeight, const FrameInsets& frame) {
  // The caption's border line belongs to the caption height already: taking
  // it off the height again would cost the calendar area its bottom row at
  // every switch back, and a window closed frameless a row at every start.
  int left = window.left - frame.left;
  int top = window.top - toolStripHeight - frame.top;
  int width = (window.right - window.left) + frame.left + frame.right;
  int height = (window.bottom - window.top) + toolStripHeight + frame.top + frame.bottom;
  return Rect{left, top, left + width, top + height};
}

Point snapCornerOrigin(const Rect& window, const Rect& screen) {
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int centreX = window.left + width / 2;
  int centreY = window.top + height / 2;
  int screenWidth = screen.right - screen.left;
  int screenHeight = screen.bottom - screen.top;
  Point origin;
  origin.x = centreX - screen.left < screenWidth / 2 ? screen.left : screen.right - width;
  origin.y = centreY - screen.top < screenHeight / 2 ? screen.top : screen.bottom - height;
  return origin;
}

int windowStateValue(bool minimised, bool maximised) {
  if (minimised) return 1;
  if (maximised) return 2;
  return 0;
}

void writeSavedPlacement(const SavedPlacement& saved) {
  const Rect& r = saved.framedWindow;
  const int numbers[] = {
      r.left, r.top, r.right - r.left, r.bottom - r.top, saved.frameless, saved.state,
      saved.dayDialog.x, saved.dayDialog.y, saved.dayDialog.width, saved.dayDialog.height,
      saved.monthDialog.x, saved.monthDialog.y, saved.monthDialog.width, saved.monthDialog.height,
      saved.monthDialogSeparator, saved.topmost};
  static constexpr const char* kKeys[] = {"X", "Y", "Width", "Height", "FRAME", "STATE",
                                          "DAYDLG_X", "DAYDLG_Y", "DAYDLG_W", "DAYDLG_H",
                                          "MONTHDLG_X", "MONTHDLG_Y", "MONTHDLG_W", "MONTHDLG_H",
                                          "MONTHDLG_SEP", "TOP"};
  constexpr std::size_t kCount = sizeof kKeys / sizeof kKeys[0];
  static_assert(kCount == sizeof numbers / sizeof numbers[0]);
  char digits[kCount][16];
  SettingValue values[kCount];
  for (std::size_t i = 0; i < kCount; ++i) {
    std::snprintf(digits[i], sizeof digits[i], "%d", numbers[i]);
    values[i] = SettingValue{kKeys[i], digits[i]};
  }
  writeSettingStrings("Sorvane", values, kCount);
}
