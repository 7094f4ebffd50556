// The accessibility objects in process: their reference counts, asked for
// and released many times, also through the marshalling a reader's request
// goes through (LresultFromObject, ObjectFromLresult), and what they say.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>

#include "app/accessible_objects_win.h"
#include "calendar/month_grid.h"
#include "platform/accessibility_win.h"
#include "core/test_support.h"

namespace {

using testing_support::SettingsFileOverride;
using testing_support::TempDir;

MonthGrid* shownGrid = nullptr;
int openedDay = 0;

CalendarAccessView readTestCalendar() {
  CalendarAccessView view;
  view.grid = shownGrid;
  view.shown = YearMonth{2026, 12};
  view.cursorDay = 7;
  view.today = LocalTime{2026, 12, 1, 7};
  view.layout.gridLeft = 2;
  view.layout.titleHeight = 20;
  return view;
}

void openTestDay(HWND, int day) { openedDay = day; }

VARIANT child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring nameOf(IAccessible* object, LONG id) {
  BSTR name = nullptr;
  object->get_accName(child(id), &name);
  std::wstring text = name ? std::wstring(name, SysStringLen(name)) : std::wstring();
  SysFreeString(name);
  return text;
}

class AccessibleObjectsTest : public ::testing::Test {
 protected:
  AccessibleObjectsTest() : settings_(dir_.file("absent.ini")) {
    grid_.build(2026, 12);
    grid_.findDay(7)->memo = MemoText::copyOf("忘年会\r\n駅前");
    shownGrid = &grid_;
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 250, nullptr, nullptr, nullptr, nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  ~AccessibleObjectsTest() override {
    DestroyWindow(window_);
    CoUninitialize();
    shownGrid = nullptr;
  }

  TempDir dir_;
  SettingsFileOverride settings_;
  MonthGrid grid_;
  HWND window_ = nullptr;
};

TEST_F(AccessibleObjectsTest, ReferencesCountUpAndDownAndTheLastReleaseFrees) {
  const long before = liveAccessibleObjects();
  IAccessible* table = createCalendarAccessible(window_, readTestCalendar, openTestDay);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(liveAccessibleObjects(), before + 1);
  EXPECT_EQ(table->AddRef(), 2u);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(table->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(table->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  IEnumVARIANT* enumerator = reinterpret_cast<IEnumVARIANT*>(1);
  EXPECT_EQ(table->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&enumerator)), E_NOINTERFACE);
  EXPECT_EQ(enumerator, nullptr);
  EXPECT_EQ(unknown->Release(), 3u);
  EXPECT_EQ(dispatch->Release(), 2u);
  EXPECT_EQ(table->Release(), 1u);
  EXPECT_EQ(liveAccessibleObjects(), before + 1);
  EXPECT_EQ(table->Release(), 0u);
  EXPECT_EQ(liveAccessibleObjects(), before);
}

// The way a reader's request goes: the object marshalled into a result and
// taken out again, its texts asked for, everything released. Nothing may
// stay alive, however often it is done.
TEST_F(AccessibleObjectsTest, ManyMarshalledRequestsLeaveNoObjectAlive) {
  ASSERT_TRUE(startAccessibility());
  const long before = liveAccessibleObjects();
  for (int i = 0; i < 500; ++i) {
    IAccessible* table = createCalendarAccessible(window_, readTestCalendar, openTestDay);
    ASSERT_NE(table, nullptr);
    LRESULT result = resultFromObject(kIidAccessible, 0, table);
    table->Release();
    ASSERT_GT(result, 0) << i;
    IAccessible* received = nullptr;
    ASSERT_EQ(ObjectFromLresult(result, kIidAccessible, 0, reinterpret_cast<void**>(&received)), S_OK) << i;
    if (i % 100 == 0) {
      EXPECT_EQ(nameOf(received, CHILDID_SELF), L"2026年12月");
    }
    EXPECT_EQ(nameOf(received, 7), L"12月7日 月曜日 今日 忘年会");
    received->Release();
    IAccessible* button = createButtonAccessible(window_, "前の月");
    EXPECT_EQ(nameOf(button, CHILDID_SELF), L"前の月");
    button->Release();
  }
  EXPECT_EQ(liveAccessibleObjects(), before);
  endAccessibility();
}

TEST_F(AccessibleObjectsTest, WhatTheTableSays) {
  IAccessible* table = createCalendarAccessible(window_, readTestCalendar, openTestDay);
  ASSERT_NE(table, nullptr);
  long count = 0;
  table->get_accChildCount(&count);
  EXPECT_EQ(count, 31);
  BSTR description = nullptr;
  EXPECT_EQ(table->get_accDescription(child(7), &description), S_OK);
  EXPECT_EQ(std::wstring(description), L"駅前");
  SysFreeString(description);
  EXPECT_EQ(table->get_accDescription(child(8), &description), S_FALSE);
  EXPECT_EQ(description, nullptr);
  EXPECT_EQ(table->get_accName(child(32), &description), E_INVALIDARG);
  VARIANT focus;
  VariantInit(&focus);
  EXPECT_EQ(table->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(focus.lVal, 7);
  VARIANT role;
  VariantInit(&role);
  table->get_accRole(child(3), &role);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_CELL);
  EXPECT_EQ(table->accDoDefaultAction(child(12)), S_OK);
  EXPECT_EQ(openedDay, 12);
  EXPECT_EQ(table->accDoDefaultAction(child(0)), DISP_E_MEMBERNOTFOUND);
  table->Release();
}

}  // namespace
