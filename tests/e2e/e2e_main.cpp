// The end-to-end driver: starts the real program, drives it with real input
// and looks at what it paints. Run inside the same Wine desktop as the
// program it starts (see run_e2e.sh).
//
//   e2e_driver.exe --program=PATH --work=DIR --shots=DIR [gtest options]
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "e2e/e2e_options.h"
#include "e2e/sorvane_process.h"

namespace {

E2eOptions options;

bool takeOption(std::wstring_view argument, std::wstring_view name, std::wstring& value) {
  if (argument.substr(0, name.size()) != name) return false;
  value = std::wstring(argument.substr(name.size()));
  return true;
}

}  // namespace

const E2eOptions& e2eOptions() { return options; }

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::wstring_view argument = argv[i];
    if (takeOption(argument, L"--program=", options.program)) continue;
    if (takeOption(argument, L"--work=", options.workRoot)) continue;
    if (takeOption(argument, L"--shots=", options.shotDir)) continue;
    std::fwprintf(stderr, L"e2e: unknown argument %ls\n", argv[i]);
    return 2;
  }
  if (options.program.empty() || options.workRoot.empty() || options.shotDir.empty()) {
    std::fputws(L"usage: e2e_driver --program=EXE --work=DIR --shots=DIR [gtest options]\n", stderr);
    return 2;
  }
  CreateDirectoryW(options.workRoot.c_str(), nullptr);
  CreateDirectoryW(options.shotDir.c_str(), nullptr);
  int result = RUN_ALL_TESTS();
  // A test that stopped early must not leave a calendar running.
  terminateLeftoverPrograms();
  return result;
}
