#include "e2e/sorvane_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"

namespace {

constexpr DWORD kStartTimeoutMs = 10000;
constexpr wchar_t kProgramName[] = L"SorvaneTestClock.exe";

// Every program started and not yet seen to end, so that nothing is left
// running when a test stops half way.
std::vector<HANDLE>& livePrograms() {
  static std::vector<HANDLE> programs;
  return programs;
}

void forget(HANDLE process) {
  auto& programs = livePrograms();
  programs.erase(std::remove(programs.begin(), programs.end(), process), programs.end());
}

// A job that ends its processes when the driver ends, however it ends.
HANDLE killOnCloseJob() {
  static HANDLE job = [] {
    HANDLE created = CreateJobObjectW(nullptr, nullptr);
    if (created) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
      limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return created;
  }();
  return job;
}

void emptyDirectory(const std::wstring& directory) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((directory + L"\\" + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND findProcessWindow(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void terminateLeftoverPrograms() {
  for (HANDLE process : livePrograms()) {
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 2000);
  }
  livePrograms().clear();
}

SorvaneProcess::SorvaneProcess(const std::wstring& name) {
  directory_ = e2eOptions().workRoot + L"\\" + name;
  CreateDirectoryW(directory_.c_str(), nullptr);
  emptyDirectory(directory_);
  program_ = directory_ + L"\\" + kProgramName;
  ready_ = CopyFileW(e2eOptions().program.c_str(), program_.c_str(), FALSE) != 0;
  if (!ready_) error_ = "cannot copy the program into the test directory";
}

SorvaneProcess::~SorvaneProcess() {
  if (!process_.hProcess) return;
  if (running()) close(3000);
  forget(process_.hProcess);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool SorvaneProcess::writeFile(const std::wstring& fileName, std::string_view bytes) const {
  HANDLE file = CreateFileW((directory_ + L"\\" + fileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

bool SorvaneProcess::readFile(const std::wstring& fileName, std::string& bytes) const {
  bytes.clear();
  HANDLE file = CreateFileW((directory_ + L"\\" + fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return true;
}

bool SorvaneProcess::fileExists(const std::wstring& fileName) const {
  return GetFileAttributesW((directory_ + L"\\" + fileName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SorvaneProcess::start(const char* now) {
  if (!ready_ || process_.hProcess) return false;
  // The child inherits the environment and, with it, the moment it starts at.
  SetEnvironmentVariableA("SORVANE_TEST_NOW", now);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  std::wstring commandLine = L"\"" + program_ + L"\"";
  BOOL created = CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                nullptr, directory_.c_str(), &startup, &process_);
  SetEnvironmentVariableA("SORVANE_TEST_NOW", nullptr);
  if (!created) {
    process_ = PROCESS_INFORMATION{};
    error_ = "CreateProcess failed";
    return false;
  }
  if (HANDLE job = killOnCloseJob()) AssignProcessToJobObject(job, process_.hProcess);
  livePrograms().push_back(process_.hProcess);
  ResumeThread(process_.hThread);

  DWORD started = GetTickCount();
  while (GetTickCount() - started < kStartTimeoutMs) {
    window_ = findProcessWindow(process_.dwProcessId, L"CAL_CLASS");
    if (window_) break;
    if (!running()) {
      error_ = "the program ended before showing its window";
      return false;
    }
    Sleep(50);
  }
  if (!window_) {
    error_ = "no CAL_CLASS window within the time allowed";
    terminate();
    return false;
  }
  WaitForInputIdle(process_.hProcess, 5000);
  settle(window_);
  return true;
}

bool SorvaneProcess::startAgain(const char* now) {
  if (running()) return false;
  if (process_.hProcess) {
    forget(process_.hProcess);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  process_ = PROCESS_INFORMATION{};
  window_ = nullptr;
  return start(now);
}

bool SorvaneProcess::placeWithClientSize(int x, int y, int width, int height) {
  if (!window_) return false;
  auto style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  SetWindowPos(window_, nullptr, x, y, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  settle(window_);
  // Whatever the frame really measures, one correction makes the client exact.
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right != width || client.bottom != height) {
    RECT now{};
    GetWindowRect(window_, &now);
    SetWindowPos(window_, nullptr, x, y, now.right - now.left + width - client.right,
                 now.bottom - now.top + height - client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    settle(window_);
    GetClientRect(window_, &client);
  }
  return client.right == width && client.bottom == height;
}

std::wstring SorvaneProcess::caption() const {
  wchar_t text[256] = {};
  if (window_) GetWindowTextW(window_, text, 256);
  return text;
}

RECT SorvaneProcess::windowRect() const {
  RECT rect{};
  if (window_) GetWindowRect(window_, &rect);
  return rect;
}

bool SorvaneProcess::running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD SorvaneProcess::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_.hProcess) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool SorvaneProcess::close(DWORD timeoutMs) {
  if (!running()) return true;
  if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    forget(process_.hProcess);
    return true;
  }
  error_ = "the program did not end after WM_CLOSE";
  terminate();
  return false;
}

void SorvaneProcess::terminate() {
  if (!process_.hProcess) return;
  TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, 3000);
  forget(process_.hProcess);
}

std::wstring moduleOfProcess(DWORD processId, const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return L"";
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  std::wstring found;
  for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module)) {
    if (lstrcmpiW(module.szModule, name) == 0) {
      found = module.szExePath;
      break;
    }
  }
  CloseHandle(snapshot);
  return found;
}
