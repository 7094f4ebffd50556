// Feeds every input to both picture decoders: the BMP decoder takes the
// bytes in memory, the JPEG decoder reads them as a stream, as it reads a
// file. Any read or write outside a buffer, any leak and any undefined
// behaviour ends the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "render/bmp_decode.h"
#include "render/jpeg_decode.h"

namespace {

// What the platform will read of an accepted picture must be there.
void checkPicture(const DibPicture& picture) {
  if (picture.info.size() < kDibHeaderBytes || !pictureSizeAllowed(picture.width, picture.height)) __builtin_trap();
  const DibHeader h = readDibHeader(picture.info.data());
  if (h.compression == kDibCompressionRle8 || h.compression == kDibCompressionRle4) {
    // The system reads the compressed data up to sizeImage bytes.
    if (h.sizeImage == 0 || picture.pixels.size != h.sizeImage) __builtin_trap();
  } else {
    const std::uint64_t stride = (static_cast<std::uint64_t>(picture.width) * h.bitCount + 31) / 32 * 4;
    if (picture.pixels.size < stride * static_cast<std::uint64_t>(picture.height)) __builtin_trap();
  }
  // Touch the last byte, so the sanitizer sees a short buffer.
  volatile std::uint8_t last = picture.pixels.data[picture.pixels.size - 1];
  (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DibPicture bmp;
  if (decodeBmpImage(data, size, &bmp, RunLength::HandOver) == BmpDecodeStatus::Ok) checkPicture(bmp);

  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (!stream) return 0;
  DibPicture jpeg;
  if (decodeJpegStream(stream, &jpeg) == JpegReadStatus::Ok) checkPicture(jpeg);
  std::fclose(stream);
  return 0;
}
