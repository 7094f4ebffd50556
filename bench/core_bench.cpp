// What the calendar does on every month change and on the settings
// dialog's OK, timed on real files in a scratch directory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calendar/lunar_calendar.h"
#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "settings/settings_file.h"
#include "settings_ok_writes.h"

namespace {

class Scratch {
 public:
  Scratch() {
    char pattern[] = "/tmp/sorvane-bench-XXXXXX";
    dir_ = mkdtemp(pattern);
    overrideSettingsFilePath(dir_ + "/bench.ini");
    overrideDataDirectory(dir_);
  }
  ~Scratch() {
    overrideSettingsFilePath(std::string());
    overrideDataDirectory(std::string());
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }

 private:
  std::string dir_;
};

// A settings file as the program leaves it: the main section, colours,
// four fonts and a holiday list of 14 entries.
std::string typicalSettings() {
  std::string text = "[Sorvane]\r\n";
  for (int i = 0; i < 60; ++i) text += "KEY_" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
  text += "[COLOR]\r\n";
  for (int i = 0; i < 15; ++i) text += "C" + std::to_string(i) + "=" + std::to_string(i * 1000) + "\r\n";
  for (const char* font : {"MAIN_FONT", "TITLE_FONT", "WEEK_FONT", "MEMO_FONT"}) {
    text += std::string("[") + font + "]\r\n";
    for (int i = 0; i < 14; ++i) text += "F" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  }
  text += "[HOLIDAY]\r\n";
  const char* days[] = {"0101", "0211", "0223", "0429", "0503", "0504", "0505",
                        "0811", "1103", "1123", "1224", "1225", "0714", "0320"};
  for (const char* day : days) text += std::string(day) + "=祝日の名前||0\r\n";
  return text;
}

std::string monthWithMemos() {
  std::string file = "__#00#__\r\n" + std::string(200, 'm');
  for (int day = 1; day <= 31; ++day) {
    char header[32];
    std::snprintf(header, sizeof header, "\r\n__#%02d#__%08d\r\n", day, day * 1000);
    file += header + std::string(200, 'a' + day % 26);
  }
  return file;
}

void BM_BuildAndLoadMonth(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings());
  scratch.write("200412.dat", monthWithMemos());
  MonthGrid grid;
  for (auto _ : state) {
    grid.build(2004, 12);
    grid.load(2004, 12);
    benchmark::DoNotOptimize(grid.findDay(31)->memo.handle());
  }
}
BENCHMARK(BM_BuildAndLoadMonth)->Unit(benchmark::kMicrosecond);

// The same with the month's lunar dates for the rokuyo. December 2004 runs
// into the next lunar year (two computed); December 2033 lies in lunar years
// of 13 months, where every month is searched for a principal term.
void BM_BuildAndLoadMonthWithRokuyo(benchmark::State& state) {
  const int year = static_cast<int>(state.range(0));
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings() + "[Sorvane]\r\nROKUYO=1\r\n");
  char name[32];
  std::snprintf(name, sizeof name, "%04d12.dat", year);
  scratch.write(name, monthWithMemos());
  MonthGrid grid;
  MonthLunarDates lunar;
  for (auto _ : state) {
    grid.build(year, 12);
    grid.load(year, 12);
    buildMonthLunarDates(year, 12, lunar);
    benchmark::DoNotOptimize(grid.findDay(31)->memo.handle());
    benchmark::DoNotOptimize(lunar.days[31]);
  }
}
BENCHMARK(BM_BuildAndLoadMonthWithRokuyo)->Arg(2004)->Arg(2033)->Unit(benchmark::kMicrosecond);

// The lunar dates alone, for a month inside one lunar year of 12 months.
void BM_MonthLunarDates(benchmark::State& state) {
  MonthLunarDates lunar;
  for (auto _ : state) {
    buildMonthLunarDates(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), lunar);
    benchmark::DoNotOptimize(lunar.days[15]);
  }
}
BENCHMARK(BM_MonthLunarDates)->Args({2026, 6})->Args({2004, 12})->Args({2033, 12})->Unit(benchmark::kMicrosecond);

// The same month with the holidays of the law (HOLIDAY_LAW=1): the law's
// dates are computed, and the section is still read for user holidays.
void BM_BuildAndLoadMonthByLaw(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", "[Sorvane]\r\nHOLIDAY_LAW=1\r\n" + typicalSettings().substr(std::string("[Sorvane]\r\n").size()));
  scratch.write("200412.dat", monthWithMemos());
  MonthGrid grid;
  for (auto _ : state) {
    grid.build(2004, 12);
    grid.load(2004, 12);
    benchmark::DoNotOptimize(grid.findDay(31)->memo.handle());
  }
}
BENCHMARK(BM_BuildAndLoadMonthByLaw)->Unit(benchmark::kMicrosecond);

void BM_SaveMonth(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings());
  scratch.write("200412.dat", monthWithMemos());
  MonthGrid grid;
  grid.build(2004, 12);
  grid.load(2004, 12);
  for (auto _ : state) benchmark::DoNotOptimize(grid.save(2004, 12));
}
BENCHMARK(BM_SaveMonth)->Unit(benchmark::kMicrosecond);

// The settings dialog's OK writes about 110 keys, one profile write each.
void BM_WriteSettingsDialogKeys(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings());
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < 60; ++i) writeSettingInt("Sorvane", ("KEY_" + std::to_string(i)).c_str(), i + round);
    for (int i = 0; i < 15; ++i) writeSettingInt("COLOR", ("C" + std::to_string(i)).c_str(), i + round);
    for (int i = 0; i < 35; ++i) writeSettingInt("MAIN_FONT", ("F" + std::to_string(i % 14)).c_str(), i + round);
  }
}
BENCHMARK(BM_WriteSettingsDialogKeys)->Unit(benchmark::kMillisecond);

// The settings dialog's OK as it runs now: its ~110 writes collected in one
// batch, the file replaced once (with its flush), the settings reloaded.
// Without a settings file every OK creates it; with a full file every
// round changes values, so each OK really replaces it.
void BM_SettingsDialogOkNoFile(benchmark::State& state) {
  Scratch scratch;
  std::string path = settingsFilePath();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    benchmark::DoNotOptimize(settingsDialogOk(++round));
  }
}
BENCHMARK(BM_SettingsDialogOkNoFile)->Unit(benchmark::kMillisecond);

void BM_SettingsDialogOkFullFile(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings());
  settingsDialogOk(0);
  int round = 0;
  for (auto _ : state) benchmark::DoNotOptimize(settingsDialogOk(++round));
}
BENCHMARK(BM_SettingsDialogOkFullFile)->Unit(benchmark::kMillisecond);

// The same OK key by key, each write replacing the file: what the batch saves.
void BM_SettingsDialogOkUnbatched(benchmark::State& state) {
  Scratch scratch;
  scratch.write("bench.ini", typicalSettings());
  int round = 0;
  for (auto _ : state) {
    writeSettingsDialogKeys(++round);
    appSettings().reload(nullptr);
  }
}
BENCHMARK(BM_SettingsDialogOkUnbatched)->Unit(benchmark::kMillisecond);

}  // namespace
