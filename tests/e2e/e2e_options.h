#pragma once
// Where the end-to-end driver finds the program and puts its work, as given
// on its command line (Windows paths).
#include <string>

struct E2eOptions {
  std::wstring program;   // SorvaneTestClock.exe, copied into every test's directory
  std::wstring workRoot;  // one fresh directory per test below it
  std::wstring shotDir;   // captures of the client area, as .bmp
};

const E2eOptions& e2eOptions();
