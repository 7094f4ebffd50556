#pragma once
// What the two memo editors share: their multi-line edits, which hold
// Shift_JIS text through the wide conversion boundary, and the messages
// that tell the user when typed text cannot be stored as it is.
#include <windows.h>

#include <string>
#include <string_view>

#include "memo/month_store.h"

// Lifts the edit's text limit, so that a long memo is never cut.
void prepareMemoEdit(HWND edit);

// Puts Shift_JIS text into the edit with the caret at its start and
// nothing selected.
void setMemoEditText(HWND edit, std::string_view sjis);

// The edit's text as Shift_JIS, when a month file can hold it as typed.
// Otherwise the user is told, in a box owned by `owner`, which character
// Shift_JIS cannot hold or that the text holds the block marker "__#"; that
// text is selected in the focused edit, and the result is false.
bool readStorableMemo(HWND owner, HWND edit, std::string& sjis);

// Selects bytes [begin, end) of `sjis`, the edit's text, in the edit.
void selectMemoText(HWND edit, std::string_view sjis, std::size_t begin, std::size_t end);

// Message boxes captioned "Sorvane", owned by `owner`; texts are Shift_JIS.
void showMemoWarning(HWND owner, std::string_view sjis);
// OK and Cancel; true for OK.
bool askMemoQuestion(HWND owner, std::string_view sjis);

// "could not be saved" for the month file of year and month, naming it.
std::string memoSaveFailedMessage(int year, int month);
// The text could not be stored for lack of memory.
std::string memoNoMemoryMessage();

// Tells the user, in boxes owned by `owner`, what a comparing save of the
// month did when it matters: a lock another save kept, a save that failed
// (the text stays in the window), memos that both sides changed (ours was
// stored, theirs is in the copy the box names). True when the month file
// now holds the text.
bool reportMonthSave(HWND owner, int year, int month, const MonthSaveResult& result);
