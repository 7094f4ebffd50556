#pragma once
// A decoded picture in the exact form the platform's device-independent
// bitmap calls take it (SetDIBitsToDevice, CreateDIBitmap, CreatePalette):
// the decoders build it from file bytes, the Windows half only hands its
// parts over. Nothing here needs <windows.h>.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

// Size of a BITMAPINFOHEADER, the only information header we hand over.
inline constexpr std::size_t kDibHeaderBytes = 40;
inline constexpr std::uint32_t kDibCompressionRgb = 0;        // BI_RGB
inline constexpr std::uint32_t kDibCompressionRle8 = 1;       // BI_RLE8
inline constexpr std::uint32_t kDibCompressionRle4 = 2;       // BI_RLE4
inline constexpr std::uint32_t kDibCompressionBitfields = 3;  // BI_BITFIELDS

// Pictures larger than this are refused before anything is allocated for
// them, so that a hostile file cannot make us take memory without bound.
inline constexpr std::int64_t kMaxPictureSide = 16384;
#ifndef SORVANE_FUZZ_PICTURE_PIXELS
inline constexpr std::int64_t kMaxPicturePixels = 100'000'000;
#else
// The fuzz build takes a small cap, so that its runs go on exploring headers
// and tables instead of filling buffers of millions of pixels.
inline constexpr std::int64_t kMaxPicturePixels = SORVANE_FUZZ_PICTURE_PIXELS;
#endif

// True when a picture of width x height pixels may be decoded: both sides
// at least 1 and at most kMaxPictureSide, at most kMaxPicturePixels in all.
bool pictureSizeAllowed(std::int64_t width, std::int64_t height);

// The fields of a BITMAPINFOHEADER, in its order. Little-endian on file
// and in memory alike.
struct DibHeader {
  std::uint32_t size = kDibHeaderBytes;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows run top to bottom
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = kDibCompressionRgb;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};

// A little-endian 32-bit field at `bytes`.
std::uint32_t readLittleEndian32(const std::uint8_t* bytes);

// Reads the header from 40 bytes at `bytes`.
DibHeader readDibHeader(const std::uint8_t* bytes);
// Appends the header's 40 bytes to `out`.
void appendDibHeader(std::vector<std::uint8_t>& out, const DibHeader& header);

// One entry of a logical palette, laid out as the platform's PALETTEENTRY.
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
};
static_assert(sizeof(PaletteEntry) == 4);

struct FreeBytes {
  void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};

// Pixel memory taken with the C allocator, so that a picture too large for
// the address space is a null we can report rather than an abort.
struct PixelBytes {
  std::unique_ptr<std::uint8_t[], FreeBytes> data;
  std::size_t size = 0;
};

// Replaces `pixels` with `size` zero bytes. False, with `pixels` empty,
// when the memory cannot be had.
bool allocatePixels(PixelBytes& pixels, std::size_t size);

// Test seam: after `allowed` more successful pixel allocations every one
// fails, until called again with a negative value (no limit).
void limitPixelAllocationsForTests(int allowed);

struct DibPicture {
  std::int32_t width = 0;   // in pixels
  std::int32_t height = 0;  // in pixels, always positive; also the number of scan lines
  // A BITMAPINFO: the 40-byte header, then the three colour masks of a
  // BI_BITFIELDS picture or the colour table of a picture of up to 8 bits
  // per pixel (as many RGBQUADs as the header's clrUsed). The header's
  // height keeps its sign, so top-down pictures stay top-down.
  std::vector<std::uint8_t> info;
  // The scan lines the header describes, each padded to 4 bytes; for a
  // run-length picture, the compressed data (the header's sizeImage bytes).
  PixelBytes pixels;
  // Entries for CreatePalette (version 0x300), flags 0; empty when the
  // picture brings no colours of its own.
  std::vector<PaletteEntry> palette;
};
