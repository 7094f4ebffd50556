#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"

namespace {

LocalTime fromSystemTime(const SYSTEMTIME& t) {
  return LocalTime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

#ifdef SORVANE_TEST_CLOCK
// 100-nanosecond units between the real clock and the test's, fixed at the
// first read, so that the test clock ticks on like the real one.
bool shiftKnown = false;
long long shift = 0;

long long asTicks(const SYSTEMTIME& t) {
  FILETIME file;
  SystemTimeToFileTime(&t, &file);
  return (static_cast<long long>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

void learnShift(const SYSTEMTIME& now) {
  shiftKnown = true;
  const char* wanted = std::getenv("SORVANE_TEST_NOW");
  SYSTEMTIME start{};
  int year, month, day, hour, minute, second;
  if (!wanted || std::sscanf(wanted, "%d-%d-%dT%d:%d:%d", &year, &month, &day, &hour, &minute, &second) != 6)
    return;
  start.wYear = static_cast<WORD>(year);
  start.wMonth = static_cast<WORD>(month);
  start.wDay = static_cast<WORD>(day);
  start.wHour = static_cast<WORD>(hour);
  start.wMinute = static_cast<WORD>(minute);
  start.wSecond = static_cast<WORD>(second);
  shift = asTicks(start) - asTicks(now);
}
#endif

}  // namespace

LocalTime localTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
#ifdef SORVANE_TEST_CLOCK
  if (!shiftKnown) learnShift(now);
  if (shift != 0) {
    long long ticks = asTicks(now) + shift;
    FILETIME file{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    FileTimeToSystemTime(&file, &now);
  }
#endif
  return fromSystemTime(now);
}
