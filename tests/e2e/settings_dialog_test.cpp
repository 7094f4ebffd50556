// The settings dialog as a user meets it: opened from the context menu,
// its tabs, what OK, Apply and Cancel leave in the settings file, the
// pages' switches and lists, and what the calendar shows right after
// Apply: a colour, a title font, a picture and a new holiday.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
const MonthShape kDecember2004 = monthShape(2004, 12);

constexpr int kApply = 3;
constexpr int kTabControl = 1036;
// A control that only the page of each tab has, in tab order.
constexpr int kPageMarkers[9] = {1007, 1005, 1021, 1013, 1018, 1029, 1027, 1012, 1053};
enum Page { kTitle, kWeekday, kDate, kMemo, kBackground, kHoliday, kColour, kOther, kVersion };

struct WindowQuery {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM data) {
  auto* query = reinterpret_cast<WindowQuery*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = L"";
  GetClassNameW(window, text, 256);
  if (std::wstring(text) != query->className) return TRUE;
  GetWindowTextW(window, text, 256);
  if (std::wstring(text) != query->caption) return TRUE;
  query->found = window;
  return FALSE;
}

// A visible top-level window of the process with this class and caption.
HWND waitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs = 4000) {
  DWORD started = GetTickCount();
  for (;;) {
    WindowQuery query{processId, className, caption, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&query));
    if (query.found || GetTickCount() - started >= timeoutMs) return query.found;
    Sleep(50);
  }
}

bool waitUntilGone(HWND window, DWORD timeoutMs = 4000) {
  DWORD started = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window) && GetTickCount() - started < timeoutMs) Sleep(50);
  return !IsWindow(window) || !IsWindowVisible(window);
}

// A control's text; WM_GETTEXT, since GetWindowText does not ask the
// controls of another process.
std::wstring textOf(HWND window) {
  wchar_t text[512] = L"";
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

// A check box or button clicked as the mouse would (BM_CLICK), waiting for
// the page to handle it; postClick when it opens something modal.
void click(HWND parent, int id) { SendMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }
void postClick(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }
bool checked(HWND parent, int id) { return SendMessageW(GetDlgItem(parent, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool enabled(HWND parent, int id) { return IsWindowEnabled(GetDlgItem(parent, id)) != 0; }

class SettingsDialogTest : public CalendarWindowTest {
 protected:
  void TearDown() override {
    // A dialog left open would keep the calendar from closing normally.
    if (frame_ && IsWindow(frame_)) SendMessageW(frame_, WM_COMMAND, IDCANCEL, 0);
    CalendarWindowTest::TearDown();
  }

  // Opens the dialog from the context menu ("設定(&S)").
  ::testing::AssertionResult openDialog() {
    if (auto chosen = chooseFromMenu(150, 120, 'S'); !chosen) return chosen;
    frame_ = waitForWindow(app().processId(), L"#32770", L"設定");
    if (!frame_) return ::testing::AssertionFailure() << "no settings dialog appeared";
    // Clear of the calendar, whose captures must see it whole.
    SetWindowPos(frame_, nullptr, 520, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    settle(frame_);
    return ::testing::AssertionSuccess();
  }

  HWND page(Page which) const {
    for (HWND child = GetWindow(frame_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[32] = L"";
      GetClassNameW(child, name, 32);
      if (std::wstring(name) == L"#32770" && GetDlgItem(child, kPageMarkers[which])) return child;
    }
    return nullptr;
  }

  int visiblePages() const {
    int visible = 0;
    for (int i = 0; i < 9; ++i) visible += IsWindowVisible(page(static_cast<Page>(i))) ? 1 : 0;
    return visible;
  }

  // Selects a tab as a click on it would, notification included.
  void selectTab(int index) {
    SendMessageW(GetDlgItem(frame_, kTabControl), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    settle(frame_);
  }

  void apply() { click(frame_, kApply); }
  ::testing::AssertionResult closeWith(int button) {
    click(frame_, button);
    if (!waitUntilGone(frame_)) return ::testing::AssertionFailure() << "the dialog stayed open";
    frame_ = nullptr;
    settle(window());
    return ::testing::AssertionSuccess();
  }

  std::string settingsFile() {
    std::string bytes;
    app().readFile(kSettingsFileName, bytes);
    return bytes;
  }

  // A message box of the program: its text, then it is closed with OK.
  std::wstring answerMessageBox() {
    HWND box = waitForWindow(app().processId(), L"#32770", L"Sorvane");
    if (!box) return L"(no message box)";
    std::wstring text = textOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    waitUntilGone(box);
    return text;
  }

  HWND frame_ = nullptr;
};

const std::string kHandWritten = iniText({"; written by hand", "[Sorvane]", "TITLE=2", "DISPLAY_TITLE=0", "WEEK=0",
                                          "DISPLAY_WAKU=0", "YMARK=9", "TMARK=5", "TASKBAR=1", "SAVE_POS=0",
                                          "[HOLIDAY]", "1224=前夜", "0101=元日||0", "0505=こどもの日||1"});

// The whole file an OK writes when there was none: every key of every page
// with its default, in the pages' order.
std::string defaultFileAfterOk() {
  std::vector<const char*> lines = {"[Sorvane]",       "TITLE=0",     "DISPLAY_TITLE=0", "ICONED_TITLE=0",
                                    "TITLETYPE=0",     "WEEK=0",      "ENG_WEEK=0",      "WEEKTYPE=0",
                                    "DISPLAY_WAKU=0",  "DAY_POS=0",   "YMARK=0",         "TMARK=0",
                                    "DAYTYPE=0",       "DISPLAY_MEMO=0", "MEMOTYPE=0",   "WALL=0",
                                    "AUTO_SIZE=0",     "BK_IMAGE=",   "SAVE_POS=0",      "TASKBAR=0"};
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  for (const char* font : {"TITLE_FONT", "WEEK_FONT", "MAIN_FONT", "MEMO_FONT"}) {
    text += std::string("[") + font + "]\r\n";
    text += "HEIGHT=-20\r\nWIDTH=0\r\nESC=0\r\nORIENT=0\r\nWEIGHT=400\r\nITALIC=0\r\nUNDER=0\r\nSTRIKE=0\r\n"
            "CHAR=128\r\nOUTPUT=3\r\nCLIP=2\r\nQUALITY=1\r\nPITCH=49\r\nFACE=ＭＳ ゴシック\r\n";
  }
  text += "[COLOR]\r\nMONTH=0\r\nSUNDAY=255\r\nNORMALDAY=0\r\nSATURDAY=16711680\r\nFRAME=0\r\nCURSOR=255\r\n"
          "TODAY=16762980\r\nYOTEI=9895935\r\nTODAYYOTEI=13172580\r\nMEMODEF=0\r\nBACK=16777215\r\n"
          "MONTH_WRAP=16777215\r\nWEEK_WRAP=16777215\r\nDAY_WRAP=16777215\r\nMEMO_WRAP=16777215\r\n";
  return text;
}

}  // namespace

// The common controls wait for the first dialog (start-up has no use for
// them), and then come in their current version: were the old one bound
// first, the process would keep it.
TEST_F(SettingsDialogTest, TheCommonControlsComeWithTheFirstDialogInTheirCurrentVersion) {
  ASSERT_TRUE(prepare(kHandWritten));
  // Away from the tool strip: the pointer over it makes its tooltip, which
  // loads them too.
  ASSERT_TRUE(movePointerTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}));
  ASSERT_TRUE(start(kDecember15));
  RECT shown = app().windowRect();
  ASSERT_LT(shown.right, GetSystemMetrics(SM_CXSCREEN) - 2) << "the window lies under the pointer";
  EXPECT_EQ(moduleOfProcess(app().processId(), L"comctl32.dll"), L"") << "loaded at start-up";
  ASSERT_TRUE(openDialog());
  std::wstring controls = moduleOfProcess(app().processId(), L"comctl32.dll");
  EXPECT_NE(controls.find(L"common-controls"), std::wstring::npos) << "loaded from " << controls;
  ASSERT_TRUE(closeWith(IDCANCEL));
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndTheTabsShowOnePageAtATime) {
  ASSERT_TRUE(prepare(kHandWritten));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  for (int i = 0; i < 9; ++i) EXPECT_NE(page(static_cast<Page>(i)), nullptr) << "page " << i;
  EXPECT_EQ(visiblePages(), 1);
  EXPECT_TRUE(IsWindowVisible(page(kTitle)));
  selectTab(8);
  EXPECT_EQ(visiblePages(), 1);
  EXPECT_TRUE(IsWindowVisible(page(kVersion)));
  // Every tab in turn, kept as a picture of the page.
  for (int i = 0; i < 9; ++i) {
    selectTab(i);
    EXPECT_EQ(visiblePages(), 1);
    EXPECT_TRUE(IsWindowVisible(page(static_cast<Page>(i)))) << "page " << i;
    const std::string step = "page" + std::to_string(i);
    shotOf(frame_, step.c_str());
  }
  selectTab(0);
  EXPECT_EQ(visiblePages(), 1);
  EXPECT_TRUE(IsWindowVisible(page(kTitle)));

  // Edits on the pages, then Cancel: the file stays as it was (the final
  // check of the fixture compares it byte for byte), the caption is set anew.
  click(page(kTitle), 1007);
  click(page(kOther), 1012);
  ASSERT_TRUE(closeWith(IDCANCEL));
  EXPECT_EQ(captionWhen(L"2004年12月"), L"2004年12月");
  EXPECT_EQ(settingsFile(), kHandWritten);
}

TEST_F(SettingsDialogTest, TheToolStripsSettingsButtonOpensTheDialog) {
  ASSERT_TRUE(prepare(kHandWritten));
  ASSERT_TRUE(start(kDecember15));
  // The fourth of the strip's 23 x 21 buttons, two pixels below its top.
  leftClick(window(), 3 * 23 + 11, 2 + 10);
  frame_ = waitForWindow(app().processId(), L"#32770", L"設定");
  ASSERT_NE(frame_, nullptr) << "no settings dialog appeared";
  EXPECT_EQ(visiblePages(), 1);
  EXPECT_TRUE(IsWindowVisible(page(kTitle)));
  ASSERT_TRUE(closeWith(IDCANCEL));  // and the file stays as it was
}

// The version page names the file the program runs as and opens the
// read-me beside it, which only the release zip brings.
TEST_F(SettingsDialogTest, TheVersionPageNamesTheProgramAndOffersTheReadMeBesideIt) {
  ASSERT_TRUE(prepare(kHandWritten));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  selectTab(8);
  EXPECT_EQ(textOf(GetDlgItem(page(kVersion), 1054)), L"Sorvane (SorvaneTestClock.exe)");
  EXPECT_FALSE(enabled(page(kVersion), 1053)) << "a button that opens nothing";
  ASSERT_TRUE(closeWith(IDCANCEL));
  ASSERT_TRUE(app().writeFile(L"README.txt", "Sorvane\r\n"));
  ASSERT_TRUE(openDialog());
  selectTab(8);
  EXPECT_TRUE(enabled(page(kVersion), 1053)) << "the read-me beside the program is offered";
  ASSERT_TRUE(closeWith(IDCANCEL));
}

TEST_F(SettingsDialogTest, OkWithoutASettingsFileWritesEveryKeyOfThePages) {
  ASSERT_TRUE(prepare(""));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(DeleteFileW((app().directory() + L"\\" + kSettingsFileName).c_str()));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  ASSERT_TRUE(closeWith(IDOK));
  EXPECT_EQ(settingsFile(), defaultFileAfterOk());
}

TEST_F(SettingsDialogTest, ApplyRewritesEveryKeyAndASecondApplyChangesNothing) {
  ASSERT_TRUE(prepare(kHandWritten));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());

  // A YMARK outside the styles shows no selection; TMARK 5 is "なし".
  EXPECT_EQ(SendDlgItemMessageW(page(kDate), 1035, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendDlgItemMessageW(page(kDate), 1036, CB_GETCURSEL, 0, 0), 5);
  // The holiday list in date order, the marker gone, the flag as item data.
  HWND list = GetDlgItem(page(kHoliday), 1029);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  wchar_t line[256] = L"";
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, L"0101 : 元日");
  SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, L"1224 : 前夜");
  EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 1);

  apply();
  const std::string first = settingsFile();
  EXPECT_NE(first.find("YMARK=-1\r\n"), std::string::npos);
  EXPECT_NE(first.find("TMARK=5\r\n"), std::string::npos);
  EXPECT_NE(first.find("TASKBAR=0\r\n"), std::string::npos);
  EXPECT_NE(first.find("TITLE=2\r\n"), std::string::npos);
  EXPECT_EQ(first.rfind("; written by hand\r\n", 0), 0u) << "lines the pages do not own stay";
  EXPECT_NE(first.find("[HOLIDAY]\r\n1224=前夜\r\n0101=元日||0\r\n0505=こどもの日||1\r\n"), std::string::npos)
      << "an untouched holiday list leaves its section as it was";
  EXPECT_NE(first.find("[COLOR]\r\nMONTH=0\r\n"), std::string::npos);
  EXPECT_TRUE(IsWindow(frame_)) << "Apply keeps the dialog open";

  apply();
  EXPECT_EQ(settingsFile(), first);
  ASSERT_TRUE(closeWith(IDCANCEL));
  EXPECT_EQ(settingsFile(), first) << "Cancel keeps what Apply wrote";
}

TEST_F(SettingsDialogTest, SwitchesEnableTheirControlsAndKeepWhatTheyShould) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=1", "TITLETYPE=2", "WEEK=1", "WEEKTYPE=0", "WALL=0",
                               "BK_IMAGE=C:\\壁紙\\表.bmp", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());

  // Weekday page: a style chosen, the row turned off and on again: the
  // stored style is back, with exactly one button checked.
  HWND weekday = page(kWeekday);
  ASSERT_TRUE(checked(weekday, 1005));
  click(weekday, 1045);
  EXPECT_TRUE(checked(weekday, 1045));
  click(weekday, 1005);
  for (int id : {1004, 1006, 1044, 1045, 1046}) EXPECT_FALSE(enabled(weekday, id)) << id;
  click(weekday, 1005);
  for (int id : {1004, 1006, 1044, 1045, 1046}) EXPECT_TRUE(enabled(weekday, id)) << id;
  EXPECT_TRUE(checked(weekday, 1044));
  EXPECT_FALSE(checked(weekday, 1045));
  EXPECT_FALSE(checked(weekday, 1046));

  // Title page: turning the band off keeps its style for the save.
  HWND title = page(kTitle);
  EXPECT_TRUE(checked(title, 1042));
  click(title, 1025);
  for (int id : {1003, 1040, 1041, 1042}) EXPECT_FALSE(enabled(title, id)) << id;

  // Background page: the picture's controls follow "背景に画像を使う";
  // going back to the plain background keeps the stored path.
  HWND background = page(kBackground);
  EXPECT_TRUE(checked(background, 1018));
  EXPECT_FALSE(enabled(background, 1019));
  click(background, 1017);
  EXPECT_TRUE(enabled(background, 1019));
  EXPECT_TRUE(enabled(background, 1020));
  click(background, 1018);
  EXPECT_FALSE(enabled(background, 1019));

  ASSERT_TRUE(closeWith(IDOK));
  const std::string file = settingsFile();
  EXPECT_NE(file.find("DISPLAY_TITLE=0\r\n"), std::string::npos);
  EXPECT_NE(file.find("TITLETYPE=2\r\n"), std::string::npos);
  EXPECT_NE(file.find("WEEKTYPE=0\r\n"), std::string::npos);
  EXPECT_NE(file.find("WALL=0\r\n"), std::string::npos);
  EXPECT_NE(file.find("BK_IMAGE=C:\\壁紙\\表.bmp\r\n"), std::string::npos);
}

namespace {

// The first row from `top` down that is dark almost all the way across:
// below the tool strip, the top frame line of the grid.
int firstFrameLine(const Capture& capture, int top) {
  for (int y = top; y < capture.height(); ++y) {
    RECT row{0, y, capture.width(), y + 1};
    if (capture.count(row, isDark) > capture.width() * 9 / 10) return y;
  }
  return -1;
}

bool isPureBlue(COLORREF c) { return sameColour(c, RGB(0, 0, 255), 4); }

}  // namespace

TEST_F(SettingsDialogTest, AppliedColourAndTitleFontShowAtOnce) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=1", "SAVE_POS=0",
                               "[TITLE_FONT]", "HEIGHT=-30"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  const int strip = layout.toolStripHeight;
  Capture before = shot("before");
  EXPECT_EQ(firstFrameLine(before, strip), layout.gridTop()) << "no title band yet";
  RECT corner{2, strip + 2, 12, strip + 12};
  EXPECT_EQ(before.count(corner, isPureBlue), 0);

  ASSERT_TRUE(openDialog());
  // The background row (index 10) given blue, as the colour chooser would;
  // the title band turned on with the font of the file.
  HWND colours = GetDlgItem(page(kColour), 1027);
  SendMessageW(colours, LB_SETITEMDATA, 10, RGB(0, 0, 255));
  click(page(kTitle), 1025);
  apply();

  layout.titleHeight = measureSectionFont(-30).height + 1;
  const int gridTop = layout.gridTop();
  Capture after = shotWhen("applied", [&](const Capture& c) { return firstFrameLine(c, strip) == gridTop; });
  EXPECT_EQ(firstFrameLine(after, strip), gridTop) << "a title band of the title font's height + 1";
  RECT cellCorner{3, gridTop + 3, 10, gridTop + 10};
  EXPECT_GT(after.count(cellCorner, isPureBlue), 40) << "the new background colour";
  ASSERT_TRUE(closeWith(IDCANCEL));
  EXPECT_NE(settingsFile().find("BACK=16711680\r\n"), std::string::npos);
}

namespace {

constexpr COLORREF kTeal = RGB(0, 128, 128);

bool isTeal(COLORREF c) { return sameColour(c, kTeal, 4); }

}  // namespace

TEST_F(SettingsDialogTest, PictureChosenInTheFileChooserShowsAfterApply) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "WALL=0", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(addFile(L"wall.bmp", bmpFile(400, 300, kTeal, kTeal)));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  selectTab(kBackground);
  HWND background = page(kBackground);
  click(background, 1017);
  click(background, 1020);
  postClick(background, 1019);
  HWND chooser = waitForWindow(app().processId(), L"#32770", L"画像ファイルの指定");
  ASSERT_NE(chooser, nullptr) << "no file chooser";
  // The file name field (a combo box with an edit, or a plain edit).
  HWND edit = GetDlgItem(chooser, 1152);
  if (!edit) {
    HWND combo = GetDlgItem(chooser, 1148);
    edit = combo ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit) edit = combo;
  }
  ASSERT_NE(edit, nullptr);
  const std::wstring path = app().directory() + L"\\wall.bmp";
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  apply();

  Capture after = shotWhen("picture", [](const Capture& c) {
    return c.count(RECT{0, 0, c.width(), c.height()}, isTeal) > c.width() * c.height() / 2;
  });
  EXPECT_GT(after.count(RECT{0, 0, after.width(), after.height()}, isTeal), after.width() * after.height() / 2);
  ASSERT_TRUE(closeWith(IDOK));
  std::string file = settingsFile();
  EXPECT_NE(file.find("WALL=2\r\n"), std::string::npos);
  EXPECT_NE(file.find("AUTO_SIZE=1\r\n"), std::string::npos);
  EXPECT_NE(file.find("\\wall.bmp\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, HolidayPageRefusesWithItsMessagesAndANewHolidayShowsAtOnce) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "SAVE_POS=0",
                               "[HOLIDAY]", "1224=前夜||1"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  selectTab(kHoliday);
  HWND holiday = page(kHoliday);
  auto tryAdd = [&](const wchar_t* month, const wchar_t* day, const wchar_t* name) {
    SetDlgItemTextW(holiday, 1030, month);
    SetDlgItemTextW(holiday, 1031, day);
    SetDlgItemTextW(holiday, 1032, name);
    postClick(holiday, 1033);
  };
  tryAdd(L"13", L"1", L"x");
  EXPECT_EQ(answerMessageBox(), L"正しい月を入力してください");
  tryAdd(L"", L"1", L"x");
  EXPECT_EQ(answerMessageBox(), L"正しい月を入力してください");
  tryAdd(L"2", L"30", L"x");
  EXPECT_EQ(answerMessageBox(), L"正しい日を入力してください");
  tryAdd(L"4", L"31", L"x");
  EXPECT_EQ(answerMessageBox(), L"正しい日を入力してください");
  tryAdd(L"12", L"24", L"別の名前");
  EXPECT_EQ(answerMessageBox(), L"その日はすでに休日に指定されています");
  tryAdd(L"2", L"29", L"");
  EXPECT_EQ(answerMessageBox(), L"休日名を入力してください");

  // Names the settings file could not hold as typed are refused, not
  // stored changed: a character without a Shift_JIS form, and more than 200
  // bytes (101 double-byte characters fit the edit's 200-character limit).
  tryAdd(L"3", L"3", L"休日\x20AC");
  EXPECT_EQ(answerMessageBox(), L"休日名に設定ファイルに保存できない文字があります");
  tryAdd(L"3", L"3", std::wstring(101, L'祝').c_str());
  EXPECT_EQ(answerMessageBox(), L"休日名が長すぎます");

  HWND list = GetDlgItem(holiday, 1029);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  tryAdd(L"12", L"23", L"テスト休日");
  settle(frame_);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(textOf(GetDlgItem(holiday, 1032)), L"") << "the edits are emptied after an addition";

  // Selecting shows the entry; deleting removes it.
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  SendMessageW(holiday, WM_COMMAND, MAKEWPARAM(1029, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(textOf(GetDlgItem(holiday, 1030)), L"12");
  EXPECT_EQ(textOf(GetDlgItem(holiday, 1031)), L"24");
  EXPECT_EQ(textOf(GetDlgItem(holiday, 1032)), L"前夜");
  EXPECT_TRUE(checked(holiday, 1059));
  click(holiday, 1034);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);

  ASSERT_TRUE(closeWith(IDOK));
  std::string file = settingsFile();
  EXPECT_NE(file.find("[HOLIDAY]\r\n1223=テスト休日||0\r\n"), std::string::npos);
  EXPECT_EQ(file.find("1224="), std::string::npos);

  // The shown month is built again at once.
  Capture rebuilt = shotWhen("after-ok", [&](const Capture& c) { return probe(c, kDecember2004).numberPixels(23, isRed) > 5; });
  EXPECT_GT(probe(rebuilt, kDecember2004).numberPixels(23, isRed), 5) << "the 23rd in the holiday red";
  EXPECT_EQ(probe(rebuilt, kDecember2004).numberPixels(24, isRed), 0) << "the deleted 24th is a weekday again";
}

TEST_F(SettingsDialogTest, HolidayLawCheckBoxIsSavedAndTheLawShowsAtOnce) {
  // No "HOLIDAY" section: by the built-in rules December 2004 has no holiday;
  // by the law of the time 23 December was the Emperor's birthday.
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  Capture before = shot("law-before");
  EXPECT_EQ(probe(before, kDecember2004).numberPixels(23, isRed), 0);
  ASSERT_TRUE(openDialog());
  selectTab(kHoliday);
  HWND holiday = page(kHoliday);
  EXPECT_FALSE(checked(holiday, 1060));
  click(holiday, 1060);
  apply();
  EXPECT_NE(settingsFile().find("HOLIDAY_LAW=1\r\n"), std::string::npos);
  Capture law = shotWhen("law-after", [&](const Capture& c) { return probe(c, kDecember2004).numberPixels(23, isRed) > 5; });
  EXPECT_GT(probe(law, kDecember2004).numberPixels(23, isRed), 5) << "the 23rd in the holiday red at once";
  ASSERT_TRUE(closeWith(IDOK));

  // The box shows the stored key, and clearing it stores 0.
  ASSERT_TRUE(openDialog());
  selectTab(kHoliday);
  holiday = page(kHoliday);
  EXPECT_TRUE(checked(holiday, 1060));
  click(holiday, 1060);
  ASSERT_TRUE(closeWith(IDOK));
  EXPECT_NE(settingsFile().find("HOLIDAY_LAW=0\r\n"), std::string::npos);
  Capture off = shotWhen("law-off", [&](const Capture& c) { return probe(c, kDecember2004).numberPixels(23, isRed) == 0; });
  EXPECT_EQ(probe(off, kDecember2004).numberPixels(23, isRed), 0) << "and is a weekday again after OK";
}


TEST_F(SettingsDialogTest, OkKeepsHandWrittenHolidayEntriesThePageCannotList) {
  // Entries with a key that is no date and a line without '=' (written by
  // hand), a comment, an entry without marker.
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=0", "[HOLIDAY]", "; mine",
                               "101=Name||1", "noeq", "1224=前夜", "0101=元日||0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  const std::string section = "[HOLIDAY]\r\n; mine\r\n101=Name||1\r\nnoeq\r\n1224=前夜\r\n0101=元日||0\r\n";

  // OK twice without touching the list: the section stays byte for byte.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(openDialog());
    ASSERT_TRUE(closeWith(IDOK));
    EXPECT_NE(settingsFile().find(section), std::string::npos) << "round " << round << ":\n" << settingsFile();
  }

  // The list shows the dates; an addition writes them in the page's form
  // and the others after them, as they were.
  ASSERT_TRUE(openDialog());
  selectTab(kHoliday);
  HWND holiday = page(kHoliday);
  HWND list = GetDlgItem(holiday, 1029);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  SetDlgItemTextW(holiday, 1030, L"12");
  SetDlgItemTextW(holiday, 1031, L"23");
  SetDlgItemTextW(holiday, 1032, L"天皇誕生日");
  click(holiday, 1033);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  ASSERT_TRUE(closeWith(IDOK));
  EXPECT_NE(settingsFile().find("[HOLIDAY]\r\n0101=元日||0\r\n1223=天皇誕生日||0\r\n1224=前夜||0\r\n101=Name||1\r\n"
                                "noeq\r\n"),
            std::string::npos)
      << settingsFile();
}

TEST_F(SettingsDialogTest, SwitchesStoredAsTwoShowAsTheCalendarDrawsThemAndStayTwo) {
  // The title band, the weekday row, the stretched picture and the saved
  // placement are on for any value but 0; cell frames only for 1.
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=2", "WEEK=2", "AUTO_SIZE=2", "SAVE_POS=2",
                               "DISPLAY_WAKU=2", "ENG_WEEK=2"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  EXPECT_TRUE(checked(page(kTitle), 1025));
  EXPECT_TRUE(enabled(page(kTitle), 1003));
  EXPECT_TRUE(checked(page(kWeekday), 1005));
  EXPECT_TRUE(enabled(page(kWeekday), 1006));
  EXPECT_FALSE(checked(page(kWeekday), 1004));
  EXPECT_TRUE(checked(page(kBackground), 1020));
  EXPECT_TRUE(checked(page(kOther), 1012));
  EXPECT_FALSE(checked(page(kDate), 1001));
  ASSERT_TRUE(closeWith(IDOK));
  const std::string file = settingsFile();
  for (const char* line : {"DISPLAY_TITLE=2\r\n", "WEEK=2\r\n", "AUTO_SIZE=2\r\n", "SAVE_POS=2\r\n",
                           "DISPLAY_WAKU=2\r\n", "ENG_WEEK=2\r\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line << "in\n" << file;

  // Turned off in the dialog, they store 0.
  ASSERT_TRUE(openDialog());
  click(page(kTitle), 1025);
  click(page(kWeekday), 1005);
  ASSERT_TRUE(closeWith(IDOK));
  EXPECT_NE(settingsFile().find("DISPLAY_TITLE=0\r\n"), std::string::npos);
  EXPECT_NE(settingsFile().find("WEEK=0\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, OkAndApplyKeepTheTopmostModeTheMenuSet) {
  ASSERT_TRUE(prepareWritable(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=1"}).c_str()));
  ASSERT_TRUE(start(kDecember15));
  auto topmost = [&] { return (GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  auto becomes = [&](bool wanted) {
    DWORD started = GetTickCount();
    while (topmost() != wanted && GetTickCount() - started < 3000) Sleep(50);
    return topmost() == wanted;
  };
  ASSERT_TRUE(chooseFromMenu(150, 120, 'T'));
  ASSERT_TRUE(becomes(true));
  ASSERT_TRUE(openDialog());
  apply();
  ASSERT_TRUE(closeWith(IDOK));
  EXPECT_TRUE(topmost());
  // The menu still knows the window is topmost: the next choice takes it out.
  ASSERT_TRUE(chooseFromMenu(150, 120, 'T'));
  EXPECT_TRUE(becomes(false)) << "the menu's topmost flag was lost";
  ASSERT_TRUE(chooseFromMenu(150, 120, 'T'));
  EXPECT_TRUE(becomes(true));
  ASSERT_TRUE(openDialog());
  ASSERT_TRUE(closeWith(IDOK));
  ASSERT_TRUE(app().close());
  EXPECT_NE(settingsFile().find("TOP=1\r\n"), std::string::npos) << settingsFile();
}

TEST_F(SettingsDialogTest, FailedWriteSaysSoOnTheHolidayPageAndLeavesTheFileWhole) {
  const std::string original = iniText({"[Sorvane]", "DISPLAY_TITLE=0", "SAVE_POS=0"});
  ASSERT_TRUE(prepare(original));
  ASSERT_TRUE(start(kDecember15));
  const std::wstring path = app().directory() + L"\\" + kSettingsFileName;
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(openDialog());
  postClick(frame_, IDOK);
  EXPECT_EQ(answerMessageBox(), L"失敗");
  EXPECT_TRUE(waitUntilGone(frame_));
  frame_ = nullptr;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(settingsFile(), original);
}

namespace {

struct ChooserQuery {
  DWORD processId;
  HWND except;
  HWND found;
};

BOOL CALLBACK matchChooser(HWND window, LPARAM data) {
  auto* query = reinterpret_cast<ChooserQuery*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || window == query->except || !IsWindowVisible(window)) return TRUE;
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  if (std::wstring(name) != L"#32770") return TRUE;
  query->found = window;
  return FALSE;
}

// The common dialog a page opened: a dialog of the program other than the
// settings dialog itself.
HWND waitForChooser(DWORD processId, HWND frame, DWORD timeoutMs = 4000) {
  DWORD started = GetTickCount();
  for (;;) {
    ChooserQuery query{processId, frame, nullptr};
    EnumWindows(matchChooser, reinterpret_cast<LPARAM>(&query));
    if (query.found || GetTickCount() - started >= timeoutMs) return query.found;
    Sleep(50);
  }
}

}  // namespace

TEST_F(SettingsDialogTest, ColourChooserChangesOnlyItsRowUntilApply) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0", "SAVE_POS=0"})));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  selectTab(kColour);
  HWND colourPage = page(kColour);
  HWND list = GetDlgItem(colourPage, 1027);
  SendMessageW(list, LB_SETCURSEL, 10, 0);
  PostMessageW(colourPage, WM_COMMAND, MAKEWPARAM(1027, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  HWND chooser = waitForChooser(app().processId(), frame_);
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  // Red, green and blue as typed into the chooser's fields.
  const wchar_t* values[3] = {L"0", L"0", L"255"};
  for (int i = 0; i < 3; ++i) {
    HWND field = GetDlgItem(chooser, 706 + i);
    ASSERT_NE(field, nullptr);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(values[i]));
    SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(706 + i, EN_UPDATE), reinterpret_cast<LPARAM>(field));
  }
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  settle(frame_);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LB_GETITEMDATA, 10, 0)), RGB(0, 0, 255));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LB_GETITEMDATA, 9, 0)), RGB(0, 0, 0)) << "other rows keep theirs";
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LB_GETITEMDATA, 11, 0)), RGB(255, 255, 255));
  shotOf(colourPage, "colour-page");

  // Nothing reaches the calendar before OK or Apply, and Cancel forgets it
  // (the fixture's final check finds the file unchanged).
  Capture still = shot("not-applied");
  RECT corner{3, layout.gridTop() + 3, 10, layout.gridTop() + 10};
  EXPECT_EQ(still.count(corner, isPureBlue), 0);
  ASSERT_TRUE(closeWith(IDCANCEL));
}

TEST_F(SettingsDialogTest, FontChosenInTheFontChooserSetsTheTitleBand) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=1", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  postClick(page(kTitle), 1003);
  HWND chooser = waitForChooser(app().processId(), frame_);
  ASSERT_NE(chooser, nullptr) << "no font chooser";
  // A face and 24 points picked from the chooser's lists, as clicks would.
  const std::pair<int, const wchar_t*> picks[2] = {{1136, L"IPAゴシック"}, {1138, L"24"}};
  for (const auto& [id, text] : picks) {
    HWND combo = GetDlgItem(chooser, id);
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)), CB_ERR);
    SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  apply();

  std::string file = settingsFile();
  std::size_t section = file.find("[TITLE_FONT]\r\nHEIGHT=");
  ASSERT_NE(section, std::string::npos);
  const int height = std::atoi(file.c_str() + section + 21);
  EXPECT_LT(height, -25) << "24 points is more than 25 pixels high";
  EXPECT_NE(file.find("FACE=IPAゴシック\r\n", section), std::string::npos);
  layout.titleHeight = measureSectionFont(height).height + 1;
  const int strip = layout.toolStripHeight, gridTop = layout.gridTop();
  Capture after = shotWhen("applied", [&](const Capture& c) { return firstFrameLine(c, strip) == gridTop; });
  EXPECT_EQ(firstFrameLine(after, strip), gridTop) << "the title band follows the chosen font at once";
  ASSERT_TRUE(closeWith(IDOK));
}

// At 144 DPI (the e2e_high_dpi run) the fonts are made 1.5 times their
// stored height, and the dialog stores heights back at 96 DPI: OK, even
// after the font chooser was opened and closed with OK, keeps every HEIGHT.
TEST_F(SettingsDialogTest, HighDpiOkKeepsEveryFontHeight) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi != 144) GTEST_SKIP() << "for a screen of 144 DPI; this one has " << dpi;
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=1", "WEEK=1", "SAVE_POS=0", "[TITLE_FONT]", "HEIGHT=27",
                               "[MAIN_FONT]", "HEIGHT=-16", "FACE=IPAゴシック", "[MEMO_FONT]", "HEIGHT=-13", "[WEEK_FONT]",
                               "HEIGHT=-11"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15, 450, 375));
  ASSERT_TRUE(openDialog());
  // A face and a size of the chooser's lists: 12 points (-16 at 96 DPI, -24
  // here). Wine's chooser replaces a face or a size it does not list by the
  // first of its list when OK is pressed.
  selectTab(2);
  postClick(page(kDate), 1038);  // the day number's font
  HWND chooser = waitForChooser(app().processId(), frame_);
  ASSERT_NE(chooser, nullptr) << "no font chooser";
  EXPECT_EQ(textOf(GetDlgItem(chooser, 1138)), L"12") << "the size the user sees on this screen";
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  ASSERT_TRUE(closeWith(IDOK));
  const std::string file = settingsFile();
  for (const char* expected : {"[TITLE_FONT]\r\nHEIGHT=27\r\n", "[MAIN_FONT]\r\nHEIGHT=-16\r\n",
                               "[MEMO_FONT]\r\nHEIGHT=-13\r\n", "[WEEK_FONT]\r\nHEIGHT=-11\r\n"})
    EXPECT_NE(file.find(expected), std::string::npos) << expected << "in\n" << file;
}

TEST_F(SettingsDialogTest, CancelledPictureChooserLeavesThePathEmpty) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WALL=0", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(openDialog());
  HWND background = page(kBackground);
  click(background, 1017);
  postClick(background, 1019);
  HWND chooser = waitForChooser(app().processId(), frame_);
  ASSERT_NE(chooser, nullptr) << "no file chooser";
  PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  ASSERT_TRUE(closeWith(IDOK));
  const std::string file = settingsFile();
  EXPECT_NE(file.find("WALL=2\r\n"), std::string::npos);
  EXPECT_NE(file.find("BK_IMAGE=\r\n"), std::string::npos);
  // A picture background without a picture paints the calendar all the same.
  EXPECT_TRUE(app().running());
}

namespace {

// Pixels in which two captures of the same size differ.
int differingPixels(const Capture& a, const Capture& b) {
  if (a.width() != b.width() || a.height() != b.height()) return a.width() * a.height() + 1;
  int differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differ += a.at(x, y) == b.at(x, y) ? 0 : 1;
  return differ;
}

}  // namespace

TEST_F(SettingsDialogTest, FailedWriteKeepsTheFontsTheCalendarDraws) {
  const std::string original = iniText({"[Sorvane]", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=1", "SAVE_POS=0"});
  ASSERT_TRUE(prepare(original));
  ASSERT_TRUE(start(kDecember15));
  Capture before = shot("before");
  const std::wstring path = app().directory() + L"\\" + kSettingsFileName;
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(openDialog());
  // A 36-point day-number font from the chooser.
  postClick(page(kDate), 1038);
  HWND chooser = waitForChooser(app().processId(), frame_);
  ASSERT_NE(chooser, nullptr) << "no font chooser";
  HWND size = GetDlgItem(chooser, 1138);
  ASSERT_NE(size, nullptr);
  ASSERT_NE(SendMessageW(size, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"36")), CB_ERR);
  SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(1138, CBN_SELCHANGE), reinterpret_cast<LPARAM>(size));
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntilGone(chooser));
  postClick(frame_, IDOK);
  EXPECT_EQ(answerMessageBox(), L"失敗");
  EXPECT_TRUE(waitUntilGone(frame_));
  frame_ = nullptr;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(settingsFile(), original);
  // Nothing was saved, so the calendar draws what it drew.
  settle(window());
  Capture after = shot("after");
  EXPECT_EQ(differingPixels(before, after), 0) << "the day numbers in a font that was not saved";
}

// The rokuyo and era-year boxes follow the file (any value but 0 is on)
// and write their keys only when changed: a file without them keeps its
// bytes for them, a stored 2 stays; what they set shows at once.
TEST_F(SettingsDialogTest, RokuyoAndWarekiBoxesWriteTheirKeysOnlyWhenChanged) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=2", "WAREKI=2", "DISPLAY_TITLE=0", "WEEK=0", "SAVE_POS=0"})));
  expectChangeOf(kSettingsFileName);
  ASSERT_TRUE(start(kDecember15, 420, 320));
  EXPECT_EQ(captionWhen(L"平成16年12月"), L"平成16年12月");
  constexpr int kRokuyoBox = 1060, kWarekiBox = 1061;
  // Right of the 14th's number (a Tuesday, black), above its memo.
  const RECT cell = layout.cellOf(kDecember2004, 14);
  const RECT band{cell.left + 2 + 2 * mainFont.averageWidth, cell.top + 1, cell.right - 1, cell.top + 20};

  ASSERT_TRUE(openDialog());
  EXPECT_FALSE(checked(page(kDate), kRokuyoBox));
  EXPECT_TRUE(checked(page(kTitle), kWarekiBox));
  ASSERT_TRUE(closeWith(IDOK));
  std::string file = settingsFile();
  EXPECT_EQ(file.find("ROKUYO"), std::string::npos) << "absent and clear: not written";
  EXPECT_NE(file.find("WAREKI=2\r\n"), std::string::npos) << "2 is on, and stays";

  ASSERT_TRUE(openDialog());
  click(page(kDate), kRokuyoBox);
  click(page(kTitle), kWarekiBox);
  apply();
  file = settingsFile();
  EXPECT_NE(file.find("ROKUYO=1\r\n"), std::string::npos);
  EXPECT_NE(file.find("WAREKI=0\r\n"), std::string::npos);
  ASSERT_TRUE(closeWith(IDCANCEL));
  EXPECT_EQ(captionWhen(L"2004年12月"), L"2004年12月");
  EXPECT_GE(shot("rokuyo-on").count(band, isDark), 12) << "the rokuyo shows";

  ASSERT_TRUE(openDialog());
  EXPECT_TRUE(checked(page(kDate), kRokuyoBox));
  EXPECT_FALSE(checked(page(kTitle), kWarekiBox));
  click(page(kDate), kRokuyoBox);
  click(page(kTitle), kWarekiBox);
  ASSERT_TRUE(closeWith(IDOK));
  file = settingsFile();
  EXPECT_NE(file.find("ROKUYO=0\r\n"), std::string::npos);
  EXPECT_NE(file.find("WAREKI=1\r\n"), std::string::npos);
  EXPECT_EQ(captionWhen(L"平成16年12月"), L"平成16年12月");
  EXPECT_EQ(shot("rokuyo-off").count(band, isDark), 0) << "the rokuyo is gone";
}
