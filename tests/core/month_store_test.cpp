// The month files: exact bytes written, what is read back from odd files,
// and that a save never destroys what it replaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "platform/file_io.h"
#include "platform/text_convert.h"
#include "test_support.h"

using testing_support::fileExists;
using testing_support::listDirectory;
using testing_support::readBytes;
using testing_support::setReadOnly;
using testing_support::TempDir;
using testing_support::WarningCapture;
using testing_support::writeBytes;

namespace {

// Each test gets its own data directory and an empty settings file.
class MonthStoreTest : public ::testing::Test {
 protected:
  MonthStoreTest() : settings_(dir_.file("test.ini")) { overrideDataDirectory(dir_.path()); }
  ~MonthStoreTest() override {
    overrideDataDirectory(std::string());
    limitBlockAllocationsForTests(-1);
  }

  std::string monthFile(const char* name) const { return dir_.file(name); }

  // Builds December 2004 and loads its file.
  MonthGrid& loadDecember() {
    grid_.build(2004, 12);
    grid_.load(2004, 12);
    return grid_;
  }

  static void setDayMemo(MonthGrid& grid, int day, const std::string& text, Colour colour) {
    DayCell* cell = grid.findDay(day);
    ASSERT_NE(cell, nullptr);
    cell->memo = MemoText::copyOf(text);
    cell->memoColor = colour;
  }

  TempDir dir_;
  testing_support::SettingsFileOverride settings_;
  MonthGrid grid_;
};

const std::string kExample = std::string("__#00#__\r\nabc\r\n__#05#__00000255\r\nx");

TEST_F(MonthStoreTest, WritesTheDocumentedExampleByteForByte) {
  MonthGrid& grid = loadDecember();
  ASSERT_TRUE(grid.setMonthMemo("abc"));
  setDayMemo(grid, 5, "x", 255);
  ASSERT_TRUE(grid.save(2004, 12));
  const std::string bytes = readBytes(monthFile("200412.dat"));
  EXPECT_EQ(bytes.size(), 34u);
  EXPECT_EQ(bytes, kExample);
}

TEST_F(MonthStoreTest, GoldenFileOfAFullMonthRoundTrips) {
  // Two-digit days, colours of all sizes, Shift_JIS with '\' trail bytes,
  // multi-line memos and an empty memo, in ascending day order.
  const std::string golden =
      "__#00#__\r\n今月の予定\r\n二行目"
      "\r\n__#01#__00000000\r\n元日"
      "\r\n__#09#__16777215\r\n表示ソフト\r\n"
      "\r\n__#10#__00000000\r\n"
      "\r\n__#31#__00065280\r\n大晦日\r\n\r\n終わり";
  writeBytes(monthFile("200412.dat"), golden);
  MonthGrid& grid = loadDecember();
  EXPECT_EQ(grid.monthMemo().text(), "今月の予定\r\n二行目");
  EXPECT_EQ(grid.findDay(9)->memo.text(), "表示ソフト\r\n");
  EXPECT_EQ(grid.findDay(9)->memoColor, 16777215u);
  EXPECT_TRUE(grid.findDay(10)->memo.present());
  EXPECT_EQ(grid.findDay(10)->memo.text(), "");
  EXPECT_EQ(grid.findDay(31)->memoColor, 65280u);
  EXPECT_FALSE(grid.findDay(2)->memo.present());
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(monthFile("200412.dat")), golden);
}

TEST_F(MonthStoreTest, FileNamesUseFourDigitYearAndTwoDigitMonth) {
  grid_.build(1980, 1);
  ASSERT_TRUE(grid_.setMonthMemo("m"));
  ASSERT_TRUE(grid_.save(1980, 1));
  EXPECT_TRUE(fileExists(monthFile("198001.dat")));
  std::string path;
  ASSERT_TRUE(monthFilePath(2004, 12, path));
  EXPECT_EQ(path, dir_.path() + "\\200412.dat");
}

TEST_F(MonthStoreTest, EmptyBlocksAreKeptApartFromMissingOnes) {
  MonthGrid& grid = loadDecember();
  ASSERT_TRUE(grid.setMonthMemo(""));
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(monthFile("200412.dat")), "__#00#__\r\n");

  setDayMemo(grid, 7, "", 0);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(monthFile("200412.dat")), "__#00#__\r\n\r\n__#07#__00000000\r\n");

  MonthGrid& reloaded = loadDecember();
  EXPECT_TRUE(reloaded.monthMemo().present());
  EXPECT_EQ(reloaded.monthMemo().text(), "");
  EXPECT_TRUE(reloaded.findDay(7)->memo.present());
  EXPECT_EQ(reloaded.findDay(7)->memo.text(), "");
  EXPECT_FALSE(reloaded.findDay(8)->memo.present());
}

TEST_F(MonthStoreTest, MonthWithoutMemoBlocksHasNoFile) {
  writeBytes(monthFile("200412.dat"), kExample);
  const std::string stray = temporaryPathFor(monthFile("200412.dat"), 0x12345);
  writeBytes(stray, "stray");
  std::filesystem::last_write_time(stray, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  MonthGrid& grid = loadDecember();
  grid.build(2004, 12);  // drops every memo
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_FALSE(fileExists(monthFile("200412.dat")));
  EXPECT_TRUE(listDirectory(dir_.path()).empty());
  // Saving an empty month where no file exists is fine too.
  EXPECT_TRUE(grid.save(2004, 12));
}

TEST_F(MonthStoreTest, ReadsDaysWithoutAMonthMemo) {
  writeBytes(monthFile("200412.dat"), "\r\n__#03#__00000010\r\nthree\r\n__#04#__00000020\r\nfour\r\n");
  MonthGrid& grid = loadDecember();
  EXPECT_FALSE(grid.monthMemo().present());
  EXPECT_EQ(grid.findDay(3)->memo.text(), "three");
  EXPECT_EQ(grid.findDay(3)->memoColor, 10u);
  // The last block runs to the end of the file, its CR LF included.
  EXPECT_EQ(grid.findDay(4)->memo.text(), "four\r\n");
}

TEST_F(MonthStoreTest, ColourFieldIsReadAsTheDecimalNumberItStartsWith) {
  writeBytes(monthFile("200412.dat"),
             "\r\n__#01#__00000255\r\na\r\n__#02#__abcdefgh\r\nb\r\n__#03#__  -12xyz\r\nc"
             "\r\n__#04#__12345678999\r\nd");
  MonthGrid& grid = loadDecember();
  EXPECT_EQ(grid.findDay(1)->memoColor, 255u);
  EXPECT_EQ(grid.findDay(2)->memoColor, 0u);
  EXPECT_EQ(grid.findDay(3)->memoColor, static_cast<Colour>(-12));
  // Only the eight characters of the field count, and the text starts two
  // bytes after it whatever those bytes are.
  EXPECT_EQ(grid.findDay(4)->memoColor, 12345678u);
  EXPECT_EQ(grid.findDay(4)->memo.text(), "9\r\nd");
}

TEST_F(MonthStoreTest, NeverReadsPastTheEndOfTheData) {
  struct Case {
    const char* bytes;
    Colour colour;
  };
  // Files cut inside a block header: the colour comes from what is there
  // and the memo is empty.
  const Case cases[] = {
      {"\r\n__#05#__", 0},
      {"\r\n__#05#__00", 0},
      {"\r\n__#05#__0000025", 25},
      {"\r\n__#05#__00000255", 255},
      {"\r\n__#05#__00000255\r", 255},
      {"\r\n__#05#__00000255\r\n", 255},
  };
  for (const Case& c : cases) {
    writeBytes(monthFile("200412.dat"), c.bytes);
    MonthGrid& grid = loadDecember();
    const DayCell* cell = grid.findDay(5);
    ASSERT_TRUE(cell->memo.present()) << c.bytes;
    EXPECT_EQ(cell->memo.text(), "") << c.bytes;
    EXPECT_EQ(cell->memoColor, c.colour) << c.bytes;
  }
  writeBytes(monthFile("200412.dat"), "__#00#__\r\n");
  EXPECT_EQ(loadDecember().monthMemo().text(), "");
  writeBytes(monthFile("200412.dat"), "__#00#__\r");
  EXPECT_FALSE(loadDecember().monthMemo().present());
}

TEST_F(MonthStoreTest, EmptyAndMissingFilesGiveNoMemos) {
  MonthGrid& grid = loadDecember();
  EXPECT_FALSE(grid.monthMemo().present());
  EXPECT_FALSE(grid.memosIncomplete());
  writeBytes(monthFile("200412.dat"), "");
  loadDecember();
  EXPECT_FALSE(grid.monthMemo().present());
  EXPECT_FALSE(grid.memosIncomplete());
  for (int day = 1; day <= 31; ++day) EXPECT_FALSE(grid.findDay(day)->memo.present());
}

TEST_F(MonthStoreTest, StrayNulEndsTheData) {
  writeBytes(monthFile("200412.dat"), std::string("\r\n__#01#__00000001\r\nab\0\r\n__#02#__00000002\r\nc", 42));
  MonthGrid& grid = loadDecember();
  EXPECT_EQ(grid.findDay(1)->memo.text(), "ab");
  EXPECT_FALSE(grid.findDay(2)->memo.present());
}

TEST_F(MonthStoreTest, ReadOnlyFileIsReadButNotReplaced) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path, kExample);
  setReadOnly(path, true);
  MonthGrid& grid = loadDecember();
  EXPECT_EQ(grid.monthMemo().text(), "abc");
  EXPECT_EQ(grid.findDay(5)->memo.text(), "x");
  setDayMemo(grid, 6, "new", 1);
  EXPECT_FALSE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(path), kExample);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
}

TEST_F(MonthStoreTest, FailedWriteLeavesThePreviousFileIntact) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path, kExample);
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 6, "a longer memo that will not fit on the full disk", 1);
  truncateNextWriteForTests(12);
  EXPECT_FALSE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(path), kExample);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
  // The memo is still in memory; the next save succeeds.
  EXPECT_TRUE(grid.save(2004, 12));
  EXPECT_NE(readBytes(path).find("a longer memo"), std::string::npos);
}

TEST_F(MonthStoreTest, FreshTemporaryOfAnotherSaveIsLeftAlone) {
  // It may be another program's save in progress: neither deleted nor
  // overwritten, and our save goes ahead under a name of its own.
  const std::string path = monthFile("200412.dat");
  const std::string theirs = temporaryPathFor(path, 0xABCDE);
  writeBytes(theirs, "half of a save");
  testing_support::HeldLikeASave inFlight(theirs);
  ASSERT_TRUE(inFlight.held());
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "one", 1);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(theirs), "half of a save");
  EXPECT_EQ(readBytes(path), "\r\n__#01#__00000001\r\none");
  EXPECT_EQ(listDirectory(dir_.path()).size(), 2u);
}

TEST_F(MonthStoreTest, TemporariesLeftByEarlierCrashesAreSweptAway) {
  // A minute-old temporary of another month is debris; a fresh one may be a
  // save in progress elsewhere and stays. Other files are never touched.
  const std::string old = monthFile("199901.dat.sorvane-tmp");
  const std::string fresh = monthFile("199902.dat.sorvane-tmp");
  const std::string other = monthFile("notes-tmp.txt");
  writeBytes(old, "debris");
  writeBytes(fresh, "in flight");
  writeBytes(other, "mine");
  std::error_code ec;
  std::filesystem::last_write_time(old, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1), ec);
  ASSERT_FALSE(ec);
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "one", 1);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_FALSE(fileExists(old));
  EXPECT_TRUE(fileExists(fresh));
  EXPECT_TRUE(fileExists(other));
  // An empty month, whose file is deleted rather than written, sweeps too.
  std::filesystem::last_write_time(fresh, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1), ec);
  grid.build(2004, 12);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_FALSE(fileExists(fresh));
}

TEST_F(MonthStoreTest, TemporaryNoSaveHoldsIsSweptAtOnce) {
  // What a killed save leaves (our name, nobody holding it) goes with the
  // next save, however fresh. On Windows the minute's grace still applies.
  const std::string path = monthFile("200412.dat");
  const std::string left = temporaryPathFor(path, 0x12345);
  writeBytes(left, "cut off");
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "one", 1);
  ASSERT_TRUE(grid.save(2004, 12));
#ifdef _WIN32
  EXPECT_TRUE(fileExists(left));
#else
  EXPECT_FALSE(fileExists(left));
#endif
  EXPECT_EQ(readBytes(path), "\r\n__#01#__00000001\r\none");
}

TEST_F(MonthStoreTest, MissingDataDirectoryFailsSilently) {
  WarningCapture warnings;
  overrideDataDirectory(dir_.file("no-such-directory"));
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "kept in memory", 1);
  EXPECT_FALSE(grid.save(2004, 12));
  EXPECT_EQ(grid.findDay(1)->memo.text(), "kept in memory");
  EXPECT_TRUE(warnings.messages().empty());
  EXPECT_FALSE(fileExists(dir_.file("no-such-directory")));
}

TEST_F(MonthStoreTest, OverlongPathsAreRefused) {
  overrideDataDirectory(dir_.path() + "\\" + std::string(255, 'd'));
  std::string path;
  EXPECT_FALSE(monthFilePath(2004, 12, path));
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "x", 1);
  EXPECT_FALSE(grid.save(2004, 12));
  // Exactly 255 bytes is still fine.
  std::string directory = "C:\\" + std::string(255 - 3 - 11, 'd');
  overrideDataDirectory(directory);
  ASSERT_TRUE(monthFilePath(2004, 12, path));
  EXPECT_EQ(path.size(), 255u);
}

TEST_F(MonthStoreTest, NoMemoryForTheFileWarnsAndProtectsTheFile) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path, kExample);
  WarningCapture warnings;
  grid_.build(2004, 12);
  limitBlockAllocationsForTests(0);
  grid_.load(2004, 12);
  limitBlockAllocationsForTests(-1);
  ASSERT_EQ(warnings.messages().size(), 1u);
  EXPECT_EQ(warnings.messages()[0], "メモリの確保に失敗しました。ファイルを開くことができません。");
  EXPECT_TRUE(grid_.memosIncomplete());
  EXPECT_FALSE(grid_.monthMemo().present());
  // Saving now would write a file without the memos that were never read.
  setDayMemo(grid_, 9, "typed after the failure", 1);
  EXPECT_FALSE(grid_.save(2004, 12));
  EXPECT_EQ(readBytes(path), kExample);
  // A rebuild and a good load make the month writable again.
  loadDecember();
  EXPECT_FALSE(grid_.memosIncomplete());
  EXPECT_TRUE(grid_.save(2004, 12));
}

TEST_F(MonthStoreTest, NoMemoryForOneDayStopsReadingThere) {
  const std::string path = monthFile("200412.dat");
  const std::string file = "\r\n__#01#__00000001\r\none\r\n__#02#__00000002\r\ntwo\r\n__#03#__00000003\r\nthree";
  writeBytes(path, file);
  WarningCapture warnings;
  grid_.build(2004, 12);
  limitBlockAllocationsForTests(2);  // the file's data and the 1st's memo
  grid_.load(2004, 12);
  limitBlockAllocationsForTests(-1);
  ASSERT_EQ(warnings.messages().size(), 1u);
  EXPECT_EQ(warnings.messages()[0], "メモリの確保に失敗しました。ファイルの読み込みに失敗しました。");
  EXPECT_EQ(grid_.findDay(1)->memo.text(), "one");
  EXPECT_FALSE(grid_.findDay(2)->memo.present());
  EXPECT_FALSE(grid_.findDay(3)->memo.present());
  EXPECT_FALSE(grid_.save(2004, 12));
  EXPECT_EQ(readBytes(path), file);
}

TEST_F(MonthStoreTest, OversizedFileIsTakenAsNoMemory) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path, "x");
  std::error_code ec;
  std::filesystem::resize_file(path, kMaxMonthFileSize + 1, ec);
  ASSERT_FALSE(ec);
  WarningCapture warnings;
  loadDecember();
  EXPECT_EQ(warnings.messages().size(), 1u);
  EXPECT_TRUE(grid_.memosIncomplete());
}

TEST_F(MonthStoreTest, DataDirectoryComesFromTheSettingsWithOneSeparatorRemoved) {
  overrideDataDirectory(std::string());
  testing_support::writeBytes(dir_.file("test.ini"), "[Sorvane]\r\nDATADIR=D:\\memo\\\r\n");
  EXPECT_EQ(dataDirectory(), "D:\\memo");
  testing_support::writeBytes(dir_.file("test.ini"), "[Sorvane]\r\nDATADIR=D:\\memo\r\n");
  EXPECT_EQ(dataDirectory(), "D:\\memo");
  testing_support::writeBytes(dir_.file("test.ini"), "[Sorvane]\r\nDATADIR=D:\\memo\\\\\r\n");
  EXPECT_EQ(dataDirectory(), "D:\\memo\\");
  // Folder names whose last character ends in the byte of '\' in Shift_JIS
  // ("表" is 0x95 0x5C): the month files land inside the folder, with or
  // without a separator after it, never beside it under a cut name.
  for (const char* name : {"予定表", "ソ", "十", "能", "申", "予"}) {
    const std::string utf8 = sjisToUtf8(name);
    const std::u8string native(utf8.begin(), utf8.end());
    std::filesystem::create_directory(std::filesystem::path(dir_.path()) / native);
    for (const char* separator : {"", "\\"}) {
      testing_support::writeBytes(dir_.file("test.ini"), "[Sorvane]\r\nDATADIR=" + dir_.path() + "\\" +
                                                             name + separator + "\r\n");
      grid_.build(2004, 12);
      setDayMemo(grid_, 5, name, 1);
      ASSERT_TRUE(grid_.save(2004, 12)) << name << separator;
      const auto file = std::filesystem::path(dir_.path()) / native / "200412.dat";
      EXPECT_TRUE(std::filesystem::exists(file)) << name << separator;
      std::filesystem::remove(file);
    }
  }
  EXPECT_EQ(listDirectory(dir_.path()).size(), 7u);  // the six folders and the settings file
  // Without DATADIR the files sit beside the executable.
  testing_support::writeBytes(dir_.file("test.ini"), "");
  std::string exe = executablePath();
  std::string expected = exe.substr(0, exe.find_last_of("\\/"));
  EXPECT_EQ(dataDirectory(), expected);
}

TEST_F(MonthStoreTest, RandomMonthsRoundTripExactly) {
  std::mt19937 random(1234);
  const std::string pieces[] = {"a", "表", "ソ", "\r\n", " ", "__", "#", "予定", "\\", "0"};
  auto randomText = [&] {
    std::string text;
    int n = static_cast<int>(random() % 12);
    for (int i = 0; i < n; ++i) text += pieces[random() % std::size(pieces)];
    // The format cannot hold a block marker inside a memo.
    while (text.find("__#") != std::string::npos) text.replace(text.find("__#"), 3, "_");
    return text;
  };
  for (int round = 0; round < 200; ++round) {
    int month = 1 + static_cast<int>(random() % 12);
    MonthGrid& grid = grid_;
    grid.build(2000 + round % 30, month);
    if (random() % 2) {
      ASSERT_TRUE(grid.setMonthMemo(randomText()));
    }
    for (int day = 1; grid.findDay(day); ++day)
      if (random() % 3 == 0) setDayMemo(grid, day, randomText(), random() % 0x1000000);
    ASSERT_TRUE(grid.save(2000 + round % 30, month));
    MonthGrid copy;
    copy.build(2000 + round % 30, month);
    copy.load(2000 + round % 30, month);
    EXPECT_EQ(copy.monthMemo().present(), grid.monthMemo().present());
    EXPECT_EQ(copy.monthMemo().text(), grid.monthMemo().text());
    for (int day = 1; grid.findDay(day); ++day) {
      const DayCell* a = grid.findDay(day);
      const DayCell* b = copy.findDay(day);
      ASSERT_EQ(a->memo.present(), b->memo.present()) << round << " " << day;
      if (!a->memo.present()) continue;
      EXPECT_EQ(a->memo.text(), b->memo.text());
      EXPECT_EQ(a->memoColor, b->memoColor);
    }
  }
}

TEST_F(MonthStoreTest, MangledFilesNeverCrash) {
  std::mt19937 random(99);
  const std::string tokens[] = {"__#00#__\r\n", "\r\n__#", "05#__", "31#__", "0000", "\r", "\n", "x",
                                "\x81", "\x5c", "__#", "\0"};
  for (int round = 0; round < 500; ++round) {
    std::string bytes;
    int n = static_cast<int>(random() % 20);
    for (int i = 0; i < n; ++i) bytes += tokens[random() % std::size(tokens)];
    writeBytes(monthFile("200412.dat"), bytes);
    MonthGrid& grid = loadDecember();
    for (int day = 1; day <= 31; ++day) (void)grid.findDay(day)->memo.text();
    (void)grid.monthMemo().text();
  }
}

}  // namespace

// ---- Files the reader does not take in whole --------------------------------

TEST_F(MonthStoreTest, FileWithBytesTheReaderSkipsIsKeptBeforeTheFirstSave) {
  // Bytes after a NUL, and a file that holds no block at all: the reader
  // stops or finds nothing, and a save would drop the rest for good.
  const std::string withNul = "\r\n__#07#__00000001\r\nseven" + std::string(1, '\0') +
                              "\r\n__#20#__00000001\r\ntwenty";
  const std::string notOurs = "meeting notes, typed in another program\r\n";
  for (const std::string& original : {withNul, notOurs}) {
    const std::string path = monthFile("200412.dat");
    writeBytes(path, original);
    WarningCapture warnings;
    MonthGrid& grid = loadDecember();
    setDayMemo(grid, 9, "new", 1);
    ASSERT_TRUE(grid.save(2004, 12));
    EXPECT_EQ(readBytes(path + ".1.bak"), original);
    ASSERT_EQ(warnings.messages().size(), 1u);
    EXPECT_NE(warnings.messages()[0].find("200412.dat.1.bak"), std::string::npos);
    // What was read, and the new memo, are in the month file.
    EXPECT_NE(readBytes(path).find("new"), std::string::npos);
    // The file is now the program's own: the next save keeps nothing more.
    setDayMemo(grid, 10, "more", 1);
    ASSERT_TRUE(grid.save(2004, 12));
    EXPECT_EQ(warnings.messages().size(), 1u);
    EXPECT_FALSE(fileExists(path + ".2.bak"));
    std::filesystem::remove(path + ".1.bak");
  }
}

TEST_F(MonthStoreTest, KeptFilesAreNeverOverwritten) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path + ".1.bak", "an older keep");
  writeBytes(path, "not a month file");
  WarningCapture warnings;
  MonthGrid& grid = loadDecember();
  grid.build(2004, 12);  // no memos: the save would delete the file
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(path + ".1.bak"), "an older keep");
  EXPECT_EQ(readBytes(path + ".2.bak"), "not a month file");
  EXPECT_FALSE(fileExists(path));
}

TEST_F(MonthStoreTest, FilesThatRoundTripAreNotKept) {
  writeBytes(monthFile("200412.dat"), kExample);
  WarningCapture warnings;
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 6, "six", 1);
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_TRUE(warnings.messages().empty());
  EXPECT_EQ(listDirectory(dir_.path()).size(), 1u);
}

TEST_F(MonthStoreTest, MonthFileThatCannotBeOpenedKeepsTheMonthUnsaved) {
  // A folder where the file should be: it exists but cannot be read, so
  // the month is not complete and is never written over.
  std::filesystem::create_directory(monthFile("200412.dat"));
  MonthGrid& grid = loadDecember();
  EXPECT_TRUE(grid.memosIncomplete());
  setDayMemo(grid, 1, "one", 1);
  EXPECT_FALSE(grid.save(2004, 12));
  EXPECT_TRUE(std::filesystem::is_directory(monthFile("200412.dat")));
  // The next month loads and saves as usual.
  grid.build(2005, 1);
  EXPECT_TRUE(grid.load(2005, 1));
  setDayMemo(grid, 1, "one", 1);
  EXPECT_TRUE(grid.save(2005, 1));
  EXPECT_EQ(readBytes(monthFile("200501.dat")), "\r\n__#01#__00000001\r\none");
}

TEST_F(MonthStoreTest, ColourThatWouldNotFitEightCharactersKeepsTheHeaderLength) {
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 1, "a", 0xFF123456);  // 4279383126: ten digits
  setDayMemo(grid, 2, "b", 0x80000000);  // negative as a signed number
  ASSERT_TRUE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(monthFile("200412.dat")),
            "\r\n__#01#__01193046\r\na\r\n__#02#__00000000\r\nb");
  MonthGrid& reloaded = loadDecember();
  EXPECT_EQ(reloaded.findDay(1)->memo.text(), "a");
  EXPECT_EQ(reloaded.findDay(2)->memo.text(), "b");
}

TEST_F(MonthStoreTest, FailedFlushLeavesThePreviousFileIntact) {
  const std::string path = monthFile("200412.dat");
  writeBytes(path, kExample);
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 6, "six", 1);
  failNextFlushForTests();
  EXPECT_FALSE(grid.save(2004, 12));
  EXPECT_EQ(readBytes(path), kExample);
  EXPECT_FALSE(testing_support::temporaryLeftBeside(path));
  EXPECT_TRUE(grid.save(2004, 12));
}

TEST_F(MonthStoreTest, SavesAtTheLongestAllowedPath) {
  // The whole path is 255 characters; the temporary beside it must still
  // be a name the system takes.
  const std::size_t folderLength = kMaxMonthFilePath - dir_.path().size() - 1 - 11;
  const std::string folder = dir_.file(std::string(folderLength, 'f'));
  std::filesystem::create_directory(folder);
  overrideDataDirectory(folder);
  std::string path;
  ASSERT_TRUE(monthFilePath(2004, 12, path));
  ASSERT_EQ(path.size(), kMaxMonthFilePath);
  // Windows takes paths of up to 259 characters; the temporary must fit.
  EXPECT_LE(temporaryPathFor(path, 0xFFFFF).size(), 259u);
  MonthGrid& grid = loadDecember();
  setDayMemo(grid, 5, "x", 255);
  ASSERT_TRUE(grid.save(2004, 12));
  ASSERT_TRUE(grid.save(2004, 12));  // over an existing file as well
  EXPECT_EQ(readBytes(folder + "/200412.dat"), "\r\n__#05#__00000255\r\nx");
}
