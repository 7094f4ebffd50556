// Timing harness for Sorvane.exe under Wine (not a test: it reports
// figures). Run it inside the same virtual desktop as the programs it starts:
//   timing_harness.exe DIR_WITH_SORVANE MINIMAL_EXE
// DIR_WITH_SORVANE holds Sorvane.exe; the harness writes its settings and
// month files there. It measures, each as the median of several runs:
//   - start-up to the first finished paint, against a minimal program;
//   - one full repaint of a 1024 x 768 client area with frames, memos on
//     every day and outlined text everywhere;
//   - one month change, from the command to the finished paint;
//   - the peak working set of the process.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

struct Started {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
};

struct FindData {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK findWindowOf(HWND window, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner == data->processId && lstrcmpW(name, data->className) == 0 && IsWindowVisible(window)) {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

// Starts a program and waits until its window has painted for the first
// time: the program paints before its message loop runs, so the first
// message it answers comes after that paint.
bool startAndWaitForPaint(const std::wstring& exe, const wchar_t* className, Started& started, double& ms) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + exe + L"\"";
  std::wstring directory = exe.substr(0, exe.find_last_of(L"\\/"));
  double begin = nowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &started.process))
    return false;
  FindData data{started.process.dwProcessId, className, nullptr};
  while (!data.found && nowMs() - begin < 20000) {
    EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&data));
    if (!data.found) Sleep(1);
  }
  if (!data.found) return false;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(data.found, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
  ms = nowMs() - begin;
  started.window = data.found;
  return true;
}

double peakWorkingSetMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, &memory, sizeof memory)) return -1;
  return static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

void stop(Started& started) {
  if (started.window) PostMessageW(started.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.process.hProcess, 5000) != WAIT_OBJECT_0)
    TerminateProcess(started.process.hProcess, 1);
  CloseHandle(started.process.hThread);
  CloseHandle(started.process.hProcess);
  started = Started{};
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Everything shown and outlined, memos on every day of this month and the
// next, so that the paint does all it ever does.
void prepareHeavyCalendar(const std::wstring& directory) {
  std::string ini =
      "[Sorvane]\r\nDISPLAY_TITLE=1\r\nWEEK=1\r\nDISPLAY_WAKU=1\r\nDISPLAY_MEMO=1\r\nTITLE=2\r\n"
      "TITLETYPE=2\r\nWEEKTYPE=2\r\nDAYTYPE=2\r\nMEMOTYPE=2\r\n";
  writeFile(directory + L"\\Sorvane.ini", ini);
  SYSTEMTIME today;
  GetLocalTime(&today);
  for (int step = 0; step < 2; ++step) {
    int year = today.wYear + (today.wMonth + step > 12 ? 1 : 0);
    int month = (today.wMonth + step - 1) % 12 + 1;
    std::string file = "__#00#__\r\n月のメモ";
    for (int day = 1; day <= 31; ++day) {
      char header[40];
      std::snprintf(header, sizeof header, "\r\n__#%02d#__%08d\r\n", day, day * 4000);
      file += header;
      file += "予定の一行目\r\n二行目のメモ\r\n三行目";
    }
    wchar_t name[32];
    swprintf(name, 32, L"\\%04d%02d.dat", year, month);
    writeFile(directory + name, file);
  }
}

void resizeClient(HWND window, int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

double timeFullRepaint(HWND window) {
  double begin = nowMs();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return nowMs() - begin;
}

// The whole change, and in `commandMs` the part before the paint: the
// month's build and load and the caption.
double timeMonthChange(HWND window, int command, double& commandMs) {
  double begin = nowMs();
  SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
  commandMs = nowMs() - begin;
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
  return nowMs() - begin;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: timing_harness DIR_WITH_SORVANE MINIMAL_EXE\n");
    return 2;
  }
  std::wstring directory = argv[1];
  std::wstring sorvane = directory + L"\\Sorvane.exe";
  std::wstring minimal = argv[2];
  prepareHeavyCalendar(directory);
  constexpr int kStarts = 15;  // start-up swings most from run to run
  constexpr int kRepaints = 40;

  std::vector<double> sorvaneStarts, minimalStarts, minimalRepaints;
  double minimalMemory = -1;
  for (int i = 0; i < kStarts; ++i) {
    Started started;
    double ms = 0;
    if (startAndWaitForPaint(minimal, L"MINIMAL_CLASS", started, ms)) {
      minimalStarts.push_back(ms);
      // At the calendar's size below: under Wine the window's own pixels
      // (its surface) are part of the working set.
      resizeClient(started.window, 1024, 768);
      RedrawWindow(started.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      // What a repaint costs a program that paints almost nothing: the
      // floor under the calendar's figure (messages between the processes,
      // the window's pixels handed to the X server).
      if (i == 0)
        for (int r = 0; r < kRepaints; ++r) minimalRepaints.push_back(timeFullRepaint(started.window));
      minimalMemory = peakWorkingSetMb(started.process.hProcess);
    }
    stop(started);
    if (startAndWaitForPaint(sorvane, L"CAL_CLASS", started, ms)) sorvaneStarts.push_back(ms);
    stop(started);
  }

  Started started;
  double ignored = 0;
  if (!startAndWaitForPaint(sorvane, L"CAL_CLASS", started, ignored)) {
    std::fprintf(stderr, "timing_harness: Sorvane.exe did not start\n");
    return 1;
  }
  resizeClient(started.window, 1024, 768);
  RedrawWindow(started.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  std::vector<double> repaints, changes, commands;
  for (int i = 0; i < kRepaints; ++i) repaints.push_back(timeFullRepaint(started.window));
  for (int i = 0; i < kRepaints; ++i) {
    double commandMs = 0;
    changes.push_back(timeMonthChange(started.window, i % 2 == 0 ? 40003 : 40001, commandMs));
    commands.push_back(commandMs);
  }
  double sorvaneMemory = peakWorkingSetMb(started.process.hProcess);
  stop(started);

  double sorvaneStart = median(sorvaneStarts);
  double minimalStart = median(minimalStarts);
  std::printf("start-up to first paint: Sorvane %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.3)\n",
              sorvaneStart, minimalStart, minimalStart > 0 ? sorvaneStart / minimalStart : 0.0);
  std::printf("full repaint 1024x768, frames, memos, outlines: median %.2f ms, worst %.2f ms (target < 8, worst < 16)\n",
              median(repaints), *std::max_element(repaints.begin(), repaints.end()));
  std::printf("  the same repaint of the minimal window: median %.2f ms, worst %.2f ms\n", median(minimalRepaints),
              minimalRepaints.empty() ? 0.0 : *std::max_element(minimalRepaints.begin(), minimalRepaints.end()));
  std::printf("month change to finished paint: median %.2f ms, worst %.2f ms (target < 8, worst < 16)\n", median(changes),
              *std::max_element(changes.begin(), changes.end()));
  std::printf("  of which before the paint (build, load, caption): median %.2f ms\n", median(commands));
  // Under Wine the working set also counts Wine's own libraries and the
  // Japanese font, which the minimal program's figure shows on its own.
  std::printf("peak working set: Sorvane %.1f MB, minimal window %.1f MB, difference %.1f MB (target <= 2)\n",
              sorvaneMemory, minimalMemory, sorvaneMemory - minimalMemory);
  std::fflush(stdout);
  return 0;
}
