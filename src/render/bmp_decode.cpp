#include "render/bmp_decode.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/file_io.h"
#include "platform/memory_block.h"
#include "platform/message_box.h"
#include "render/picture_platform.h"

namespace {

constexpr std::uint64_t kInfoHeaderOffset = 14;
constexpr std::uint64_t kHeadersEnd = kInfoHeaderOffset + kDibHeaderBytes;  // 54
constexpr std::uint64_t kMaskBytes = 12;

// The largest accepted picture is kMaxPicturePixels at 32 bits; a file
// much larger than that cannot be one, and is not even read.
constexpr std::size_t kMaxBmpFileBytes = 400'000'000 + (1u << 20);

std::uint32_t paletteSize(const DibHeader& header) {
  std::uint32_t n = header.clrUsed;
  if (n == 0) {
    switch (header.bitCount) {
      case 1: return 2;
      case 4: return 16;
      case 8: return 256;
      default: return 0;
    }
  }
  std::uint32_t selectable = header.bitCount <= 8 ? 1u << header.bitCount : 256u;
  return std::min(n, selectable);
}

bool isRunLength(std::uint32_t compression) {
  return compression == kDibCompressionRle8 || compression == kDibCompressionRle4;
}

bool bitCountAccepted(std::uint16_t bits, std::uint32_t compression, RunLength runLength) {
  if (compression == kDibCompressionBitfields) return bits == 16 || bits == 32;
  if (isRunLength(compression)) {
    if (runLength != RunLength::HandOver) return false;
    return bits == (compression == kDibCompressionRle8 ? 8 : 4);
  }
  if (compression != kDibCompressionRgb) return false;
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Walks the runs of BI_RLE8 / BI_RLE4 data: every escape's operands and
// every literal run (padded to an even length) must lie inside `size`
// bytes. The data may end without its end-of-picture mark; the system then
// stops at its end.
bool runLengthDataInside(const std::uint8_t* data, std::uint64_t size, std::uint16_t bits) {
  std::uint64_t at = 0;
  while (size - at >= 2) {
    const std::uint8_t count = data[at];
    const std::uint8_t code = data[at + 1];
    at += 2;
    if (count != 0) continue;  // a repeated run: its colours are in the pair
    if (code == 0) continue;   // end of line
    if (code == 1) return true;  // end of picture
    std::uint64_t operands = 2;  // code 2: a move right and up
    if (code > 2) {
      operands = bits == 8 ? code : (code + 1u) / 2;
      operands += operands % 2;
    }
    if (operands > size - at) return false;
    at += operands;
  }
  return at == size;
}

void warnNoMemory() {
  showWarningMessage("メモリの確保に失敗しました。ファイルを開くことができません。");
}

}  // namespace

BmpDecodeStatus decodeBmpImage(const std::uint8_t* file, std::size_t size, DibPicture* picture,
                               RunLength runLength) {
  // All offsets and sizes below are 64-bit: no field of the file, nor any
  // sum or product of them, can wrap.
  const std::uint64_t fileSize = size;
  if (fileSize < kHeadersEnd) return BmpDecodeStatus::Refused;
  const std::uint64_t pixelOffset = readLittleEndian32(file + 10);
  const DibHeader header = readDibHeader(file + kInfoHeaderOffset);

  if (header.size < kDibHeaderBytes) return BmpDecodeStatus::Refused;
  const std::uint64_t infoEnd = kInfoHeaderOffset + header.size;
  if (infoEnd > fileSize) return BmpDecodeStatus::Refused;
  if (!bitCountAccepted(header.bitCount, header.compression, runLength)) return BmpDecodeStatus::Refused;
  const bool compressed = isRunLength(header.compression);
  // Run-length data is only defined bottom-up.
  if (compressed && header.height < 0) return BmpDecodeStatus::Refused;

  const std::int64_t width = header.width;
  const std::int64_t height = header.height < 0 ? -static_cast<std::int64_t>(header.height) : header.height;
  if (!pictureSizeAllowed(width, height)) return BmpDecodeStatus::Refused;

  // The masks of a BI_BITFIELDS picture sit at 54 whatever the header
  // size: behind a 40-byte header, or inside the longer ones.
  const bool bitfields = header.compression == kDibCompressionBitfields;
  const std::uint64_t tableOffset = bitfields ? std::max(infoEnd, kHeadersEnd + kMaskBytes) : infoEnd;
  const std::uint32_t colours = paletteSize(header);
  if (tableOffset + 4ull * colours > fileSize) return BmpDecodeStatus::Refused;

  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * header.bitCount + 31) / 32 * 4;
  // Compressed data is as long as the header says; the system reads no
  // further, and neither may any of its runs.
  const std::uint64_t pixelBytes = compressed ? header.sizeImage : stride * static_cast<std::uint64_t>(height);
  if (pixelOffset < tableOffset) return BmpDecodeStatus::Refused;
  if (pixelOffset > fileSize || pixelBytes > fileSize - pixelOffset) return BmpDecodeStatus::Refused;
  if (compressed && (pixelBytes == 0 || !runLengthDataInside(file + pixelOffset, pixelBytes, header.bitCount)))
    return BmpDecodeStatus::Refused;

  DibPicture decoded;
  if (!allocatePixels(decoded.pixels, static_cast<std::size_t>(pixelBytes))) return BmpDecodeStatus::NoMemory;
  std::memcpy(decoded.pixels.data.get(), file + pixelOffset, static_cast<std::size_t>(pixelBytes));

  // Our own header for the platform: the file's may be longer, lie about
  // its image size or leave the colour table count to be guessed.
  const bool indexed = header.bitCount <= 8;
  DibHeader info;
  info.width = header.width;
  info.height = header.height;
  info.bitCount = header.bitCount;
  info.compression = header.compression;
  info.sizeImage = static_cast<std::uint32_t>(pixelBytes);
  info.clrUsed = indexed ? colours : 0;
  appendDibHeader(decoded.info, info);
  if (bitfields) decoded.info.insert(decoded.info.end(), file + kHeadersEnd, file + kHeadersEnd + kMaskBytes);
  if (indexed) decoded.info.insert(decoded.info.end(), file + tableOffset, file + tableOffset + 4ull * colours);

  decoded.palette.resize(colours);
  for (std::uint32_t i = 0; i < colours; ++i) {
    const std::uint8_t* quad = file + tableOffset + 4ull * i;  // blue, green, red, reserved
    decoded.palette[i] = PaletteEntry{quad[2], quad[1], quad[0], 0};
  }
  decoded.width = header.width;
  decoded.height = static_cast<std::int32_t>(height);
  *picture = std::move(decoded);
  return BmpDecodeStatus::Ok;
}

BmpReadStatus decodeBmpFile(const std::string& path, DibPicture* picture) {
  BlockHandle block = nullptr;
  std::size_t size = 0;
  switch (readFileIntoBlockSharingWriters(path, kMaxBmpFileBytes, &block, &size)) {
    case FileReadStatus::Ok: break;
    case FileReadStatus::NoMemory: warnNoMemory(); return BmpReadStatus::NoMemory;
    default: return BmpReadStatus::NotRead;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(lockBlock(block));
  BmpDecodeStatus status =
      decodeBmpImage(bytes, size, picture, systemDrawsRunLength() ? RunLength::HandOver : RunLength::Refuse);
  unlockBlock(block);
  freeBlock(block);
  if (status == BmpDecodeStatus::NoMemory) {
    warnNoMemory();
    return BmpReadStatus::NoMemory;
  }
  return status == BmpDecodeStatus::Ok ? BmpReadStatus::Ok : BmpReadStatus::Refused;
}
