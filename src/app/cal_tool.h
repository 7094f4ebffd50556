#pragma once
// sorvane-cal: the calendar's months and memos from a terminal. It has no
// logic of its own: it builds, loads and saves months with the same core as
// the program, so what it prints and writes is what the calendar shows.
//
//   sorvane-cal show [--tsv] YEAR MONTH
//   sorvane-cal set-memo YEAR MONTH DAY [--color N] TEXT   (TEXT "-": stdin)
//   sorvane-cal set-month-memo YEAR MONTH TEXT
//   sorvane-cal export --ics FROM TO [--holidays]   (iCalendar on stdout)
//   common options: --ini FILE, --data DIR
//
// Arguments and output are UTF-8; the files hold Shift_JIS.
#include <cstdio>
#include <string>
#include <vector>

struct ToolStreams {
  std::FILE* in;
  std::FILE* out;
  std::FILE* err;
};

// Runs one command. `args` are the UTF-8 arguments after the program name.
// Returns the exit code: 0 done, 1 the command failed, 2 bad arguments.
int runCalTool(const std::vector<std::string>& args, const ToolStreams& streams);
