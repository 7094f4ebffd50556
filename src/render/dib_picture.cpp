#include "render/dib_picture.h"

namespace {

int pixelAllocationsLeft = -1;  // negative: no limit

std::uint16_t readU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

std::uint32_t readLittleEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1) return false;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
  return width * height <= kMaxPicturePixels;
}

DibHeader readDibHeader(const std::uint8_t* bytes) {
  DibHeader h;
  h.size = readLittleEndian32(bytes);
  h.width = static_cast<std::int32_t>(readLittleEndian32(bytes + 4));
  h.height = static_cast<std::int32_t>(readLittleEndian32(bytes + 8));
  h.planes = readU16(bytes + 12);
  h.bitCount = readU16(bytes + 14);
  h.compression = readLittleEndian32(bytes + 16);
  h.sizeImage = readLittleEndian32(bytes + 20);
  h.xPelsPerMeter = static_cast<std::int32_t>(readLittleEndian32(bytes + 24));
  h.yPelsPerMeter = static_cast<std::int32_t>(readLittleEndian32(bytes + 28));
  h.clrUsed = readLittleEndian32(bytes + 32);
  h.clrImportant = readLittleEndian32(bytes + 36);
  return h;
}

void appendDibHeader(std::vector<std::uint8_t>& out, const DibHeader& header) {
  appendU32(out, header.size);
  appendU32(out, static_cast<std::uint32_t>(header.width));
  appendU32(out, static_cast<std::uint32_t>(header.height));
  appendU16(out, header.planes);
  appendU16(out, header.bitCount);
  appendU32(out, header.compression);
  appendU32(out, header.sizeImage);
  appendU32(out, static_cast<std::uint32_t>(header.xPelsPerMeter));
  appendU32(out, static_cast<std::uint32_t>(header.yPelsPerMeter));
  appendU32(out, header.clrUsed);
  appendU32(out, header.clrImportant);
}

void limitPixelAllocationsForTests(int allowed) { pixelAllocationsLeft = allowed; }

bool allocatePixels(PixelBytes& pixels, std::size_t size) {
  pixels.data.reset();
  pixels.size = 0;
  if (pixelAllocationsLeft == 0) return false;
  // calloc: padding bytes are defined, and large blocks come as fresh
  // zero pages that cost nothing until they are written.
  auto* memory = static_cast<std::uint8_t*>(std::calloc(size > 0 ? size : 1, 1));
  if (!memory) return false;
  if (pixelAllocationsLeft > 0) --pixelAllocationsLeft;
  pixels.data.reset(memory);
  pixels.size = size;
  return true;
}
