#include "app/main_accessibility_win.h"

#include <string>

#include "app/accessible_objects_win.h"
#include "app/accessible_text.h"
#include "app/main_window.h"
#include "app/tool_window_win.h"
#include "platform/accessibility_win.h"
#include "render/contrast_colours_win.h"
#include "settings/app_settings.h"

namespace {

// Posted by the object's default action, so that the editor opens from the
// message loop rather than inside a client's call.
constexpr UINT kOpenDayMessage = WM_APP + 101;

constexpr int kMaxDays = 31;

// What the clients were last told, for finding what changed. Kept only once
// a client has asked for the object: without one nothing is built.
struct Announced {
  bool clientSeen = false;
  YearMonth shown;
  int cursorDay = 0;
  std::string table;
  std::string days[kMaxDays + 1];  // by day number; [0] unused
};

Announced& announced() {
  static Announced state;
  return state;
}

CalendarAccessView readCalendar() {
  const MainWindowState& state = mainWindowState();
  CalendarAccessView view;
  view.grid = &state.grid;
  view.shown = shownMonth();
  view.cursorDay = state.cursorDay;
  view.today = localTimeNow();
  view.eraYear = appSettings().wareki() != 0;
  view.layout = gridLayout();
  return view;
}

void openDayLater(HWND window, int day) { PostMessageW(window, kOpenDayMessage, static_cast<WPARAM>(day), 0); }

// The names as a client would read them now; raises a name change for each
// that differs from `before` unless `quiet`.
void takeNames(HWND window, Announced& a, bool quiet) {
  const CalendarAccessView view = readCalendar();
  std::string table = accessibleMonthName(view.shown, view.eraYear);
  if (!quiet && table != a.table) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
  a.table = std::move(table);
  const int count = accessibleDayCount(*view.grid);
  for (int day = 1; day <= kMaxDays; ++day) {
    std::string name;
    if (day <= count) {
      bool today = view.today.year == view.shown.year && view.today.month == view.shown.month &&
                   view.today.day == day;
      name = dayAccessibleText(view.grid->cell(cellIndexOfDay(*view.grid, day)), view.shown, today).name;
    }
    if (!quiet && day <= count && name != a.days[day])
      NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, day);
    a.days[day] = std::move(name);
  }
  a.shown = view.shown;
  a.cursorDay = view.cursorDay;
}

LRESULT answerCalendarObject(HWND window, WPARAM wParam) {
  Announced& a = announced();
  if (!a.clientSeen) {
    a.clientSeen = true;
    takeNames(window, a, true);
  }
  IAccessible* object = createCalendarAccessible(window, readCalendar, openDayLater);
  if (!object) return 0;
  LRESULT result = resultFromObject(kIidAccessible, wParam, object);
  object->Release();  // the result holds its own reference
  return result;
}

}  // namespace

bool handleAccessibilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
      result = answerCalendarObject(window, wParam);
      return result != 0;
    case WM_CONTEXTMENU:
      // The mouse's menu opens on the button press; this is the keyboard's.
      if (lParam != -1) return false;
      showKeyboardContextMenu(window);
      result = 0;
      return true;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      refreshHighContrast();
      InvalidateRect(window, nullptr, TRUE);
      result = DefWindowProcW(window, message, wParam, lParam);
      return true;
    case kOpenDayMessage:
      openDayEditorOn(window, static_cast<int>(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

void announceCalendarChanges(HWND window) {
  Announced& a = announced();
  if (!a.clientSeen) return;
  const YearMonth before = a.shown;
  const int cursorBefore = a.cursorDay;
  takeNames(window, a, false);
  if ((a.cursorDay != cursorBefore || !(a.shown == before)) && GetFocus() == window)
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, a.cursorDay);
}

void endCalendarAccessibility() { endAccessibility(); }

LRESULT answerToolButtonObject(HWND button, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
  IAccessible* object = createButtonAccessible(button, toolTipText(GetDlgCtrlID(button)));
  if (!object) return 0;
  LRESULT result = resultFromObject(kIidAccessible, wParam, object);
  object->Release();
  return result;
}
