#include <gtest/gtest.h>

#include <string>

#include "app/ics_export.h"

namespace {

// Every way a three-byte character can meet the 75-octet boundary: the
// physical lines stay within 75 octets, never end inside a character, and
// unfold to the original line.
TEST(IcsExport, FoldingKeepsCharactersWholeAtEveryOffset) {
  const std::string kana = "\xE3\x81\x82";  // "あ" in UTF-8
  for (int ascii = 0; ascii < 4; ++ascii) {
    std::string line = "DESCRIPTION:" + std::string(ascii, 'x');
    for (int i = 0; i < 60; ++i) line += kana;
    const std::string folded = icsFoldLine(line);
    ASSERT_GE(folded.size(), 2u);
    ASSERT_EQ(folded.substr(folded.size() - 2), "\r\n");
    std::string unfolded;
    std::size_t start = 0;
    bool first = true;
    while (start < folded.size()) {
      std::size_t end = folded.find("\r\n", start);
      ASSERT_NE(end, std::string::npos);
      std::string physical = folded.substr(start, end - start);
      EXPECT_LE(physical.size(), 75u) << ascii;
      if (!first) {
        ASSERT_FALSE(physical.empty());
        EXPECT_EQ(physical[0], ' ');
        physical.erase(0, 1);
      }
      // A line may not end on a lead byte or inside a sequence: the next
      // line then begins with a lead byte or ASCII, never a continuation.
      if (!physical.empty()) {
        EXPECT_NE(static_cast<unsigned char>(physical[0]) & 0xC0, 0x80) << ascii;
      }
      unfolded += physical;
      first = false;
      start = end + 2;
    }
    EXPECT_EQ(unfolded, line) << ascii;
  }
  EXPECT_EQ(icsFoldLine("BEGIN:VEVENT"), "BEGIN:VEVENT\r\n");
  EXPECT_EQ(icsFoldLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
  EXPECT_EQ(icsFoldLine(std::string(76, 'a')), std::string(75, 'a') + "\r\n a\r\n");
}

TEST(IcsExport, EscapesTextValues) {
  EXPECT_EQ(icsEscape("a,b;c\\d\r\ne\nf\rg"), "a\\,b\\;c\\\\d\\ne\\nf\\ng");
  EXPECT_EQ(icsEscape(""), "");
}

}  // namespace
