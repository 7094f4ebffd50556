#pragma once
// Shared by the picture decoder tests: fixtures, byte patching, and what a
// decoded picture looks like once the platform draws it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "render/dib_picture.h"
#include "test_support.h"

namespace picture_testing {

inline std::string fixturePath(const std::string& name) {
  return std::string(SORVANE_TEST_DATA) + "/pictures/" + name;
}

inline std::string fixture(const std::string& name) {
  std::string bytes = testing_support::readBytes(fixturePath(name));
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

inline void putU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

inline void putU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

inline std::uint32_t getU32(const std::string& bytes, std::size_t offset) {
  return readLittleEndian32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

// A channel of a 16-bit pixel under `mask`, widened to 8 bits by
// repeating its bits, as GDI does.
inline std::uint8_t maskedChannel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  int bits = 0;
  while ((mask >> (shift + bits)) & 1) ++bits;
  std::uint32_t value = (pixel & mask) >> shift;
  std::uint32_t wide = value << (8 - bits);
  for (int filled = bits; filled < 8; filled += bits) wide |= wide >> bits;
  return static_cast<std::uint8_t>(wide);
}

// The pixels as the platform shows a DIB: rows top to bottom, each pixel
// blue, green, red, no padding. Handles what the decoders hand over:
// 1-, 4- and 8-bit indexed, 24- and 32-bit BI_RGB and 16-bit BI_BITFIELDS
// pictures.
inline std::string visiblePixels(const DibPicture& picture) {
  if (picture.info.size() < kDibHeaderBytes) {
    ADD_FAILURE() << "no information header";
    return {};
  }
  const DibHeader h = readDibHeader(picture.info.data());
  const std::size_t width = static_cast<std::size_t>(h.width);
  const std::size_t height = static_cast<std::size_t>(h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height);
  const std::size_t stride = (width * h.bitCount + 31) / 32 * 4;
  if (picture.pixels.size < stride * height) {
    ADD_FAILURE() << "pixel rows shorter than the header says";
    return {};
  }
  const std::uint8_t* table = picture.info.data() + kDibHeaderBytes;
  std::string out;
  out.reserve(width * height * 3);
  for (std::size_t y = 0; y < height; ++y) {
    const std::size_t stored = h.height < 0 ? y : height - 1 - y;
    const std::uint8_t* row = picture.pixels.data.get() + stored * stride;
    for (std::size_t x = 0; x < width; ++x) {
      if (h.bitCount <= 8) {
        const std::size_t bit = x * h.bitCount;
        const unsigned index = (row[bit / 8] >> (8 - h.bitCount - bit % 8)) & ((1u << h.bitCount) - 1);
        if (index >= h.clrUsed) {
          ADD_FAILURE() << "index " << index << " beyond the colour table";
          return {};
        }
        out.append(reinterpret_cast<const char*>(table + 4 * index), 3);
      } else if (h.bitCount == 16 && h.compression == kDibCompressionBitfields) {
        const std::uint32_t pixel = row[2 * x] | row[2 * x + 1] << 8;
        const std::uint8_t* masks = picture.info.data() + kDibHeaderBytes;
        out += static_cast<char>(maskedChannel(pixel, readLittleEndian32(masks + 8)));
        out += static_cast<char>(maskedChannel(pixel, readLittleEndian32(masks + 4)));
        out += static_cast<char>(maskedChannel(pixel, readLittleEndian32(masks)));
      } else {
        out.append(reinterpret_cast<const char*>(row + x * (h.bitCount / 8)), 3);
      }
    }
  }
  return out;
}

// Copies the bytes into memory of exactly their size, so that the
// sanitizers see any read past the end.
class ExactBytes {
 public:
  explicit ExactBytes(const std::string& bytes) : size_(bytes.size()), data_(new std::uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]) {
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
  }
  const std::uint8_t* data() const { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> data_;
};

// Collects what is written to the standard error stream while alive.
class StderrCapture {
 public:
  StderrCapture() { testing::internal::CaptureStderr(); }
  ~StderrCapture() {
    if (!taken_) testing::internal::GetCapturedStderr();
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;
  std::string take() {
    taken_ = true;
    return testing::internal::GetCapturedStderr();
  }

 private:
  bool taken_ = false;
};

}  // namespace picture_testing
