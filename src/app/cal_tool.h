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
//
// set-memo and set-month-memo never write over a change someone else made
// to the month file meanwhile: other days stay, and when the same memo was
// changed there too, ours is stored, theirs is kept in a copy of the file
// ("YYYYMM.dat.N.bak"), and a line on standard error names both (exit 0).
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
