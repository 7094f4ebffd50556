#pragma once
// The three-way merge of a month: the month as this program last read or
// wrote it (base), the month file as it is on disk now (theirs: another PC
// through a synced or shared folder, sorvane-cal, a script) and the month
// we want to store (ours). It works slot by slot, a slot being one day's
// memo with its colour or the month memo:
//   - a slot only one side changed takes that side (a removal included);
//   - a slot both sides changed the same way takes it;
//   - a slot both changed differently takes ours and is reported as a
//     conflict carrying the other side's memo, so that it can be kept whole.
// A day that ours lacks because it appeared on disk after ours was read
// (the month memo dialog's text never had it) was not changed by us: base
// lacked it too, so the disk's memo stays.
//
// Contents come from the month file's own reader and writer (the grid's
// loadFromData and saveToData); nothing here reads the file format.
#include <string>
#include <string_view>
#include <vector>

#include "calendar/colour.h"

class MonthGrid;

// One memo: absent (no block in the file), or its text and colour. The
// month memo has no colour of its own; its colour stays 0.
struct MemoSlot {
  bool present = false;
  std::string text;
  Colour colour = 0;
};

// Every memo of one month. days[d] is the memo of day d (1..31); days[0]
// and the days past the month's end stay absent.
constexpr int kMonthSlots = 32;
struct MonthContents {
  MemoSlot monthMemo;
  MemoSlot days[kMonthSlots];
};

// The memos a grid holds. False when a memo's block cannot be read.
bool monthContentsFromGrid(const MonthGrid& grid, MonthContents& contents);
// The memos of a month file's bytes for that month, read as the program
// reads the file. False when memory ran short.
bool monthContentsFromData(int year, int month, std::string_view bytes, MonthContents& contents);
// The month file's bytes for the contents, written as the program writes
// them (empty: no memo block at all, no file). False when memory ran short.
bool monthDataFromContents(int year, int month, const MonthContents& contents, std::string& bytes);

// A slot that both sides changed, differently. `day` is 1..31, or 0 for
// the month memo. `ours` went into the merged month; `theirs` is the
// other side's memo, which the merge did not keep.
struct MonthConflict {
  int day = 0;
  MemoSlot ours;
  MemoSlot theirs;
};

struct MonthMerge {
  MonthContents merged;
  std::vector<MonthConflict> conflicts;  // month memo first, then by day
};

MonthMerge mergeMonthContents(const MonthContents& base, const MonthContents& theirs, const MonthContents& ours);
