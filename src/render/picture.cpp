#include "render/picture.h"

#include <cstring>

#include "render/bmp_decode.h"
#include "render/jpeg_decode.h"
#include "render/picture_path.h"
#include "render/picture_platform.h"

namespace {

struct PictureState {
  char loadedPath[kLoadedPicturePathSize] = {};
  void* bitmap = nullptr;
  void* palette = nullptr;
  int width = 0;
  int height = 0;
};

PictureState state;

void replaceBitmap(void* bitmap) {
  destroyBitmap(state.bitmap);
  state.bitmap = bitmap;
}

// A BMP brings its own palette; a missing or refused file leaves the
// previous picture on show, without a palette. False when nothing was read.
bool readBmpFile(const std::string& path, DibPicture& picture) {
  deletePicturePalette();
  if (decodeBmpFile(path, &picture) != BmpReadStatus::Ok) return false;
  state.palette = makePalette(picture);
  return true;
}

void loadBmp(const std::string& path, DeviceContext dc) {
  DibPicture picture;
  if (!readBmpFile(path, picture)) return;
  state.width = picture.width;
  state.height = picture.height;
  replaceBitmap(makeBmpBitmap(picture, state.palette, dc));
}

void readJpegPicture(DeviceContext dc, const std::string& path) {
  deletePicturePalette();
  DibPicture picture;
  JpegReadStatus status = decodeJpegFile(path, &picture);
  if (status == JpegReadStatus::NotOpened || status == JpegReadStatus::FailedEarly) return;
  // From the moment the size was known the old picture is gone, whatever
  // happens to the new one.
  state.width = picture.width;
  state.height = picture.height;
  replaceBitmap(status == JpegReadStatus::Ok ? makeJpegBitmap(picture, dc) : nullptr);
}

}  // namespace

const char* loadedPicturePath() { return state.loadedPath; }

void loadPicture(const char* path, DeviceContext dc) {
  // Remember the path first: a file that fails is not tried again until the
  // settings name another one.
  std::string cut = cutPicturePath(path);
  std::memcpy(state.loadedPath, cut.c_str(), cut.size() + 1);
  if (isBmpPicturePath(cut)) {
    loadBmp(cut, dc);
  } else {
    readJpegPicture(dc, cut);
  }
}

void* pictureBitmap() { return state.bitmap; }
void* picturePalette() { return state.palette; }
int pictureWidth() { return state.width; }
int pictureHeight() { return state.height; }

void deletePictureBitmap() { replaceBitmap(nullptr); }

void deletePicturePalette() {
  destroyPalette(state.palette);
  state.palette = nullptr;
}
