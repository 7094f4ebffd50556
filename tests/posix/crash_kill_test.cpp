// Saves cut off by SIGKILL at random moments. A child process saves in a
// loop, switching between contents of different sizes, and is killed; after
// every kill the file must be byte for byte one of the contents a save could
// have left (never a mixture, a prefix or nothing), and the next save must
// leave no temporary behind. Once for a month file of thirty memos, once for
// the settings file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "platform/file_io.h"
#include "settings/settings_file.h"
#include "core/test_support.h"

namespace {

using testing_support::listDirectory;
using testing_support::readBytes;
using testing_support::TempDir;

// Kills per file; each costs a fork, a few milliseconds of saving and one
// save by the parent.
constexpr int kKills = 300;

// Thirty memos of January 2005; `variant` changes every text and its length.
void fillMonth(MonthGrid& grid, int variant) {
  grid.build(2005, 1);
  grid.setMonthMemo("今月の予定 " + std::string(static_cast<std::size_t>(variant) * 40 + 10, 'm'));
  for (int day = 1; day <= 30; ++day) {
    DayCell* cell = grid.findDay(day);
    std::string text = "予定 " + std::to_string(day) + " 版 " + std::to_string(variant) + "\r\n";
    text.append(static_cast<std::size_t>((day * 7 + variant * 53) % 200), static_cast<char>('a' + variant));
    cell->memo = MemoText::copyOf(text);
    cell->memoColor = static_cast<Colour>(variant * 1000 + day);
  }
}

std::string monthBytes(int variant) {
  MonthGrid grid;
  fillMonth(grid, variant);
  std::string bytes;
  EXPECT_TRUE(grid.saveToData(bytes));
  return bytes;
}

// The value the settings loop writes, per variant: lengths differ.
std::string settingValue(int variant) {
  return std::string(static_cast<std::size_t>(variant) * 300 + 5, static_cast<char>('A' + variant));
}

std::vector<std::string> temporariesIn(const std::string& directory) {
  std::vector<std::string> found;
  for (const std::string& name : listDirectory(directory))
    if (isTemporaryFileName(name)) found.push_back(name);
  return found;
}

struct KillFigures {
  int kills = 0;
  int temporariesLeftByKills = 0;
  int notOneOfTheContents = 0;
  int temporariesAfterNextSave = 0;
};

// Starts `saveLoop` in a child, kills it after a random delay, checks the
// file against `contents`, calls `saveOnce` with the index of a content
// other than the one on disk (a save that changes nothing writes nothing)
// as the next save and checks that no temporary is left; `kKills` times.
template <typename Loop, typename Save>
KillFigures killWhileSaving(const std::string& file, const std::vector<std::string>& contents,
                            Loop saveLoop, Save saveOnce) {
  KillFigures figures;
  const std::string directory = file.substr(0, file.find_last_of("/\\"));
  std::mt19937 random(12345);
  // Some kills land while the child starts, most in the middle of saves.
  std::uniform_int_distribution<int> delayMicroseconds(0, 30000);
  for (int round = 0; round < kKills; ++round) {
    pid_t child = ::fork();
    if (child == 0) {
      saveLoop(round);
      ::_exit(0);
    }
    EXPECT_GT(child, 0);
    if (child <= 0) break;
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ++figures.kills;

    std::string native = file;
    for (char& c : native)
      if (c == '\\') c = '/';
    std::string now = readBytes(native);
    int onDisk = -1;
    for (std::size_t i = 0; i < contents.size(); ++i)
      if (now == contents[i]) onDisk = static_cast<int>(i);
    if (onDisk < 0) {
      ++figures.notOneOfTheContents;
      ADD_FAILURE() << "round " << round << ": the file holds " << now.size()
                    << " bytes that no save wrote";
    }
    if (!temporariesIn(directory).empty()) ++figures.temporariesLeftByKills;

    EXPECT_TRUE(saveOnce((onDisk + 1) % static_cast<int>(contents.size())));
    std::vector<std::string> left = temporariesIn(directory);
    if (!left.empty()) {
      ++figures.temporariesAfterNextSave;
      ADD_FAILURE() << "round " << round << ": " << left.front() << " survived the next save";
    }
  }
  return figures;
}

void report(const char* what, const KillFigures& figures) {
  std::printf("%s: %d kills, %d left a temporary, %d torn files, %d temporaries after the next save\n", what,
              figures.kills, figures.temporariesLeftByKills, figures.notOneOfTheContents,
              figures.temporariesAfterNextSave);
}

TEST(CrashKill, MonthFileIsAlwaysOldOrNew) {
  TempDir dir;
  overrideDataDirectory(dir.path());
  std::string path;
  ASSERT_TRUE(monthFilePath(2005, 1, path));
  const std::vector<std::string> contents = {monthBytes(0), monthBytes(1), monthBytes(2)};
  ASSERT_GT(contents[0].size(), 3000u);
  MonthGrid first;
  fillMonth(first, 0);
  ASSERT_TRUE(first.save(2005, 1));

  KillFigures figures = killWhileSaving(
      path, contents,
      [](int round) {
        MonthGrid grid;
        for (int n = round;; ++n) {
          fillMonth(grid, n % 3);
          if (!grid.save(2005, 1)) ::_exit(1);
        }
      },
      [](int variant) {
        MonthGrid grid;
        fillMonth(grid, variant);
        return grid.save(2005, 1);
      });
  report("month file", figures);
  EXPECT_EQ(figures.kills, kKills);
  EXPECT_EQ(figures.notOneOfTheContents, 0);
  EXPECT_EQ(figures.temporariesAfterNextSave, 0);
  // The month reads back as one of the saves, with every memo.
  MonthGrid back;
  back.build(2005, 1);
  ASSERT_TRUE(back.load(2005, 1));
  std::string bytes;
  ASSERT_TRUE(back.saveToData(bytes));
  EXPECT_TRUE(bytes == contents[0] || bytes == contents[1] || bytes == contents[2]);
  EXPECT_TRUE(back.findDay(30)->memo.present());
  // No backup of a damaged file was ever needed.
  for (const std::string& name : listDirectory(dir.path())) EXPECT_EQ(name.find(".bak"), std::string::npos) << name;
  overrideDataDirectory("");
}

TEST(CrashKill, SettingsFileIsAlwaysOldOrNew) {
  TempDir dir;
  const std::string path = dir.path() + "/Sorvane.ini";
  testing_support::SettingsFileOverride override(path);
  // A settings file of the usual size: many sections, many keys.
  std::string base;
  for (int section = 0; section < 12; ++section) {
    base += "[Section" + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 10; ++key)
      base += "Key" + std::to_string(key) + "=" + std::to_string(section * 1000 + key) + "\r\n";
  }
  testing_support::writeBytes(path, base);
  // The contents the loop can leave: one per variant of the changed key.
  std::vector<std::string> contents;
  for (int variant = 0; variant < 3; ++variant) {
    testing_support::writeBytes(path, base);
    ASSERT_TRUE(writeSettingString("Section5", "Changed", settingValue(variant).c_str()));
    contents.push_back(readBytes(path));
  }
  ASSERT_NE(contents[0], contents[1]);

  KillFigures figures = killWhileSaving(
      path, contents,
      [](int round) {
        for (int n = round;; ++n)
          if (!writeSettingString("Section5", "Changed", settingValue(n % 3).c_str())) ::_exit(1);
      },
      [](int variant) { return writeSettingString("Section5", "Changed", settingValue(variant).c_str()); });
  report("settings file", figures);
  EXPECT_EQ(figures.kills, kKills);
  EXPECT_EQ(figures.notOneOfTheContents, 0);
  EXPECT_EQ(figures.temporariesAfterNextSave, 0);
  char value[1024];
  readSettingString("Section5", "Key3", value, sizeof value);
  EXPECT_STREQ(value, "5003");
}

}  // namespace
