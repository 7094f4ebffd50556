// Feeds every input to the two text formats the program reads: INI text
// and month files. Besides the sanitizers it checks what must hold for any
// input:
//   - a value written with iniWriteValue reads back unchanged, and the
//     write changes nothing else a reader can see of other keys;
//   - a month read from any bytes and written again reads back the same,
//     unless a memo holds the block marker "__#", which the format cannot;
//   - the merge of three months read from any bytes takes a side that alone
//     changed a memo, and reports a conflict exactly where it kept ours over
//     a different memo of theirs.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "calendar/month_grid.h"
#include "memo/month_merge.h"
#include "settings/ini_text.h"
#include "settings/settings_file.h"

namespace {

// Names and values the program itself writes: no line breaks, no
// surrounding blanks, names without the characters of the syntax.
bool plainName(const std::string& name) {
  if (name.empty() || name.front() == ';' || name.front() == '[') return false;
  for (unsigned char c : name)
    if (c < 0x21 || c == '=' || c == ']' || c >= 0x80) return false;
  return true;
}

bool plainValue(const std::string& value) {
  if (value.empty()) return true;
  for (unsigned char c : value)
    if (c < 0x20 || c >= 0x80) return false;
  if (value.front() == ' ' || value.back() == ' ') return false;
  // A value the reader would take for a quoted one comes back without quotes.
  return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

void checkIni(FuzzedDataProvider& input) {
  std::string section = input.ConsumeRandomLengthString(12);
  std::string key = input.ConsumeRandomLengthString(12);
  std::string other = input.ConsumeRandomLengthString(12);
  std::string value = input.ConsumeRandomLengthString(40);
  std::string text = input.ConsumeRandomLengthString(4096);

  // Whatever the text, nothing may crash.
  (void)iniReadValue(text, section, key);
  (void)iniReadSection(text, section);
  (void)iniParseInt(value);

  if (!plainName(section) || !plainName(key) || !plainValue(value)) return;
  std::optional<std::string> before = plainName(other) ? iniReadValue(text, section, other) : std::nullopt;
  bool sameKey = plainName(other) && iniReadValue(text, section, other) == iniReadValue(text, section, key) &&
                 other.size() == key.size();
  iniWriteValue(text, section, key, value);
  std::optional<std::string> back = iniReadValue(text, section, key);
  if (!back || *back != value) __builtin_trap();
  if (plainName(other) && !sameKey) {
    // Another key keeps what it had, unless it is the same key in another
    // letter case.
    std::optional<std::string> after = iniReadValue(text, section, other);
    bool folded = other.size() == key.size();
    for (std::size_t i = 0; folded && i < key.size(); ++i)
      folded = (key[i] | 0x20) == (other[i] | 0x20);
    if (!folded && after != before) __builtin_trap();
  }
}

bool holdsMarker(const MemoText& memo) { return memo.text().find("__#") != std::string::npos; }

// A grid whose memos hold no block marker survives a write and a read
// exactly. (A memo holding one cannot: the format has no escape for it.)
void checkMonthFile(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MonthGrid grid;
  grid.build(2004, 12);
  grid.loadFromData(bytes);
  if (holdsMarker(grid.monthMemo())) return;
  for (int day = 1; day <= 31; ++day)
    if (holdsMarker(grid.findDay(day)->memo)) return;
  std::string written;
  if (!grid.saveToData(written)) __builtin_trap();
  MonthGrid back;
  back.build(2004, 12);
  back.loadFromData(written);
  if (back.monthMemo().present() != grid.monthMemo().present()) __builtin_trap();
  if (back.monthMemo().text() != grid.monthMemo().text()) __builtin_trap();
  for (int day = 1; day <= 31; ++day) {
    const DayCell* a = grid.findDay(day);
    const DayCell* b = back.findDay(day);
    if (a->memo.present() != b->memo.present() || a->memo.text() != b->memo.text()) __builtin_trap();
    if (a->memo.present() && a->memoColor != b->memoColor) __builtin_trap();
  }
}

bool sameSlot(const MemoSlot& a, const MemoSlot& b) {
  return a.present == b.present && (!a.present || (a.text == b.text && a.colour == b.colour));
}

void checkMerge(FuzzedDataProvider& input) {
  MonthContents month[3];
  for (MonthContents& contents : month)
    if (!monthContentsFromData(2004, 12, input.ConsumeRandomLengthString(512), contents)) return;
  const MonthContents& base = month[0];
  const MonthContents& theirs = month[1];
  const MonthContents& ours = month[2];
  // One side alone changed the month: it is taken whole, without conflict.
  MonthMerge onlyOurs = mergeMonthContents(base, base, ours);
  MonthMerge onlyTheirs = mergeMonthContents(base, theirs, base);
  if (!onlyOurs.conflicts.empty() || !onlyTheirs.conflicts.empty()) __builtin_trap();
  MonthMerge both = mergeMonthContents(base, theirs, ours);
  std::size_t next = 0;
  for (int slot = 0; slot < kMonthSlots; ++slot) {
    const MemoSlot& b = slot == 0 ? base.monthMemo : base.days[slot];
    const MemoSlot& t = slot == 0 ? theirs.monthMemo : theirs.days[slot];
    const MemoSlot& o = slot == 0 ? ours.monthMemo : ours.days[slot];
    const MemoSlot& m = slot == 0 ? both.merged.monthMemo : both.merged.days[slot];
    if (!sameSlot((slot == 0 ? onlyOurs.merged.monthMemo : onlyOurs.merged.days[slot]), o)) __builtin_trap();
    if (!sameSlot((slot == 0 ? onlyTheirs.merged.monthMemo : onlyTheirs.merged.days[slot]), t)) __builtin_trap();
    if (sameSlot(t, b) && !sameSlot(m, o)) __builtin_trap();
    if (sameSlot(o, b) && !sameSlot(m, t)) __builtin_trap();
    bool conflict = next < both.conflicts.size() && both.conflicts[next].day == slot;
    if (conflict) {
      const MonthConflict& c = both.conflicts[next++];
      if (!sameSlot(m, o) || !sameSlot(c.ours, o) || !sameSlot(c.theirs, t) || sameSlot(t, o)) __builtin_trap();
    } else if (!sameSlot(m, o) && !sameSlot(m, t) && !(m.present && o.present && t.present)) {
      // Without a conflict the merged memo is one side's, or both sides'
      // changes in one memo.
      __builtin_trap();
    }
  }
  if (next != both.conflicts.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No settings file: the month is built without reading one.
  overrideSettingsFilePath("/nonexistent/sorvane-fuzz.ini");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkMonthFile(data, size);
  FuzzedDataProvider input(data, size);
  checkIni(input);
  checkMerge(input);
  return 0;
}
