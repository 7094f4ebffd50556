// JPEG pictures through libjpeg: the rows handed to the platform for good
// files, and how every kind of bad file ends.
#include <gtest/gtest.h>

#include <string>

#include "picture_test_util.h"
#include "platform/file_io.h"
#include "platform/stdio_file.h"
#include "render/jpeg_decode.h"

using picture_testing::fixture;
using picture_testing::fixturePath;
using picture_testing::StderrCapture;
using picture_testing::visiblePixels;

namespace {

struct Segment {
  std::size_t offset = std::string::npos;  // of the 0xFF of its marker
  std::size_t end = 0;                     // past its length-counted part
};

// Walks the marker segments from the start of the file up to the first
// start-of-scan; finds the first segment with `marker`.
Segment findSegment(const std::string& jpeg, unsigned char marker) {
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const auto code = static_cast<unsigned char>(jpeg[at + 1]);
    const std::size_t length = static_cast<unsigned char>(jpeg[at + 2]) * 256u + static_cast<unsigned char>(jpeg[at + 3]);
    if (code == marker) return Segment{at, at + 2 + length};
    if (code == 0xDA) break;
    at += 2 + length;
  }
  ADD_FAILURE() << "no marker " << static_cast<int>(marker);
  return Segment{};
}

// The end of the entropy-coded data that follows a start-of-scan segment:
// the next marker other than a stuffed 0xFF00 or a restart marker.
std::size_t scanDataEnd(const std::string& jpeg, std::size_t from) {
  for (std::size_t i = from; i + 1 < jpeg.size(); ++i) {
    const auto next = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && next != 0 && !(next >= 0xD0 && next <= 0xD7)) return i;
  }
  return jpeg.size();
}

std::string frameHeaderOf(const std::string& jpeg) {
  Segment sof = findSegment(jpeg, 0xC0);
  return jpeg.substr(sof.offset, sof.end - sof.offset);
}

// Sets the sample precision, height or width of the baseline frame header.
std::string withFrame(std::string jpeg, int precision, int height, int width) {
  Segment sof = findSegment(jpeg, 0xC0);
  jpeg[sof.offset + 4] = static_cast<char>(precision);
  jpeg[sof.offset + 5] = static_cast<char>(height >> 8);
  jpeg[sof.offset + 6] = static_cast<char>(height);
  jpeg[sof.offset + 7] = static_cast<char>(width >> 8);
  jpeg[sof.offset + 8] = static_cast<char>(width);
  return jpeg;
}

std::string appSegment(unsigned char marker, std::size_t payload) {
  const std::size_t length = payload + 2;
  std::string segment = {'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8), static_cast<char>(length)};
  return segment + std::string(payload, 'x');
}

struct Outcome {
  JpegReadStatus status;
  std::string messages;  // what went to the standard error stream
};

class PictureJpeg : public ::testing::Test {
 protected:
  ~PictureJpeg() override { limitPixelAllocationsForTests(-1); }

  // Decodes `bytes` from a file, with the standard error stream captured.
  Outcome decodeBytes(const std::string& bytes, DibPicture* picture) {
    const std::string path = dir_.file("picture.jpg");
    testing_support::writeBytes(path, bytes);
    StderrCapture capture;
    JpegReadStatus status = decodeJpegFile(path, picture);
    return Outcome{status, capture.take()};
  }

  Outcome decodeBytes(const std::string& bytes) {
    DibPicture picture = earlierPicture();
    Outcome outcome = decodeBytes(bytes, &picture);
    if (outcome.status != JpegReadStatus::Ok) expectUntouched(picture);
    return outcome;
  }

  static DibPicture earlierPicture() {
    DibPicture picture;
    picture.width = 5;
    picture.height = 6;
    picture.info.assign(40, 1);
    picture.palette.resize(3);
    return picture;
  }

  static void expectUntouched(const DibPicture& picture) {
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.height, 6);
    EXPECT_EQ(picture.info.size(), 40u);
    EXPECT_EQ(picture.palette.size(), 3u);
  }

  void expectDecodesLike(const std::string& jpegName, const std::string& bgrName, int width, int height) {
    DibPicture picture = earlierPicture();
    Outcome outcome = decodeBytes(fixture(jpegName), &picture);
    ASSERT_EQ(outcome.status, JpegReadStatus::Ok) << jpegName << ": " << outcome.messages;
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    EXPECT_TRUE(picture.palette.empty());
    EXPECT_EQ(visiblePixels(picture), fixture(bgrName)) << jpegName;
  }

  testing_support::TempDir dir_;
};

}  // namespace

// --- Good pictures: exactly the pixels convert reads from the same file. ---

TEST_F(PictureJpeg, ColourGrayAndProgressivePicturesShowConvertsPixels) {
  expectDecodesLike("colour301.jpg", "colour301.bgr", 301, 7);  // 4:2:0, odd size
  expectDecodesLike("colour300.jpg", "colour300.bgr", 300, 5);
  expectDecodesLike("colour303.jpg", "colour303.bgr", 303, 4);  // 4:2:2
  expectDecodesLike("colour2.jpg", "colour2.bgr", 2, 3);
  expectDecodesLike("gray.jpg", "gray.bgr", 301, 7);  // one component, widened
  expectDecodesLike("progressive.jpg", "progressive.bgr", 160, 120);
  // Stored as RGB (cjpeg -rgb): the library must not treat it as YCbCr.
  expectDecodesLike("rgb.jpg", "rgb.bgr", 37, 9);
}

TEST_F(PictureJpeg, RowsArePaddedToFourBytesWithOneSpareByteEach) {
  EXPECT_EQ(jpegRowBytes(301), 904u);  // 903 + 1
  EXPECT_EQ(jpegRowBytes(300), 900u);
  EXPECT_EQ(jpegRowBytes(1), 4u);
  EXPECT_EQ(jpegRowBytes(2), 8u);
  EXPECT_EQ(jpegRowBytes(3), 12u);

  DibPicture picture;
  ASSERT_EQ(decodeBytes(fixture("colour301.jpg"), &picture).status, JpegReadStatus::Ok);
  EXPECT_EQ(picture.pixels.size, 905u * 7);
  for (std::size_t row = 0; row < 7; ++row)
    EXPECT_EQ(picture.pixels.data[row * 904 + 903], 0) << "padding of row " << row;
  ASSERT_EQ(decodeBytes(fixture("colour300.jpg"), &picture).status, JpegReadStatus::Ok);
  EXPECT_EQ(picture.pixels.size, 901u * 5);
  ASSERT_EQ(decodeBytes(fixture("colour303.jpg"), &picture).status, JpegReadStatus::Ok);
  EXPECT_EQ(picture.pixels.size, 913u * 4);  // 909 + 3 bytes a row, and the spare one
}

TEST_F(PictureJpeg, HeaderDescribesTopDown24BitRows) {
  DibPicture picture;
  ASSERT_EQ(decodeBytes(fixture("colour301.jpg"), &picture).status, JpegReadStatus::Ok);
  ASSERT_EQ(picture.info.size(), 40u);
  const DibHeader h = readDibHeader(picture.info.data());
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, 301);
  EXPECT_EQ(h.height, -7);
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, 24);
  EXPECT_EQ(h.compression, kDibCompressionRgb);
  EXPECT_EQ(h.sizeImage, 0u);
  EXPECT_EQ(h.xPelsPerMeter, 0);
  EXPECT_EQ(h.yPelsPerMeter, 0);
  EXPECT_EQ(h.clrUsed, 0u);
  EXPECT_EQ(h.clrImportant, 0u);
}

TEST_F(PictureJpeg, ApplicationSegmentsOfTheLargestSizeAreSkipped) {
  const std::string jpeg = fixture("colour301.jpg");
  std::string padded = jpeg.substr(0, 2);
  for (int i = 0; i < 40; ++i) padded += appSegment(static_cast<unsigned char>(0xE1 + i % 15), 65533);
  padded += jpeg.substr(2);
  DibPicture picture;
  ASSERT_EQ(decodeBytes(padded, &picture).status, JpegReadStatus::Ok);
  EXPECT_EQ(visiblePixels(picture), fixture("colour301.bgr"));
}

// --- Files cut short. ---

TEST_F(PictureJpeg, AFileCutInAScanDecodesWithTheLibrarysFill) {
  DibPicture picture;
  Outcome outcome = decodeBytes(fixture("cut_in_scan.jpg"), &picture);
  ASSERT_EQ(outcome.status, JpegReadStatus::Ok);
  EXPECT_NE(outcome.messages.find("Premature end of JPEG file"), std::string::npos) << outcome.messages;
  EXPECT_EQ(visiblePixels(picture), fixture("cut_in_scan.bgr"));
}

TEST_F(PictureJpeg, EveryCutInTheHeadersIsADecoderError) {
  for (const char* name : {"colour301.jpg", "progressive.jpg", "gray.jpg"}) {
    const std::string jpeg = fixture(name);
    const std::size_t firstScan = findSegment(jpeg, 0xDA).offset;
    for (std::size_t length = 0; length < firstScan; ++length) {
      Outcome outcome = decodeBytes(jpeg.substr(0, length));
      EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly) << name << " cut to " << length;
      EXPECT_FALSE(outcome.messages.empty()) << name << " cut to " << length;
    }
  }
}

TEST_F(PictureJpeg, EmptyAndOneByteFilesAreDecoderErrors) {
  Outcome empty = decodeBytes("");
  EXPECT_EQ(empty.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(empty.messages.find("Empty input file"), std::string::npos) << empty.messages;
  Outcome one = decodeBytes("\xFF");
  EXPECT_EQ(one.status, JpegReadStatus::FailedEarly);
  EXPECT_FALSE(one.messages.empty());
}

TEST_F(PictureJpeg, ABadTailAfterTheLastRowKeepsThePicture) {
  // A second frame header where the end marker should be: the library
  // fails while finishing, after every row is in.
  std::string jpeg = fixture("colour301.jpg");
  ASSERT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  jpeg.resize(jpeg.size() - 2);
  jpeg += frameHeaderOf(jpeg);
  DibPicture picture;
  Outcome outcome = decodeBytes(jpeg, &picture);
  ASSERT_EQ(outcome.status, JpegReadStatus::Ok) << outcome.messages;
  EXPECT_EQ(visiblePixels(picture), fixture("colour301.bgr"));
}

// --- Files that are no JPEG we show. ---

TEST_F(PictureJpeg, OtherDataUnderAJpegNameIsADecoderError) {
  Outcome outcome = decodeBytes(fixture("bmp24.bmp"));
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(outcome.messages.find("Not a JPEG file"), std::string::npos) << outcome.messages;
  EXPECT_EQ(decodeBytes("GIF89a and the rest").status, JpegReadStatus::FailedEarly);
}

TEST_F(PictureJpeg, CmykPicturesAreRefused) {
  Outcome outcome = decodeBytes(fixture("cmyk.jpg"));
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(outcome.messages.find("colour space"), std::string::npos) << outcome.messages;
}

TEST_F(PictureJpeg, TwelveBitPicturesAreRefusedByTheLibrary) {
  const std::string jpeg = fixture("colour301.jpg");
  ASSERT_EQ(frameHeaderOf(jpeg)[4], 8);
  Outcome outcome = decodeBytes(withFrame(jpeg, 12, 7, 301));
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(outcome.messages.find("Unsupported JPEG data precision 12"), std::string::npos) << outcome.messages;
}

TEST_F(PictureJpeg, BadApplicationSegmentLengthsAreHarmless) {
  const std::string jpeg = fixture("colour301.jpg");
  // Running past the end of the file: the header is never complete.
  std::string cut = jpeg.substr(0, 2) + appSegment(0xE1, 65533).substr(0, 1000);
  EXPECT_EQ(decodeBytes(cut).status, JpegReadStatus::FailedEarly);
  // Swallowing the frame header: no image is found.
  std::string swallowing = jpeg.substr(0, 2) + appSegment(0xE1, 0).substr(0, 2) + "\x02\x00" + jpeg.substr(2);
  EXPECT_EQ(decodeBytes(swallowing).status, JpegReadStatus::FailedEarly);
  // Lengths below 2 cannot even cover the length field; the library skips
  // nothing and reads on.
  for (char length : {'\0', '\1'}) {
    std::string bogus = jpeg.substr(0, 2) + std::string{'\xFF', '\xE1', '\0', length} + jpeg.substr(2);
    DibPicture picture;
    ASSERT_EQ(decodeBytes(bogus, &picture).status, JpegReadStatus::Ok);
    EXPECT_EQ(visiblePixels(picture), fixture("colour301.bgr"));
  }
}

TEST_F(PictureJpeg, ThousandsOfProgressiveScansAreStopped) {
  // The first scan of the progressive fixture, repeated 5000 times: each is
  // only a warning to the library, so without a limit it would decode all.
  const std::string jpeg = fixture("progressive.jpg");
  const Segment scan = findSegment(jpeg, 0xDA);
  const std::size_t end = scanDataEnd(jpeg, scan.end);
  std::string crafted = jpeg.substr(0, end);
  const std::string repeated = jpeg.substr(scan.offset, end - scan.offset);
  for (int i = 0; i < 5000; ++i) crafted += repeated;
  crafted += "\xFF\xD9";

  Outcome outcome = decodeBytes(crafted);
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(outcome.messages.find("More than 100 scans"), std::string::npos) << outcome.messages;
}

TEST_F(PictureJpeg, PicturesAboveTheSizeLimitAreRefusedBeforeAllocating) {
  limitPixelAllocationsForTests(0);  // it must not get that far
  const std::string jpeg = fixture("colour301.jpg");
  Outcome outcome = decodeBytes(withFrame(jpeg, 8, 7, 16385));
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedEarly);
  EXPECT_NE(outcome.messages.find("larger than this program accepts"), std::string::npos) << outcome.messages;
  EXPECT_EQ(decodeBytes(withFrame(jpeg, 8, 7, 65535)).status, JpegReadStatus::FailedEarly);
  EXPECT_EQ(decodeBytes(withFrame(jpeg, 8, 10000, 10001)).status, JpegReadStatus::FailedEarly);
  // The same for a progressive file, whose coefficients the library would
  // otherwise allocate while starting.
  std::string progressive = fixture("progressive.jpg");
  Segment sof = findSegment(progressive, 0xC2);
  progressive[sof.offset + 5] = '\x3F';  // 16383 rows
  progressive[sof.offset + 6] = '\xFF';
  progressive[sof.offset + 7] = '\x3F';  // 16383 columns: 268 million pixels
  progressive[sof.offset + 8] = '\xFF';
  EXPECT_EQ(decodeBytes(progressive).status, JpegReadStatus::FailedEarly);
}

// --- Failures after the size is known, and the file that is not there. ---

TEST_F(PictureJpeg, NoMemoryForThePixelsEndsAsADecoderErrorInTheScans) {
  limitPixelAllocationsForTests(0);
  DibPicture picture = earlierPicture();
  Outcome outcome = decodeBytes(fixture("colour301.jpg"), &picture);
  EXPECT_EQ(outcome.status, JpegReadStatus::FailedInScan);
  EXPECT_NE(outcome.messages.find("Insufficient memory"), std::string::npos) << outcome.messages;
  // The size is known by then; the rest of the picture is not replaced.
  EXPECT_EQ(picture.width, 301);
  EXPECT_EQ(picture.height, 7);
  EXPECT_EQ(picture.info.size(), 40u);
  EXPECT_EQ(picture.palette.size(), 3u);
  EXPECT_EQ(picture.pixels.size, 0u);
}

TEST_F(PictureJpeg, AMissingFileIsReportedByName) {
  const std::string path = dir_.file("nowhere.jpg");
  DibPicture picture = earlierPicture();
  StderrCapture capture;
  EXPECT_EQ(decodeJpegFile(path, &picture), JpegReadStatus::NotOpened);
  EXPECT_EQ(capture.take(), "can't open " + path + "\n");
  expectUntouched(picture);
}

namespace {
// The descriptor number the next opened file gets: the lowest free one.
int nextFileDescriptor(const std::string& path) {
  std::FILE* probe = openFileForReading(path);
  if (!probe) return -1;
#ifdef _WIN32
  int fd = _fileno(probe);
#else
  int fd = fileno(probe);
#endif
  std::fclose(probe);
  return fd;
}
}  // namespace

TEST_F(PictureJpeg, FailuresLeaveNoFileOpen) {
  // A decode that failed without closing its file would leave its
  // descriptor taken, and the next file would get a higher one. On
  // Windows the open file could not be deleted either.
  const std::string path = dir_.file("picture.jpg");
  const std::string jpeg = fixture("colour301.jpg");
  StderrCapture capture;  // once, around all: it takes a descriptor itself
  testing_support::writeBytes(path, "x");
  const int before = nextFileDescriptor(path);
  ASSERT_GE(before, 0);
  for (const std::string& bytes : {std::string(), jpeg.substr(0, 100), fixture("cmyk.jpg"),
                                   withFrame(jpeg, 12, 7, 301), withFrame(jpeg, 8, 7, 16385)}) {
    testing_support::writeBytes(path, bytes);
    DibPicture picture;
    EXPECT_EQ(decodeJpegFile(path, &picture), JpegReadStatus::FailedEarly);
  }
  testing_support::writeBytes(path, jpeg);
  limitPixelAllocationsForTests(0);
  DibPicture picture;
  EXPECT_EQ(decodeJpegFile(path, &picture), JpegReadStatus::FailedInScan);
  EXPECT_EQ(nextFileDescriptor(path), before);
  EXPECT_TRUE(deleteFileIfExists(path));
  EXPECT_FALSE(testing_support::fileExists(path));
}

TEST_F(PictureJpeg, JapaneseFileNamesAreOpened) {
  // The path is Shift_JIS; on Windows it must reach the file system as the
  // characters it names, whatever the locale.
  const std::string path = dir_.file("壁紙の写真.jpg");
  testing_support::writeBytes(path, fixture("colour300.jpg"));
  DibPicture picture;
  ASSERT_EQ(decodeJpegFile(path, &picture), JpegReadStatus::Ok);
  EXPECT_EQ(visiblePixels(picture), fixture("colour300.bgr"));
}
