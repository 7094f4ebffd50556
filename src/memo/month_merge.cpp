#include "memo/month_merge.h"

#include "calendar/month_grid.h"

namespace {

bool slotFromMemo(const MemoText& memo, Colour colour, MemoSlot& slot) {
  slot = MemoSlot();
  if (!memo.present()) return true;
  MemoLock text(memo);
  if (!text.data()) return false;
  slot.present = true;
  slot.text.assign(text.data(), text.length());
  slot.colour = colour;
  return true;
}

// Painting shows an empty memo as no memo: emptying a memo and removing it
// are the same change, whatever colour the empty one kept.
bool blank(const MemoSlot& slot) { return !slot.present || slot.text.empty(); }

bool sameBytes(const MemoSlot& a, const MemoSlot& b) {
  return a.present == b.present && (!a.present || (a.text == b.text && a.colour == b.colour));
}

bool sameMeaning(const MemoSlot& a, const MemoSlot& b) {
  if (blank(a) || blank(b)) return blank(a) && blank(b);
  return a.text == b.text && a.colour == b.colour;
}

// The slot the merged month gets; `conflict` is set when both sides changed
// it differently and ours was taken over theirs.
MemoSlot mergeSlot(const MemoSlot& base, const MemoSlot& theirs, const MemoSlot& ours, bool& conflict) {
  conflict = false;
  if (sameBytes(theirs, base)) return ours;
  if (sameBytes(ours, base)) return theirs;
  if (sameMeaning(ours, theirs)) return ours;
  // A change that shows nothing new (a memo emptied that another side
  // removed, an empty block that appeared) gives way to a real one.
  if (sameMeaning(ours, base)) return theirs;
  if (sameMeaning(theirs, base)) return ours;
  // One side recoloured the memo and the other rewrote its text: both
  // changes fit in one memo.
  if (!blank(base) && !blank(ours) && !blank(theirs)) {
    if (ours.text == base.text && theirs.colour == base.colour) return MemoSlot{true, theirs.text, ours.colour};
    if (theirs.text == base.text && ours.colour == base.colour) return MemoSlot{true, ours.text, theirs.colour};
  }
  conflict = true;
  return ours;
}

}  // namespace

bool monthContentsFromGrid(const MonthGrid& grid, MonthContents& contents) {
  contents = MonthContents();
  if (!slotFromMemo(grid.monthMemo(), 0, contents.monthMemo)) return false;
  for (int i = 0; i < kGridCells; ++i) {
    const DayCell& cell = grid.cell(i);
    if (cell.day <= 0 || cell.day >= kMonthSlots) continue;
    if (!slotFromMemo(cell.memo, cell.memoColor, contents.days[cell.day])) return false;
  }
  return true;
}

bool monthContentsFromData(int year, int month, std::string_view bytes, MonthContents& contents) {
  MonthGrid grid;
  grid.build(year, month);
  return grid.loadFromData(bytes) && monthContentsFromGrid(grid, contents);
}

bool monthDataFromContents(int year, int month, const MonthContents& contents, std::string& bytes) {
  bytes.clear();
  MonthGrid grid;
  grid.build(year, month);
  if (contents.monthMemo.present && !grid.setMonthMemo(contents.monthMemo.text)) return false;
  for (int day = 1; day < kMonthSlots; ++day) {
    const MemoSlot& slot = contents.days[day];
    DayCell* cell = grid.findDay(day);
    if (!cell || !slot.present) continue;
    bool ok = true;
    cell->memo = MemoText::copyOf(slot.text, &ok);
    if (!ok) return false;
    cell->memoColor = slot.colour;
  }
  return grid.saveToData(bytes);
}

MonthMerge mergeMonthContents(const MonthContents& base, const MonthContents& theirs, const MonthContents& ours) {
  MonthMerge result;
  bool conflict = false;
  result.merged.monthMemo = mergeSlot(base.monthMemo, theirs.monthMemo, ours.monthMemo, conflict);
  if (conflict) result.conflicts.push_back(MonthConflict{0, ours.monthMemo, theirs.monthMemo});
  for (int day = 1; day < kMonthSlots; ++day) {
    result.merged.days[day] = mergeSlot(base.days[day], theirs.days[day], ours.days[day], conflict);
    if (conflict) result.conflicts.push_back(MonthConflict{day, ours.days[day], theirs.days[day]});
  }
  return result;
}
