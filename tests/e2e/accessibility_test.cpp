// What a screen reader finds: the calendar's object asked for from another
// process, as a reader asks for it, and walked: the table, one cell per
// day with its date, weekday, holiday and memo, the focus on the cursor
// day, hit tests, the default action; the tool buttons' names; and the
// keys that reach every function without a mouse.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/calendar_fixture.h"
#include "e2e/desktop_input.h"
#include "e2e/memo_windows.h"

namespace {

constexpr char kDecember15[] = "2004-12-15T10:00:00";
// {618736E0-3C3D-11CF-810C-00AA00389B71}
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

const wchar_t* const kWeekdays[7] = {L"日曜日", L"月曜日", L"火曜日", L"水曜日", L"木曜日", L"金曜日", L"土曜日"};

std::string settings() {
  return iniText({"[Sorvane]", "TITLE=0", "SAVE_POS=0", "DISPLAY_MEMO=1", "[HOLIDAY]", "1223=天皇誕生日||0",
                  "1225=クリスマス||1"});
}

VARIANT child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A property's text, empty when there is none.
template <typename Getter>
std::wstring textOf(Getter get) {
  BSTR text = nullptr;
  HRESULT result = get(&text);
  std::wstring out = SUCCEEDED(result) && text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

std::wstring nameOf(IAccessible* object, LONG id) {
  return textOf([&](BSTR* t) { return object->get_accName(child(id), t); });
}
std::wstring descriptionOf(IAccessible* object, LONG id) {
  return textOf([&](BSTR* t) { return object->get_accDescription(child(id), t); });
}
std::wstring defaultActionOf(IAccessible* object, LONG id) {
  return textOf([&](BSTR* t) { return object->get_accDefaultAction(child(id), t); });
}
LONG roleOf(IAccessible* object, LONG id) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object->get_accRole(child(id), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}
// The child a VARIANT answer names, or −1 for anything else.
LONG idOf(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }
LONG focusOf(IAccessible* object) {
  VARIANT focus;
  VariantInit(&focus);
  object->get_accFocus(&focus);
  return idOf(focus);
}

// The object of a window's client area, as a reader asks for it.
IAccessible* clientObject(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

template <typename Condition>
bool waitFor(Condition done, DWORD timeoutMs = 3000) {
  DWORD started = GetTickCount();
  while (!done()) {
    if (GetTickCount() - started >= timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

void sendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// One stroke of `key` with `modifier` (a shift key) held.
void pressWith(WORD modifier, WORD key) {
  sendKey(modifier, false);
  sendKey(key, false);
  Sleep(20);
  sendKey(key, true);
  sendKey(modifier, true);
  Sleep(20);
}

// December 2004 begins on a Wednesday.
std::wstring expectedName(int day) {
  wchar_t date[32];
  std::swprintf(date, 32, L"12月%d日 ", day);
  std::wstring name = date;
  name += kWeekdays[(day + 2) % 7];
  if (day == 15) name += L" 今日";
  if (day == 23) name += L" 天皇誕生日";
  if (day == 25) name += L" クリスマス";
  if (day == 5) name += L" 忘年会";
  if (day == 20) name += L" 一行だけ";
  return name;
}

// WinEvents raised by the program, as a reader's out-of-context hook gets
// them: they arrive as messages of the hooking thread.
struct SeenEvent {
  DWORD event;
  LONG object;
  LONG child;
};
std::vector<SeenEvent> seenEvents;

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG childId, DWORD, DWORD) {
  if (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_NAMECHANGE) seenEvents.push_back({event, object, childId});
}

bool sawEvent(DWORD event, LONG child) {
  for (const SeenEvent& e : seenEvents)
    if (e.event == event && e.object == OBJID_CLIENT && e.child == child) return true;
  return false;
}

// Waits for an event while handing the hook its messages.
bool waitForEvent(DWORD event, LONG child, DWORD timeoutMs = 3000) {
  DWORD started = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (sawEvent(event, child)) return true;
    if (GetTickCount() - started >= timeoutMs) return false;
    Sleep(20);
  }
}

class AccessibilityTest : public CalendarWindowTest {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override {
    CalendarWindowTest::TearDown();
    CoUninitialize();
  }
  ::testing::AssertionResult startDecember() {
    if (auto r = prepare(settings()); !r) return r;
    if (auto r = addFile(L"200412.dat", monthFileText("", {{5, 255, "忘年会\r\n19時から\r\n駅前"}, {20, 0, "一行だけ"}}));
        !r)
      return r;
    return start(kDecember15, 420, 320);
  }
};

TEST_F(AccessibilityTest, TheCalendarIsATableOfDayCells) {
  ASSERT_TRUE(startDecember());
  IAccessible* table = clientObject(window());
  ASSERT_NE(table, nullptr) << "no object for the client area";

  EXPECT_EQ(roleOf(table, CHILDID_SELF), ROLE_SYSTEM_TABLE);
  // The caption says "2004/12" (TITLE=0); the table always says the month.
  EXPECT_EQ(nameOf(table, CHILDID_SELF), L"2004年12月");
  long count = 0;
  EXPECT_EQ(table->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 31);

  std::vector<VARIANT> children(40);
  LONG got = 0;
  ASSERT_TRUE(SUCCEEDED(AccessibleChildren(table, 0, 40, children.data(), &got)));
  ASSERT_EQ(got, 31);
  for (LONG i = 0; i < got; ++i) {
    const int day = static_cast<int>(i) + 1;
    SCOPED_TRACE(day);
    ASSERT_EQ(idOf(children[i]), day) << "children in day order, each a plain child id";
    EXPECT_EQ(roleOf(table, day), ROLE_SYSTEM_CELL);
    EXPECT_EQ(nameOf(table, day), expectedName(day));
    EXPECT_EQ(defaultActionOf(table, day), L"開く");
  }
  EXPECT_EQ(descriptionOf(table, 5), L"19時から\r\n駅前") << "the memo's other lines";
  EXPECT_EQ(descriptionOf(table, 20), L"");
  EXPECT_EQ(nameOf(table, 32), L"") << "no 32nd day";

  // Every cell lies on the screen where the calendar paints it: its centre
  // hits it again, and the cells of a week follow each other.
  RECT client{};
  GetClientRect(window(), &client);
  MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  long previousRight = 0;
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE(day);
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(table->accLocation(&x, &y, &w, &h, child(day)), S_OK);
    EXPECT_GT(w, 20);
    EXPECT_GT(h, 20);
    EXPECT_GE(x, client.left);
    EXPECT_LE(x + w, client.right);
    EXPECT_LE(y + h, client.bottom);
    if (day > 1 && (day + 2) % 7 != 0) {
      EXPECT_EQ(x, previousRight) << "right after the day before";
    }
    previousRight = x + w;
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(table->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(idOf(hit), day);
  }
  VARIANT above;
  VariantInit(&above);
  table->accHitTest(client.left + 5, client.top + 30, &above);
  EXPECT_EQ(idOf(above), CHILDID_SELF) << "the title band is the table itself";

  // Navigation as in a table.
  VARIANT to;
  VariantInit(&to);
  EXPECT_EQ(table->accNavigate(NAVDIR_RIGHT, child(16), &to), S_OK);
  EXPECT_EQ(idOf(to), 17);
  EXPECT_EQ(table->accNavigate(NAVDIR_DOWN, child(16), &to), S_OK);
  EXPECT_EQ(idOf(to), 23);
  EXPECT_EQ(table->accNavigate(NAVDIR_FIRSTCHILD, child(CHILDID_SELF), &to), S_OK);
  EXPECT_EQ(idOf(to), 1);
  EXPECT_EQ(table->accNavigate(NAVDIR_LEFT, child(19), &to), S_FALSE) << "a Sunday begins its row";

  // The focus is the cursor day, today at the start, and follows the keys.
  EXPECT_EQ(focusOf(table), 15);
  pressKey(VK_RIGHT);
  settle(window());
  EXPECT_TRUE(waitFor([&] { return focusOf(table) == 16; })) << focusOf(table);
  pressKey(VK_DOWN);
  settle(window());
  EXPECT_TRUE(waitFor([&] { return focusOf(table) == 23; })) << focusOf(table);

  // The default action opens the day's memo, as Enter does, and puts the
  // cursor on the day.
  EXPECT_EQ(table->accDoDefaultAction(child(20)), S_OK);
  HWND editor = waitForDayEditor(app().processId());
  EXPECT_NE(editor, nullptr) << "the day memo editor";
  EXPECT_EQ(focusOf(table), 20);
  if (editor) {
    EXPECT_EQ(controlText(editor, 1003).find(L"一行だけ"), 0u) << "the editor shows the 20th's memo";
    PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntilGone(editor));
  }

  // A month change changes the names; the ids stay the day numbers.
  pressKey(VK_RIGHT, true);
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01");
  EXPECT_EQ(nameOf(table, CHILDID_SELF), L"2005年1月");
  EXPECT_EQ(nameOf(table, 1), L"1月1日 土曜日");
  table->Release();
}

// A reader hears the cursor move, the month change and a stored memo.
TEST_F(AccessibilityTest, WinEventsFollowTheCursorTheMonthAndTheMemos) {
  ASSERT_TRUE(startDecember());
  IAccessible* table = clientObject(window());  // a reader is there
  ASSERT_NE(table, nullptr);
  seenEvents.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, onWinEvent,
                                       app().processId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);

  pressKey(VK_RIGHT);
  EXPECT_TRUE(waitForEvent(EVENT_OBJECT_FOCUS, 16)) << "focus on the 16th";
  EXPECT_FALSE(sawEvent(EVENT_OBJECT_NAMECHANGE, 16)) << "a cursor move changes no name";

  pressKey(VK_RIGHT, true);
  EXPECT_TRUE(waitForEvent(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF)) << "the table's name after a month change";
  EXPECT_TRUE(waitForEvent(EVENT_OBJECT_NAMECHANGE, 1)) << "the days' names";
  EXPECT_TRUE(waitForEvent(EVENT_OBJECT_NAMECHANGE, 31));
  EXPECT_TRUE(sawEvent(EVENT_OBJECT_FOCUS, 16));
  EXPECT_EQ(nameOf(table, 16), L"1月16日 日曜日");

  // A memo stored for the 16th of January changes that day's name only.
  seenEvents.clear();
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(app().processId());
  ASSERT_NE(editor, nullptr);
  typeText(L"新年会\n七時");
  clickControl(editor, IDOK);
  EXPECT_TRUE(waitUntilGone(editor));
  EXPECT_TRUE(waitForEvent(EVENT_OBJECT_NAMECHANGE, 16)) << "the 16th's name after its memo was stored";
  EXPECT_FALSE(sawEvent(EVENT_OBJECT_NAMECHANGE, 15));
  EXPECT_FALSE(sawEvent(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF));
  EXPECT_EQ(nameOf(table, 16), L"1月16日 日曜日 新年会");
  expectChangeOf(L"200501.dat");
  UnhookWinEvent(hook);
  table->Release();
}

// A start without a reader loads none of the accessibility libraries; the
// first request does.
TEST_F(AccessibilityTest, LibrariesAreLoadedByTheFirstRequest) {
  ASSERT_TRUE(startDecember());
  EXPECT_EQ(moduleOfProcess(app().processId(), L"oleacc.dll"), L"");
  EXPECT_EQ(moduleOfProcess(app().processId(), L"oleaut32.dll"), L"");
  IAccessible* table = clientObject(window());
  ASSERT_NE(table, nullptr);
  table->Release();
  EXPECT_NE(moduleOfProcess(app().processId(), L"oleacc.dll"), L"");
}

// Each request makes a new object; a reader asks again and again. The
// program must answer every time and stay well.
TEST_F(AccessibilityTest, ManyRequestsAndReleases) {
  ASSERT_TRUE(startDecember());
  for (int i = 0; i < 300; ++i) {
    IAccessible* table = clientObject(window());
    ASSERT_NE(table, nullptr) << "request " << i;
    if (i % 50 == 0) {
      EXPECT_EQ(nameOf(table, 15), expectedName(15));
    }
    table->Release();
  }
  IAccessible* last = clientObject(window());
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(nameOf(last, CHILDID_SELF), L"2004年12月");
  last->Release();
  EXPECT_TRUE(app().running());
}

TEST_F(AccessibilityTest, ToolButtonsAreNamedPushButtons) {
  ASSERT_TRUE(startDecember());
  HWND strip = FindWindowExW(window(), nullptr, L"ToolWndClass", nullptr);
  ASSERT_NE(strip, nullptr);
  const int commands[5] = {40001, 40002, 40003, 40004, 40013};
  const wchar_t* names[5] = {L"前の月", L"今月", L"次の月", L"設定", L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    HWND button = GetDlgItem(strip, commands[i]);
    ASSERT_NE(button, nullptr);
    IAccessible* object = clientObject(button);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(nameOf(object, CHILDID_SELF), names[i]);
    EXPECT_EQ(roleOf(object, CHILDID_SELF), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(defaultActionOf(object, CHILDID_SELF), L"押す");
    object->Release();
  }
  // The default action is a click.
  IAccessible* next = clientObject(GetDlgItem(strip, 40003));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->accDoDefaultAction(child(CHILDID_SELF)), S_OK);
  EXPECT_EQ(captionWhen(L"2005/01"), L"2005/01");
  next->Release();
}

// Shift+F10 and the menu key open the context menu; Shift+Enter the month
// memo dialog; Ctrl+C copies the calendar.
TEST_F(AccessibilityTest, EveryFunctionHasAKey) {
  ASSERT_TRUE(startDecember());
  auto menuOpen = [&] { return findProcessWindow(app().processId(), L"#32768") != nullptr; };
  pressWith(VK_SHIFT, VK_F10);
  EXPECT_TRUE(waitFor(menuOpen)) << "Shift+F10";
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitFor([&] { return !menuOpen(); }));
  pressKey(VK_APPS);
  EXPECT_TRUE(waitFor(menuOpen)) << "the menu key";
  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitFor([&] { return !menuOpen(); }));

  pressWith(VK_SHIFT, VK_RETURN);
  HWND dialog = waitForMonthDialog(app().processId());
  EXPECT_NE(dialog, nullptr) << "Shift+Enter";
  if (dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntilGone(dialog));
  }

  ASSERT_TRUE(bringToFront(window()));
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  pressKey('C', true);
  EXPECT_TRUE(waitFor([] { return IsClipboardFormatAvailable(CF_BITMAP) != 0; })) << "Ctrl+C";
}

}  // namespace
