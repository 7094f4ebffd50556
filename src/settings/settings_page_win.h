#pragma once
// What the settings dialog's frame and its pages share: the page table's
// entries, control helpers, and the shape of the four display pages (a
// switch, a font button, three style radios). Texts reach the controls as
// UTF-16 through the one conversion boundary.
#include <windows.h>

#include <string>

#include "render/font_description.h"
#include "render/fonts.h"
#include "settings/settings_pages.h"

// One page of the dialog: its template, its procedure and its save (null
// for the version page).
struct SettingsPageKind {
  const char* tabText;  // Shift_JIS
  const wchar_t* templateName;
  DLGPROC procedure;
  void (*save)(HWND page);
};

// The nine pages in tab order (page_*_win.cpp, holiday_page_win.cpp).
extern const SettingsPageKind kTitlePage;
extern const SettingsPageKind kWeekdayPage;
extern const SettingsPageKind kDatePage;
extern const SettingsPageKind kMemoPage;
extern const SettingsPageKind kBackgroundPage;
extern const SettingsPageKind kHolidayPage;
extern const SettingsPageKind kColourPage;
extern const SettingsPageKind kOtherPage;
extern const SettingsPageKind kVersionPage;

// The holiday page's own report of a section that could not be written.
void reportHolidaySaveFailure(HWND holidayPage);

// The settings file's main section.
constexpr char kMainSection[] = "Sorvane";

// Control helpers.
bool isChecked(HWND page, int id);
void setChecked(HWND page, int id, bool checked);
void enableControls(HWND page, const int* ids, int count, bool enabled);
// Checks `radios[index]` and clears the other two.
void checkOneOfThree(HWND page, const int radios[3], int index);
// The value 0, 1, 2 of a group of three radios (first checked; else 2).
int readThreeRadios(HWND page, const int radios[3]);
// A Shift_JIS text into a control, and a control's text as Shift_JIS
// (false when a character has no Shift_JIS form).
void setControlText(HWND page, int id, const std::string& sjis);
bool controlText(HWND page, int id, std::string& sjis);
// A switch's check box from its key, read as the calendar reads it; and
// its key from the box, a stored value the box still agrees with kept.
void showSwitch(HWND page, int id, const char* key, SwitchReading reading);
void saveSwitch(HWND page, int id, const char* key, SwitchReading reading);
// The check box of an opt-in switch of the main section: checked for a
// stored value but 0; written (1 or 0) only when the box was changed.
void initOptInSwitch(HWND page, int id, const char* key);
void saveOptInSwitch(HWND page, int id, const char* key);
// A message box owned by the page, captioned "Sorvane".
void showPageMessage(HWND page, const char* sjis, UINT icon);

// The shape of the title, weekday, date and memo pages.
struct DisplayPageShape {
  int switchId;                 // 0: the page has no switch (date page)
  SwitchReading switchReading;  // how the calendar reads the switch's key
  int followers[5];             // enabled while the switch is on (0 ends the list)
  int fontButton;
  int radios[3];                // DrawType::Normal, Shadow, Outline
  const char* typeKey;          // TITLETYPE, WEEKTYPE, DAYTYPE, MEMOTYPE
  const char* fontSection;
};

// Init: the style radios from the stored key, the followers enabled when
// the switch key is on (and the switch checked), the font copy read.
void initDisplayPage(HWND page, const DisplayPageShape& shape, const char* switchKey, FontDescription& font);
// The switch changed: followers follow its check state.
void followDisplaySwitch(HWND page, const DisplayPageShape& shape);
// The page's common end of a save: the style key and the font section from
// the copy. The font painting uses is made anew by the frame once the file
// holds what the pages saved (a failed save leaves the old one).
void saveDisplayPageEnd(HWND page, const DisplayPageShape& shape, const FontDescription& font);

// The font chooser on the page's copy: screen fonts, 6 to 48 points, no
// effects. The copy changes only on OK.
void chooseFont(HWND page, FontDescription& font);

// Dialog procedure boilerplate: the result of a handled message.
inline INT_PTR handled(bool done) { return done ? TRUE : FALSE; }
