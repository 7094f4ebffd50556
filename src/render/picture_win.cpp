#include <windows.h>

#include <vector>

#include "platform/file_io.h"
#include "platform/text_convert.h"
#include "render/gdi_guards_win.h"
#include "render/picture_platform.h"

namespace {
const BITMAPINFO* infoOf(const DibPicture& picture) {
  return reinterpret_cast<const BITMAPINFO*>(picture.info.data());
}

}  // namespace

// GDI decodes BI_RLE8 and BI_RLE4 data itself in SetDIBitsToDevice.
bool systemDrawsRunLength() { return true; }

void* makeBmpBitmap(DibPicture& picture, void* palette, DeviceContext dc) {
  HDC screen = static_cast<HDC>(dc);
  MemoryDC memory(screen);
  if (!memory.get()) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  if (!bitmap) return nullptr;
  {
    SelectGuard select(memory.get(), bitmap);
    HPALETTE previousPalette = nullptr;
    if (palette) {
      previousPalette = SelectPalette(memory.get(), static_cast<HPALETTE>(palette), FALSE);
      RealizePalette(memory.get());
    }
    SetDIBitsToDevice(memory.get(), 0, 0, picture.width, picture.height, 0, 0, 0, picture.height,
                      picture.pixels.data.get(), infoOf(picture), DIB_RGB_COLORS);
    if (previousPalette) SelectPalette(memory.get(), previousPalette, FALSE);
  }
  return bitmap;
}

void* makeJpegBitmap(DibPicture& picture, DeviceContext dc) {
  const BITMAPINFO* info = infoOf(picture);
  return CreateDIBitmap(static_cast<HDC>(dc), &info->bmiHeader, CBM_INIT, picture.pixels.data.get(), info,
                        DIB_RGB_COLORS);
}

void* makePalette(const DibPicture& picture) {
  // LOGPALETTE holds its first entry; the rest follow it.
  std::vector<unsigned char> memory(sizeof(LOGPALETTE) + picture.palette.size() * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(picture.palette.size());
  for (std::size_t i = 0; i < picture.palette.size(); ++i) {
    const PaletteEntry& entry = picture.palette[i];
    logical->palPalEntry[i] = PALETTEENTRY{entry.red, entry.green, entry.blue, 0};
  }
  return CreatePalette(logical);
}

void destroyBitmap(void* bitmap) {
  if (bitmap) DeleteObject(static_cast<HBITMAP>(bitmap));
}

void destroyPalette(void* palette) {
  if (palette) DeleteObject(static_cast<HPALETTE>(palette));
}
