#include <windows.h>

#include <vector>

#include "platform/file_io_block.h"
#include "platform/text_convert.h"
#include "render/gdi_guards_win.h"
#include "render/picture_platform.h"

namespace {
const BITMAPINFO* infoOf(const DibPicture& picture) {
  return reinterpret_cast<const BITMAPINFO*>(picture.info.data());
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

bool readAll(HANDLE file, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD chunk = static_cast<DWORD>(size - done > 0x10000000 ? 0x10000000 : size - done);
    DWORD got = 0;
    if (!ReadFile(file, data + done, chunk, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}
}  // namespace

FileReadStatus readPictureFile(const std::string& path, std::size_t maxSize, BlockHandle* block,
                               std::size_t* size) {
  *block = nullptr;
  *size = 0;
  // Sharing writing as well: a picture that a paint program still holds
  // open is read as it stands on disk.
  FileHandle file(CreateFileW(sjisToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                          : FileReadStatus::NotOpened;
  }
  LARGE_INTEGER bytes;
  if (!GetFileSizeEx(file.get(), &bytes) || bytes.QuadPart < 0) return FileReadStatus::NotOpened;
  return readSizedFileIntoBlock(
      static_cast<unsigned long long>(bytes.QuadPart), maxSize,
      [&file](char* data, std::size_t count) { return readAll(file.get(), data, count); }, block, size);
}

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
