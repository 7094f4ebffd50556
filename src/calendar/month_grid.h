#pragma once
// The month on display: 42 day cells in six rows of seven (column 0 is
// Sunday) and the month memo. The grid does not know its own year and month;
// callers pass them to every operation. It owns every memo stored in it.
#include <cstdint>
#include <string>

#include "calendar/colour.h"

#include "calendar/memo_text.h"


constexpr int kGridCells = 42;
constexpr int kFirstYear = 1980;
constexpr int kHolidayNameSize = 256;

struct DayCell {
  int day = 0;          // 1..31; 0 marks an empty cell
  int weekday = 0;      // index mod 7; meaningless on empty cells
  int holidayKind = 0;  // 0 ordinary, 1 public holiday, 2 user holiday
  MemoText memo;        // absent: the day has no memo block
  Colour memoColor = 0; // meaningful only while memo is present
  char holidayName[kHolidayNameSize] = {};  // may end in the "||" marker
};

class MonthGrid {
 public:
  MonthGrid() = default;
  MonthGrid(const MonthGrid&) = delete;
  MonthGrid& operator=(const MonthGrid&) = delete;

  // Lays out the month and names its holidays. Drops every memo. A year
  // before 1980 or a month outside 1..12 is refused: the grid is left
  // empty (no days, no memos) and the result is false.
  bool build(int year, int month);

  // The cell with the lowest index whose day equals `day` (day 0 finds the
  // first empty cell), or null.
  DayCell* findDay(int day);
  const DayCell* findDay(int day) const;

  DayCell& cell(int index) { return cells_[index]; }
  const DayCell& cell(int index) const { return cells_[index]; }

  const MemoText& monthMemo() const { return monthMemo_; }
  // Replaces the month memo with a copy of `text` (an empty text gives a
  // present, empty memo). False when memory is short; the old memo is gone.
  bool setMonthMemo(std::string_view text);
  // Hands a block to the grid as the month memo.
  void adoptMonthMemo(MemoText memo) { monthMemo_ = std::move(memo); }

  // Holiday rules, run by build after the days are laid out; see holidays.h.
  void applyHolidays(int year, int month);
  void applyWeekdayRules(int year, int month);

  // The month file store; see memo/month_store.h.
  // When `fileBytes` is given, it receives the bytes the memos were read
  // from (empty when there was no file).
  bool load(int year, int month, std::string* fileBytes = nullptr);
  bool save(int year, int month) const;
  // The memos of a month file's bytes, as load reads them, on a grid just
  // built for that month. False when memory ran short part way.
  bool loadFromData(std::string_view bytes);
  // The month file's bytes for the grid's memos, as save writes them.
  // False when a memo's block cannot be read.
  bool saveToData(std::string& content) const;
  // True when the last load could not read the whole month file (no memory,
  // a read error, a file that exists but cannot be opened). Saving such a
  // month would destroy the memos that were not read, so save refuses it.
  bool memosIncomplete() const { return memosIncomplete_; }

 private:
  bool isCitizensHoliday(int day) const;

  DayCell cells_[kGridCells];
  MemoText monthMemo_;
  bool memosIncomplete_ = false;
};
