// Fonts as the settings file holds them, and the drawing order of the text
// effects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/font_description.h"
#include "render/text_effect.h"
#include "settings/app_settings.h"
#include "test_support.h"

using testing_support::readBytes;
using testing_support::SettingsFileOverride;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

class FontDescriptionTest : public ::testing::Test {
 protected:
  FontDescriptionTest() : settings_(dir_.file("fonts.ini")) {}
  std::string ini() const { return dir_.file("fonts.ini"); }
  TempDir dir_;
  SettingsFileOverride settings_;
};

TEST_F(FontDescriptionTest, MissingSectionGivesTheDefaultFont) {
  FontDescription font;
  font.height = 99;
  font.faceName[0] = 'x';
  readFontSection(kMainFontSection, font);
  EXPECT_EQ(font.height, -20);
  EXPECT_EQ(font.weight, 400);
  EXPECT_EQ(font.charSet, 128);
  EXPECT_EQ(font.pitchAndFamily, 49);
  EXPECT_STREQ(font.faceName, "ＭＳ ゴシック");
}

TEST_F(FontDescriptionTest, PresentKeysWinAndByteFieldsKeepTheLowBits) {
  writeBytes(ini(), "[MEMO_FONT]\r\nheight=24\r\nITALIC=257\r\nCHAR=-1\r\nWEIGHT=700\r\nFACE=Arial\r\n");
  FontDescription font;
  readFontSection(kMemoFontSection, font);
  EXPECT_EQ(font.height, 24);
  EXPECT_EQ(font.italic, 1);
  EXPECT_EQ(font.charSet, 255);
  EXPECT_EQ(font.weight, 700);
  EXPECT_STREQ(font.faceName, "Arial");
  EXPECT_EQ(font.quality, 1);  // absent: default
}

TEST_F(FontDescriptionTest, LongFaceNamesAreCutTo31BytesOnACharacterBoundary) {
  writeBytes(ini(), "[TITLE_FONT]\r\nFACE=" + std::string(40, 'F') + "\r\n");
  FontDescription font;
  readFontSection(kTitleFontSection, font);
  EXPECT_EQ(std::string(font.faceName), std::string(31, 'F'));
  // 16 double-byte characters are 32 bytes: the 16th does not fit whole.
  writeBytes(ini(), "[TITLE_FONT]\r\nFACE=ゴシックゴシックゴシックゴシック\r\n");
  readFontSection(kTitleFontSection, font);
  EXPECT_STREQ(font.faceName, "ゴシックゴシックゴシックゴシッ");
}

TEST_F(FontDescriptionTest, WritesFourteenKeysInOrderAndReadsThemBack) {
  FontDescription font;
  font.height = -24;
  font.weight = 700;
  font.italic = 1;
  font.charSet = 255;
  writeFontSection(font, kWeekFontSection);
  EXPECT_EQ(readBytes(ini()),
            "[WEEK_FONT]\r\nHEIGHT=-24\r\nWIDTH=0\r\nESC=0\r\nORIENT=0\r\nWEIGHT=700\r\nITALIC=1\r\n"
            "UNDER=0\r\nSTRIKE=0\r\nCHAR=255\r\nOUTPUT=3\r\nCLIP=2\r\nQUALITY=1\r\nPITCH=49\r\n"
            "FACE=ＭＳ ゴシック\r\n");
  FontDescription back;
  readFontSection(kWeekFontSection, back);
  EXPECT_EQ(back.height, -24);
  EXPECT_EQ(back.charSet, 255);
  EXPECT_STREQ(back.faceName, font.faceName);
}

struct Call {
  char what;  // 'c' colour, 'd' draw
  int a, b;
  bool operator==(const Call&) const = default;
};

std::vector<Call> effectCalls(int drawType) {
  std::vector<Call> calls;
  drawEffectSequence(
      drawType, 0xAAAAAA, 0x123456,
      [&](Colour c) { calls.push_back({'c', static_cast<int>(c), 0}); },
      [&](int dx, int dy) { calls.push_back({'d', dx, dy}); });
  return calls;
}

TEST(TextEffect, EachStyleDrawsItsNeighboursThenTheMainText) {
  EXPECT_EQ(effectCalls(0), (std::vector<Call>{{'c', 0x123456, 0}, {'d', 0, 0}}));
  EXPECT_EQ(effectCalls(1),
            (std::vector<Call>{{'c', 0, 0}, {'d', 1, 1}, {'c', 0x123456, 0}, {'d', 0, 0}}));
  EXPECT_EQ(effectCalls(2), (std::vector<Call>{{'c', 0xAAAAAA, 0},
                                               {'d', -1, 0},
                                               {'d', 0, -1},
                                               {'d', 1, 0},
                                               {'d', 0, 1},
                                               {'c', 0x123456, 0},
                                               {'d', 0, 0}}));
  EXPECT_EQ(effectCalls(3), effectCalls(0));
  EXPECT_EQ(effectCalls(-1), effectCalls(0));
}

}  // namespace
