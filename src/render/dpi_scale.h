#pragma once
// Sizes the calendar is drawn with are given in pixels at 96 DPI (100 %
// scaling), as the settings file stores font heights. On a screen of
// another DPI they are scaled to it, so that the calendar looks the same
// size everywhere. At 96 DPI every size is exactly what it was.

constexpr int kBaseDpi = 96;

// `value` (pixels at 96 DPI) at `dpi`, rounded to the nearest pixel with
// halves away from zero, as MulDiv does: the sign is kept, so font heights
// given as negative (character height) or positive (cell height) numbers
// keep their meaning. A DPI of 0 or less counts as 96.
int scaleToDpi(int value, int dpi);

// The inverse: pixels at `dpi` in pixels at 96 DPI, rounded the same way.
int scaleFromDpi(int value, int dpi);

// A font height as the font chooser hands it back, in pixels at 96 DPI:
// `chosen` is what the chooser returned for a height that was `stored` in
// the settings file and `offered` (scaleToDpi(stored, dpi)) in the chooser,
// `chosenPointTenths` the size it showed, in tenths of a point (0 when not
// known). A height the user left as it was (the same pixels, or the same
// whole point size the offered character height shows as) keeps the stored
// value exactly, so that OK never changes a file by rounding there and back.
int fontHeightFromChooser(int stored, int offered, int chosen, int chosenPointTenths, int dpi);

// The tool buttons' pictures are drawn at 1×, 1.5× and 2×: the index (0, 1,
// 2) of the one nearest to the DPI's scale, the larger on a tie.
int toolPictureScaleIndex(int dpi);
// The size of a picture of index `scaleIndex` for a 96-DPI size.
int toolPictureSize(int value, int scaleIndex);
