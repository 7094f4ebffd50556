// The INI reader and writer on text in memory. Narrow literals here are
// Shift_JIS in the binary: "表示" is 95 5C 8E A6, "ソ" is 83 5C.
#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::string read(std::string_view text, std::string_view section, std::string_view key) {
  return iniReadValue(text, section, key).value_or("<missing>");
}

// Writes and returns the new text; `changed` receives the writer's report.
std::string written(std::string text, std::string_view section, std::string_view key,
                    std::string_view value, bool* changed = nullptr) {
  bool result = iniWriteValue(text, section, key, value);
  if (changed) *changed = result;
  return text;
}

std::string sectionWritten(std::string text, std::string_view section, std::string_view entries,
                           bool* changed = nullptr) {
  bool result = iniWriteSection(text, section, entries);
  if (changed) *changed = result;
  return text;
}

// ---------------------------------------------------------------- reading

TEST(IniRead, FindsKeyOfSection) {
  std::string text = "[Sorvane]\r\nDISPLAY_TITLE=1\r\nDAY_POS=2\r\n[COLOR]\r\nDAY_POS=7\r\n";
  EXPECT_EQ(read(text, "Sorvane", "DAY_POS"), "2");
  EXPECT_EQ(read(text, "COLOR", "DAY_POS"), "7");
}

TEST(IniRead, MissingSectionOrKeyOrTextIsNotFound) {
  std::string text = "[A]\r\nx=1\r\n";
  EXPECT_FALSE(iniReadValue(text, "B", "x"));
  EXPECT_FALSE(iniReadValue(text, "A", "y"));
  EXPECT_FALSE(iniReadValue("", "A", "x"));
}

TEST(IniRead, SectionAndKeyMatchWithoutRegardToCase) {
  std::string text = "[sorvane]\r\ndisplay_title=1\r\n";
  EXPECT_EQ(read(text, "SORVANE", "DISPLAY_TITLE"), "1");
  EXPECT_EQ(read(text, "Sorvane", "Display_Title"), "1");
}

TEST(IniRead, SecondByteThatIsALetterIsNotFolded) {
  // "ア" is 83 41; 83 61 differs from it only in the case of the "letter" in
  // its second byte, and must stay a different name.
  std::string text = "[S]\r\n\x83\x61=lower\r\n\x83\x41=upper\r\n";
  EXPECT_EQ(read(text, "S", "ア"), "upper");
  EXPECT_EQ(read(text, "S", "\x83\x61"), "lower");
  std::string sections = "[\x83\x61]\r\nk=lower\r\n[ア]\r\nk=upper\r\n";
  EXPECT_EQ(read(sections, "ア", "k"), "upper");
}

TEST(IniRead, FullwidthLettersAreNotFolded) {
  std::string text = "[S]\r\nＡ=full\r\n";
  EXPECT_EQ(read(text, "S", "Ａ"), "full");
  EXPECT_FALSE(iniReadValue(text, "S", "ａ"));
}

TEST(IniRead, ShiftJisWithBackslashBarAndBracketSecondBytes) {
  // ソ 83 5C, 表 95 5C, ポ 83 7C, ゼ 83 5B, ゾ 83 5D.
  std::string text = "[ゾゼ]\r\n表示=ソ|ポ\\\r\n[ソ]\r\nポ=1\r\n";
  EXPECT_EQ(read(text, "ゾゼ", "表示"), "ソ|ポ\\");
  EXPECT_EQ(read(text, "ソ", "ポ"), "1");
  // The ']' inside "ゾ" does not end the section name.
  EXPECT_FALSE(iniReadValue(text, "\x83", "表示"));
}

TEST(IniRead, BlanksAroundNamesAndValueAreTrimmed) {
  std::string text = "  [ Sec ]  \r\n \t key one \t=  some value \t\r\n";
  EXPECT_EQ(read(text, "Sec", "key one"), "some value");
  EXPECT_EQ(read(text, " Sec ", " key one "), "some value");
  EXPECT_FALSE(iniReadValue(text, "Sec", "key  one"));
  // Vertical tab, form feed and ^Z (left by old editors at a file's end)
  // are blanks too; a blank inside the value stays.
  std::string odd = "[Sec]\r\n\vKEY\f=\x1a\v12 3\f\x1a\r\nNEXT=\x1a\r\n";
  EXPECT_EQ(read(odd, "Sec", "key"), "12 3");
  EXPECT_EQ(read(odd, "Sec", "next"), "");
  EXPECT_EQ(iniParseInt(read(odd, "Sec", "key")), 12);
}

TEST(IniRead, OnePairOfMatchingQuotesIsRemoved) {
  std::string text =
      "[Q]\r\na=\"quoted\"\r\nb='single'\r\nc=\"unbalanced\r\nd='mixed\"\r\n"
      "e=\"\r\nf=\"\"\r\ng= \" inner \" \r\nh=\"a\"b\"\r\n";
  EXPECT_EQ(read(text, "Q", "a"), "quoted");
  EXPECT_EQ(read(text, "Q", "b"), "single");
  EXPECT_EQ(read(text, "Q", "c"), "\"unbalanced");
  EXPECT_EQ(read(text, "Q", "d"), "'mixed\"");
  EXPECT_EQ(read(text, "Q", "e"), "\"");
  EXPECT_EQ(read(text, "Q", "f"), "");
  EXPECT_EQ(read(text, "Q", "g"), " inner ");
  EXPECT_EQ(read(text, "Q", "h"), "a\"b");
}

TEST(IniRead, ValueKeepsFurtherEqualsSigns) {
  EXPECT_EQ(read("[A]\r\nk=v=w\r\n", "A", "k"), "v=w");
  EXPECT_EQ(read("[A]\r\nk=\r\n", "A", "k"), "");
}

TEST(IniRead, CommentLinesAreIgnored) {
  std::string text = "[A]\r\n;x=comment\r\n  ; y=2\r\nx=1\r\n";
  EXPECT_EQ(read(text, "A", "x"), "1");
  EXPECT_FALSE(iniReadValue(text, "A", ";x"));
  EXPECT_FALSE(iniReadValue(text, "A", "; y"));
}

TEST(IniRead, LinesBeforeTheFirstSectionBelongToNone) {
  std::string text = "x=0\r\n[A]\r\ny=1\r\n";
  EXPECT_FALSE(iniReadValue(text, "", "x"));
  EXPECT_FALSE(iniReadValue(text, "A", "x"));
  EXPECT_EQ(read(text, "A", "y"), "1");
}

TEST(IniRead, FirstMatchingSectionAndFirstMatchingKeyWin) {
  std::string text = "[A]\r\nk=first\r\nK=second\r\n[B]\r\nk=b\r\n[a]\r\nk=third\r\nonly=later\r\n";
  EXPECT_EQ(read(text, "A", "k"), "first");
  EXPECT_EQ(read(text, "a", "K"), "first");
  // A later section of the same name is never consulted.
  EXPECT_FALSE(iniReadValue(text, "A", "only"));
}

TEST(IniRead, SectionNameEndsAtFirstClosingBracket) {
  std::string text = "[A] ; note\r\nx=1\r\n[B]]\r\ny=2\r\n[Open\r\nz=3\r\n";
  EXPECT_EQ(read(text, "A", "x"), "1");
  EXPECT_EQ(read(text, "B", "y"), "2");
  EXPECT_FALSE(iniReadValue(text, "B]", "y"));
  // A '[' line without ']' is no header: its lines stay in the section above.
  EXPECT_EQ(read(text, "B", "z"), "3");
}

TEST(IniRead, LfOnlyAndLoneCrLineEnds) {
  EXPECT_EQ(read("[A]\nx=1\n[B]\ny=2\n", "B", "y"), "2");
  EXPECT_EQ(read("[A]\rx=1\ry=2\r[B]\rz=3", "A", "y"), "2");
  EXPECT_EQ(read("[A]\rx=1\ry=2\r[B]\rz=3", "B", "z"), "3");
  EXPECT_EQ(read("[A]\n\rx=1\n\r", "A", "x"), "1");
}

TEST(IniRead, LastLineWithoutLineEnd) {
  EXPECT_EQ(read("[A]\r\nx=last", "A", "x"), "last");
  EXPECT_FALSE(iniReadValue("[A]", "A", "x"));
}

TEST(IniRead, LongValue) {
  std::string value(100000, 'v');
  EXPECT_EQ(read("[A]\r\nk=" + value + "\r\nnext=1\r\n", "A", "k"), value);
}

// ---------------------------------------------------------------- writing

TEST(IniWrite, ReplacesOnlyTheValueOfThatLine) {
  std::string text = "; settings\r\n[A]\r\n  Key  = old value \r\nother=1\r\n\r\n[B]\r\nkey=b\r\n";
  bool changed = false;
  EXPECT_EQ(written(text, "a", "KEY", "new", &changed),
            "; settings\r\n[A]\r\n  Key  =new\r\nother=1\r\n\r\n[B]\r\nkey=b\r\n");
  EXPECT_TRUE(changed);
}

TEST(IniWrite, ReplacesInPlaceKeepingLfLineEnds) {
  EXPECT_EQ(written("[A]\nx=1\ny=2\n", "A", "x", "99"), "[A]\nx=99\ny=2\n");
}

TEST(IniWrite, IdenticalValueReportsUnchanged) {
  std::string text = "[A]\r\nx=5\r\n";
  bool changed = true;
  EXPECT_EQ(written(text, "A", "X", "5", &changed), text);
  EXPECT_FALSE(changed);
  // The bytes after '=' are what counts: blanks there are rewritten once.
  EXPECT_EQ(written("[A]\r\nx = 5\r\n", "A", "x", "5", &changed), "[A]\r\nx =5\r\n");
  EXPECT_TRUE(changed);
}

TEST(IniWrite, AppendsAfterLastNonBlankLineOfMiddleSection) {
  std::string text = "[A]\r\nx=1\r\n;end of A\r\n\r\n\r\n[B]\r\ny=2\r\n";
  EXPECT_EQ(written(text, "A", "new", "v"),
            "[A]\r\nx=1\r\n;end of A\r\nnew=v\r\n\r\n\r\n[B]\r\ny=2\r\n");
}

TEST(IniWrite, AppendsRightAfterHeaderOfEmptySection) {
  EXPECT_EQ(written("[A]\r\n\r\n[B]\r\n", "A", "k", "v"), "[A]\r\nk=v\r\n\r\n[B]\r\n");
}

TEST(IniWrite, AppendsNewSectionAtEnd) {
  EXPECT_EQ(written("[A]\r\nx=1\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
  EXPECT_EQ(written("[A]\r\nx=1\r\n\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n");
}

TEST(IniWrite, FirstWriteIntoEmptyText) {
  bool changed = false;
  EXPECT_EQ(written("", "Sorvane", "SAVE_POS", "1", &changed), "[Sorvane]\r\nSAVE_POS=1\r\n");
  EXPECT_TRUE(changed);
}

TEST(IniWrite, LastLineWithoutLineEndGetsOneFirst) {
  EXPECT_EQ(written("[A]\r\nx=1", "A", "k", "v"), "[A]\r\nx=1\r\nk=v\r\n");
  EXPECT_EQ(written("[A]\r\nx=1", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
  EXPECT_EQ(written("[A]", "A", "k", "v"), "[A]\r\nk=v\r\n");
  EXPECT_EQ(written("[A]\r\nx=1", "A", "x", "2"), "[A]\r\nx=2");
  EXPECT_EQ(written("[A]\rx=1\r", "A", "k", "v"), "[A]\rx=1\rk=v\r\n");
}

TEST(IniWrite, LfOnlyFileKeepsItsLinesAndGetsCrLfForNewOnes) {
  EXPECT_EQ(written("[A]\nx=1\n\n[B]\ny=2\n", "A", "k", "v"), "[A]\nx=1\nk=v\r\n\n[B]\ny=2\n");
  EXPECT_EQ(written("[A]\nx=1\n", "C", "k", "v"), "[A]\nx=1\n[C]\r\nk=v\r\n");
}

TEST(IniWrite, DuplicateSectionsAndKeysChangeOnlyTheFirst) {
  std::string text = "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nz=4\r\n";
  EXPECT_EQ(written(text, "A", "K", "9"), "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\nz=4\r\n");
  // z lives in the second [a] only, which reads never see: it is added to the first.
  EXPECT_EQ(written(text, "A", "z", "5"), "[A]\r\nk=1\r\nk=2\r\nz=5\r\n[a]\r\nk=3\r\nz=4\r\n");
}

TEST(IniWrite, CommentAndLinesBeforeFirstSectionAreNotKeys) {
  std::string text = "k=0\r\n[A]\r\n;k=comment\r\n";
  EXPECT_EQ(written(text, "A", "k", "1"), "k=0\r\n[A]\r\n;k=comment\r\nk=1\r\n");
}

TEST(IniWrite, ShiftJisNamesAndValuesRoundTrip) {
  std::string text = written("", "表示", "ソ", "ソ|表\\");
  text = written(text, "HOLIDAY", "0101", "元日||0");
  EXPECT_EQ(text, "[表示]\r\nソ=ソ|表\\\r\n[HOLIDAY]\r\n0101=元日||0\r\n");
  EXPECT_EQ(read(text, "表示", "ソ"), "ソ|表\\");
  EXPECT_EQ(read(text, "holiday", "0101"), "元日||0");
}

TEST(IniWrite, NamesAreWrittenWithoutSurroundingBlanks) {
  std::string text = written("", " A ", " k ", "v");
  EXPECT_EQ(text, "[A]\r\nk=v\r\n");
  EXPECT_EQ(written(text, "A", "k ", " v "), "[A]\r\nk= v \r\n");
}

TEST(IniWrite, LongValueInPlace) {
  std::string value(70000, 'x');
  std::string text = written("[A]\r\nk=short\r\nz=1\r\n", "A", "k", value);
  EXPECT_EQ(text, "[A]\r\nk=" + value + "\r\nz=1\r\n");
  EXPECT_EQ(read(text, "A", "k"), value);
}

// ---------------------------------------------------------------- integers

TEST(IniParseInt, ReadsAsTheProfileFunctionsDo) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"12", 12},       {"12abc", 12},     {" -5", -5},     {"+7", 7},         {"0x10", 16},
      {"-0x10", -16},   {"0xFF", 255},     {"0X1f", 0},     {"0x", 0},         {"0o17", 15},
      {"0b101", 5},     {"0b2", 0},        {"010", 10},     {"", 0},           {"abc", 0},
      {"- 5", 0},       {"+-3", 0},        {"\x01\x02" "7", 7}, {"1 2", 1},    {"12表", 12},
      {"2147483647", INT_MAX},             {"-2147483648", INT_MIN},           {"2147483648", INT_MIN},
      {"-2147483649", INT_MAX},            {"4294967295", -1},                 {"4294967296", 0},
      {"99999999999", 1215752191},         {"0xffffffff", -1},                 {"0x100000000", 0},
      // Only the first 29 characters count.
      {"00000000000000000000000000012", 12}, {"000000000000000000000000000012", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(iniParseInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(IniParseInt, PrintedIntegersReadBackUnchanged) {
  std::mt19937 random(20240101);
  std::vector<int> values = {0, 1, -1, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 16762980, -20};
  for (int i = 0; i < 2000; ++i) values.push_back(static_cast<int>(random()));
  std::string text;
  for (int value : values) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    iniWriteValue(text, "Sorvane", "VALUE", digits);
    std::optional<std::string> back = iniReadValue(text, "SORVANE", "value");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, digits);
    EXPECT_EQ(iniParseInt(*back), value);
  }
}

// ---------------------------------------------------------------- sections

TEST(IniSection, ReadGivesTrimmedEntriesWithoutCommentsOrBlankLines) {
  std::string text =
      "[A]\r\nx=0\r\n[HOLIDAY]\r\n0101=元日||0\r\n ;note\r\n\r\n 0211 = 建国記念の日 \r\n"
      "q=\"quoted\"\r\nbare\r\n[B]\r\ny=1\r\n";
  EXPECT_EQ(iniReadSection(text, "holiday"),
            "0101=元日||0\0" "0211=建国記念の日\0q=\"quoted\"\0bare\0\0"s);
}

TEST(IniSection, ReadOfMissingOrEmptySectionIsASingleNul) {
  EXPECT_EQ(iniReadSection("[A]\r\nx=1\r\n", "B"), "\0"s);
  EXPECT_EQ(iniReadSection("[A]\r\n;c\r\n\r\n[B]\r\n", "A"), "\0"s);
  EXPECT_EQ(iniReadSection("", "A"), "\0"s);
}

TEST(IniSection, ReadUsesOnlyTheFirstMatchingSection) {
  EXPECT_EQ(iniReadSection("[A]\r\nx=1\r\n[a]\r\ny=2\r\n", "a"), "x=1\0\0"s);
}

TEST(IniSection, WriteReplacesBodyAndKeepsEverythingElse) {
  std::string text = "[A]\r\nx=1\r\n[HOLIDAY]\r\n0101=old\r\n;c\r\n\r\n0202=old\r\n\r\n[B]\r\ny=2\r\n";
  bool changed = false;
  EXPECT_EQ(sectionWritten(text, "holiday", "0101=元日||0\0" "0211=建国記念の日||0\0\0"s, &changed),
            "[A]\r\nx=1\r\n[HOLIDAY]\r\n0101=元日||0\r\n0211=建国記念の日||0\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_TRUE(changed);
}

TEST(IniSection, WriteOfSameEntriesReportsUnchanged) {
  std::string text = "[H]\r\na=1\r\nb=2\r\n\r\n[B]\r\n";
  bool changed = true;
  EXPECT_EQ(sectionWritten(text, "H", "a=1\0b=2\0\0"s, &changed), text);
  EXPECT_FALSE(changed);
}

TEST(IniSection, WriteCreatesMissingSectionAtEnd) {
  EXPECT_EQ(sectionWritten("[A]\r\nx=1", "H", "a=1\0b=2\0\0"s), "[A]\r\nx=1\r\n[H]\r\na=1\r\nb=2\r\n");
}

TEST(IniSection, WriteOfNoEntriesAddsNoSection) {
  bool changed = true;
  EXPECT_EQ(sectionWritten("[A]\r\nx=1\r\n", "H", "\0"s, &changed), "[A]\r\nx=1\r\n");
  EXPECT_FALSE(changed);
  EXPECT_EQ(sectionWritten("", "H", ""), "");
}

TEST(IniSection, WriteWithoutEntriesEmptiesTheSection) {
  EXPECT_EQ(sectionWritten("[H]\r\na=1\r\n[B]\r\n", "H", ""), "[H]\r\n[B]\r\n");
  EXPECT_EQ(sectionWritten("[H]", "H", "\0"s), "[H]");
}

TEST(IniSection, WriteEntriesWithoutFinalNul) {
  EXPECT_EQ(sectionWritten("[H]\r\n", "H", "a=1\0b=2"s), "[H]\r\na=1\r\nb=2\r\n");
}

TEST(IniSection, WriteAfterHeaderWithoutLineEnd) {
  EXPECT_EQ(sectionWritten("[H]", "H", "a=1\0\0"s), "[H]\r\na=1\r\n");
}

TEST(IniSection, WriteChangesOnlyTheFirstMatchingSection) {
  EXPECT_EQ(sectionWritten("[H]\r\na=1\r\n[h]\r\nb=2\r\n", "H", "c=3\0\0"s),
            "[H]\r\nc=3\r\n[h]\r\nb=2\r\n");
}

// ---------------------------------------------------------------- robustness

TEST(IniRobustness, OddBytesNeverBreakTheReader) {
  const std::string texts[] = {
      ""s,
      "\0"s,
      "\0\0[A]\r\nx=1\r\n"s,
      "[A]\r\nx=1\0tail\r\n"s,
      "["s,
      "[\x95"s,
      "[A\x95]"s,
      "[A]\r\nk\x95=v"s,
      "[A]\r\nk=\x95"s,
      "=\r\n=\r\n[=]\r\n="s,
      "\r\r\r\n\n\n"s,
      std::string(300000, '[') + "]",
      "[A]\r\nk=" + std::string(300000, '\x95'),
  };
  for (const std::string& text : texts) {
    (void)iniReadValue(text, "A", "k");
    (void)iniReadSection(text, "A");
    std::string copy = text;
    iniWriteValue(copy, "A", "k", "v");
    EXPECT_EQ(read(copy, "A", "k"), "v");
    copy = text;
    iniWriteSection(copy, "A", "k=w\0\0"s);
    EXPECT_EQ(read(copy, "A", "k"), "w");
  }
  // A lead byte right before '=' swallows it: the line has no key then.
  EXPECT_FALSE(iniReadValue("[A]\r\nk\x95=v\r\n", "A", "k\x95"));
  EXPECT_EQ(read("[A]\r\nx=1\0tail\r\n"s, "A", "x"), "1\0tail"s);
}

TEST(IniRobustness, RandomBytesAndRandomEdits) {
  std::mt19937 random(7);
  const char alphabet[] = "[]=;\r\n \t\"'AaKk01\x95\x5C\x83\x41\x61\0";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    std::size_t length = random() % 64;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % (sizeof alphabet)];
    std::string key(1, "AaKk\x95"[random() % 5]);
    std::string edited = text;
    bool changed = iniWriteValue(edited, "A", key, "value");
    // A write is visible to the next read, and leaves no trace when it changes nothing.
    if (key != "\x95") {
      EXPECT_EQ(read(edited, "A", key), "value") << ::testing::PrintToString(text);
    }
    if (!changed) {
      EXPECT_EQ(edited, text);
    }
    (void)iniReadSection(edited, "a");
    (void)iniParseInt(text);
  }
}

}  // namespace
