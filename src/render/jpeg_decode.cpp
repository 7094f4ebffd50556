#include "render/jpeg_decode.h"

#include <bit>
#include <csetjmp>
#include <cstring>
#include <utility>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/stdio_file.h"

namespace {

// Our own refusals go through the library's error manager too, so that they
// print and unwind exactly as its errors do.
enum : int {
  kMsgTooLarge = 1000,
  kMsgTooManyScans,
  kMsgColourSpace,
  kMsgNoPixelMemory,
  kMsgPastLast,
};
const char* const kMessages[] = {
    "Picture of %d x %d pixels is larger than this program accepts",
    "More than %d scans in one picture: decoding stopped",
    "Unsupported colour space %d: only colour and grayscale pictures are shown",
    "Insufficient memory for a picture of %d x %d pixels",
};
static_assert(sizeof kMessages / sizeof kMessages[0] == kMsgPastLast - kMsgTooLarge);

// The error manager comes first, so that the library's pointer to it is
// also a pointer to the whole.
struct JpegErrorContext {
  jpeg_error_mgr manager;
  std::jmp_buf returnPoint;
};

enum class Stage { Header, Sized, Complete };

// Everything the decoder touches lives here, outside the function that
// calls setjmp, so nothing it reads after a longjmp is indeterminate.
struct JpegDecoder {
  jpeg_decompress_struct cinfo{};
  JpegErrorContext error{};
  jpeg_progress_mgr progress{};
  PixelBytes pixels;
  Stage stage = Stage::Header;
};

// Replaces the standard error_exit, which would end the process: print the
// message as the library would, then unwind to the decoder's return point.
[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  std::longjmp(reinterpret_cast<JpegErrorContext*>(cinfo->err)->returnPoint, 1);
}

[[noreturn]] void refuse(j_decompress_ptr cinfo, int code, int first, int second = 0) {
  cinfo->err->msg_code = code;
  cinfo->err->msg_parm.i[0] = first;
  cinfo->err->msg_parm.i[1] = second;
  jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
}

// The library calls this between passes and while it absorbs the scans of
// a multi-scan file into its coefficient buffer.
void stopRunawayScans(j_common_ptr common) {
  if (!common->is_decompressor) return;
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  if (cinfo->input_scan_number > kMaxJpegScans) refuse(cinfo, kMsgTooManyScans, kMaxJpegScans);
}

void storeGrayRow(const JSAMPLE* in, std::uint32_t width, std::uint8_t* out) {
  for (std::uint32_t x = 0; x < width; ++x, out += 3) out[0] = out[1] = out[2] = in[x];
}

JpegReadStatus runDecoder(JpegDecoder& decoder, std::FILE* file, DibPicture* picture) {
  jpeg_decompress_struct& cinfo = decoder.cinfo;
  cinfo.err = jpeg_std_error(&decoder.error.manager);
  decoder.error.manager.error_exit = jpegErrorExit;
  decoder.error.manager.addon_message_table = kMessages;
  decoder.error.manager.first_addon_message = kMsgTooLarge;
  decoder.error.manager.last_addon_message = kMsgPastLast - 1;
  if (setjmp(decoder.error.returnPoint)) {
    switch (decoder.stage) {
      case Stage::Header: return JpegReadStatus::FailedEarly;
      case Stage::Sized: return JpegReadStatus::FailedInScan;
      case Stage::Complete: return JpegReadStatus::Ok;  // every row was in; only the tail was bad
    }
  }

  jpeg_create_decompress(&cinfo);
  decoder.progress.progress_monitor = stopRunawayScans;
  cinfo.progress = &decoder.progress;
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.out_color_space != JCS_RGB && cinfo.out_color_space != JCS_GRAYSCALE)
    refuse(&cinfo, kMsgColourSpace, cinfo.jpeg_color_space);
  // The library's own colour conversion can deliver blue, green, red (the
  // bitmap's order) at no cost, which leaves a plain copy per row.
  if (cinfo.out_color_space == JCS_RGB) cinfo.out_color_space = JCS_EXT_BGR;
  // No scaling is asked for, so the output is the image's own size. A
  // progressive file's coefficients are allocated in jpeg_start_decompress:
  // the limit has to hold before it.
  if (!pictureSizeAllowed(cinfo.image_width, cinfo.image_height))
    refuse(&cinfo, kMsgTooLarge, static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
  jpeg_start_decompress(&cinfo);

  const std::uint32_t width = cinfo.output_width;
  const std::uint32_t height = cinfo.output_height;
  const int components = cinfo.output_components;
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              width * static_cast<JDIMENSION>(components), 1);
  picture->width = static_cast<std::int32_t>(width);
  picture->height = static_cast<std::int32_t>(height);
  decoder.stage = Stage::Sized;

  const std::size_t rowBytes = jpegRowBytes(width);
  if (!allocatePixels(decoder.pixels, (rowBytes + 1) * height))
    refuse(&cinfo, kMsgNoPixelMemory, static_cast<int>(width), static_cast<int>(height));
  std::uint8_t* out = decoder.pixels.data.get();
  while (cinfo.output_scanline < height) {
    // The stdio source never suspends, so a row is always delivered.
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) return JpegReadStatus::FailedInScan;
    if (components == 3) {
      std::memcpy(out, row[0], 3 * static_cast<std::size_t>(width));
    } else {
      storeGrayRow(row[0], width, out);
    }
    out += rowBytes;
  }

  // Handed over before the library reads the rest of the file: a bad tail
  // after the last row costs nothing. No object with a destructor may be
  // alive across a library call, as a longjmp would skip it.
  DibHeader info;
  info.width = static_cast<std::int32_t>(width);
  info.height = -static_cast<std::int32_t>(height);
  info.bitCount = 24;
  picture->info.clear();
  appendDibHeader(picture->info, info);
  picture->pixels = std::move(decoder.pixels);
  picture->palette.clear();
  decoder.stage = Stage::Complete;
  jpeg_finish_decompress(&cinfo);
  return JpegReadStatus::Ok;
}

}  // namespace

std::size_t jpegRowBytes(std::uint32_t width) {
  return 3 * static_cast<std::size_t>(width) + width % 4;
}

JpegReadStatus decodeJpegStream(std::FILE* file, DibPicture* picture) {
  JpegDecoder decoder;
  JpegReadStatus status = runDecoder(decoder, file, picture);
  // Also after a longjmp: the library frees its pools, ours go with `decoder`.
  jpeg_destroy_decompress(&decoder.cinfo);
  return status;
}

JpegReadStatus decodeJpegFile(const std::string& path, DibPicture* picture) {
  std::FILE* file = openFileForReading(path);
  if (!file) {
    std::fprintf(stderr, "can't open %s\n", path.c_str());
    return JpegReadStatus::NotOpened;
  }
  JpegReadStatus status = decodeJpegStream(file, picture);
  std::fclose(file);
  return status;
}
