#include "render/dpi_scale.h"

#include <cstdint>
#include <cstdlib>

namespace {

int effectiveDpi(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

// value × numerator / denominator, rounded half away from zero, in 64 bits
// so that no int overflows on the way; the result is clamped to int.
int mulDivRounded(int value, int numerator, int denominator) {
  std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  std::int64_t magnitude = (std::llabs(product) * 2 + denominator) / (2 * static_cast<std::int64_t>(denominator));
  std::int64_t result = product < 0 ? -magnitude : magnitude;
  if (result > INT32_MAX) return INT32_MAX;
  if (result < INT32_MIN) return INT32_MIN;
  return static_cast<int>(result);
}

}  // namespace

int scaleToDpi(int value, int dpi) {
  const int d = effectiveDpi(dpi);
  if (d == kBaseDpi) return value;
  return mulDivRounded(value, d, kBaseDpi);
}

int scaleFromDpi(int value, int dpi) {
  const int d = effectiveDpi(dpi);
  if (d == kBaseDpi) return value;
  return mulDivRounded(value, kBaseDpi, d);
}

int fontHeightFromChooser(int stored, int offered, int chosen, int chosenPointTenths, int dpi) {
  if (chosen == offered) return stored;
  // A character height (negative) shows as its size in points, rounded: 26
  // pixels at 120 DPI are 15.6 points, shown as 16 and handed back as 27.
  if (offered < 0 && chosenPointTenths > 0 &&
      chosenPointTenths == 10 * mulDivRounded(-offered, 72, effectiveDpi(dpi)))
    return stored;
  return scaleFromDpi(chosen, dpi);
}

int toolPictureScaleIndex(int dpi) {
  const int d = effectiveDpi(dpi);
  // Midpoints of 96, 144 and 192: 120 and 168.
  if (d < 120) return 0;
  if (d < 168) return 1;
  return 2;
}

int toolPictureSize(int value, int scaleIndex) {
  // 1×, 1.5×, 2×: the DPI each picture is drawn for.
  static constexpr int kPictureDpi[3] = {96, 144, 192};
  if (scaleIndex < 0 || scaleIndex > 2) scaleIndex = 0;
  return scaleToDpi(value, kPictureDpi[scaleIndex]);
}
