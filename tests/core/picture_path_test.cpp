// Which decoder a picture path goes to, and how a long path is kept.
#include <gtest/gtest.h>

#include <string>

#include "render/dib_picture.h"
#include "render/picture_path.h"

TEST(PicturePath, LastThreeCharactersBmpInAnyCaseMeanBmp) {
  EXPECT_TRUE(isBmpPicturePath("C:\\壁紙\\sky.bmp"));
  EXPECT_TRUE(isBmpPicturePath("C:\\壁紙\\SKY.BMP"));
  EXPECT_TRUE(isBmpPicturePath("C:\\壁紙\\sky.Bmp"));
  // Only the last three characters count, not a dot before them.
  EXPECT_TRUE(isBmpPicturePath("photobmp"));
  EXPECT_TRUE(isBmpPicturePath("bmp"));
}

TEST(PicturePath, EverythingElseGoesToTheJpegDecoder) {
  EXPECT_FALSE(isBmpPicturePath("C:\\壁紙\\sky.jpg"));
  EXPECT_FALSE(isBmpPicturePath("C:\\壁紙\\sky.jpeg"));
  EXPECT_FALSE(isBmpPicturePath("C:\\壁紙\\sky"));
  EXPECT_FALSE(isBmpPicturePath("sky.bmp "));
  EXPECT_FALSE(isBmpPicturePath("ab"));
  EXPECT_FALSE(isBmpPicturePath("p"));
  EXPECT_FALSE(isBmpPicturePath(""));
}

TEST(PicturePath, ADoubleByteCharacterEndingInBIsNotTheB) {
  // "ッ" is 83 62 in Shift_JIS: the last three bytes are "bmp", the last
  // three characters are "ッ", "m", "p".
  const std::string path = "C:\\ッmp";
  ASSERT_EQ(path.substr(path.size() - 3), "bmp");
  EXPECT_FALSE(isBmpPicturePath(path));
  EXPECT_TRUE(isBmpPicturePath("C:\\ッ.bmp"));
}

TEST(PicturePath, LongPathsAreCutTo511Bytes) {
  EXPECT_EQ(cutPicturePath("C:\\sky.jpg"), "C:\\sky.jpg");
  const std::string exact(511, 'a');
  EXPECT_EQ(cutPicturePath(exact), exact);
  EXPECT_EQ(cutPicturePath(exact + "b.bmp"), exact);
}

TEST(PicturePath, ACutNeverSplitsADoubleByteCharacter) {
  // 510 single bytes and then "空": its second byte would be the 512th.
  const std::string path = std::string(510, 'a') + "空.jpg";
  EXPECT_EQ(cutPicturePath(path), std::string(510, 'a'));
  const std::string fits = std::string(509, 'a') + "空.jpg";
  EXPECT_EQ(cutPicturePath(fits), std::string(509, 'a') + "空");
}

TEST(PictureSizeLimit, SidesAndPixelCountAreBounded) {
  EXPECT_TRUE(pictureSizeAllowed(1, 1));
  EXPECT_TRUE(pictureSizeAllowed(16384, 6103));   // 99,991,552 pixels
  EXPECT_FALSE(pictureSizeAllowed(16384, 6104));  // 100,007,936 pixels
  EXPECT_TRUE(pictureSizeAllowed(10000, 10000));
  EXPECT_FALSE(pictureSizeAllowed(10001, 10000));
  EXPECT_FALSE(pictureSizeAllowed(16385, 1));
  EXPECT_FALSE(pictureSizeAllowed(1, 16385));
  EXPECT_FALSE(pictureSizeAllowed(0, 1));
  EXPECT_FALSE(pictureSizeAllowed(1, -1));
  EXPECT_FALSE(pictureSizeAllowed(1ll << 32, 1ll << 32));
}
