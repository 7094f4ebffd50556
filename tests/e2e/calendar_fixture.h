#pragma once
// The common frame of the end-to-end tests: a program in a fresh
// directory, started at a fixed moment with a prepared settings file and
// month files, placed with an exact client size and brought to the front.
// At the end it is closed, and the files it was given must be unchanged.
#include <windows.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "e2e/calendar_expect.h"
#include "e2e/client_capture.h"
#include "e2e/sorvane_process.h"

// Settings file text: the lines joined with CR LF (narrow literals are
// Shift_JIS already).
std::string iniText(std::initializer_list<const char*> lines);

// A 24-bit BMP file, bottom-up as BMP files usually are, of width × height
// pixels: its left half `leftColour`, its right half `rightColour`.
std::string bmpFile(int width, int height, COLORREF leftColour, COLORREF rightColour);

struct DayMemo {
  int day;
  unsigned colour;  // 0x00BBGGRR
  const char* text;
};
// One day's block of a month file: CR LF, "__#DD#__", the colour as the
// file writes it (eight decimal digits), CR LF and the text.
std::string dayBlock(int day, const char* colour, const char* text);

// A month file: the month memo block, then one block per day memo.
std::string monthFileText(const char* monthMemo, std::initializer_list<DayMemo> days);

class CalendarWindowTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // A fresh directory with the program and this settings file.
  ::testing::AssertionResult prepare(std::string_view settings);
  // The same, for a settings file the program may change (its placement
  // with SAVE_POS); without `settings` there is no settings file at all.
  ::testing::AssertionResult prepareWritable(const char* settings);
  // Another file beside the program, remembered for the final check.
  ::testing::AssertionResult addFile(const std::wstring& name, std::string_view bytes);
  // Starts the program at `now` and gives it a client area of width × height
  // at (100, 100) of the screen, in front of everything.
  ::testing::AssertionResult start(const char* now, int width = 300, int height = 250);
  // Starts the program at `now` and leaves its window where it opens.
  ::testing::AssertionResult startAsItOpens(const char* now);
  // Starts it again in the same directory once the last run has ended.
  ::testing::AssertionResult startAgainAsItOpens(const char* now);

  HWND window() const { return app_->window(); }
  SorvaneProcess& app() { return *app_; }

  // Captures the client area and keeps it as "<test>-<step>.bmp".
  Capture shot(const char* step);
  // Captures until `done(capture)` holds or the time is up; keeps the last.
  template <typename Condition>
  Capture shotWhen(const char* step, Condition done, DWORD timeoutMs = 3000) {
    Capture capture;
    DWORD started = GetTickCount();
    for (;;) {
      capture = Capture::of(window());
      if (done(capture) || GetTickCount() - started >= timeoutMs) break;
      Sleep(60);
    }
    keep(capture, step);
    return capture;
  }
  // Waits for the caption to become `expected`; returns the last caption.
  std::wstring captionWhen(const std::wstring& expected, DWORD timeoutMs = 3000);

  // The probes for a capture of `month` under the current layout.
  CalendarProbe probe(const Capture& capture, const MonthShape& month) const {
    return CalendarProbe(capture, layout, month, mainFont);
  }
  // Waits until the cursor frame stands on `day` of `month`.
  Capture shotWithCursorOn(const char* step, const MonthShape& month, int day);

  // The context menu at a client point, then a key of one of its items.
  ::testing::AssertionResult chooseFromMenu(int x, int y, WORD key);

  // Captures another window of the program (a dialog) as "<test>-<step>.bmp".
  Capture shotOf(HWND target, const char* step) {
    Capture capture = Capture::of(target);
    keep(capture, step);
    return capture;
  }

  // A given file the test expects the program to change (or remove):
  // the final check leaves it out.
  void expectChangeOf(const std::wstring& name) { given_.erase(name); }

  ExpectedLayout layout;
  FontMetrics mainFont = defaultMainFont();

 private:
  void keep(const Capture& capture, const char* step) const;

  std::unique_ptr<SorvaneProcess> app_;
  std::map<std::wstring, std::string> given_;
};
