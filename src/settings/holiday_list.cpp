#include "settings/holiday_list.h"

#include <algorithm>
#include <cstdio>

#include "calendar/names.h"
#include "platform/sjis.h"

namespace {

constexpr std::string_view kFlagMarker = "||";
constexpr std::string_view kSeparator = " : ";
constexpr std::size_t kKeyLength = 4;
// The name starts after the key and " : ".
constexpr std::size_t kNameOffset = kKeyLength + 3;

// The first `count` characters of `text`, never splitting one.
std::string_view leadingChars(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t n = 0; n < count && end < text.size(); ++n) end += sjisCharLength(text, end);
  return text.substr(0, end);
}

// Date order is the order of the lines' bytes: every key is four digits.
bool lineBefore(const HolidayEntry& a, const HolidayEntry& b) { return a.line < b.line; }

void insertInOrder(std::vector<HolidayEntry>& entries, HolidayEntry entry, std::size_t* index) {
  auto at = std::upper_bound(entries.begin(), entries.end(), entry, lineBefore);
  if (index) *index = static_cast<std::size_t>(at - entries.begin());
  entries.insert(at, std::move(entry));
}

// An edit's text as an unsigned number, as the dialog manager reads one:
// blanks before it, then digits only. -1 when it is not a number.
int parseUnsigned(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return -1;
  int value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
    if (value > 9999) return -1;
  }
  return value;
}

}  // namespace

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when the text ends in the first byte of a double-byte character
// whose second byte is missing.
bool endsInHalfACharacter(std::string_view text) {
  return !text.empty() && sjisStartOfLastChars(text, 1) == text.size() - 1 &&
         isSjisLeadByte(static_cast<unsigned char>(text.back()));
}

// The list line of an entry the page can show and write back whole, or
// nullopt for one it keeps as read.
std::optional<HolidayEntry> listedEntry(std::string_view entry) {
  if (entry.size() <= kKeyLength || entry[kKeyLength] != '=') return std::nullopt;
  for (std::size_t i = 0; i < kKeyLength; ++i)
    if (!isDigit(entry[i])) return std::nullopt;
  std::string_view value = entry.substr(kKeyLength + 1);
  HolidayEntry item;
  std::size_t marker = sjisFind(value, kFlagMarker);
  if (marker != std::string_view::npos) {
    std::size_t flagAt = marker + kFlagMarker.size();
    item.userDefined = flagAt < value.size() && value[flagAt] == '1' ? 1 : 0;
    value = value.substr(0, marker);
  }
  // Cut to the list's buffer, or without its broken last byte, the name
  // would be written back shorter than it is.
  if (endsInHalfACharacter(value) || kNameOffset + value.size() > kHolidayTextCapacity - 1) return std::nullopt;
  item.line.append(entry.substr(0, kKeyLength)).append(kSeparator).append(value);
  return item;
}

// Calls `use` with each entry of a NUL-separated list, up to the empty one.
template <typename Use>
void forEachEntry(std::string_view entries, Use use) {
  std::size_t start = 0;
  while (start < entries.size()) {
    std::size_t end = entries.find('\0', start);
    if (end == std::string_view::npos) end = entries.size();
    std::string_view entry = entries.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) break;
    use(entry);
  }
}

bool sameList(const std::vector<HolidayEntry>& a, const std::vector<HolidayEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].line != b[i].line || a[i].userDefined != b[i].userDefined) return false;
  return true;
}

}  // namespace

std::vector<HolidayEntry> holidayEntriesFromSection(std::string_view entries) {
  std::vector<HolidayEntry> result;
  forEachEntry(entries, [&](std::string_view entry) {
    if (std::optional<HolidayEntry> item = listedEntry(entry)) insertInOrder(result, std::move(*item), nullptr);
  });
  return result;
}

std::vector<std::string> holidayEntriesKeptAsRead(std::string_view entries) {
  std::vector<std::string> kept;
  forEachEntry(entries, [&](std::string_view entry) {
    if (!listedEntry(entry)) kept.emplace_back(entry);
  });
  return kept;
}

std::string holidaySectionFromEntries(const std::vector<HolidayEntry>& entries,
                                      const std::vector<std::string>& keptAsRead) {
  std::string section;
  section.reserve(entries.size() * kHolidayEntryBytes + 1);
  for (const HolidayEntry& entry : entries) {
    std::string_view line = entry.line;
    std::string_view key = leadingChars(line, kKeyLength);
    std::string_view name = line.substr(leadingChars(line, kNameOffset).size());
    // A name that ends in half a double-byte character would take the first
    // '|' of the marker as its second half: the flag would be lost and the
    // name would change at every save. Half a character is no text; it is
    // left out.
    if (endsInHalfACharacter(name)) name.remove_suffix(1);
    section.append(key).append("=").append(name).append(kFlagMarker);
    section.append(entry.userDefined == 1 ? "1" : "0");
    section.push_back('\0');
  }
  for (const std::string& entry : keptAsRead) {
    section.append(entry);
    section.push_back('\0');
  }
  section.push_back('\0');
  return section;
}

std::optional<std::string> holidaySectionToWrite(std::string_view sectionAsRead,
                                                 const std::vector<HolidayEntry>& entries) {
  if (sameList(entries, holidayEntriesFromSection(sectionAsRead))) return std::nullopt;
  return holidaySectionFromEntries(entries, holidayEntriesKeptAsRead(sectionAsRead));
}

HolidayAddResult addHoliday(std::vector<HolidayEntry>& entries, std::string_view monthText,
                            std::string_view dayText, std::string_view name, bool userDefined,
                            std::size_t* index) {
  int month = parseUnsigned(monthText);
  if (month < 1 || month > 12) return HolidayAddResult::BadMonth;
  // February always allows its 29th: the list holds dates of any year.
  int lastDay = daysInMonthTable(month) + (month == 2 ? 1 : 0);
  int day = parseUnsigned(dayText);
  if (day < 1 || day > lastDay) return HolidayAddResult::BadDay;
  char key[16];
  std::snprintf(key, sizeof key, "%02d%02d", month, day);
  for (const HolidayEntry& entry : entries)
    if (entry.line.compare(0, kKeyLength, key) == 0) return HolidayAddResult::Duplicate;
  if (name.empty()) return HolidayAddResult::EmptyName;
  if (name.size() > kHolidayNameLimit) return HolidayAddResult::NameTooLong;
  // "a|" would be written "a|||1" and read back as "a" with the flag lost.
  if (sjisFind(name, "|") != std::string_view::npos) return HolidayAddResult::NameHasBar;

  HolidayEntry entry;
  entry.line.append(key).append(kSeparator).append(name);
  entry.userDefined = userDefined ? 1 : 0;
  insertInOrder(entries, std::move(entry), index);
  return HolidayAddResult::Added;
}

const char* holidayAddMessage(HolidayAddResult result) {
  switch (result) {
    case HolidayAddResult::BadMonth:
      return "正しい月を入力してください";
    case HolidayAddResult::BadDay:
      return "正しい日を入力してください";
    case HolidayAddResult::Duplicate:
      return "その日はすでに休日に指定されています";
    case HolidayAddResult::EmptyName:
      return "休日名を入力してください";
    case HolidayAddResult::NameTooLong:
      return "休日名が長すぎます";
    case HolidayAddResult::NameHasBar:
      return "休日名に「|」は使えません";
    case HolidayAddResult::Added:
      break;
  }
  return nullptr;
}

HolidayFields holidayFieldsOf(const HolidayEntry& entry) {
  std::string_view line = entry.line;
  HolidayFields fields;
  std::string_view month = leadingChars(line, 2);
  std::string_view day = leadingChars(line.substr(month.size()), 2);
  fields.month = month;
  fields.day = day;
  fields.name = line.substr(leadingChars(line, kNameOffset).size());
  return fields;
}
