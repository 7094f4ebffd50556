// The holiday page: the "HOLIDAY" section as a list in date order, with
// add, delete and the user-defined flag; the whole section is written back
// on OK or Apply. The list's lines and rules live in holiday_list.cpp; the
// list box shows the page's list line for line.
#include <optional>
#include <string>
#include <vector>

#include "platform/text_convert.h"
#include "settings/holiday_list.h"
#include "settings/settings_page_win.h"
#include "settings/settings_file.h"
#include "settings/settings_pages.h"

namespace {

constexpr int kList = 1029;
constexpr int kMonthEdit = 1030;
constexpr int kDayEdit = 1031;
constexpr int kNameEdit = 1032;
constexpr int kUserDefined = 1059;
constexpr int kAddButton = 1033;
constexpr int kDeleteButton = 1034;
constexpr int kLawCheck = 1060;
constexpr char kLawKey[] = "HOLIDAY_LAW";
constexpr char kHolidaySection[] = "HOLIDAY";

// The page's state, from the dialog's opening to its closing: the list,
// and the section it was listed from, which tells whether OK has anything
// to write and holds the entries the page does not list.
std::vector<HolidayEntry> holidays;
std::string sectionAsRead;

void insertRow(HWND page, std::size_t index) {
  const HolidayEntry& entry = holidays[index];
  LRESULT row = SendDlgItemMessageW(page, kList, LB_INSERTSTRING, index,
                                    reinterpret_cast<LPARAM>(sjisToWide(entry.line).c_str()));
  if (row >= 0) SendDlgItemMessageW(page, kList, LB_SETITEMDATA, static_cast<WPARAM>(row), entry.userDefined);
}

void fillList(HWND page) {
  sectionAsRead = readSettingSection(kHolidaySection);
  holidays = holidayEntriesFromSection(sectionAsRead);
  for (std::size_t i = 0; i < holidays.size(); ++i) insertRow(page, i);
  SendDlgItemMessageW(page, kMonthEdit, EM_LIMITTEXT, 2, 0);
  SendDlgItemMessageW(page, kDayEdit, EM_LIMITTEXT, 2, 0);
  SendDlgItemMessageW(page, kNameEdit, EM_LIMITTEXT, kHolidayNameLimit, 0);
  setChecked(page, kLawCheck, switchIsOn(readSettingInt(kMainSection, kLawKey, 0), SwitchReading::OnlyOne));
}

void clearEdits(HWND page) {
  SetDlgItemTextW(page, kMonthEdit, L"");
  SetDlgItemTextW(page, kDayEdit, L"");
  SetDlgItemTextW(page, kNameEdit, L"");
  setChecked(page, kUserDefined, false);
}

void refuse(HWND page, const char* message, int focus) {
  showPageMessage(page, message, 0);
  SetFocus(GetDlgItem(page, focus));
}

void addEntry(HWND page) {
  std::string month, day, name;
  // The month and day edits take digits only; a name with a character the
  // settings file cannot hold is refused rather than stored changed.
  controlText(page, kMonthEdit, month);
  controlText(page, kDayEdit, day);
  bool nameStorable = controlText(page, kNameEdit, name);
  std::size_t index = 0;
  HolidayAddResult result = addHoliday(holidays, month, day, nameStorable ? name : std::string("?"),
                                       isChecked(page, kUserDefined), &index);
  if (result == HolidayAddResult::Added && !nameStorable) {
    holidays.erase(holidays.begin() + static_cast<std::ptrdiff_t>(index));
    refuse(page, "休日名に設定ファイルに保存できない文字があります", kNameEdit);
    return;
  }
  switch (result) {
    case HolidayAddResult::Added:
      insertRow(page, index);
      clearEdits(page);
      return;
    case HolidayAddResult::BadMonth:
      refuse(page, holidayAddMessage(result), kMonthEdit);
      return;
    case HolidayAddResult::BadDay:
      refuse(page, holidayAddMessage(result), kDayEdit);
      return;
    default:
      refuse(page, holidayAddMessage(result), kNameEdit);
      return;
  }
}

int selectedRow(HWND page) {
  LRESULT row = SendDlgItemMessageW(page, kList, LB_GETCURSEL, 0, 0);
  return row == LB_ERR || row < 0 || static_cast<std::size_t>(row) >= holidays.size() ? -1 : static_cast<int>(row);
}

void deleteEntry(HWND page) {
  int row = selectedRow(page);
  if (row < 0) return;
  holidays.erase(holidays.begin() + row);
  SendDlgItemMessageW(page, kList, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  clearEdits(page);
}

void showEntry(HWND page) {
  int row = selectedRow(page);
  if (row < 0) return;
  HolidayFields fields = holidayFieldsOf(holidays[static_cast<std::size_t>(row)]);
  setControlText(page, kMonthEdit, fields.month);
  setControlText(page, kDayEdit, fields.day);
  setControlText(page, kNameEdit, fields.name);
  setChecked(page, kUserDefined, holidays[static_cast<std::size_t>(row)].userDefined == 1);
}

bool onCommand(HWND page, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case kAddButton:
      addEntry(page);
      return true;
    case kDeleteButton:
      deleteEntry(page);
      return true;
    case kList:
      if (HIWORD(wParam) == LBN_SELCHANGE) showEntry(page);
      return true;
    default:
      return false;
  }
}

void save(HWND page) {
  // An unchanged list leaves the section as it is, byte for byte.
  if (std::optional<std::string> section = holidaySectionToWrite(sectionAsRead, holidays))
    writeSettingSection(kHolidaySection, *section);
  // A file that never had the key keeps its old rules without one.
  const bool law = isChecked(page, kLawCheck);
  const int stored = readSettingInt(kMainSection, kLawKey, -1);
  if (law || stored != -1) writeSettingInt(kMainSection, kLawKey, switchValueToSave(stored, SwitchReading::OnlyOne, law));
}

INT_PTR CALLBACK procedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      fillList(page);
      return TRUE;
    case WM_COMMAND:
      return handled(onCommand(page, wParam));
    default:
      return FALSE;
  }
}

}  // namespace

void reportHolidaySaveFailure(HWND holidayPage) { showPageMessage(holidayPage, "失敗", 0); }

const SettingsPageKind kHolidayPage{"休日", L"IDD_ENVHOLIDAY", procedure, save};
