// One memo folder, two writers: the calendar runs while a second program
// changes its month files, as sorvane-cal does on the same folder, as a
// script rewriting a file in place does, and as a sync tool renaming a new
// file over the old one does. The calendar shows their memos without being
// asked, never overwrites them from the day editor or the month dialog,
// tells the user when both sides changed the same memo, and does not read
// and repaint in a loop after its own saves.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"
#include "e2e/memo_windows.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
constexpr int kEditId = 1003;
constexpr int kMonthEditId = 1030;
constexpr int kDayEditId = 1031;
// What the issue asks: the other side's memo shows within 3 s.
constexpr DWORD kShowsWithinMs = 3000;

const std::string kGridOnly = iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0", "DISPLAY_WAKU=0",
                                       "DISPLAY_MEMO=0", "SAVE_POS=0", "[COLOR]", "MEMODEF=4660"});
const std::string kWithTitleBand = iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=1", "WEEK=0", "DISPLAY_WAKU=0",
                                            "DISPLAY_MEMO=0", "SAVE_POS=0", "[COLOR]", "MEMODEF=4660"});

const MonthShape kDecember2004 = monthShape(2004, 12);

std::string narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  return out;
}

class SharedFolderTest : public CalendarWindowTest {
 protected:
  std::string fileOf(const wchar_t* name) {
    std::string bytes;
    if (!app().readFile(name, bytes)) return "<missing>";
    return bytes;
  }
  std::string december() { return fileOf(L"200412.dat"); }
  std::wstring pathOf(const wchar_t* name) { return app().directory() + L"\\" + name; }

  // sorvane-cal, built beside the program, run on the test's folder and
  // settings: the second writer. Its exit code, or a note why it gave none.
  ::testing::AssertionResult secondWriter(const std::wstring& arguments) {
    const std::wstring& program = e2eOptions().program;
    std::wstring tool = program.substr(0, program.find_last_of(L"\\/") + 1) + L"sorvane-cal.exe";
    std::wstring command = L"\"" + tool + L"\" " + arguments + L" --ini \"" + pathOf(kSettingsFileName) +
                           L"\" --data \"" + app().directory() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
      return ::testing::AssertionFailure() << "cannot start " << narrow(tool);
    DWORD waited = WaitForSingleObject(process.hProcess, 15000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0) return ::testing::AssertionFailure() << "sorvane-cal did not end";
    if (code != 0) return ::testing::AssertionFailure() << "sorvane-cal exited with " << code;
    return ::testing::AssertionSuccess();
  }

  // A new file written beside the month file and renamed over it.
  bool renameOver(const wchar_t* name, const std::string& bytes) {
    std::wstring fresh = std::wstring(name) + L".sync";
    return app().writeFile(fresh, bytes) &&
           MoveFileExW(pathOf(fresh.c_str()).c_str(), pathOf(name).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }

  bool marked(const Capture& capture, int day) { return probe(capture, kDecember2004).hasMark(day, kYotei); }

  // Waits for the mark of `day` to show (or to go); how long it took, or
  // kShowsWithinMs + 1 when it never did.
  DWORD msUntilMark(const char* step, int day, bool shown = true) {
    DWORD started = GetTickCount();
    Capture last = shotWhen(step, [&](const Capture& c) { return marked(c, day) == shown; }, kShowsWithinMs);
    DWORD took = GetTickCount() - started;
    return marked(last, day) == shown ? took : kShowsWithinMs + 1;
  }

  HWND openEditorOn(int day) {
    POINT centre = layout.centreOf(kDecember2004, day);
    leftDoubleClick(window(), centre.x, centre.y);
    HWND editor = waitForDayEditor(app().processId());
    if (!editor) return nullptr;
    // Clear of the calendar, so that its cells stay in sight.
    RECT rect{}, calendar = app().windowRect();
    GetWindowRect(editor, &rect);
    MoveWindow(editor, calendar.right + 20, calendar.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    settle(editor);
    return editor;
  }

  HWND openMonthDialog() {
    const int titleHeight = measureSectionFont(-20).height + 1;
    leftDoubleClick(window(), layout.clientWidth / 2, layout.toolStripHeight + titleHeight / 2);
    return waitForMonthDialog(app().processId());
  }

  void retype(HWND dialog, int id, const std::wstring& text) {
    clickControl(dialog, id);
    SendMessageW(GetDlgItem(dialog, id), EM_SETSEL, 0, -1);
    pressKey(VK_DELETE);
    typeText(text);
  }

  // The box that must appear now: "caption|text", after `key` closed it.
  std::wstring answerMessageBox(WORD key) {
    HWND box = waitForMessageBox(app().processId());
    if (!box) return L"<no message box>";
    std::wstring text = windowText(box) + L"|" + messageBoxText(box);
    bringToFront(box);
    pressKey(key);
    if (!waitUntilGone(box)) return L"<message box stays>";
    return text;
  }
};

// (a) Another program changes the month on display: sorvane-cal, a rewrite
// in place, a rename over the file, a deletion of a day. Each shows on its
// own, and the calendar writes nothing.
TEST_F(SharedFolderTest, TheCalendarShowsWhatAnotherWriterChanged) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(app().writeFile(L"200412.dat", dayBlock(3, "00000000", "既存")));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(marked(shot("before"), 3));
  ASSERT_FALSE(marked(shot("before"), 9));

  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 9 --color 255 ノートPCから"));
  DWORD took = msUntilMark("sorvane-cal", 9);
  EXPECT_LE(took, kShowsWithinMs) << "the memo sorvane-cal set on the 9th never showed";
  RecordProperty("ms_until_sorvane_cal_memo_shows", static_cast<int>(took));
  const std::string afterTool = december();
  EXPECT_EQ(afterTool, dayBlock(3, "00000000", "既存") + dayBlock(9, "00000255", "ノートPCから"));

  // Written in place, as a script would.
  const std::string inPlace = afterTool + dayBlock(12, "00000000", "スクリプト");
  ASSERT_TRUE(app().writeFile(L"200412.dat", inPlace));
  took = msUntilMark("in-place", 12);
  EXPECT_LE(took, kShowsWithinMs) << "a rewrite in place never showed";
  RecordProperty("ms_until_rewrite_in_place_shows", static_cast<int>(took));

  // A new file renamed over it, as a sync tool does: the 20th comes, the
  // 12th goes.
  const std::string renamed = afterTool + dayBlock(20, "00000000", "同期");
  ASSERT_TRUE(renameOver(L"200412.dat", renamed));
  took = msUntilMark("renamed-over", 20);
  EXPECT_LE(took, kShowsWithinMs) << "a file renamed over the month never showed";
  RecordProperty("ms_until_rename_over_shows", static_cast<int>(took));
  EXPECT_LE(msUntilMark("twelfth-gone", 12, false), kShowsWithinMs) << "the 12th, gone from the file, still shows";
  EXPECT_TRUE(marked(shot("after"), 3));
  EXPECT_TRUE(marked(shot("after"), 9));
  EXPECT_EQ(december(), renamed) << "noticing wrote something";
}

// (b) The month dialog open with a typed month memo while the second writer
// sets the 9th: OK keeps both, and the dialog's text is left alone while it
// is open. Then both change the month memo: ours is stored, theirs kept in
// a copy, and the user is told, whichever way the box is closed.
TEST_F(SharedFolderTest, TheMonthDialogKeepsADayWrittenMeanwhileAndReportsAMemoChangedOnBothSides) {
  ASSERT_TRUE(prepare(kWithTitleBand));
  ASSERT_TRUE(app().writeFile(L"200412.dat", dayBlock(3, "00000000", "既存")));
  ASSERT_TRUE(start(kDecember15));
  layout.titleHeight = measureSectionFont(-20).height + 1;  // the default title font
  HWND dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  retype(dialog, kMonthEditId, L"今月の目標");

  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 9 --color 255 ノートPCから"));
  // The calendar behind notices; the dialog keeps what it holds.
  Sleep(1500);
  EXPECT_EQ(controlText(dialog, kMonthEditId), L"今月の目標");
  EXPECT_EQ(controlText(dialog, kDayEditId), L"[ 3日]\r\n既存\r\n");
  clickControl(dialog, IDOK);
  ASSERT_TRUE(waitUntilGone(dialog)) << "OK did not close the dialog (a message box?)";
  EXPECT_EQ(december(), "__#00#__\r\n今月の目標" + dayBlock(3, "00000000", "既存") +
                            dayBlock(9, "00000255", "ノートPCから"));
  EXPECT_LE(msUntilMark("after-ok", 9), kShowsWithinMs);

  // The month memo changed on both sides.
  dialog = openMonthDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(controlText(dialog, kDayEditId), L"[ 3日]\r\n既存\r\n[ 9日]\r\nノートPCから\r\n");
  retype(dialog, kMonthEditId, L"ここでの目標");
  ASSERT_TRUE(secondWriter(L"set-month-memo 2004 12 あちらの目標"));
  const std::string theirs = december();
  clickControl(dialog, IDOK);
  std::wstring told = answerMessageBox(VK_ESCAPE);
  EXPECT_EQ(told.substr(0, 8), L"Sorvane|") << narrow(told);
  EXPECT_NE(told.find(L"月のメモ"), std::wstring::npos) << narrow(told);
  EXPECT_NE(told.find(L"200412.dat.1.bak"), std::wstring::npos) << narrow(told);
  EXPECT_TRUE(waitUntilGone(dialog));
  EXPECT_EQ(december(), "__#00#__\r\nここでの目標" + dayBlock(3, "00000000", "既存") +
                            dayBlock(9, "00000255", "ノートPCから"));
  EXPECT_EQ(fileOf(L"200412.dat.1.bak"), theirs);
  EXPECT_NE(theirs.find("あちらの目標"), std::string::npos);
}

// (c) The day editor on the 5th with typed text while the second writer
// changes the 5th: after OK both texts are in the folder and a box said so.
// A change of another day meanwhile is merged without a word.
TEST_F(SharedFolderTest, TheDayEditorKeepsBothTextsOfADayChangedOnBothSidesAndSaysSo) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(app().writeFile(L"200412.dat", dayBlock(5, "00000000", "元の予定")));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(controlText(editor, kEditId), L"元の予定");
  retype(editor, kEditId, L"ここで書いた");

  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 5 あちらで書いた"));
  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 9 --color 255 ノートPCから"));
  EXPECT_LE(msUntilMark("ninth-shows", 9), kShowsWithinMs);
  EXPECT_EQ(controlText(editor, kEditId), L"ここで書いた") << "the repaint touched the editor";
  const std::string theirs = december();

  clickControl(editor, IDOK);
  std::wstring told = answerMessageBox(VK_RETURN);
  EXPECT_EQ(told.substr(0, 8), L"Sorvane|") << narrow(told);
  EXPECT_NE(told.find(L"5日"), std::wstring::npos) << narrow(told);
  EXPECT_NE(told.find(L"200412.dat.1.bak"), std::wstring::npos) << narrow(told);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_EQ(december(), dayBlock(5, "00000000", "ここで書いた") + dayBlock(9, "00000255", "ノートPCから"));
  EXPECT_EQ(fileOf(L"200412.dat.1.bak"), theirs);
  EXPECT_NE(theirs.find("あちらで書いた"), std::string::npos);

  // Another day changed meanwhile: merged, no box.
  editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  retype(editor, kEditId, L"三度目");
  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 20 --color 0 同期"));
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor)) << "a message box came for a change of another day";
  EXPECT_EQ(december(), dayBlock(5, "00000000", "三度目") + dayBlock(9, "00000255", "ノートPCから") +
                            dayBlock(20, "00000000", "同期"));
  EXPECT_EQ(fileOf(L"200412.dat.2.bak"), "<missing>");
}

// The calendar's own save is noticed as its own: after it, nothing repaints
// the calendar. A square drawn into the calendar from outside stays as long
// as nothing repaints it; a change by someone else then wipes it, which
// shows that the square would have caught a repaint.
TEST_F(SharedFolderTest, TheCalendarsOwnSaveCausesNoReload) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"自分の保存");
  clickControl(editor, IDOK);
  ASSERT_TRUE(waitUntilGone(editor));
  const std::string saved = december();
  ASSERT_NE(saved.find("自分の保存"), std::string::npos);
  movePointerTo(POINT{5, 5});
  settle(window());
  Sleep(1500);  // the notification of the save has been looked at

  const POINT spot = layout.centreOf(kDecember2004, 22);
  const COLORREF kSquare = RGB(255, 0, 255);
  auto drawSquare = [&] {
    HDC dc = GetDC(window());
    HBRUSH brush = CreateSolidBrush(kSquare);
    RECT square{spot.x - 3, spot.y - 3, spot.x + 3, spot.y + 3};
    FillRect(dc, &square, brush);
    DeleteObject(brush);
    ReleaseDC(window(), dc);
    GdiFlush();
  };
  drawSquare();
  ASSERT_EQ(shot("square").at(spot.x, spot.y), kSquare) << "a square drawn from outside does not show";
  Sleep(3000);
  EXPECT_EQ(shot("still-square").at(spot.x, spot.y), kSquare) << "the calendar repainted after its own save";
  EXPECT_EQ(december(), saved);

  ASSERT_TRUE(secondWriter(L"set-memo 2004 12 9 ほか"));
  Capture wiped = shotWhen("wiped", [&](const Capture& c) { return c.at(spot.x, spot.y) != kSquare; }, kShowsWithinMs);
  EXPECT_NE(wiped.at(spot.x, spot.y), kSquare) << "another writer's change did not repaint the calendar";
}

// Another save holding the month's lock for longer than a save waits: the
// editor says so and keeps the text; once the lock is gone, OK saves.
TEST_F(SharedFolderTest, ALockHeldByAnotherSaveIsReportedAndTheTextStays) {
  ASSERT_TRUE(prepare(kGridOnly));
  ASSERT_TRUE(start(kDecember15));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"待たされた予定");
  HANDLE lock = CreateFileW(pathOf(L"200412.lck").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  clickControl(editor, IDOK);
  std::wstring told = answerMessageBox(VK_RETURN);
  CloseHandle(lock);
  EXPECT_EQ(told.substr(0, 8), L"Sorvane|") << narrow(told);
  EXPECT_NE(told.find(L"保存している最中"), std::wstring::npos) << narrow(told);
  EXPECT_TRUE(IsWindow(editor)) << "the editor stays open";
  EXPECT_EQ(controlText(editor, kEditId), L"待たされた予定");
  EXPECT_EQ(december(), "<missing>");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor)) << "a retry saves";
  EXPECT_EQ(december(), dayBlock(5, "00004660", "待たされた予定"));
}

// The data folder goes away for a while, as a network drive or a sync
// tool's renames do: a save says it failed and keeps the text; the memos on
// screen stay; when the folder is back, with a day the other PC wrote
// meanwhile, the calendar shows it, and the retried save keeps both.
TEST_F(SharedFolderTest, AFolderThatIsAwayFailsSavesAndIsWatchedAgainWhenBack) {
  ASSERT_TRUE(prepareWritable(nullptr));
  const std::wstring folder = pathOf(L"data"), away = pathOf(L"data.away");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::string dataDir = "DATADIR=" + narrow(folder);
  ASSERT_TRUE(addFile(kSettingsFileName, iniText({"[Sorvane]", "TITLE=0", "DISPLAY_TITLE=0", "WEEK=0",
                                                  "DISPLAY_WAKU=0", "DISPLAY_MEMO=0", "SAVE_POS=0",
                                                  dataDir.c_str(), "[COLOR]", "MEMODEF=4660"})));
  ASSERT_TRUE(app().writeFile(L"data\\200412.dat", dayBlock(3, "00000000", "既存")));
  ASSERT_TRUE(start(kDecember15));
  ASSERT_TRUE(marked(shot("before"), 3));
  HWND editor = openEditorOn(5);
  ASSERT_NE(editor, nullptr);
  typeText(L"出先で");

  ASSERT_TRUE(MoveFileW(folder.c_str(), away.c_str()));
  clickControl(editor, IDOK);
  std::wstring told = answerMessageBox(VK_RETURN);
  EXPECT_NE(told.find(L"保存できませんでした"), std::wstring::npos) << narrow(told);
  EXPECT_EQ(controlText(editor, kEditId), L"出先で");
  Sleep(1200);
  EXPECT_TRUE(marked(shot("away"), 3)) << "the memos on screen went with the folder";

  // The other PC wrote the 9th meanwhile; the folder comes back with it.
  ASSERT_TRUE(app().writeFile(L"data.away\\200412.dat",
                              dayBlock(3, "00000000", "既存") + dayBlock(9, "00000255", "ノートPCから")));
  ASSERT_TRUE(MoveFileW(away.c_str(), folder.c_str()));
  EXPECT_LE(msUntilMark("back", 9), kShowsWithinMs) << "the returned folder is not watched";
  EXPECT_EQ(controlText(editor, kEditId), L"出先で");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor)) << "the retried save did not close the editor";
  EXPECT_EQ(fileOf(L"data\\200412.dat"), dayBlock(3, "00000000", "既存") + dayBlock(5, "00004660", "出先で") +
                                              dayBlock(9, "00000255", "ノートPCから"));
}

}  // namespace
