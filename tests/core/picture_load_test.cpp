// loadPicture's own state after each kind of failure: which failures keep
// the picture on show and which leave none.
#include <gtest/gtest.h>

#include <string>

#include "picture_test_util.h"
#include "platform/memory_block.h"
#include "render/picture.h"
#include "test_support.h"

using picture_testing::fixturePath;
using picture_testing::StderrCapture;

namespace {

class PictureLoad : public ::testing::Test {
 protected:
  ~PictureLoad() override {
    limitBlockAllocationsForTests(-1);
    limitPixelAllocationsForTests(-1);
    deletePictureBitmap();
    deletePicturePalette();
  }
  static void load(const std::string& name) {
    loadPicture(fixturePath(name).c_str(), testing_support::screenDeviceContext());
  }
  testing_support::WarningCapture warnings_;
};

const char kNoMemoryText[] = "メモリの確保に失敗しました。ファイルを開くことができません。";

}  // namespace

TEST_F(PictureLoad, AFailedAllocationKeepsTheOldPictureAndWarns) {
  load("bmp8.bmp");
  void* shown = pictureBitmap();
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(picturePalette(), nullptr);

  // No memory for the file image, then none for the pixel rows.
  limitBlockAllocationsForTests(0);
  load("bmp24.bmp");
  EXPECT_EQ(pictureBitmap(), shown);
  EXPECT_EQ(picturePalette(), nullptr) << "the palette goes before the file is read";
  EXPECT_EQ(pictureWidth(), 301);
  EXPECT_EQ(std::string(loadedPicturePath()), fixturePath("bmp24.bmp"));
  limitBlockAllocationsForTests(-1);

  limitPixelAllocationsForTests(0);
  load("bmp4.bmp");
  EXPECT_EQ(pictureBitmap(), shown);
  ASSERT_EQ(warnings_.messages().size(), 2u);
  EXPECT_EQ(warnings_.messages()[0], kNoMemoryText);
  EXPECT_EQ(warnings_.messages()[1], kNoMemoryText);
}

TEST_F(PictureLoad, AFailureInTheScansLeavesNoPicture) {
  load("bmp8.bmp");
  ASSERT_NE(pictureBitmap(), nullptr);
  // The pixel buffer is taken once the size is known; its failure ends the
  // decoding as an error in the scan lines does.
  limitPixelAllocationsForTests(0);
  StderrCapture capture;
  load("progressive.jpg");
  EXPECT_NE(capture.take().find("Insufficient memory"), std::string::npos);
  EXPECT_EQ(pictureBitmap(), nullptr);
  EXPECT_EQ(picturePalette(), nullptr);
  EXPECT_EQ(pictureWidth(), 160);
  EXPECT_EQ(pictureHeight(), 120);
  EXPECT_TRUE(warnings_.messages().empty()) << "decoder errors show no message box";

  // Errors before the size is known keep what is shown.
  limitPixelAllocationsForTests(-1);
  load("colour301.jpg");
  void* shown = pictureBitmap();
  ASSERT_NE(shown, nullptr);
  StderrCapture second;
  load("cmyk.jpg");
  EXPECT_EQ(pictureBitmap(), shown);
  EXPECT_EQ(pictureWidth(), 301);
}
