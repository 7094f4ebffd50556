#pragma once
// The platform half of picture loading: a decoded picture becomes a bitmap
// in the screen's own format (and a logical palette), once per load. On
// Windows these are GDI objects; natively the decoded picture itself stands
// in for the bitmap, so that tests can look at what would be shown.
#include <cstddef>
#include <string>

#include "platform/file_io.h"
#include "render/dib_picture.h"
#include "settings/app_settings.h"

// True where the system's bitmap functions decode run-length (BI_RLE8,
// BI_RLE4) pictures themselves, so that they are handed over compressed.
bool systemDrawsRunLength();

// A BMP picture: a bitmap compatible with `dc`, filled by a DIB transfer
// with `palette` realized. Null when it cannot be made.
void* makeBmpBitmap(DibPicture& picture, void* palette, DeviceContext dc);
// A JPEG picture: a bitmap made from the DIB in one call. Null on failure.
void* makeJpegBitmap(DibPicture& picture, DeviceContext dc);
// A logical palette of the picture's entries (possibly none).
void* makePalette(const DibPicture& picture);

void destroyBitmap(void* bitmap);
void destroyPalette(void* palette);
