// BMP pictures: what the platform is handed for good files of every depth,
// and that no bad file is handed over or read beyond its end.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <utility>

#include "picture_test_util.h"
#include "platform/memory_block.h"
#include "render/bmp_decode.h"
#include "render/picture_platform.h"

using picture_testing::ExactBytes;
using picture_testing::fixture;
using picture_testing::getU32;
using picture_testing::putU16;
using picture_testing::putU32;
using picture_testing::visiblePixels;

namespace {

// Offsets of the fields the tests change.
constexpr std::size_t kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kBitCount = 28,
                      kCompression = 30, kClrUsed = 46;

BmpDecodeStatus decode(const std::string& bytes, DibPicture* picture) {
  ExactBytes exact(bytes);
  return decodeBmpImage(exact.data(), exact.size(), picture);
}

BmpDecodeStatus decodeStatus(const std::string& bytes) {
  DibPicture picture;
  return decode(bytes, &picture);
}

// A 24-bit picture turned into 32 bits per pixel (blue, green, red, 0).
std::string to32Bit(const std::string& bmp24) {
  const std::size_t width = getU32(bmp24, kWidth), height = getU32(bmp24, kHeight);
  const std::size_t stride24 = (width * 3 + 3) / 4 * 4;
  std::string out = bmp24.substr(0, 54);
  putU16(out, kBitCount, 32);
  putU32(out, kOffBits, 54);
  for (std::size_t y = 0; y < height; ++y)
    for (std::size_t x = 0; x < width; ++x) out += bmp24.substr(54 + y * stride24 + x * 3, 3) + '\0';
  return out;
}

// The rows of a bottom-up picture stored top-down, with a negative height.
std::string toTopDown(const std::string& bmp) {
  const std::uint32_t offset = getU32(bmp, kOffBits);
  const std::int32_t height = static_cast<std::int32_t>(getU32(bmp, kHeight));
  const std::size_t stride = (bmp.size() - offset) / static_cast<std::size_t>(height);
  std::string out = bmp.substr(0, offset);
  for (std::int32_t y = height - 1; y >= 0; --y) out += bmp.substr(offset + static_cast<std::size_t>(y) * stride, stride);
  putU32(out, kHeight, static_cast<std::uint32_t>(-height));
  return out;
}

// The same picture with a 124-byte information header: the colour table
// moves 84 bytes back, behind it.
std::string withLongHeader(const std::string& bmp) {
  std::string out = bmp.substr(0, 54) + std::string(84, '\x55') + bmp.substr(54);
  putU32(out, kInfoSize, 124);
  putU32(out, kOffBits, getU32(bmp, kOffBits) + 84);
  return out;
}

void expectDecodesLike(const std::string& bmpName, const std::string& bgrName) {
  DibPicture picture;
  ASSERT_EQ(decode(fixture(bmpName), &picture), BmpDecodeStatus::Ok) << bmpName;
  EXPECT_EQ(picture.width, 301);
  EXPECT_EQ(picture.height, 7);
  EXPECT_EQ(visiblePixels(picture), fixture(bgrName)) << bmpName;
}

}  // namespace

// --- Good pictures: each depth shows exactly the pixels convert reads. ---

TEST(PictureBmp, EveryDepthShowsThePixelsConvertReads) {
  expectDecodesLike("bmp1.bmp", "bmp1.bgr");
  expectDecodesLike("bmp4.bmp", "bmp4.bgr");
  expectDecodesLike("bmp8.bmp", "bmp8.bgr");
  expectDecodesLike("bmp24.bmp", "bmp24.bgr");
}

TEST(PictureBmp, HeaderHandedOverIsAClean40ByteOneWithTheColourTable) {
  const std::string file = fixture("bmp4.bmp");
  DibPicture picture;
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  ASSERT_EQ(picture.info.size(), 40u + 16 * 4);
  const DibHeader h = readDibHeader(picture.info.data());
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, 301);
  EXPECT_EQ(h.height, 7);
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, 4);
  EXPECT_EQ(h.compression, kDibCompressionRgb);
  EXPECT_EQ(h.clrUsed, 16u);
  EXPECT_EQ(h.sizeImage, 152u * 7);  // 301 nibbles padded to 152 bytes
  EXPECT_EQ(std::string(picture.info.begin() + 40, picture.info.end()), file.substr(54, 64));
  EXPECT_EQ(picture.pixels.size, 152u * 7);
}

TEST(PictureBmp, PaletteEntriesComeFromTheColourTableAsRedGreenBlue) {
  std::string file = fixture("bmp8.bmp");
  putU32(file, kClrUsed, 0);  // the count then follows the bit count
  DibPicture picture;
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  ASSERT_EQ(picture.palette.size(), 256u);
  for (std::size_t i = 0; i < 256; ++i) {
    EXPECT_EQ(picture.palette[i].red, static_cast<std::uint8_t>(file[56 + 4 * i]));
    EXPECT_EQ(picture.palette[i].green, static_cast<std::uint8_t>(file[55 + 4 * i]));
    EXPECT_EQ(picture.palette[i].blue, static_cast<std::uint8_t>(file[54 + 4 * i]));
    EXPECT_EQ(picture.palette[i].flags, 0);
  }
  EXPECT_EQ(visiblePixels(picture), fixture("bmp8.bgr"));
}

TEST(PictureBmp, PaletteSizesPerDepth) {
  DibPicture picture;
  ASSERT_EQ(decode(fixture("bmp1.bmp"), &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.palette.size(), 2u);
  ASSERT_EQ(decode(fixture("bmp4.bmp"), &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.palette.size(), 16u);
  ASSERT_EQ(decode(fixture("bmp24.bmp"), &picture), BmpDecodeStatus::Ok);
  EXPECT_TRUE(picture.palette.empty());
  EXPECT_EQ(picture.info.size(), 40u);
}

TEST(PictureBmp, TopDownPicturesStayTopDownWithAPositiveHeight) {
  DibPicture picture;
  ASSERT_EQ(decode(toTopDown(fixture("bmp24.bmp")), &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.height, 7);
  EXPECT_EQ(readDibHeader(picture.info.data()).height, -7);
  EXPECT_EQ(visiblePixels(picture), fixture("bmp24.bgr"));
  ASSERT_EQ(decode(toTopDown(fixture("bmp8.bmp")), &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(visiblePixels(picture), fixture("bmp8.bgr"));
}

TEST(PictureBmp, LongerInformationHeadersTakeTheColourTableBehindThem) {
  DibPicture picture;
  ASSERT_EQ(decode(withLongHeader(fixture("bmp8.bmp")), &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(readDibHeader(picture.info.data()).size, 40u);
  EXPECT_EQ(visiblePixels(picture), fixture("bmp8.bgr"));
  DibPicture plain;
  ASSERT_EQ(decode(fixture("bmp8.bmp"), &plain), BmpDecodeStatus::Ok);
  ASSERT_EQ(picture.palette.size(), plain.palette.size());
  EXPECT_EQ(picture.palette[37].red, plain.palette[37].red);
  EXPECT_EQ(picture.palette[37].blue, plain.palette[37].blue);
}

// --- 16- and 32-bit pictures: accepted, no palette of their own. ---

TEST(PictureBmp, BitfieldsBehind108And124ByteHeadersShowTheirPixels) {
  // convert writes 5-6-5 masks inside a 124-byte header; the 108-byte form
  // is the same without the last 16 header bytes. Either way the masks sit
  // at 54 and the pixels follow the header.
  const std::string v5 = fixture("bitfields565.bmp");
  ASSERT_EQ(getU32(v5, kInfoSize), 124u);
  std::string v4 = v5.substr(0, 14 + 108) + v5.substr(14 + 124);
  putU32(v4, kInfoSize, 108);
  putU32(v4, kOffBits, getU32(v5, kOffBits) - 16);
  for (const std::string& file : {v5, v4}) {
    DibPicture picture;
    ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok) << getU32(file, kInfoSize);
    ASSERT_EQ(picture.info.size(), 52u);
    EXPECT_EQ(readDibHeader(picture.info.data()).size, 40u);
    EXPECT_EQ(std::string(picture.info.begin() + 40, picture.info.end()), file.substr(54, 12));
    EXPECT_TRUE(picture.palette.empty());
    EXPECT_EQ(visiblePixels(picture), fixture("bitfields565.bgr")) << getU32(file, kInfoSize);
  }
}

TEST(PictureBmp, ThirtyTwoBitPicturesHaveNoPalette) {
  DibPicture picture;
  ASSERT_EQ(decode(to32Bit(fixture("bmp24.bmp")), &picture), BmpDecodeStatus::Ok);
  EXPECT_TRUE(picture.palette.empty());
  EXPECT_EQ(picture.info.size(), 40u);
  EXPECT_EQ(visiblePixels(picture), fixture("bmp24.bgr"));
}

TEST(PictureBmp, SixteenBitPicturesPassWithTheirMasks) {
  // 3 x 2 pixels of 5-6-5, masks behind the 40-byte header.
  std::string file(54, '\0');
  putU32(file, kOffBits, 66);
  putU32(file, kInfoSize, 40);
  putU32(file, kWidth, 3);
  putU32(file, kHeight, 2);
  putU16(file, 26, 1);
  putU16(file, kBitCount, 16);
  putU32(file, kCompression, kDibCompressionBitfields);
  std::string masks(12, '\0');
  putU32(masks, 0, 0xF800);
  putU32(masks, 4, 0x07E0);
  putU32(masks, 8, 0x001F);
  // Rows of 3 pixels padded to 8 bytes: blue, green, red; white, black, black.
  const std::string pixels("\x1f\x00\xe0\x07\x00\xf8\x00\x00" "\xff\xff\x00\x00\x00\x00\x00\x00", 16);
  file += masks + pixels;

  DibPicture picture;
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  EXPECT_TRUE(picture.palette.empty());
  ASSERT_EQ(picture.info.size(), 52u);
  EXPECT_EQ(std::string(picture.info.begin() + 40, picture.info.end()), masks);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(picture.pixels.data.get()), picture.pixels.size),
            pixels);

  // The same as BI_RGB (5-5-5) needs no masks.
  putU32(file, kCompression, kDibCompressionRgb);
  putU32(file, kOffBits, 54);
  file.erase(54, 12);
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.info.size(), 40u);
  EXPECT_TRUE(picture.palette.empty());
}

// --- Bad files: refused, never read beyond their end. ---

TEST(PictureBmpFault, EveryCutOfAFileShortOfItsPixelsIsRefused) {
  for (const char* name : {"bmp1.bmp", "bmp8.bmp", "bmp24.bmp"}) {
    const std::string file = fixture(name);
    for (std::size_t length = 0; length < file.size(); ++length)
      EXPECT_EQ(decodeStatus(file.substr(0, length)), BmpDecodeStatus::Refused) << name << " cut to " << length;
  }
}

TEST(PictureBmpFault, ColourTableBeyondTheEndIsRefused) {
  // A 1 x 1 8-bit picture whose 256-entry table would run 1016 bytes past
  // the end of the file; the pixel sits right behind 2 entries.
  std::string file = fixture("bmp8.bmp").substr(0, 54) + std::string(12, '\0');
  putU32(file, kWidth, 1);
  putU32(file, kHeight, 1);
  putU32(file, kClrUsed, 0);
  putU32(file, kOffBits, 62);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  putU32(file, kClrUsed, 2);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Ok);
}

TEST(PictureBmpFault, PixelRowsBeyondTheEndAreRefused) {
  std::string file = fixture("bmp24.bmp");
  putU32(file, kHeight, 8);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  file = fixture("bmp24.bmp");
  putU32(file, kWidth, 302);  // the padding no longer covers the wider rows
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
}

TEST(PictureBmpFault, PixelOffsetPastTheEndIsRefused) {
  std::string file = fixture("bmp24.bmp");
  for (std::uint32_t offset : {static_cast<std::uint32_t>(file.size()), static_cast<std::uint32_t>(file.size() + 1),
                               0x7FFFFFFFu, 0xFFFFFFFFu}) {
    putU32(file, kOffBits, offset);
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << offset;
  }
}

TEST(PictureBmpFault, PixelOffsetInsideTheHeadersIsRefused) {
  std::string file = fixture("bmp24.bmp");
  for (std::uint32_t offset : {0u, 10u, 14u, 53u}) {
    putU32(file, kOffBits, offset);
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << offset;
  }
  // Behind a 124-byte header the pixels cannot start before 138.
  file = withLongHeader(fixture("bmp24.bmp"));
  putU32(file, kOffBits, 137);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
}

TEST(PictureBmpFault, PixelOffsetThatWrapsA32BitSumIsRefused) {
  // offset + 6328 pixel bytes is 0x100000000 + 54: in 32 bits it would
  // look like the picture ended at byte 54.
  std::string file = fixture("bmp24.bmp");
  putU32(file, kOffBits, static_cast<std::uint32_t>(0x100000000ull + 54 - 6328));
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
}

TEST(PictureBmpFault, ZeroAndNegativeSizesAreRefused) {
  for (std::int32_t width : {0, -1, -301, INT_MIN}) {
    std::string file = fixture("bmp24.bmp");
    putU32(file, kWidth, static_cast<std::uint32_t>(width));
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << width;
  }
  for (std::int32_t height : {0, INT_MIN}) {
    std::string file = fixture("bmp24.bmp");
    putU32(file, kHeight, static_cast<std::uint32_t>(height));
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << height;
  }
}

TEST(PictureBmpFault, PicturesAboveTheSizeLimitAreRefusedBeforeAllocating) {
  // The sizes are refused as such, not for lack of memory or of file.
  limitPixelAllocationsForTests(0);
  struct Size {
    std::int32_t width, height;
  };
  for (Size size : {Size{16385, 1}, Size{1, 16385}, Size{1, -16385}, Size{10001, 10000}, Size{16384, 6104},
                    Size{65537, 65537}, Size{INT_MAX, INT_MAX}}) {
    std::string file = fixture("bmp24.bmp");
    putU32(file, kWidth, static_cast<std::uint32_t>(size.width));
    putU32(file, kHeight, static_cast<std::uint32_t>(size.height));
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << size.width << " x " << size.height;
  }
  limitPixelAllocationsForTests(-1);
}

TEST(PictureBmpFault, SizeProductsThatOverflow32BitsAreRefused) {
  // 0x40000001 pixels of 32 bits: the row size wraps to 4 bytes in 32-bit
  // arithmetic, so a 4-byte file would seem to hold the picture.
  std::string file = fixture("bmp24.bmp").substr(0, 58);
  putU16(file, kBitCount, 32);
  putU32(file, kWidth, 0x40000001);
  putU32(file, kHeight, 1);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  putU32(file, kWidth, 1);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Ok);
}

TEST(PictureBmpFault, LargestAllowedWidthIsStillAccepted) {
  std::string file = fixture("bmp24.bmp").substr(0, 54) + std::string(16384 * 3, '\x7f');
  putU32(file, kWidth, 16384);
  putU32(file, kHeight, 1);
  DibPicture picture;
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.width, 16384);
}

TEST(PictureBmpFault, ColourCountsAbove256AreCapped) {
  for (std::uint32_t count : {257u, 1000u, 0xFFFFFFFFu}) {
    std::string file = fixture("bmp8.bmp");
    putU32(file, kClrUsed, count);
    DibPicture picture;
    ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok) << count;
    EXPECT_EQ(picture.palette.size(), 256u);
    EXPECT_EQ(readDibHeader(picture.info.data()).clrUsed, 256u);
    EXPECT_EQ(picture.info.size(), 40u + 1024);
    EXPECT_EQ(visiblePixels(picture), fixture("bmp8.bgr"));
  }
  // A 1-bit picture can select only two colours, whatever it claims.
  std::string file = fixture("bmp1.bmp");
  putU32(file, kClrUsed, 200);
  DibPicture picture;
  ASSERT_EQ(decode(file, &picture), BmpDecodeStatus::Ok);
  EXPECT_EQ(picture.palette.size(), 2u);
}

TEST(PictureBmpFault, CompressedPicturesAreRefused) {
  std::string file = fixture("bmp8.bmp");
  putU32(file, kCompression, 1);  // BI_RLE8
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  file = fixture("bmp4.bmp");
  putU32(file, kCompression, 2);  // BI_RLE4
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  for (std::uint32_t compression : {4u, 5u, 6u, 0xFFFFFFFFu}) {
    file = fixture("bmp24.bmp");
    putU32(file, kCompression, compression);
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << compression;
  }
  // Masks make sense only with 16 and 32 bits.
  file = fixture("bmp24.bmp");
  putU32(file, kCompression, kDibCompressionBitfields);
  EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
}

TEST(PictureBmpFault, UnknownBitCountsAreRefused) {
  for (std::uint16_t bits : {0, 2, 3, 7, 48, 64, 0xFFFF}) {
    std::string file = fixture("bmp24.bmp");
    putU16(file, kBitCount, bits);
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << bits;
  }
}

TEST(PictureBmpFault, ShortOrEndlessInformationHeadersAreRefused) {
  for (std::uint32_t size : {0u, 12u, 39u, 6400u, 0xFFFFFFFFu}) {
    std::string file = fixture("bmp24.bmp");
    putU32(file, kInfoSize, size);
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused) << size;
  }
}

TEST(PictureBmpFault, RandomHeaderDamageNeverReadsOutsideTheFile) {
  // Under the sanitizers any stray read fails this; everywhere, what is
  // accepted must be self-consistent.
  std::mt19937 random(20240611);
  for (const char* name : {"bmp1.bmp", "bmp4.bmp", "bmp8.bmp", "bmp24.bmp"}) {
    const std::string original = fixture(name);
    for (int round = 0; round < 3000; ++round) {
      std::string file = original;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) file[random() % 58] = static_cast<char>(random());
      if (random() % 4 == 0) file.resize(random() % file.size());
      DibPicture picture;
      if (decode(file, &picture) != BmpDecodeStatus::Ok) continue;
      const DibHeader h = readDibHeader(picture.info.data());
      EXPECT_EQ(picture.pixels.size, h.sizeImage);
      EXPECT_LE(picture.palette.size(), 256u);
      EXPECT_TRUE(pictureSizeAllowed(picture.width, picture.height));
    }
  }
}

// --- Reading the file. ---

namespace {

class PictureBmpFile : public ::testing::Test {
 protected:
  ~PictureBmpFile() override {
    limitBlockAllocationsForTests(-1);
    limitPixelAllocationsForTests(-1);
  }

  // A picture from an earlier load, which a failure must leave alone.
  static DibPicture earlierPicture() {
    DibPicture picture;
    picture.width = 5;
    picture.height = 6;
    picture.info.assign(40, 1);
    return picture;
  }

  static void expectUntouched(const DibPicture& picture) {
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.height, 6);
    EXPECT_EQ(picture.info.size(), 40u);
  }

  testing_support::TempDir dir_;
};

const char kNoMemoryText[] = "メモリの確保に失敗しました。ファイルを開くことができません。";

}  // namespace

TEST_F(PictureBmpFile, AGoodFileIsDecoded) {
  DibPicture picture;
  ASSERT_EQ(decodeBmpFile(picture_testing::fixturePath("bmp24.bmp"), &picture), BmpReadStatus::Ok);
  EXPECT_EQ(visiblePixels(picture), fixture("bmp24.bgr"));
}

TEST_F(PictureBmpFile, MissingEmptyAndBadFilesFailSilently) {
  testing_support::WarningCapture warnings;
  const std::string empty = dir_.file("empty.bmp");
  testing_support::writeBytes(empty, "");
  const std::string bad = dir_.file("bad.bmp");
  testing_support::writeBytes(bad, fixture("bmp24.bmp").substr(0, 100));

  DibPicture picture = earlierPicture();
  EXPECT_EQ(decodeBmpFile(dir_.file("missing.bmp"), &picture), BmpReadStatus::NotRead);
  EXPECT_EQ(decodeBmpFile(empty, &picture), BmpReadStatus::NotRead);
  EXPECT_EQ(decodeBmpFile(bad, &picture), BmpReadStatus::Refused);
  expectUntouched(picture);
  EXPECT_TRUE(warnings.messages().empty());
}

TEST_F(PictureBmpFile, NoMemoryForTheFileImageWarns) {
  testing_support::WarningCapture warnings;
  limitBlockAllocationsForTests(0);
  DibPicture picture = earlierPicture();
  EXPECT_EQ(decodeBmpFile(picture_testing::fixturePath("bmp24.bmp"), &picture), BmpReadStatus::NoMemory);
  expectUntouched(picture);
  ASSERT_EQ(warnings.messages().size(), 1u);
  EXPECT_EQ(warnings.messages()[0], kNoMemoryText);
}

TEST_F(PictureBmpFile, NoMemoryForThePixelsWarns) {
  testing_support::WarningCapture warnings;
  limitPixelAllocationsForTests(0);
  DibPicture picture = earlierPicture();
  EXPECT_EQ(decodeBmpFile(picture_testing::fixturePath("bmp8.bmp"), &picture), BmpReadStatus::NoMemory);
  expectUntouched(picture);
  ASSERT_EQ(warnings.messages().size(), 1u);
  EXPECT_EQ(warnings.messages()[0], kNoMemoryText);
}

// --- Run-length pictures: checked here, decoded by the system. ---

namespace {

constexpr std::size_t kSizeImage = 34;

BmpDecodeStatus decodeHandingOver(const std::string& bytes, DibPicture* picture) {
  ExactBytes exact(bytes);
  return decodeBmpImage(exact.data(), exact.size(), picture, RunLength::HandOver);
}

BmpDecodeStatus handOverStatus(const std::string& bytes) {
  DibPicture picture;
  return decodeHandingOver(bytes, &picture);
}

}  // namespace

TEST(PictureBmpRunLength, CompressedDataIsHandedOverWithItsColourTable) {
  struct Case {
    const char* name;
    const char* plain;
    std::uint32_t compression;
    std::size_t colours;
  };
  for (Case c : {Case{"rle8.bmp", "bmp8.bmp", 1, 256}, Case{"rle4.bmp", "bmp4.bmp", 2, 16}}) {
    const std::string file = fixture(c.name);
    const std::uint32_t offset = getU32(file, kOffBits), size = getU32(file, kSizeImage);
    DibPicture picture;
    ASSERT_EQ(decodeHandingOver(file, &picture), BmpDecodeStatus::Ok) << c.name;
    EXPECT_EQ(picture.width, 301);
    EXPECT_EQ(picture.height, 7);
    const DibHeader h = readDibHeader(picture.info.data());
    EXPECT_EQ(h.compression, c.compression);
    EXPECT_EQ(h.height, 7);
    EXPECT_EQ(h.sizeImage, size);
    EXPECT_EQ(h.clrUsed, c.colours);
    EXPECT_EQ(picture.info.size(), 40 + 4 * c.colours);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(picture.pixels.data.get()), picture.pixels.size),
              file.substr(offset, size));
    // The same colours as the uncompressed picture they were made from.
    DibPicture plain;
    ASSERT_EQ(decode(fixture(c.plain), &plain), BmpDecodeStatus::Ok);
    ASSERT_EQ(picture.palette.size(), c.colours);
    for (std::size_t i = 0; i < c.colours; ++i) EXPECT_EQ(picture.palette[i].red, plain.palette[i].red) << i;

    // Where nothing can draw them they stay refused.
    EXPECT_EQ(decodeStatus(file), BmpDecodeStatus::Refused);
  }
  // Reading the file hands them over only where the system draws them.
  DibPicture picture;
  EXPECT_EQ(decodeBmpFile(picture_testing::fixturePath("rle8.bmp"), &picture),
            systemDrawsRunLength() ? BmpReadStatus::Ok : BmpReadStatus::Refused);
}

TEST(PictureBmpRunLength, DataTheHeaderClaimsMustLieInsideTheFile) {
  const std::string rle8 = fixture("rle8.bmp");
  const std::uint32_t offset = getU32(rle8, kOffBits), size = getU32(rle8, kSizeImage);
  ASSERT_EQ(offset + size, rle8.size());
  // Every cut of the file leaves the claimed data outside it.
  for (std::size_t length = 0; length < rle8.size(); ++length)
    EXPECT_EQ(handOverStatus(rle8.substr(0, length)), BmpDecodeStatus::Refused) << "cut to " << length;
  std::string file = rle8;
  for (std::uint32_t claimed : {0u, size + 1, 0xFFFFFFFFu, 0x80000000u}) {
    putU32(file, kSizeImage, claimed);
    EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Refused) << claimed;
  }
  // Run-length data is bottom-up only, and each kind has its depth.
  file = rle8;
  putU32(file, kHeight, static_cast<std::uint32_t>(-7));
  EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Refused);
  file = fixture("rle4.bmp");
  putU32(file, kCompression, 1);
  EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Refused);
}

TEST(PictureBmpRunLength, NoRunReachesBeyondTheClaimedData) {
  // A 4 x 1 RLE8 picture: a literal run of 4 pixels, end of picture.
  std::string file = fixture("rle8.bmp").substr(0, 54) + std::string(8, '\0');
  putU32(file, kWidth, 4);
  putU32(file, kHeight, 1);
  putU32(file, kClrUsed, 2);
  putU32(file, kOffBits, 62);
  const std::string runs("\x00\x04\x01\x00\x01\x00\x00\x01", 8);
  file += runs;
  putU32(file, kSizeImage, 8);
  EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Ok);
  // Claimed data that ends inside the literal run, or inside a move's
  // operands, is refused although the file holds the bytes.
  for (std::uint32_t claimed : {3u, 5u}) {
    putU32(file, kSizeImage, claimed);
    EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Refused) << claimed;
  }
  std::string moved = file.substr(0, 62) + std::string("\x00\x02\x01", 3);
  putU32(moved, kSizeImage, 3);
  EXPECT_EQ(handOverStatus(moved), BmpDecodeStatus::Refused);
  // Data that simply stops without its end mark is the system's to finish.
  putU32(file, kSizeImage, 6);
  EXPECT_EQ(handOverStatus(file), BmpDecodeStatus::Ok);
}
