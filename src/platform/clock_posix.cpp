#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

LocalTime localTimeNow() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_wday, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec,  static_cast<int>(now.tv_usec / 1000)};
}
