// The soak: one calendar driven for a long time with random real input
// (clicks, double clicks, keys, the wheel, the context menu, typing in the
// day memo editor and the month memo dialog, the settings dialog's pages
// with OK, Apply and Cancel, month and year changes), while its handles and
// memory are sampled every few seconds. Run inside a Wine virtual desktop
// like the end-to-end driver (see run_soak.sh), whose helpers it uses.
//
//   soak_driver.exe --program=EXE --work=DIR --result=FILE [--seconds=N] [--seed=N]
//
// It passes when the program never crashed, no message box came up (none is
// expected from what it types), handles and memory did not grow after the
// warm-up, the program closed normally, and every month file it left holds
// exactly what was typed. The verdict and the figures go to the result file.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"
#include "e2e/memo_windows.h"
#include "e2e/sorvane_process.h"

namespace {

E2eOptions options;

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 250;
// The tool strip along the top of a framed window; the title band is below it.
constexpr int kToolStripHeight = 25;
constexpr int kDayEditId = 1003;
constexpr int kMonthMemoEditId = 1030;
constexpr int kApply = 3;
constexpr int kTabControl = 1036;
constexpr int kSettingsPages = 9;

// The title band (for the month dialog) and no window placement saved, so
// that every start looks alike.
const char kSettings[] =
    "[Sorvane]\r\nTITLE=0\r\nDISPLAY_TITLE=1\r\nWEEK=0\r\nDISPLAY_WAKU=0\r\nDISPLAY_MEMO=0\r\nSAVE_POS=0\r\n[COLOR]\r\nMEMODEF=4660\r\n";

// The tool strip's five buttons, by control id: previous, this and next
// month, settings (a dialog that tidy() cancels) and the clipboard copy.
std::vector<int> toolStripButtons() { return {40001, 40002, 40003, 40004, 40013}; }

struct MonthModel {
  bool hasMonthMemo = false;
  std::wstring monthMemo;
  std::map<int, std::wstring> days;
};

struct Sample {
  double seconds;
  double handles;
  double gdiObjects;
  double userObjects;
  double windows;
  double workingSetKb;
  double privateKb;
};

struct Soak {
  SorvaneProcess* app = nullptr;
  HANDLE process = nullptr;
  std::mt19937 random;
  std::map<int, MonthModel> model;  // key year * 100 + month
  std::vector<Sample> samples;
  std::vector<std::string> problems;
  std::map<std::string, int> actions;
  int retypes = 0;  // typing repeated because a key was lost on its way
  DWORD started = 0;

  HWND window() const { return app->window(); }
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  void problem(const std::string& what) {
    if (problems.size() < 50) problems.push_back(what);
    std::fprintf(stderr, "soak: %s\n", what.c_str());
  }
};

std::string narrow(const std::wstring& text, UINT codePage = CP_UTF8) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The displayed month from the main window's caption "YYYY/MM"; 0 when
// the caption says something else.
int displayedMonth(Soak& soak) {
  int year = 0, month = 0;
  if (std::swscanf(soak.app->caption().c_str(), L"%d/%d", &year, &month) != 2) return 0;
  return year * 100 + month;
}

// Text a user might type: letters, digits, blanks, kana and kanji, line
// breaks; never the block marker's characters.
std::wstring randomMemo(Soak& soak) {
  static const wchar_t kCharacters[] = L"abcxyzABC0123456789 .,!?-あいうえおカキクケコ漢字予定会議駅前";
  std::wstring text;
  int length = soak.pick(1, 24);
  for (int i = 0; i < length; ++i) {
    if (i > 0 && i + 1 < length && soak.pick(0, 9) == 0 && text.back() != L'\n') {
      text += L'\n';
      continue;
    }
    text += kCharacters[soak.pick(0, static_cast<int>(std::wcslen(kCharacters)) - 1)];
  }
  return text;
}

// Replaces an edit's text by typing over all of it, until the edit shows
// what was typed (line breaks as CR LF). Under load the X server can lose
// a key on its way, so a mismatch is typed again, twice at most; what the
// edit holds after that is returned, and a problem when it still differs.
std::wstring typeInto(Soak& soak, HWND dialog, int editId, const std::wstring& text) {
  std::wstring expected;
  for (wchar_t c : text) expected += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
  HWND edit = GetDlgItem(dialog, editId);
  std::wstring shown;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) ++soak.retypes;
    clickControl(dialog, editId);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    typeText(text);
    // The keys reach the edit through the X server and the program's queue:
    // a busy moment delays them. They count as lost only when they have not
    // arrived after a second; typing again before then would mix the two.
    const DWORD typed = GetTickCount();
    for (;;) {
      shown = controlText(dialog, editId);
      if (shown == expected) return shown;
      if (GetTickCount() - typed >= 1000) break;
      Sleep(50);
    }
  }
  soak.problem("typed three times, the edit still shows other text: " + narrow(shown));
  return shown;
}

struct FoundWindow {
  DWORD processId;
  HWND main;
  HWND found;
};

BOOL CALLBACK findOtherWindow(HWND window, LPARAM data) {
  auto* query = reinterpret_cast<FoundWindow*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || window == query->main || !IsWindowVisible(window)) return TRUE;
  // The tool strip's tooltip shows while the pointer rests on a button and
  // hides by itself.
  wchar_t className[64] = L"";
  GetClassNameW(window, className, 64);
  if (lstrcmpiW(className, TOOLTIPS_CLASSW) == 0) return TRUE;
  query->found = window;
  return FALSE;
}

// Closes whatever the last action left open: menus, editors, dialogs, and
// message boxes, which count as problems (nothing typed should cause one).
void tidy(Soak& soak, const char* after) {
  std::wstring name;
  for (int round = 0; round < 20; ++round) {
    FoundWindow query{soak.app->processId(), soak.window(), nullptr};
    EnumWindows(findOtherWindow, reinterpret_cast<LPARAM>(&query));
    if (!query.found) return;
    wchar_t className[64] = L"";
    GetClassNameW(query.found, className, 64);
    name = className;
    if (name == L"#32768") {
      pressKey(VK_ESCAPE);
    } else if (name == L"#32770" && windowText(query.found) == L"Sorvane") {
      soak.problem(std::string("a message box after ") + after + ": " + narrow(messageBoxText(query.found)));
      SendMessageW(query.found, WM_COMMAND, IDOK, 0);
    } else {
      // The day memo editor, the month memo dialog, the settings dialog:
      // Cancel leaves what was last saved.
      SendMessageW(query.found, WM_COMMAND, IDCANCEL, 0);
    }
    settle(soak.window());
  }
  soak.problem(std::string("a window of class ") + narrow(name) + " stayed open after " + after);
}

POINT randomPoint(Soak& soak) { return POINT{soak.pick(2, kClientWidth - 3), soak.pick(2, kClientHeight - 3)}; }

void typeInDayEditor(Soak& soak) {
  bringToFront(soak.window());
  pressKey(VK_RETURN);
  HWND editor = waitForDayEditor(soak.app->processId());
  if (!editor) {
    soak.problem("Enter opened no day memo editor");
    return;
  }
  int year = 0, month = 0, day = 0;
  if (std::swscanf(windowText(editor).c_str(), L"%d年%d月%d日", &year, &month, &day) != 3) {
    soak.problem("the day memo editor's caption names no date: " + narrow(windowText(editor)));
    return;
  }
  std::wstring shown = typeInto(soak, editor, kDayEditId, randomMemo(soak));
  clickControl(editor, IDOK);
  if (!waitUntilGone(editor)) {
    soak.problem("the day memo editor stayed open after OK");
    return;
  }
  soak.model[year * 100 + month].days[day] = shown;
}

void typeInMonthDialog(Soak& soak) {
  int month = displayedMonth(soak);
  leftDoubleClick(soak.window(), kClientWidth / 2, kToolStripHeight + 3);
  HWND dialog = waitForMonthDialog(soak.app->processId());
  if (!dialog || month == 0) {
    soak.problem("a double click on the title band opened no month memo dialog");
    return;
  }
  std::wstring shown = typeInto(soak, dialog, kMonthMemoEditId, randomMemo(soak));
  clickControl(dialog, IDOK);
  if (!waitUntilGone(dialog)) {
    soak.problem("the month memo dialog stayed open after OK");
    return;
  }
  MonthModel& model = soak.model[month];
  model.hasMonthMemo = true;
  model.monthMemo = shown;
}

void visitSettings(Soak& soak) {
  rightClick(soak.window(), kClientWidth / 2, kClientHeight / 2);
  HWND menu = nullptr;
  for (int wait = 0; wait < 60 && !menu; ++wait) {
    menu = findProcessWindow(soak.app->processId(), L"#32768");
    if (!menu) Sleep(50);
  }
  if (!menu) {
    soak.problem("no context menu appeared");
    return;
  }
  Sleep(100);
  pressKey('S');
  HWND frame = nullptr;
  for (int wait = 0; wait < 80 && !frame; ++wait) {
    frame = findProcessWindow(soak.app->processId(), L"#32770");
    if (!frame) Sleep(50);
  }
  if (!frame) {
    soak.problem("the settings dialog did not open");
    return;
  }
  settle(frame);
  for (int visits = soak.pick(1, 4); visits > 0; --visits) {
    SendMessageW(GetDlgItem(frame, kTabControl), TCM_SETCURFOCUS, static_cast<WPARAM>(soak.pick(0, kSettingsPages - 1)), 0);
    settle(frame);
  }
  switch (soak.pick(0, 2)) {
    case 0: SendMessageW(GetDlgItem(frame, IDOK), BM_CLICK, 0, 0); break;
    case 1:
      SendMessageW(GetDlgItem(frame, kApply), BM_CLICK, 0, 0);
      settle(frame);
      SendMessageW(GetDlgItem(frame, IDCANCEL), BM_CLICK, 0, 0);
      break;
    default: SendMessageW(GetDlgItem(frame, IDCANCEL), BM_CLICK, 0, 0); break;
  }
  if (!waitUntilGone(frame)) soak.problem("the settings dialog stayed open");
}

void changeMonth(Soak& soak) {
  bringToFront(soak.window());
  static const WORD kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN};
  int month = displayedMonth(soak);
  // Ctrl+Up/Down for years, kept between 1981 and 2099 so that the walk
  // never reaches the first year the calendar has.
  WORD key = kKeys[soak.pick(0, 4)];
  if (key == VK_UP && month / 100 >= 2099) key = VK_DOWN;
  if (key == VK_DOWN && month / 100 <= 1981) key = VK_UP;
  pressKey(key, true);
}

void oneAction(Soak& soak) {
  POINT at = randomPoint(soak);
  const char* name = "";
  int choice = soak.pick(0, 99);
  if (choice < 15) {
    name = "click";
    leftClick(soak.window(), at.x, at.y);
  } else if (choice < 25) {
    name = "double click";
    leftDoubleClick(soak.window(), at.x, at.y);
  } else if (choice < 40) {
    name = "key";
    static const WORD kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_ESCAPE, VK_TAB};
    bringToFront(soak.window());
    pressKey(kKeys[soak.pick(0, 9)]);
  } else if (choice < 50) {
    name = "wheel";
    turnWheel(soak.window(), at.x, at.y, soak.pick(0, 1) ? 120 : -120);
  } else if (choice < 56) {
    name = "context menu";
    rightClick(soak.window(), at.x, at.y);
    Sleep(150);
    pressKey(VK_ESCAPE);
  } else if (choice < 70) {
    name = "day memo";
    typeInDayEditor(soak);
  } else if (choice < 78) {
    name = "month memo";
    typeInMonthDialog(soak);
  } else if (choice < 84) {
    name = "settings";
    visitSettings(soak);
  } else if (choice < 97) {
    name = "month change";
    changeMonth(soak);
  } else {
    name = "tool strip";
    std::vector<int> buttons = toolStripButtons();
    HWND strip = FindWindowExW(soak.window(), nullptr, L"ToolWndClass", nullptr);
    if (strip && !buttons.empty())
      clickControl(strip, buttons[static_cast<std::size_t>(soak.pick(0, static_cast<int>(buttons.size()) - 1))]);
  }
  settle(soak.window());
  tidy(soak, name);
  ++soak.actions[name];
}

struct WindowCount {
  DWORD processId;
  int windows;
};

BOOL CALLBACK countChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCount*>(data)->windows;
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM data) {
  auto* count = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != count->processId) return TRUE;
  ++count->windows;
  EnumChildWindows(window, countChild, data);
  return TRUE;
}

void takeSample(Soak& soak) {
  Sample sample{};
  sample.seconds = (GetTickCount() - soak.started) / 1000.0;
  DWORD handles = 0;
  if (GetProcessHandleCount(soak.process, &handles)) sample.handles = handles;
  sample.gdiObjects = GetGuiResources(soak.process, GR_GDIOBJECTS);
  sample.userObjects = GetGuiResources(soak.process, GR_USEROBJECTS);
  // Wine answers 0 for the object counts; the windows the process owns are
  // the USER objects that can still be counted from outside.
  WindowCount count{soak.app->processId(), 0};
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
  sample.windows = count.windows;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(soak.process, &memory, sizeof memory)) {
    sample.workingSetKb = memory.WorkingSetSize / 1024.0;
    sample.privateKb = memory.PagefileUsage / 1024.0;
  }
  soak.samples.push_back(sample);
}

// Least-squares slope per minute of one figure over the samples from
// `first` on.
double slopePerMinute(const std::vector<Sample>& samples, std::size_t first, double Sample::*figure) {
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = first; i < samples.size(); ++i) {
    double x = samples[i].seconds / 60.0, y = samples[i].*figure;
    n += 1;
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  double denominator = n * sxx - sx * sx;
  return n < 3 || denominator == 0 ? 0 : (n * sxy - sx * sy) / denominator;
}

// Month file blocks: "__#00#__\r\n" + month memo, then "\r\n__#DD#__CCCCCCCC\r\n"
// + memo per day. False when the bytes are not of that form.
bool parseMonthFile(const std::string& bytes, MonthModel& out) {
  std::size_t at = 0;
  if (bytes.compare(0, 10, "__#00#__\r\n") == 0) {
    std::size_t next = bytes.find("\r\n__#", 10);
    out.hasMonthMemo = true;
    int size = MultiByteToWideChar(932, 0, bytes.data() + 10, static_cast<int>((next == std::string::npos ? bytes.size() : next) - 10), nullptr, 0);
    out.monthMemo.assign(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(932, 0, bytes.data() + 10, static_cast<int>((next == std::string::npos ? bytes.size() : next) - 10), out.monthMemo.data(), size);
    at = next == std::string::npos ? bytes.size() : next;
  }
  while (at < bytes.size()) {
    if (bytes.compare(at, 5, "\r\n__#") != 0 || at + 20 > bytes.size()) return false;
    int day = std::atoi(bytes.substr(at + 5, 2).c_str());
    if (bytes.compare(at + 7, 3, "#__") != 0 || bytes.compare(at + 18, 2, "\r\n") != 0 || day < 1 || day > 31) return false;
    std::size_t start = at + 20;
    std::size_t next = bytes.find("\r\n__#", start);
    if (next == std::string::npos) next = bytes.size();
    int size = MultiByteToWideChar(932, 0, bytes.data() + start, static_cast<int>(next - start), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(932, 0, bytes.data() + start, static_cast<int>(next - start), text.data(), size);
    out.days[day] = text;
    at = next;
  }
  return true;
}

void checkFiles(Soak& soak) {
  for (const auto& [key, expected] : soak.model) {
    wchar_t name[32];
    std::swprintf(name, 32, L"%04d%02d.dat", key / 100, key % 100);
    std::string bytes;
    MonthModel found;
    if (!soak.app->readFile(name, bytes)) {
      soak.problem("no month file " + narrow(name));
      continue;
    }
    if (!parseMonthFile(bytes, found)) {
      soak.problem("month file " + narrow(name) + " is not in the month format");
      continue;
    }
    if (found.hasMonthMemo != expected.hasMonthMemo || found.monthMemo != expected.monthMemo)
      soak.problem("month file " + narrow(name) + ": the month memo is not what was typed");
    if (found.days != expected.days) soak.problem("month file " + narrow(name) + ": the day memos are not what was typed");
  }
  // No month file beyond those typed into.
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((soak.app->directory() + L"\\*.dat").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    int key = 0;
    if (std::swscanf(data.cFileName, L"%6d", &key) != 1 || !soak.model.count(key))
      soak.problem("an unexpected file " + narrow(data.cFileName));
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

bool takeOption(const std::wstring& argument, const wchar_t* name, std::wstring& value) {
  std::size_t length = std::wcslen(name);
  if (argument.compare(0, length, name) != 0) return false;
  value = argument.substr(length);
  return true;
}

}  // namespace

const E2eOptions& e2eOptions() { return options; }

int wmain(int argc, wchar_t** argv) {
  std::wstring resultPath, seconds = L"120", seed = L"1";
  for (int i = 1; i < argc; ++i) {
    std::wstring argument = argv[i];
    if (takeOption(argument, L"--program=", options.program) || takeOption(argument, L"--work=", options.workRoot) ||
        takeOption(argument, L"--result=", resultPath) || takeOption(argument, L"--seconds=", seconds) ||
        takeOption(argument, L"--seed=", seed))
      continue;
    std::fwprintf(stderr, L"soak: unknown argument %ls\n", argv[i]);
    return 2;
  }
  if (options.program.empty() || options.workRoot.empty() || resultPath.empty()) {
    std::fputws(L"usage: soak_driver --program=EXE --work=DIR --result=FILE [--seconds=N] [--seed=N]\n", stderr);
    return 2;
  }
  CreateDirectoryW(options.workRoot.c_str(), nullptr);
  const DWORD duration = static_cast<DWORD>(std::wcstoul(seconds.c_str(), nullptr, 10)) * 1000;

  Soak soak;
  soak.random.seed(static_cast<unsigned>(std::wcstoul(seed.c_str(), nullptr, 10)));
  SorvaneProcess app(L"soak");
  soak.app = &app;
  bool ok = app.ready() && app.writeFile(kSettingsFileName, kSettings) && app.start("2004-12-15T10:00:00") &&
            app.placeWithClientSize(100, 100, kClientWidth, kClientHeight) && bringToFront(app.window());
  if (!ok) soak.problem("the calendar did not start: " + app.lastError());
  soak.process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.processId());
  soak.started = GetTickCount();
  DWORD nextSample = 0;
  long count = 0;
  while (ok && GetTickCount() - soak.started < duration) {
    if (!app.running()) {
      soak.problem("the calendar ended during the soak (exit code " + std::to_string(app.exitCode()) + ")");
      break;
    }
    if (GetTickCount() - soak.started >= nextSample) {
      takeSample(soak);
      nextSample += 5000;
    }
    oneAction(soak);
    ++count;
  }
  if (ok && app.running()) {
    tidy(soak, "the last action");
    takeSample(soak);
    if (!app.close(10000)) soak.problem("the calendar did not close");
    else if (app.exitCode() != 0) soak.problem("the calendar ended with exit code " + std::to_string(app.exitCode()));
    checkFiles(soak);
  }

  // Growth after the warm-up: the first third of the run, at most a minute.
  std::size_t warm = 0;
  double warmSeconds = std::min(60.0, duration / 3000.0);
  while (warm < soak.samples.size() && soak.samples[warm].seconds < warmSeconds) ++warm;
  double span = soak.samples.empty() ? 0 : (soak.samples.back().seconds - warmSeconds) / 60.0;
  double handleSlope = slopePerMinute(soak.samples, warm, &Sample::handles);
  double gdiSlope = slopePerMinute(soak.samples, warm, &Sample::gdiObjects);
  double userSlope = slopePerMinute(soak.samples, warm, &Sample::userObjects);
  double windowSlope = slopePerMinute(soak.samples, warm, &Sample::windows);
  double workingSlope = slopePerMinute(soak.samples, warm, &Sample::workingSetKb);
  double privateSlope = slopePerMinute(soak.samples, warm, &Sample::privateKb);
  // Bounds on what the fitted growth adds up to over the measured span:
  // a leak of one handle or 16 KiB per action far exceeds them.
  if (handleSlope * span > 20) soak.problem("the handle count grows");
  if ((gdiSlope + userSlope) * span > 20) soak.problem("the GDI or USER object count grows");
  if (windowSlope * span > 5) soak.problem("the number of windows grows");
  if (privateSlope * span > 8192) soak.problem("the private memory grows");

  FILE* out = _wfopen(resultPath.c_str(), L"w");
  if (!out) return 1;
  std::fprintf(out, "actions %ld in %.0f s:", count, soak.samples.empty() ? 0.0 : soak.samples.back().seconds);
  for (const auto& [name, n] : soak.actions) std::fprintf(out, " %s %d,", name.c_str(), n);
  std::fprintf(out, "\nmonths typed into: %zu; texts typed again after a lost key: %d\n", soak.model.size(),
               soak.retypes);
  std::fprintf(out, "samples %zu, warm-up %.0f s; slopes per minute after it: handles %+.2f, GDI %+.2f, USER %+.2f, "
               "windows %+.2f, working set %+.1f KiB, private %+.1f KiB\n",
               soak.samples.size(), warmSeconds, handleSlope, gdiSlope, userSlope, windowSlope, workingSlope, privateSlope);
  if (!soak.samples.empty()) {
    const Sample& first = soak.samples.front();
    const Sample& last = soak.samples.back();
    std::fprintf(out, "first/last sample: handles %.0f/%.0f, GDI %.0f/%.0f, USER %.0f/%.0f, windows %.0f/%.0f, working set %.0f/%.0f KiB, private %.0f/%.0f KiB\n",
                 first.handles, last.handles, first.gdiObjects, last.gdiObjects, first.userObjects, last.userObjects,
                 first.windows, last.windows,
                 first.workingSetKb, last.workingSetKb, first.privateKb, last.privateKb);
  }
  for (const std::string& what : soak.problems) std::fprintf(out, "problem: %s\n", what.c_str());
  std::fprintf(out, "%s\n", soak.problems.empty() ? "PASS" : "FAIL");
  std::fclose(out);
  terminateLeftoverPrograms();
  return soak.problems.empty() ? 0 : 1;
}
