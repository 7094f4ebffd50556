// The settings dialog's OK under Wine: its writes in one batch, the file
// replaced once with its flush, the settings read back; timed without a
// settings file and over a full one. Prints the median and the slowest of
// each, in milliseconds.
//   settings_ok_timing.exe SCRATCH_DIR
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../settings_ok_writes.h"

namespace {

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void report(const char* name, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-28s median %.2f ms, slowest %.2f ms (%zu runs)\n", name, times[times.size() / 2], times.back(),
              times.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: settings_ok_timing SCRATCH_DIR\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "\\timing.ini";
  overrideSettingsFilePath(path);
  constexpr int kRuns = 40;

  std::vector<double> noFile, fullFile;
  for (int round = 1; round <= kRuns; ++round) {
    DeleteFileA(path.c_str());
    double started = nowMs();
    settingsDialogOk(round);
    noFile.push_back(nowMs() - started);
  }
  for (int round = 1; round <= kRuns; ++round) {
    double started = nowMs();
    settingsDialogOk(round);
    fullFile.push_back(nowMs() - started);
  }
  // For comparison: the same writes each replacing the file on its own.
  std::vector<double> keyByKey;
  for (int round = 1; round <= 5; ++round) {
    double started = nowMs();
    writeSettingsDialogKeys(round);
    appSettings().reload(nullptr);
    keyByKey.push_back(nowMs() - started);
  }
  report("OK, no settings file", noFile);
  report("OK, full settings file", fullFile);
  report("OK, key by key (no batch)", keyByKey);
  DeleteFileA(path.c_str());
  return 0;
}
