#include "app/accessible_objects_win.h"

#include <new>
#include <string>

#include "app/accessible_text.h"
#include "platform/accessibility_win.h"
#include "platform/text_convert.h"

namespace {

LONG liveObjects = 0;

// The default action of a day ("開く": its memo) and of a button ("押す").
constexpr char kOpenAction[] = "開く";
constexpr char kPressAction[] = "押す";

// A BSTR of Shift_JIS text through the one conversion boundary; S_FALSE
// with null for an empty text, as a client expects of a missing property.
HRESULT answerText(std::string_view sjis, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (sjis.empty()) return S_FALSE;
  *out = allocateBstr(sjisToWide(sjis));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void setInteger(VARIANT* out, LONG value) {
  out->vt = VT_I4;
  out->lVal = value;
}

void setEmpty(VARIANT* out) { out->vt = VT_EMPTY; }

// The child a VARIANT names, or −1 when it is not a child id.
LONG childOf(const VARIANT& child) { return child.vt == VT_I4 ? child.lVal : -1; }

// What every object of the program shares: the reference count, IUnknown,
// the parts of IDispatch a client may call (none are offered), and answers
// for the properties it has not.
class AccessibleObject : public IAccessible {
 public:
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    if (!IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
    *parent = standardWindowObject(window_);
    return *parent ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return noText(child, value); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return noText(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return noText(child, keys);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

 protected:
  explicit AccessibleObject(HWND window) : window_(window) { InterlockedIncrement(&liveObjects); }
  virtual ~AccessibleObject() { InterlockedDecrement(&liveObjects); }

  virtual bool isChild(LONG child) const = 0;

  HRESULT noText(VARIANT child, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return isChild(childOf(child)) ? S_FALSE : E_INVALIDARG;
  }

  // The window's screen rectangle of a client rectangle.
  HRESULT answerLocation(RECT client, long* left, long* top, long* width, long* height) const {
    if (!left || !top || !width || !height) return E_POINTER;
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    *left = client.left + origin.x;
    *top = client.top + origin.y;
    *width = client.right - client.left;
    *height = client.bottom - client.top;
    return S_OK;
  }

  HWND window_;

 private:
  LONG references_ = 1;
};

// The calendar: a table whose children are the days of the shown month.
class CalendarAccessible final : public AccessibleObject {
 public:
  CalendarAccessible(HWND window, CalendarAccessReader read, CalendarDayOpener open)
      : AccessibleObject(window), read_(read), open_(open) {}

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    CalendarAccessView view = read_();
    *count = view.grid ? accessibleDayCount(*view.grid) : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    // The days are simple elements of this object, not objects of their own.
    return isChild(childOf(child)) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    CalendarAccessView view = read_();
    if (id == CHILDID_SELF) return answerText(accessibleMonthName(view.shown, view.eraYear), name);
    return answerText(dayText(view, id).name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!description) return E_POINTER;
    *description = nullptr;
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    if (id == CHILDID_SELF) return S_FALSE;
    return answerText(dayText(read_(), id).description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    setInteger(role, id == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    const bool focused = GetFocus() == window_;
    LONG bits = STATE_SYSTEM_FOCUSABLE;
    if (id == CHILDID_SELF) {
      if (focused) bits |= STATE_SYSTEM_FOCUSED;
    } else {
      bits |= STATE_SYSTEM_SELECTABLE;
      if (id == read_().cursorDay) bits |= STATE_SYSTEM_SELECTED | (focused ? STATE_SYSTEM_FOCUSED : 0);
    }
    setInteger(state, bits);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    return answerCursor(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    return answerCursor(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    return id == CHILDID_SELF ? S_FALSE : answerText(kOpenAction, action);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    RECT client{};
    GetClientRect(window_, &client);
    if (id != CHILDID_SELF) {
      CalendarAccessView view = read_();
      Rect cell;
      if (!dayCellRect(*view.grid, view.layout, client.right, client.bottom, id, cell)) return E_INVALIDARG;
      client = RECT{cell.left, cell.top, cell.right, cell.bottom};
    }
    return answerLocation(client, left, top, width, height);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    setEmpty(end);
    LONG id = childOf(start);
    if (!isChild(id)) return E_INVALIDARG;
    CellStep step;
    switch (direction) {
      case NAVDIR_UP:
        step = CellStep::Up;
        break;
      case NAVDIR_DOWN:
        step = CellStep::Down;
        break;
      case NAVDIR_LEFT:
        step = CellStep::Left;
        break;
      case NAVDIR_RIGHT:
        step = CellStep::Right;
        break;
      case NAVDIR_NEXT:
        step = CellStep::Next;
        break;
      case NAVDIR_PREVIOUS:
        step = CellStep::Previous;
        break;
      case NAVDIR_FIRSTCHILD:
        step = CellStep::FirstChild;
        break;
      case NAVDIR_LASTCHILD:
        step = CellStep::LastChild;
        break;
      default:
        return E_INVALIDARG;
    }
    // The table's own neighbours are the window's business.
    if (id == CHILDID_SELF && step != CellStep::FirstChild && step != CellStep::LastChild) return S_FALSE;
    CalendarAccessView view = read_();
    int day = view.grid ? stepFromDay(*view.grid, id, step) : 0;
    if (day == 0) return S_FALSE;
    setInteger(end, day);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    setEmpty(hit);
    if (!IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    ScreenToClient(window_, &point);
    RECT client{};
    GetClientRect(window_, &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    CalendarAccessView view = read_();
    // Day 0 (a band, a margin, an empty cell) is the table itself.
    setInteger(hit, view.grid ? dayAtPoint(*view.grid, view.layout, client.right, client.bottom, point.x, point.y)
                              : CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    LONG id = childOf(child);
    if (!isChild(id)) return E_INVALIDARG;
    if (id == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    open_(window_, id);
    return S_OK;
  }

 private:
  bool isChild(LONG child) const override {
    if (child == CHILDID_SELF) return true;
    CalendarAccessView view = read_();
    return view.grid && child > 0 && child <= accessibleDayCount(*view.grid);
  }

  static DayAccessibleText dayText(const CalendarAccessView& view, LONG day) {
    int index = cellIndexOfDay(*view.grid, day);
    if (index < 0) return {};
    bool today = view.today.year == view.shown.year && view.today.month == view.shown.month && view.today.day == day;
    return dayAccessibleText(view.grid->cell(index), view.shown, today);
  }

  HRESULT answerCursor(VARIANT* out) const {
    CalendarAccessView view = read_();
    if (view.grid && cellIndexOfDay(*view.grid, view.cursorDay) >= 0) {
      setInteger(out, view.cursorDay);
      return S_OK;
    }
    setEmpty(out);
    return S_FALSE;
  }

  CalendarAccessReader read_;
  CalendarDayOpener open_;
};

// A push button of the program: its name, and a click as default action.
class ButtonAccessible final : public AccessibleObject {
 public:
  ButtonAccessible(HWND button, const char* name) : AccessibleObject(button), name_(name) {}

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
    if (out) *out = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!isChild(childOf(child))) return E_INVALIDARG;
    return answerText(name_ ? name_ : "", name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return noText(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    if (!isChild(childOf(child))) return E_INVALIDARG;
    setInteger(role, ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    if (!isChild(childOf(child))) return E_INVALIDARG;
    LONG bits = STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window_) bits |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible(window_)) bits |= STATE_SYSTEM_INVISIBLE;
    if (!IsWindowEnabled(window_)) bits |= STATE_SYSTEM_UNAVAILABLE;
    setInteger(state, bits);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    if (GetFocus() == window_) {
      setInteger(focus, CHILDID_SELF);
      return S_OK;
    }
    setEmpty(focus);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    setEmpty(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (!isChild(childOf(child))) return E_INVALIDARG;
    return answerText(kPressAction, action);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!isChild(childOf(child))) return E_INVALIDARG;
    RECT client{};
    GetClientRect(window_, &client);
    return answerLocation(client, left, top, width, height);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    setEmpty(end);
    return isChild(childOf(start)) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    setEmpty(hit);
    RECT own{};
    GetWindowRect(window_, &own);
    if (!PtInRect(&own, POINT{x, y})) return S_FALSE;
    setInteger(hit, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!isChild(childOf(child))) return E_INVALIDARG;
    if (!IsWindowEnabled(window_)) return E_FAIL;
    // What a click does: the strip hands the button's command on.
    PostMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_));
    return S_OK;
  }

 private:
  bool isChild(LONG child) const override { return child == CHILDID_SELF; }

  const char* name_;
};

}  // namespace

IAccessible* createCalendarAccessible(HWND window, CalendarAccessReader read, CalendarDayOpener open) {
  if (!read || !open) return nullptr;
  return new (std::nothrow) CalendarAccessible(window, read, open);
}

IAccessible* createButtonAccessible(HWND button, const char* name) {
  return new (std::nothrow) ButtonAccessible(button, name);
}

long liveAccessibleObjects() { return InterlockedCompareExchange(&liveObjects, 0, 0); }
