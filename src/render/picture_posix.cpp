// Natively there is no screen: the decoded picture is kept as it is, and
// stands in for the bitmap and the palette.
#include <new>
#include <utility>

#include "render/picture_platform.h"

// Files have no share modes here.
// Nothing here draws compressed pictures.
bool systemDrawsRunLength() { return false; }

void* makeBmpBitmap(DibPicture& picture, void*, DeviceContext) { return new (std::nothrow) DibPicture(std::move(picture)); }

void* makeJpegBitmap(DibPicture& picture, DeviceContext) { return new (std::nothrow) DibPicture(std::move(picture)); }

void* makePalette(const DibPicture& picture) {
  return new (std::nothrow) std::vector<PaletteEntry>(picture.palette);
}

void destroyBitmap(void* bitmap) { delete static_cast<DibPicture*>(bitmap); }

void destroyPalette(void* palette) { delete static_cast<std::vector<PaletteEntry>*>(palette); }
