// Paths and Shift_JIS text taken apart by characters, never by bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/path.h"
#include "platform/sjis.h"

namespace {

TEST(ShiftJis, CharactersEndingInTheByteOfBackslashStayWhole) {
  // "表" is 0x95 0x5C, "ソ" 0x83 0x5C: a byte scan sees a '\' in each.
  const std::string path = "C:\\予定表\\ソ.bmp";
  EXPECT_EQ(sjisCharLength(path, 3), 2u);
  EXPECT_EQ(sjisCutLength(path, 8), 7u);  // never half of "表"
  EXPECT_EQ(sjisCutLength(path, 9), 9u);
  EXPECT_EQ(sjisFind(path, "\\"), 2u);
  EXPECT_EQ(sjisFind(path.substr(3), "\\"), 6u);  // the separator after "表"
  EXPECT_EQ(sjisStartOfLastChars(path, 3), path.size() - 3);
  EXPECT_EQ(sjisStartOfLastChars(path, 5), path.size() - 6);  // "ソ.bmp"
  EXPECT_EQ(sjisStartOfLastChars("ab", 5), 0u);
  // A lead byte at the very end is a character of its own.
  EXPECT_EQ(sjisCharLength("a\x95", 1), 1u);
}

TEST(Path, SplitsAndJoinsByThePlatformsCharacters) {
#ifdef _WIN32
  // Shift_JIS: the last byte of "表" is no separator.
  const std::string folder = "C:\\メモ\\予定表";
  const std::size_t lastCharLength = 2;
#else
  // UTF-8: "日記" is E6 97 A5 E8 A8 98, bytes that a Shift_JIS scan takes
  // for lead bytes swallowing whatever follows them.
  const std::string folder = "/home/u/\xE6\x97\xA5\xE8\xA8\x98";
  const std::size_t lastCharLength = 3;
#endif
  const std::string file = joinPath(folder, "200412.dat");
  EXPECT_EQ(file, folder + "\\200412.dat");
  EXPECT_EQ(pathDirectory(file), folder);
  EXPECT_EQ(pathFileName(file), "200412.dat");
  EXPECT_EQ(pathWithoutTrailingSeparator(folder + "\\"), folder);
  EXPECT_EQ(pathWithoutTrailingSeparator(folder), folder);
  EXPECT_EQ(pathWithoutTrailingSeparator(folder + "\\\\"), folder + "\\");
  EXPECT_EQ(pathWithoutTrailingSeparator("\\"), "\\");
  EXPECT_EQ(pathStartOfLastChars(folder, 1), folder.size() - lastCharLength);
  EXPECT_EQ(pathFileName(folder).size(), 6u);
}

}  // namespace
