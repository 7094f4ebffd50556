#pragma once
// The background picture: loaded when the settings name a new file, kept for
// the life of the process, copied or stretched onto the window at every
// paint. One set of state for the process.
#include "settings/app_settings.h"

// Paths longer than this less one byte are cut.
constexpr unsigned kLoadedPicturePathSize = 512;

// The path last given to loadPicture, loaded or not; empty at start.
const char* loadedPicturePath();

// Records `path` (so that a failed file is not tried again until the
// settings name another), then loads it as BMP when its last three
// characters are "bmp" in any case, else as JPEG, into a bitmap for `dc`.
// Failures keep or drop the previous picture as each loader says.
void loadPicture(const char* path, DeviceContext dc);

// The loaded picture: an HBITMAP and HPALETTE on Windows (both may be null).
void* pictureBitmap();
void* picturePalette();
int pictureWidth();
int pictureHeight();
void deletePictureBitmap();
void deletePicturePalette();
