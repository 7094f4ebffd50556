// Two programs saving one month at the same time, as two PCs on a shared
// folder or the calendar and sorvane-cal do. Two child processes each own
// half of the days of a month and save one of their days many times, each
// time reading the month, waiting a random moment (while the other may
// save) and saving through the comparing save. Meanwhile the parent reads
// the file as fast as it can. Nothing may be lost: in the end every day
// holds the last text its owner saved, and every read in between found a
// whole month file whose days only ever moved forward.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calendar/month_grid.h"
#include "memo/month_merge.h"
#include "memo/month_store.h"
#include "platform/file_io.h"
#include "core/test_support.h"

namespace {

using testing_support::listDirectory;
using testing_support::TempDir;

constexpr int kSavesPerProcess = 300;
constexpr int kDaysPerProcess = 15;
constexpr int kYear = 2005;
constexpr int kMonth = 3;

int firstDayOf(int process) { return 1 + process * kDaysPerProcess; }

// The text process `process` writes into its day at save `round`; the
// parent reads the round back to see that no day ever went backwards.
std::string memoFor(int process, int round) {
  return "P" + std::to_string(process) + " R" + std::to_string(round) + "\r\n" +
         std::string(static_cast<std::size_t>(round % 37), static_cast<char>('a' + process));
}

int roundOf(const std::string& text) {
  std::size_t r = text.find(" R");
  return r == std::string::npos ? -1 : std::atoi(text.c_str() + r + 2);
}

struct ChildFigures {
  int saves = 0;
  int merged = 0;
  int lockedRetries = 0;
};

// A child: saves its days; exits 0 when every save was whole and without
// conflict, writing its figures to `report`.
[[noreturn]] void saveLoop(int process, int report) {
  std::mt19937 random(static_cast<unsigned>(::getpid()));
  std::uniform_int_distribution<int> pause(0, 4000);
  ChildFigures figures;
  for (int round = 0; round < kSavesPerProcess; ++round) {
    MonthGrid grid;
    MonthFileBase base;
    if (!loadMonth(grid, kYear, kMonth, base)) ::_exit(2);
    ::usleep(static_cast<useconds_t>(pause(random)));
    DayCell* cell = grid.findDay(firstDayOf(process) + round % kDaysPerProcess);
    cell->memo = MemoText::copyOf(memoFor(process, round));
    cell->memoColor = static_cast<Colour>(round);
    MonthSaveResult result = saveMonth(grid, kYear, kMonth, base);
    while (result.status == MonthSaveStatus::Locked) {
      ++figures.lockedRetries;
      result = saveMonth(grid, kYear, kMonth, base);
    }
    if (!result.saved()) ::_exit(3);
    if (!result.conflicts.empty()) ::_exit(4);
    ++figures.saves;
    if (result.merged) ++figures.merged;
    ::usleep(static_cast<useconds_t>(pause(random) / 8));
  }
  if (::write(report, &figures, sizeof figures) != sizeof figures) ::_exit(5);
  ::_exit(0);
}

TEST(ConcurrentSaves, TwoProcessesSavingDifferentDaysLoseNothing) {
  TempDir dir;
  overrideDataDirectory(dir.path());
  std::string path;
  ASSERT_TRUE(monthFilePath(kYear, kMonth, path));

  int pipes[2][2];
  pid_t children[2];
  for (int process = 0; process < 2; ++process) {
    ASSERT_EQ(::pipe(pipes[process]), 0);
    children[process] = ::fork();
    ASSERT_GE(children[process], 0);
    if (children[process] == 0) {
      ::close(pipes[process][0]);
      saveLoop(process, pipes[process][1]);
    }
    ::close(pipes[process][1]);
  }

  // The reader: every read is a whole month file, and no day goes back.
  int reads = 0, torn = 0, backwards = 0;
  int lastRound[kMonthSlots];
  for (int& round : lastRound) round = -1;
  int running = 2;
  while (running > 0) {
    std::string bytes;
    FileReadStatus status = readFileText(path, kMaxMonthFileSize, bytes);
    if (status == FileReadStatus::Ok) {
      ++reads;
      MonthContents contents;
      std::string rewritten;
      if (!monthContentsFromData(kYear, kMonth, bytes, contents) ||
          !monthDataFromContents(kYear, kMonth, contents, rewritten) || rewritten != bytes) {
        ++torn;
      }
      for (int day = 1; day <= 2 * kDaysPerProcess; ++day) {
        if (!contents.days[day].present) {
          if (lastRound[day] >= 0) ++backwards;
          continue;
        }
        int round = roundOf(contents.days[day].text);
        if (round < lastRound[day]) ++backwards;
        lastRound[day] = round;
      }
    } else if (status != FileReadStatus::Missing) {
      ++torn;
    }
    for (pid_t& child : children) {
      int code = 0;
      if (child > 0 && ::waitpid(child, &code, WNOHANG) == child) {
        EXPECT_TRUE(WIFEXITED(code) && WEXITSTATUS(code) == 0) << "a saver failed, status " << code;
        child = 0;
        --running;
      }
    }
  }
  ChildFigures figures[2];
  for (int process = 0; process < 2; ++process) {
    EXPECT_EQ(::read(pipes[process][0], &figures[process], sizeof figures[process]),
              static_cast<ssize_t>(sizeof figures[process]));
    ::close(pipes[process][0]);
  }
  std::printf("%d + %d saves, %d + %d found the file changed and merged, %d + %d waited out a lock; "
              "%d reads, %d torn, %d went back\n",
              figures[0].saves, figures[1].saves, figures[0].merged, figures[1].merged, figures[0].lockedRetries,
              figures[1].lockedRetries, reads, torn, backwards);
  EXPECT_EQ(figures[0].saves, kSavesPerProcess);
  EXPECT_EQ(figures[1].saves, kSavesPerProcess);
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(backwards, 0);
  // The saves did overlap: otherwise nothing was tested.
  EXPECT_GT(figures[0].merged + figures[1].merged, 0);

  // Every day holds the last text its owner saved into it.
  MonthGrid grid;
  MonthFileBase base;
  ASSERT_TRUE(loadMonth(grid, kYear, kMonth, base));
  for (int process = 0; process < 2; ++process) {
    for (int offset = 0; offset < kDaysPerProcess; ++offset) {
      int lastRoundOfDay = offset + ((kSavesPerProcess - 1 - offset) / kDaysPerProcess) * kDaysPerProcess;
      const DayCell* cell = grid.findDay(firstDayOf(process) + offset);
      EXPECT_EQ(cell->memo.text(), memoFor(process, lastRoundOfDay)) << "day " << cell->day;
      EXPECT_EQ(cell->memoColor, static_cast<Colour>(lastRoundOfDay));
    }
  }
  // Nothing beside the month file: no copy (there was no conflict), no lock,
  // no temporary.
  EXPECT_EQ(listDirectory(dir.path()), std::vector<std::string>{"200503.dat"});
  overrideDataDirectory("");
}

}  // namespace
