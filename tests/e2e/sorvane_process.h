#pragma once
// One run of the calendar in a directory of its own: the test writes the
// settings file and month files beside a fresh copy of the program, starts
// it with its clock set to a fixed moment, drives its main window, closes it
// and reads back what it left in the directory.
#include <windows.h>

#include <string>
#include <string_view>

// The settings file beside the copy: the executable's name with "ini" for "exe".
constexpr wchar_t kSettingsFileName[] = L"SorvaneTestClock.ini";

class SorvaneProcess {
 public:
  // Empties (or makes) the directory `name` below the work root and copies
  // the program into it; ready() tells whether that worked.
  explicit SorvaneProcess(const std::wstring& name);
  // Closes the program if it still runs, terminating it when it does not end.
  ~SorvaneProcess();
  SorvaneProcess(const SorvaneProcess&) = delete;
  SorvaneProcess& operator=(const SorvaneProcess&) = delete;

  bool ready() const { return ready_; }
  const std::wstring& directory() const { return directory_; }

  // A file beside the program, byte for byte.
  bool writeFile(const std::wstring& fileName, std::string_view bytes) const;
  bool readFile(const std::wstring& fileName, std::string& bytes) const;
  bool fileExists(const std::wstring& fileName) const;

  // Starts the program with its clock at `now` ("YYYY-MM-DDTHH:MM:SS") and
  // waits until its main window is visible and idle. False, with a reason in
  // lastError(), when that does not happen within a few seconds.
  bool start(const char* now);
  // Starts the program once more in the same directory, after the last run
  // has ended.
  bool startAgain(const char* now);
  HWND window() const { return window_; }
  DWORD processId() const { return process_.dwProcessId; }
  const std::string& lastError() const { return error_; }

  // Moves the main window to (x, y) on the screen and sizes it so that its
  // client area is exactly width × height. False when it would not fit.
  bool placeWithClientSize(int x, int y, int width, int height);

  std::wstring caption() const;
  RECT windowRect() const;

  // Asks the main window to close (WM_CLOSE) and waits for the process to
  // end. False, after terminating it, when it does not end in time.
  bool close(DWORD timeoutMs = 5000);
  bool running() const;
  // The exit code once the process has ended.
  DWORD exitCode() const;

 private:
  void terminate();

  bool ready_ = false;
  std::wstring directory_;
  std::wstring program_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::string error_;
};

// Ends every program this driver started that is still running.
void terminateLeftoverPrograms();

// A top-level window of the given class that belongs to `processId` and is
// visible, or null.
HWND findProcessWindow(DWORD processId, const wchar_t* className);

// The path of the module `name` (say L"comctl32.dll", any case) loaded in
// process `processId`, or empty when the process has none of that name.
std::wstring moduleOfProcess(DWORD processId, const wchar_t* name);
