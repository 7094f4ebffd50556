#pragma once
// The plain rules of the settings pages: how radio groups and lists map to
// the values of the settings file, and the picture chooser's starting
// directory. The pages themselves (settings/*_win.cpp) only read and set
// their controls.
#include <string>
#include <string_view>

// A group of three radio buttons for the values 0, 1, 2 is read as the
// first checked one; when neither of the first two is checked it is 2.
int valueOfRadioGroup(bool firstChecked, bool secondChecked);
// The button (0, 1 or 2) to check for a stored value: 1 and 2 are
// themselves, anything else the first.
int radioForValue(int value);

// How the calendar reads a stored on/off switch: DISPLAY_TITLE, WEEK,
// AUTO_SIZE and SAVE_POS are on when not 0, the others only when 1. The
// pages show a switch as the calendar reads it, so that a hand-written 2
// shows as what the calendar does with it.
enum class SwitchReading { NotZero, OnlyOne };
bool switchIsOn(int stored, SwitchReading reading);
// The value to save for a switch whose box is `checked`: the stored value
// while the box still says what it said (a hand-written 2 stays 2), else 1
// or 0.
int switchValueToSave(int stored, SwitchReading reading, bool checked);
// An opt-in switch of the main section (ROKUYO, WAREKI) is on for any
// stored value but 0, as AppSettings reads it, and its check box writes it
// only when the box says otherwise than the file: a file that never had
// the key keeps its bytes while the box stays clear, and a stored 2 stays.
bool optInSwitchNeedsWrite(int stored, bool checked);

// A mark list's item for a stored MarkStyle: 0..5, or -1 (no selection)
// for anything else; a list without selection is saved as -1.
int markListItemFor(int value);
// Number of MarkStyle values and their list texts ("■" … "なし").
constexpr int kMarkStyleCount = 6;
const char* markStyleText(int index);

// The directory part of a Shift_JIS path: everything before its last
// backslash, where the second byte of a double-byte character (0x5C in
// "表") is not a backslash. Empty when there is none.
std::string_view sjisDirectoryPart(std::string_view path);

// The keys and list texts of the colour page, in index order.
const char* colourListText(int index);

// The font chooser's size limits, in points.
constexpr int kFontChooserMinPoints = 6;
constexpr int kFontChooserMaxPoints = 48;
