#pragma once
// The local date and time, as the calendar reads it for "today".

struct LocalTime {
  int year = 0;
  int month = 0;
  int dayOfWeek = 0;  // 0 = Sunday
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

LocalTime localTimeNow();

// Only a build made for tests (SORVANE_TEST_CLOCK) can move the clock: it
// then runs from the time in the environment variable SORVANE_TEST_NOW
// ("YYYY-MM-DDTHH:MM:SS"), counted from the process's start. The program
// users run reads the system's clock and nothing else.
