// The holiday page's list: what a section becomes on screen, what the page
// accepts, and what it writes back.
#include "settings/holiday_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/settings_pages.h"

namespace {

using namespace std::string_literals;

std::vector<std::string> linesOf(const std::vector<HolidayEntry>& entries) {
  std::vector<std::string> lines;
  for (const HolidayEntry& entry : entries) lines.push_back(entry.line + "/" + std::to_string(entry.userDefined));
  return lines;
}

TEST(HolidayList, SectionIsListedInDateOrderWithFlags) {
  std::vector<HolidayEntry> entries =
      holidayEntriesFromSection("1103=文化の日\0" "0101=元日||0\0" "0505=こどもの日||1\0" "0211=x||9\0\0"s);
  EXPECT_EQ(linesOf(entries), (std::vector<std::string>{"0101 : 元日/0", "0211 : x/0", "0505 : こどもの日/1",
                                                         "1103 : 文化の日/0"}));
  // Without "||" an entry is public and is written back with the marker.
  EXPECT_EQ(holidaySectionFromEntries(entries),
            "0101=元日||0\0" "0211=x||0\0" "0505=こどもの日||1\0" "1103=文化の日||0\0\0"s);
  EXPECT_EQ(holidaySectionFromEntries({}), "\0"s);
}

TEST(HolidayList, MarkerInsideADoubleByteCharacterIsNotTheMarker) {
  // "ポ" is 0x83 0x7C: its second byte is '|'. Followed by "|1" it must not
  // be read as a marker.
  std::vector<HolidayEntry> entries = holidayEntriesFromSection("0102=ポ|1\0\0"s);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].line, "0102 : ポ|1");
  EXPECT_EQ(entries[0].userDefined, 0);
}

TEST(HolidayList, HalfACharacterAtTheEndOfANameIsNeitherListedNorWrittenBeforeTheMarker) {
  // "x" then a lone lead byte (a damaged file): listed and written with the
  // marker, the lead byte would take the marker's first '|': the flag would
  // be lost and the name would change at every save. The entry is kept as
  // it was read.
  const std::string section = "0103=x\x8c\0\0"s;
  EXPECT_TRUE(holidayEntriesFromSection(section).empty());
  EXPECT_EQ(holidayEntriesKeptAsRead(section), (std::vector<std::string>{"0103=x\x8c"}));
  // A list line that ends so (never made by the page) loses the half byte.
  std::string written = holidaySectionFromEntries({HolidayEntry{"0104 : y\x8c", 1}});
  EXPECT_EQ(written, "0104=y||1\0\0"s);
  EXPECT_EQ(holidaySectionFromEntries(holidayEntriesFromSection(written)), written);
}

TEST(HolidayList, EntriesThePageCannotListWholeAreKeptAsRead) {
  // 300 bytes of double-byte name do not fit a list line: not listed, kept.
  std::string name;
  for (int i = 0; i < 150; ++i) name += "祝";
  const std::string overlong = "0707=" + name + "||1";
  EXPECT_TRUE(holidayEntriesFromSection(overlong + "\0\0"s).empty());
  EXPECT_EQ(holidayEntriesKeptAsRead(overlong + "\0\0"s), (std::vector<std::string>{overlong}));
  // The longest name that fits: 204 bytes after "0707 : ".
  std::string longest = "0707=" + name.substr(0, 204) + "||1";
  std::vector<HolidayEntry> entries = holidayEntriesFromSection(longest + "\0\0"s);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].line.size(), kHolidayTextCapacity - 1);
  EXPECT_EQ(holidaySectionFromEntries(entries), longest + "\0\0"s);
  EXPECT_TRUE(holidayEntriesKeptAsRead(longest + "\0\0"s).empty());

  // Short keys, keys that are no digits, a line without '=': kept in order.
  const std::string odd = "12\0" "0303=\0" "101=Name||1\0" "noeq\0" "ABCD=x\0" "０１０１=全角\0\0"s;
  EXPECT_EQ(linesOf(holidayEntriesFromSection(odd)), (std::vector<std::string>{"0303 : /0"}));
  EXPECT_EQ(holidayEntriesKeptAsRead(odd),
            (std::vector<std::string>{"12", "101=Name||1", "noeq", "ABCD=x", "０１０１=全角"}));

  HolidayFields fields = holidayFieldsOf(HolidayEntry{"0505 : こどもの日", 1});
  EXPECT_EQ(fields.month, "05");
  EXPECT_EQ(fields.day, "05");
  EXPECT_EQ(fields.name, "こどもの日");
  fields = holidayFieldsOf(HolidayEntry{"05", 0});
  EXPECT_EQ(fields.month, "05");
  EXPECT_EQ(fields.day, "");
  EXPECT_EQ(fields.name, "");
}

TEST(HolidayList, OkWritesTheSectionOnlyWhenTheListChangedAndKeepsWhatItDoesNotList) {
  const std::string asRead = "101=Name||1\0" "1224=前夜\0" "noeq\0" "0101=元日||0\0\0"s;
  std::vector<HolidayEntry> entries = holidayEntriesFromSection(asRead);
  EXPECT_EQ(linesOf(entries), (std::vector<std::string>{"0101 : 元日/0", "1224 : 前夜/0"}));
  // Untouched: nothing to write, the section stays byte for byte.
  EXPECT_EQ(holidaySectionToWrite(asRead, entries), std::nullopt);
  // An entry added and deleted again changes nothing either.
  std::size_t index = 0;
  ASSERT_EQ(addHoliday(entries, "5", "5", "こどもの日", true, &index), HolidayAddResult::Added);
  std::vector<HolidayEntry> added = entries;
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  EXPECT_EQ(holidaySectionToWrite(asRead, entries), std::nullopt);
  // Changed: the listed entries in the page's form, then the others as read.
  EXPECT_EQ(holidaySectionToWrite(asRead, added),
            "0101=元日||0\0" "0505=こどもの日||1\0" "1224=前夜||0\0" "101=Name||1\0" "noeq\0\0"s);
  // Every entry deleted: only those the page never listed remain.
  EXPECT_EQ(holidaySectionToWrite(asRead, {}), "101=Name||1\0" "noeq\0\0"s);
  EXPECT_EQ(holidaySectionToWrite("\0"s, {}), std::nullopt);
  EXPECT_EQ(holidaySectionToWrite("\0"s, added), "0101=元日||0\0" "0505=こどもの日||1\0" "1224=前夜||0\0\0"s);
}

TEST(HolidayList, AddChecksMonthDayDuplicateAndNameInThatOrder) {
  std::vector<HolidayEntry> entries = holidayEntriesFromSection("0503=憲法記念日||0\0\0"s);
  std::size_t index = 99;
  EXPECT_EQ(addHoliday(entries, "13", "1", "x", false, &index), HolidayAddResult::BadMonth);
  EXPECT_EQ(addHoliday(entries, "0", "1", "x", false, &index), HolidayAddResult::BadMonth);
  EXPECT_EQ(addHoliday(entries, "", "1", "x", false, &index), HolidayAddResult::BadMonth);
  EXPECT_EQ(addHoliday(entries, "1a", "1", "", false, &index), HolidayAddResult::BadMonth);
  EXPECT_EQ(addHoliday(entries, "2", "30", "", false, &index), HolidayAddResult::BadDay);
  EXPECT_EQ(addHoliday(entries, "4", "31", "x", false, &index), HolidayAddResult::BadDay);
  EXPECT_EQ(addHoliday(entries, "4", "", "x", false, &index), HolidayAddResult::BadDay);
  // Same date, another name: still a duplicate, checked before the name.
  EXPECT_EQ(addHoliday(entries, "5", "3", "", false, &index), HolidayAddResult::Duplicate);
  EXPECT_EQ(addHoliday(entries, "05", "03", "別の名前", true, &index), HolidayAddResult::Duplicate);
  EXPECT_EQ(addHoliday(entries, "2", "29", "", false, &index), HolidayAddResult::EmptyName);
  EXPECT_EQ(index, 99u);
  ASSERT_EQ(entries.size(), 1u);

  EXPECT_EQ(addHoliday(entries, "2", "29", "閏日", true, &index), HolidayAddResult::Added);
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(addHoliday(entries, " 12", "24", "前夜", false, &index), HolidayAddResult::Added);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(linesOf(entries), (std::vector<std::string>{"0229 : 閏日/1", "0503 : 憲法記念日/0", "1224 : 前夜/0"}));
  EXPECT_EQ(holidaySectionFromEntries(entries), "0229=閏日||1\0" "0503=憲法記念日||0\0" "1224=前夜||0\0\0"s);

  for (HolidayAddResult refused : {HolidayAddResult::BadMonth, HolidayAddResult::BadDay, HolidayAddResult::Duplicate,
                                   HolidayAddResult::EmptyName, HolidayAddResult::NameTooLong,
                                   HolidayAddResult::NameHasBar})
    EXPECT_NE(holidayAddMessage(refused), nullptr);
  // A '|' of its own would run into the "||" marker ("a|" is written
  // "a|||1" and read back as "a", flag lost); one that is the second byte of
  // "ポ" (0x83 0x7C) is part of a character and comes back whole.
  EXPECT_EQ(addHoliday(entries, "3", "3", "a|", true, nullptr), HolidayAddResult::NameHasBar);
  EXPECT_EQ(addHoliday(entries, "3", "3", "a||b", true, nullptr), HolidayAddResult::NameHasBar);
  EXPECT_EQ(addHoliday(entries, "3", "3", "ポ", true, nullptr), HolidayAddResult::Added);
  EXPECT_EQ(linesOf(holidayEntriesFromSection(holidaySectionFromEntries(entries))), linesOf(entries));
  EXPECT_STREQ(holidayAddMessage(HolidayAddResult::Duplicate), "その日はすでに休日に指定されています");
}

TEST(HolidayList, NameLimitKeepsEveryEntryWithinItsShare) {
  std::vector<HolidayEntry> entries;
  std::string longest;
  for (int i = 0; i < 100; ++i) longest += "祝";  // 200 bytes
  EXPECT_EQ(addHoliday(entries, "1", "1", longest + "x", false, nullptr), HolidayAddResult::NameTooLong);
  EXPECT_EQ(addHoliday(entries, "1", "1", longest, true, nullptr), HolidayAddResult::Added);
  EXPECT_LE(entries[0].line.size(), kHolidayTextCapacity - 1);
  std::string section = holidaySectionFromEntries(entries);
  EXPECT_EQ(section.size(), 208u + 1 + 1) << "the longest entry (key, =, name, ||, flag), its NUL, the closing NUL";
  EXPECT_LE(section.size(), entries.size() * kHolidayEntryBytes + 1);
  // And it comes back as it went.
  EXPECT_EQ(linesOf(holidayEntriesFromSection(section)), linesOf(entries));
}

TEST(SettingsPages, RadioGroupsMarksAndDirectories) {
  EXPECT_EQ(valueOfRadioGroup(true, true), 0);
  EXPECT_EQ(valueOfRadioGroup(false, true), 1);
  EXPECT_EQ(valueOfRadioGroup(false, false), 2);
  EXPECT_EQ(radioForValue(1), 1);
  EXPECT_EQ(radioForValue(2), 2);
  EXPECT_EQ(radioForValue(7), 0);
  EXPECT_EQ(radioForValue(-1), 0);
  EXPECT_EQ(markListItemFor(5), 5);
  EXPECT_EQ(markListItemFor(9), -1);
  EXPECT_EQ(markListItemFor(-1), -1);
  EXPECT_STREQ(markStyleText(5), "なし");

  // "表" is 0x95 0x5C: its second byte is not the separator.
  EXPECT_EQ(sjisDirectoryPart("C:\\画像\\表"), "C:\\画像");
  EXPECT_EQ(sjisDirectoryPart("C:\\表\\a.bmp"), "C:\\表");
  EXPECT_EQ(sjisDirectoryPart("表.bmp"), "");
  EXPECT_EQ(sjisDirectoryPart(""), "");
  EXPECT_EQ(sjisDirectoryPart("C:\\a.bmp"), "C:");
}

TEST(SettingsPages, SwitchesShowAsTheCalendarReadsThemAndKeepWhatTheBoxAgreesWith) {
  for (int stored : {1, 2, 7, -1}) EXPECT_TRUE(switchIsOn(stored, SwitchReading::NotZero)) << stored;
  EXPECT_FALSE(switchIsOn(0, SwitchReading::NotZero));
  EXPECT_TRUE(switchIsOn(1, SwitchReading::OnlyOne));
  for (int stored : {0, 2, -1}) EXPECT_FALSE(switchIsOn(stored, SwitchReading::OnlyOne)) << stored;

  // A hand-written 2 stays 2 while the box says what it said.
  EXPECT_EQ(switchValueToSave(2, SwitchReading::NotZero, true), 2);
  EXPECT_EQ(switchValueToSave(2, SwitchReading::NotZero, false), 0);
  EXPECT_EQ(switchValueToSave(2, SwitchReading::OnlyOne, false), 2);
  EXPECT_EQ(switchValueToSave(2, SwitchReading::OnlyOne, true), 1);
  EXPECT_EQ(switchValueToSave(0, SwitchReading::NotZero, false), 0);
  EXPECT_EQ(switchValueToSave(0, SwitchReading::NotZero, true), 1);
  EXPECT_EQ(switchValueToSave(1, SwitchReading::OnlyOne, false), 0);
}


}  // namespace
