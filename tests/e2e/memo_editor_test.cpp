// Writing memos as a user does: the day memo editor opened by a double
// click or Enter, typed into (Japanese as Unicode input), confirmed with OK
// or Enter, left with Esc, moved to other days and other months; the month
// memo dialog with its headings; and what the user is told when typed text
// cannot be kept as typed. Each case checks the month file byte for byte
// and, where it shows, the memo mark the calendar paints.
#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"
#include "e2e/memo_windows.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
constexpr int kEditId = 1003;
constexpr int kColourButtonId = 1028;
constexpr int kMonthEditId = 1030;
constexpr int kDayEditId = 1031;

// MEMODEF is set apart from black, so that a new memo's colour shows in the file.
const std::string kGridOnly = iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0",
                                       "DISPLAY_MEMO=0", "SAVE_POS=0", "[COLOR]", "MEMODEF=4660",
                                       "[HOLIDAY]", "1225=クリスマス||1"});
// With the title band, which a double click opens the month memo dialog from.
const std::string kWithTitleBand = iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=0",
                                            "DISPLAY_MEMO=0", "SAVE_POS=0", "[COLOR]", "MEMODEF=4660"});
constexpr char kNewMemoColour[] = "00004660";

const MonthShape kDecember2004 = monthShape(2004, 12);
const MonthShape kJanuary2005 = monthShape(2005, 1);

void pressWithShift(WORD key) {
  INPUT input[4] = {};
  WORD keys[4] = {VK_SHIFT, key, key, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wVk = keys[i];
    input[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, input, sizeof input[0]);
  Sleep(60);
}

class MemoEditorTest : public CalendarWindowTest {
 protected:
  std::string fileOf(const wchar_t* name) {
    std::string bytes;
    if (!app().readFile(name, bytes)) return "<missing>";
    return bytes;
  }
  std::string december() { return fileOf(L"200412.dat"); }

  void setReadOnly(const wchar_t* name, bool readOnly) {
    std::wstring path = app().directory() + L"\\" + name;
    SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  }

  // A new editor opens over the calendar's top left corner; it is moved
  // clear of the calendar, as a user would, so that the cells stay reachable.
  HWND openEditorOn(int day) {
    bool wasOpen = findProcessWindow(app().processId(), L"DayInfoClass") != nullptr;
    POINT centre = layout.centreOf(kDecember2004, day);
    leftDoubleClick(window(), centre.x, centre.y);
    HWND editor = waitForDayEditor(app().processId());
    if (editor && !wasOpen) moveAside(editor);
    return editor;
  }

  void moveAside(HWND editor) {
    RECT rect{};
    GetWindowRect(editor, &rect);
    RECT calendar = app().windowRect();
    if (rect.left >= calendar.right || rect.top >= calendar.bottom) return;
    MoveWindow(editor, calendar.right + 20, calendar.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    settle(editor);
  }

  // Replaces the whole text of an edit as a user would: select all, type.
  void retype(HWND dialog, int id, const std::wstring& text) {
    HWND edit = GetDlgItem(dialog, id);
    clickControl(dialog, id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    pressKey(VK_DELETE);
    typeText(text);
  }

  // The message box that must appear now: its text, after closing it with OK.
  std::wstring answerMessageBox(int button = IDOK) {
    HWND box = waitForMessageBox(app().processId());
    if (!box) return L"<no message box>";
    std::wstring text = messageBoxText(box);
    std::wstring caption = windowText(box);
    clickControl(box, button);
    if (!waitUntilGone(box)) return L"<message box stays>";
    return caption + L"|" + text;
  }

  // A double click on the middle of the title band, which lies below the
  // tool strip and is as high as the title font (here the default one) + 1.
  HWND openMonthDialog() {
    const int titleHeight = measureSectionFont(-20).height + 1;
    leftDoubleClick(window(), layout.clientWidth / 2, layout.toolStripHeight + titleHeight / 2);
    return waitForMonthDialog(app().processId());
  }

  bool markedInDecember(const char* step, int day) {
    Capture screen = shot(step);
    return probe(screen, kDecember2004).hasMark(day, kYotei);
  }
};

TEST_F(MemoEditorTest, TheTypicalRequestWritesTheMemoAndMarksTheDay) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  EXPECT_FALSE(markedInDecember("before", 5));

  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr) << "no day memo editor after a double click on the 5th";
  EXPECT_EQ(windowText(editor), L"2004年12月5日(日)");
  EXPECT_EQ(controlText(editor, kEditId), L"");
  EXPECT_EQ(focusedControl(editor), GetDlgItem(editor, kEditId)) << "the edit has the focus";
  typeText(L"忘年会\n19時 駅前");
  EXPECT_EQ(controlText(editor, kEditId), L"忘年会\r\n19時 駅前") << "Enter in the edit is a line break";
  EXPECT_EQ(december(), "<missing>") << "nothing is written before OK";

  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "忘年会\r\n19時 駅前"));
  EXPECT_TRUE(markedInDecember("after-ok", 5)) << "memo mark on the 5th";

  // Read back from the file on the next opening; Esc leaves it as it was.
  editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(controlText(editor, kEditId), L"忘年会\r\n19時 駅前");
  typeText(L"追記");
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor)) << "Esc closes the editor";
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "忘年会\r\n19時 駅前")) << "Esc stores nothing";

  // A holiday's name follows the date in the title, without the marker of
  // the user's own holidays.
  editor = openEditorOn(25);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(windowText(editor), L"2004年12月25日(土) クリスマス");
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
}

TEST_F(MemoEditorTest, EnterOpensTheCursorDayAndTheKeysMoveAroundTheEditor) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  POINT twentieth = layout.centreOf(kDecember2004, 20);
  leftClick(window(), twentieth.x, twentieth.y);
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr) << "Enter opens no editor";
  EXPECT_EQ(windowText(editor), L"2004年12月20日(月)");
  typeText(L"A");

  HWND edit = GetDlgItem(editor, kEditId), ok = GetDlgItem(editor, IDOK);
  HWND cancel = GetDlgItem(editor, IDCANCEL), colour = GetDlgItem(editor, kColourButtonId);
  pressKey(VK_TAB);
  EXPECT_EQ(focusedControl(editor), ok);
  pressKey(VK_TAB);
  EXPECT_EQ(focusedControl(editor), cancel);
  pressKey(VK_TAB);
  EXPECT_EQ(focusedControl(editor), colour);
  pressKey(VK_TAB);
  EXPECT_EQ(focusedControl(editor), edit);
  pressWithShift(VK_TAB);
  EXPECT_EQ(focusedControl(editor), colour);
  pressWithShift(VK_TAB);
  EXPECT_EQ(focusedControl(editor), cancel);
  EXPECT_EQ(controlText(editor, kEditId), L"A") << "no tab was typed";

  // Ctrl+Tab goes to the calendar and back.
  pressKey(VK_TAB, true);
  settle(window());
  EXPECT_EQ(GetForegroundWindow(), window()) << "Ctrl+Tab in the editor activates the calendar";
  pressKey(VK_TAB, true);
  settle(editor);
  EXPECT_EQ(GetForegroundWindow(), editor) << "Ctrl+Tab in the calendar activates the editor";

  // Enter on the focused OK button confirms.
  for (int step = 0; step < 4 && focusedControl(editor) != ok; ++step) pressKey(VK_TAB);
  ASSERT_EQ(focusedControl(editor), ok);
  pressKey(VK_RETURN);
  EXPECT_TRUE(waitUntilGone(editor)) << "Enter on OK closes the editor";
  EXPECT_EQ(december(), dayBlock(20, kNewMemoColour, "A"));
}

TEST_F(MemoEditorTest, SwitchingDaysCommitsTheFirstDay) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"五日");
  HWND again = openEditorOn(6);
  EXPECT_EQ(again, editor) << "the one editor moves to the other day";
  EXPECT_EQ(windowText(editor), L"2004年12月6日(月)");
  EXPECT_EQ(controlText(editor, kEditId), L"");
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "五日")) << "the 5th was saved on the switch";
  EXPECT_TRUE(markedInDecember("switched", 5));

  clickControl(editor, kEditId);
  typeText(L"六日");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "五日") + dayBlock(6, kNewMemoColour, "六日"));
  EXPECT_TRUE(markedInDecember("both", 6));
}

TEST_F(MemoEditorTest, AnEditorLeftOnDecemberWritesDecemberWhileJanuaryIsShown) {
  ASSERT_TRUE(prepare(kGridOnly));
  const std::string january = monthFileText("", {{10, 0, "x"}});
  ASSERT_TRUE(addFile(L"200501.dat", january));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"年末");
  pressKey(VK_RIGHT, true);  // the calendar's accelerator, typed in the editor
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01");
  EXPECT_EQ(controlText(editor, kEditId), L"年末");

  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "年末"));
  EXPECT_EQ(app().caption(), L"2005/01");
  Capture screen = shot("january");
  CalendarProbe look = probe(screen, kJanuary2005);
  EXPECT_TRUE(look.hasMark(10, kYotei)) << "the grid holds January with its memo";
  EXPECT_FALSE(look.hasMark(5, kYotei)) << "December's memo is not drawn on 5 January";
}

TEST_F(MemoEditorTest, OkOnAnEmptyEditLeavesTheTwentyByteHeader) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(app().writeFile(L"200412.dat", monthFileText("", {{5, 255, "消す"}})));
  ASSERT_TRUE(start(kDecember15));
  EXPECT_TRUE(markedInDecember("before", 5));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(controlText(editor, kEditId), L"消す");
  retype(editor, kEditId, L"");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  std::string bytes = december();
  EXPECT_EQ(bytes, "__#00#__\r\n" + dayBlock(5, "00000255", "")) << "the day keeps its colour and an empty block";
  EXPECT_FALSE(markedInDecember("emptied", 5)) << "an empty memo has no mark";
}

TEST_F(MemoEditorTest, ALongMemoIsShownWholeAndCanGrow) {
  ASSERT_TRUE(prepare(kGridOnly));
  // Longer than an edit control takes by default (30,000 characters).
  std::string longText;
  for (int line = 0; line < 2000; ++line) longText += "0123456789abcdefghi\r\n";
  ASSERT_TRUE(app().writeFile(L"200412.dat", monthFileText("", {{5, 0, longText.c_str()}})));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(controlText(editor, kEditId).size(), longText.size());
  pressKey(VK_END, true);
  typeText(L"末尾");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), "__#00#__\r\n" + dayBlock(5, "00000000", (longText + "末尾").c_str()));
}

TEST_F(MemoEditorTest, TheColourChosenIsShownAndStoredWithTheMemo) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"色付き");
  RECT button{};
  GetWindowRect(GetDlgItem(editor, kColourButtonId), &button);
  MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&button), 2);
  const int swatchX = button.right + 5 + 15, swatchY = (button.top + button.bottom) / 2;
  EXPECT_TRUE(sameColour(Capture::of(editor).at(swatchX, swatchY), 0x00001234))
      << "the swatch starts in the MEMODEF colour";

  // The chooser's first basic colour, then its OK.
  clickControl(editor, kColourButtonId);
  HWND chooser = waitForMessageBox(app().processId());
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  HWND basic = GetDlgItem(chooser, 0x2d0);
  ASSERT_NE(basic, nullptr);
  RECT grid{};
  GetWindowRect(basic, &grid);
  POINT first{grid.left + (grid.right - grid.left) / 16, grid.top + (grid.bottom - grid.top) / 12};
  ScreenToClient(chooser, &first);
  leftClick(chooser, first.x, first.y);
  clickControl(chooser, IDOK);
  ASSERT_TRUE(waitUntilGone(chooser));
  settle(editor, 200);
  COLORREF chosen = Capture::of(editor).at(swatchX, swatchY);
  EXPECT_FALSE(sameColour(chosen, 0x00001234)) << "the swatch shows the chosen colour";
  EXPECT_EQ(december(), "<missing>") << "the colour is stored only with the memo";

  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  char colour[16];
  std::snprintf(colour, sizeof colour, "%08lu", static_cast<unsigned long>(chosen));
  EXPECT_EQ(december(), dayBlock(5, colour, "色付き"));
}

TEST_F(MemoEditorTest, TextAMonthFileCannotHoldIsRefusedAndKeptOnScreen) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"会議" L"\xD55C" L"");
  clickControl(editor, IDOK);
  std::wstring message = answerMessageBox();
  EXPECT_EQ(message.rfind(L"Sorvane|", 0), 0u) << "caption";
  EXPECT_NE(message.find(L"「" L"\xD55C" L"」"), std::wstring::npos) << "the character is named";
  EXPECT_NE(message.find(L"U+D55C"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(editor)) << "the editor stays open";
  EXPECT_EQ(controlText(editor, kEditId), L"会議" L"\xD55C" L"");
  EXPECT_EQ(december(), "<missing>");

  // Moving to another day would drop the text: the editor stays on the 5th.
  openEditorOn(6);
  message = answerMessageBox();
  EXPECT_NE(message.find(L"「" L"\xD55C" L"」"), std::wstring::npos);
  EXPECT_EQ(windowText(editor), L"2004年12月5日(日)");
  EXPECT_EQ(controlText(editor, kEditId), L"会議" L"\xD55C" L"");

  // The block marker would split the memo when read back.
  retype(editor, kEditId, L"a__#b");
  clickControl(editor, IDOK);
  message = answerMessageBox();
  EXPECT_NE(message.find(L"「__#」"), std::wstring::npos) << "the sequence is named";
  EXPECT_TRUE(IsWindow(editor));
  EXPECT_EQ(december(), "<missing>");

  retype(editor, kEditId, L"会議");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), dayBlock(5, kNewMemoColour, "会議"));
}

TEST_F(MemoEditorTest, AMonthFileThatCannotBeWrittenIsReportedAndTheEditorStays) {
  ASSERT_TRUE(prepare(kGridOnly));
  const std::string given = monthFileText("", {{3, 0, "既存"}});
  ASSERT_TRUE(app().writeFile(L"200412.dat", given));
  setReadOnly(L"200412.dat", true);
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"新しい予定");
  clickControl(editor, IDOK);
  std::wstring message = answerMessageBox();
  EXPECT_NE(message.find(L"保存できませんでした"), std::wstring::npos) << "got: " << std::string(message.begin(), message.end()).size();
  EXPECT_NE(message.find(L"200412.dat"), std::wstring::npos) << "the file is named";
  EXPECT_TRUE(IsWindow(editor)) << "the editor stays open";
  EXPECT_EQ(controlText(editor, kEditId), L"新しい予定");
  EXPECT_EQ(december(), given);

  setReadOnly(L"200412.dat", false);
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor)) << "a retry saves";
  EXPECT_EQ(december(), given + dayBlock(5, kNewMemoColour, "新しい予定"));
}

// A save that keeps a damaged month file aside says so in a box owned by
// the editor: the editor is disabled under it, so a second OK cannot start
// a second save and a second copy.
TEST_F(MemoEditorTest, TheWarningOfASaveIsOwnedByTheEditor) {
  ASSERT_TRUE(prepare(kGridOnly));
  const std::string damaged = "stray" + dayBlock(3, "00000000", "A");
  ASSERT_TRUE(app().writeFile(L"200412.dat", damaged));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"五日");
  clickControl(editor, IDOK);
  HWND box = waitForMessageBox(app().processId());
  ASSERT_NE(box, nullptr) << "no warning about the kept file";
  EXPECT_NE(messageBoxText(box).find(L"200412.dat.1.bak"), std::wstring::npos);
  EXPECT_EQ(GetWindow(box, GW_OWNER), editor) << "the warning has no owner";
  EXPECT_FALSE(IsWindowEnabled(editor)) << "the editor takes clicks under the warning";
  clickControl(box, IDOK);
  EXPECT_TRUE(waitUntilGone(box));
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(fileOf(L"200412.dat.1.bak"), damaged);
  EXPECT_EQ(fileOf(L"200412.dat.2.bak"), "<missing>");
  EXPECT_EQ(december(), dayBlock(3, "00000000", "A") + dayBlock(5, kNewMemoColour, "五日"));
}

// Placements saved on a monitor since unplugged: both memo windows open on
// the screen there is, with their saved size. A modal month dialog out of
// sight would leave the calendar disabled.
TEST_F(MemoEditorTest, MemoWindowsSavedOffEveryMonitorOpenOnTheScreen) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=0",
                               "DISPLAY_MEMO=0", "SAVE_POS=0", "DAYDLG_X=5000", "DAYDLG_Y=4000", "DAYDLG_W=320",
                               "DAYDLG_H=220", "MONTHDLG_X=-3000", "MONTHDLG_Y=-2500", "MONTHDLG_W=360",
                               "MONTHDLG_H=300"})));
  ASSERT_TRUE(start(kDecember15));
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  auto onScreen = [&](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom;
  };
  auto sizeOf = [](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(onScreen(editor)) << "the day editor opened off the screen";
  EXPECT_EQ(sizeOf(editor).cx, 320);
  EXPECT_EQ(sizeOf(editor).cy, 220);
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(onScreen(dialog)) << "the month dialog opened off the screen";
  EXPECT_EQ(sizeOf(dialog).cx, 360);
  EXPECT_EQ(sizeOf(dialog).cy, 300);
  clickControl(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntilGone(dialog));
}

TEST_F(MemoEditorTest, ClosingTheCalendarStoresWhatTheEditorHolds) {
  ASSERT_TRUE(prepare(kGridOnly));
  const std::string given = monthFileText("", {{3, 0, "既存"}});
  ASSERT_TRUE(app().writeFile(L"200412.dat", given));
  setReadOnly(L"200412.dat", true);
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"閉じる前");
  // The close box: the text cannot be saved, so the user is told and the
  // calendar stays open with the text on screen.
  PostMessageW(window(), WM_CLOSE, 0, 0);
  std::wstring message = answerMessageBox();
  EXPECT_NE(message.find(L"保存できませんでした"), std::wstring::npos);
  EXPECT_TRUE(app().running());
  EXPECT_EQ(controlText(editor, kEditId), L"閉じる前");
  // Once the file can be written, closing stores the memo and ends.
  setReadOnly(L"200412.dat", false);
  ASSERT_TRUE(app().close());
  EXPECT_EQ(december(), given + dayBlock(5, kNewMemoColour, "閉じる前"));
}

TEST_F(MemoEditorTest, ClosingWithAnUntouchedEditorWritesNothing) {
  ASSERT_TRUE(prepare(kGridOnly));
  const std::string given = monthFileText("", {{3, 0, "既存"}});
  ASSERT_TRUE(app().writeFile(L"200412.dat", given));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_NE(openEditorOn(7), nullptr);  // a day without a memo
  ASSERT_TRUE(app().close());
  EXPECT_EQ(december(), given) << "no empty block for the 7th";
}

TEST_F(MemoEditorTest, TheEditorKeepsItsPlaceAndLaysOutItsControls) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  MoveWindow(editor, 420, 330, 400, 260, TRUE);
  settle(editor);
  RECT client{}, edit{}, ok{}, colour{};
  GetClientRect(editor, &client);
  GetWindowRect(GetDlgItem(editor, kEditId), &edit);
  GetWindowRect(GetDlgItem(editor, IDOK), &ok);
  GetWindowRect(GetDlgItem(editor, kColourButtonId), &colour);
  MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&edit), 2);
  MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&ok), 2);
  MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&colour), 2);
  const int h = colour.bottom - colour.top, w = colour.right - colour.left;
  EXPECT_EQ(edit.right - edit.left, client.right) << "the edit takes the whole width";
  EXPECT_EQ(edit.bottom - edit.top, client.bottom - h - 4);
  EXPECT_EQ(ok.top, client.bottom - h - 2);
  EXPECT_EQ(ok.left, 5);
  EXPECT_EQ(colour.left, 2 * w + 15);

  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
  editor = openEditorOn(6);
  ASSERT_NE(editor, nullptr);
  RECT placed{};
  GetWindowRect(editor, &placed);
  EXPECT_EQ(placed.left, 420);
  EXPECT_EQ(placed.top, 330);
  EXPECT_EQ(placed.right - placed.left, 400);
  EXPECT_EQ(placed.bottom - placed.top, 260);
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntilGone(editor));
}

// ---- The month memo dialog ------------------------------------------------

using MonthMemoDialogTest = MemoEditorTest;

TEST_F(MonthMemoDialogTest, HeadingsRoundTripAndNewDaysTakeTheDefaultColour) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  const std::string given = monthFileText("今月の目標", {{5, 255, "会議"}, {20, 0, "二行\r\nある"}});
  ASSERT_TRUE(app().writeFile(L"200412.dat", given));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr) << "no month memo dialog after a double click on the title band";
  EXPECT_EQ(windowText(dialog), L"2004年12月");
  EXPECT_EQ(controlText(dialog, kMonthEditId), L"今月の目標");
  EXPECT_EQ(controlText(dialog, kDayEditId), L"[ 5日]\r\n会議\r\n[20日]\r\n二行\r\nある\r\n");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), given) << "OK without a change writes the same bytes";

  // A new heading of the 7th (space before the digit) makes a memo in the
  // MEMODEF colour; the heading of the 5th removed deletes its memo; the
  // 20th keeps its colour.
  dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kDayEditId, L"[ 7日]\n新しい予定\n[20日]\n二行\nある\n");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(),
            "__#00#__\r\n今月の目標" + dayBlock(7, kNewMemoColour, "新しい予定") + dayBlock(20, "00000000", "二行\r\nある"));

  // A heading without the space is no heading: it stays in the memo above.
  dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kDayEditId, L"[ 7日]\nA\n[8日]\nB\n[ 9日]\n");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\n今月の目標" + dayBlock(7, kNewMemoColour, "A\r\n[8日]\r\nB") +
                            dayBlock(9, kNewMemoColour, ""))
      << "a heading at the very end gives an empty memo";
}

TEST_F(MonthMemoDialogTest, DaysNobodyEditedKeepTheirBytesAndAnEmptiedDayCopiesNothing) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  // The 3rd holds bytes that are no Shift_JIS character (a damaged or
  // foreign file): the edit shows them as "・".
  const std::string damaged = "A\x85\x40" "B";
  ASSERT_TRUE(app().writeFile(L"200412.dat", "__#00#__\r\n月" + dayBlock(3, "00000000", damaged.c_str()) +
                                                 dayBlock(4, "00000255", "A") + dayBlock(5, "00000000", "B")));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kMonthEditId, L"新しい月");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\n新しい月" + dayBlock(3, "00000000", damaged.c_str()) +
                            dayBlock(4, "00000255", "A") + dayBlock(5, "00000000", "B"))
      << "the 3rd, which nobody edited, keeps its bytes";

  // The only line under the 4th deleted: the 4th is emptied, and the 5th's
  // heading and text are not copied into it.
  dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kDayEditId, L"[ 4日]\n[ 5日]\nB\n");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\n新しい月" + dayBlock(4, "00000255", "") + dayBlock(5, "00000000", "B"));
}

// At log-off the session may end the process at any moment: what the open
// month memo dialog holds is stored at the query, as the day editor's is.
TEST_F(MonthMemoDialogTest, ALogOffStoresWhatTheDialogHolds) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kMonthEditId, L"ログオフ前");
  retype(dialog, kDayEditId, L"[ 3日]\n三日");
  // The typed keys reach the edit through the X server; the query must
  // find all of them there.
  const DWORD typed = GetTickCount();
  while (controlText(dialog, kDayEditId) != L"[ 3日]\r\n三日" && GetTickCount() - typed < 3000) Sleep(50);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, 1u);
  EXPECT_EQ(december(), "__#00#__\r\nログオフ前" + dayBlock(3, kNewMemoColour, "三日"));
  EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays with its text";
  clickControl(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntilGone(dialog));
}

TEST_F(MonthMemoDialogTest, TextThatWouldBeDroppedIsAskedAboutFirst) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(controlText(dialog, kMonthEditId), L"");
  EXPECT_EQ(controlText(dialog, kDayEditId), L"");
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\n") << "the month memo block is always written";

  const struct {
    const wchar_t* typed;
    const wchar_t* quoted;
    std::string stored;
  } cases[] = {
      {L"上の行\n[ 3日]\n三日", L"「上の行」", dayBlock(3, kNewMemoColour, "三日")},
      {L"[ 3日]\nA\n[ 3日]\n二度目", L"「二度目」", dayBlock(3, kNewMemoColour, "A")},
      {L"[ 3日]\nA\n[32日]\n三十二日", L"「三十二日」", dayBlock(3, kNewMemoColour, "A")},
  };
  for (const auto& c : cases) {
    dialog = openMonthDialog();
    ASSERT_NE(dialog, nullptr);
    retype(dialog, kDayEditId, c.typed);
    clickControl(dialog, IDOK);
    std::wstring question = answerMessageBox(IDCANCEL);
    EXPECT_NE(question.find(c.quoted), std::wstring::npos) << "the dropped line is quoted";
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Cancel returns to the dialog";
    EXPECT_EQ(december(), "__#00#__\r\n") << "Cancel changes nothing";
    clickControl(dialog, IDOK);
    answerMessageBox(IDOK);
    EXPECT_TRUE(waitUntilGone(dialog)) << "OK stores without the dropped text";
    EXPECT_EQ(december(), "__#00#__\r\n" + c.stored);
    // Back to the empty month for the next case.
    dialog = openMonthDialog();
    ASSERT_NE(dialog, nullptr);
    retype(dialog, kDayEditId, L"");
    clickControl(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
  }
}

TEST_F(MonthMemoDialogTest, ADoubleClickOnTheBandCommitsAnOpenDayEditorFirst) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  ASSERT_TRUE(start(kDecember15));
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  moveAside(editor);
  typeText(L"十五日");
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindow(editor)) << "the day editor is closed";
  EXPECT_EQ(controlText(dialog, kDayEditId), L"[15日]\r\n十五日\r\n");
  EXPECT_EQ(december(), dayBlock(15, kNewMemoColour, "十五日"));
  clickControl(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), dayBlock(15, kNewMemoColour, "十五日")) << "Cancel writes nothing";
}

TEST_F(MonthMemoDialogTest, UnstorableTextAndFailedSavesKeepTheDialogOpen) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  const std::string given = monthFileText("月", {{3, 0, "既存"}});
  ASSERT_TRUE(app().writeFile(L"200412.dat", given));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kMonthEditId, L"月" L"\xD55C" L"");
  clickControl(dialog, IDOK);
  std::wstring message = answerMessageBox();
  EXPECT_NE(message.find(L"「" L"\xD55C" L"」"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(controlText(dialog, kMonthEditId), L"月" L"\xD55C" L"");

  retype(dialog, kMonthEditId, L"月__#");
  clickControl(dialog, IDOK);
  EXPECT_NE(answerMessageBox().find(L"「__#」"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(december(), given);

  setReadOnly(L"200412.dat", true);
  retype(dialog, kMonthEditId, L"新しい月");
  clickControl(dialog, IDOK);
  EXPECT_NE(answerMessageBox().find(L"保存できませんでした"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
  EXPECT_EQ(controlText(dialog, kMonthEditId), L"新しい月");
  EXPECT_EQ(december(), given);
  setReadOnly(L"200412.dat", false);
  clickControl(dialog, IDOK);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\n新しい月" + dayBlock(3, "00000000", "既存"));
}

}  // namespace

namespace {

int childHeight(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  return rect.bottom - rect.top;
}

TEST_F(MonthMemoDialogTest, TheSplitterAndThePlacementAreRemembered) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=0",
                               "DISPLAY_MEMO=0", "SAVE_POS=0", "MONTHDLG_SEP=100"})));
  ASSERT_TRUE(start(kDecember15));
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(childHeight(dialog, kMonthEditId), 100) << "MONTHDLG_SEP sets the month memo's height";
  RECT calendar = app().windowRect();
  MoveWindow(dialog, calendar.right + 10, 120, 380, 420, TRUE);
  settle(dialog);

  // The label between the edits is the splitter; dragging it far up stops
  // at 10 pixels, and the day memos' edit takes the room.
  RECT splitter{};
  GetWindowRect(GetDlgItem(dialog, 1056), &splitter);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&splitter), 2);
  int dayEditBefore = childHeight(dialog, kDayEditId);
  leftDrag(dialog, (splitter.left + splitter.right) / 2, (splitter.top + splitter.bottom) / 2, 0, -200);
  EXPECT_EQ(childHeight(dialog, kMonthEditId), 10);
  EXPECT_EQ(childHeight(dialog, kDayEditId), dayEditBefore + 90);

  clickControl(dialog, IDCANCEL);
  ASSERT_TRUE(waitUntilGone(dialog));
  dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  RECT placed{};
  GetWindowRect(dialog, &placed);
  EXPECT_EQ(placed.left, calendar.right + 10);
  EXPECT_EQ(placed.top, 120);
  EXPECT_EQ(placed.right - placed.left, 380);
  EXPECT_EQ(placed.bottom - placed.top, 420);
  EXPECT_EQ(childHeight(dialog, kMonthEditId), 10) << "the splitter's place is kept in the run";
  clickControl(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntilGone(dialog));
}

}  // namespace

// ---- Pictures for the README ----------------------------------------------
// Not a check: run on purpose with --gtest_also_run_disabled_tests
// --gtest_filter=*Pictures* to draw docs/day_editor.png and
// docs/month_dialog.png (the run turns the captures into PNG files).

namespace {

class ReadmePictures : public MemoEditorTest {
 protected:
  void keepScreen(HWND dialog, const wchar_t* name) {
    settle(dialog, 300);
    RECT calendar = app().windowRect(), editor{};
    GetWindowRect(dialog, &editor);
    RECT both{std::min(calendar.left, editor.left) - 8, std::min(calendar.top, editor.top) - 8,
              std::max(calendar.right, editor.right) + 8, std::max(calendar.bottom, editor.bottom) + 8};
    Capture::ofScreen(both).saveBmp(e2eOptions().shotDir + L"\\" + name + L".bmp");
  }
};

TEST_F(ReadmePictures, DISABLED_BothEditorsWithJapaneseText) {
  ASSERT_TRUE(prepare(iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=1", "DISPLAY_WAKU=1",
                               "DISPLAY_MEMO=1", "SAVE_POS=0", "[HOLIDAY]", "1223=天皇誕生日||0"})));
  ASSERT_TRUE(app().writeFile(L"200412.dat", monthFileText("年末の大掃除\r\n年賀状は25日までに投函",
                                                          {{5, 0x00C00000, "忘年会"},
                                                           {15, 0x000000C0, "歯医者\r\n15:00"},
                                                           {24, 0x00008000, "クリスマス会"}})));
  ASSERT_TRUE(start(kDecember15, 340, 280));
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  RECT calendar = app().windowRect();
  MoveWindow(editor, calendar.right + 12, calendar.top, 300, 220, TRUE);
  clickControl(editor, kEditId);
  pressKey(VK_END, true);
  typeText(L"\n駅前の歯科、保険証を忘れずに");
  keepScreen(editor, L"readme-day_editor");
  pressKey(VK_ESCAPE);
  ASSERT_TRUE(waitUntilGone(editor));

  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  MoveWindow(dialog, calendar.right + 12, calendar.top, 340, 360, TRUE);
  keepScreen(dialog, L"readme-month_dialog");
  clickControl(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntilGone(dialog));
}

}  // namespace
