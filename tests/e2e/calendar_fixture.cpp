#include "e2e/calendar_fixture.h"

#include <cstdint>
#include <cstdio>

#include "e2e/desktop_input.h"
#include "e2e/e2e_options.h"

namespace {

// Where the window stands during a test: clear of the screen's edges.
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

std::wstring widen(const char* ascii) {
  std::wstring wide;
  for (const char* c = ascii; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return wide;
}

// "Suite.Name" of the running test, in a form fit for a file name.
std::wstring currentTestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = widen(info->test_suite_name()) + L"." + widen(info->name());
  for (wchar_t& c : name)
    if (c == L'/' || c == L'\\' || c == L':') c = L'_';
  return name;
}

}  // namespace

std::string bmpFile(int width, int height, COLORREF leftColour, COLORREF rightColour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string file(54 + static_cast<std::size_t>(stride) * height, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF c = x < width / 2 ? leftColour : rightColour;
      std::size_t at = 54 + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
      file[at] = static_cast<char>(GetBValue(c));
      file[at + 1] = static_cast<char>(GetGValue(c));
      file[at + 2] = static_cast<char>(GetRValue(c));
    }
  }
  return file;
}

std::string iniText(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string dayBlock(int day, const char* colour, const char* text) {
  char header[32];
  std::snprintf(header, sizeof header, "\r\n__#%02d#__%s\r\n", day, colour);
  return header + std::string(text);
}

std::string monthFileText(const char* monthMemo, std::initializer_list<DayMemo> days) {
  std::string text = "__#00#__\r\n";
  text += monthMemo;
  for (const DayMemo& memo : days) {
    char header[32];
    std::snprintf(header, sizeof header, "\r\n__#%02d#__%08u\r\n", memo.day, memo.colour);
    text += header;
    text += memo.text;
  }
  return text;
}

void CalendarWindowTest::TearDown() {
  if (!app_) return;
  if (app_->running()) {
    EXPECT_TRUE(app_->close()) << app_->lastError();
    EXPECT_EQ(app_->exitCode(), 0u) << "exit code of the calendar";
    // Without SAVE_POS and without an editor nothing of what it was given
    // may change.
    for (const auto& [name, bytes] : given_) {
      std::string now;
      EXPECT_TRUE(app_->readFile(name, now)) << "missing after the run";
      EXPECT_EQ(now, bytes) << "the calendar changed a file it was given";
    }
  }
  app_.reset();
}

::testing::AssertionResult CalendarWindowTest::prepare(std::string_view settings) {
  app_ = std::make_unique<SorvaneProcess>(currentTestName());
  if (!app_->ready()) return ::testing::AssertionFailure() << app_->lastError();
  return addFile(kSettingsFileName, settings);
}

::testing::AssertionResult CalendarWindowTest::prepareWritable(const char* settings) {
  app_ = std::make_unique<SorvaneProcess>(currentTestName());
  if (!app_->ready()) return ::testing::AssertionFailure() << app_->lastError();
  if (settings && !app_->writeFile(kSettingsFileName, settings))
    return ::testing::AssertionFailure() << "cannot write the settings file";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CalendarWindowTest::addFile(const std::wstring& name, std::string_view bytes) {
  if (!app_ || !app_->writeFile(name, bytes)) return ::testing::AssertionFailure() << "cannot write a test file";
  given_[name] = std::string(bytes);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CalendarWindowTest::start(const char* now, int width, int height) {
  if (!app_) return ::testing::AssertionFailure() << "prepare() first";
  if (!app_->start(now)) return ::testing::AssertionFailure() << app_->lastError();
  if (!app_->placeWithClientSize(kWindowX, kWindowY, width, height))
    return ::testing::AssertionFailure() << "cannot give the window a client area of " << width << "x" << height;
  layout.clientWidth = width;
  layout.clientHeight = height;
  if (!bringToFront(window())) return ::testing::AssertionFailure() << "cannot bring the calendar to the front";
  settle(window());
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CalendarWindowTest::startAsItOpens(const char* now) {
  if (!app_) return ::testing::AssertionFailure() << "prepare() first";
  if (!app_->start(now)) return ::testing::AssertionFailure() << app_->lastError();
  settle(window());
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CalendarWindowTest::startAgainAsItOpens(const char* now) {
  if (!app_) return ::testing::AssertionFailure() << "prepare() first";
  if (!app_->startAgain(now)) return ::testing::AssertionFailure() << app_->lastError();
  settle(window());
  return ::testing::AssertionSuccess();
}

void CalendarWindowTest::keep(const Capture& capture, const char* step) const {
  capture.saveBmp(e2eOptions().shotDir + L"\\" + currentTestName() + L"-" + widen(step) + L".bmp");
}

Capture CalendarWindowTest::shot(const char* step) {
  settle(window());
  Capture capture = Capture::of(window());
  keep(capture, step);
  return capture;
}

std::wstring CalendarWindowTest::captionWhen(const std::wstring& expected, DWORD timeoutMs) {
  DWORD started = GetTickCount();
  std::wstring caption = app_->caption();
  while (caption != expected && GetTickCount() - started < timeoutMs) {
    Sleep(50);
    caption = app_->caption();
  }
  return caption;
}

Capture CalendarWindowTest::shotWithCursorOn(const char* step, const MonthShape& month, int day) {
  return shotWhen(step, [&](const Capture& c) { return probe(c, month).cursorDay() == day; });
}

::testing::AssertionResult CalendarWindowTest::chooseFromMenu(int x, int y, WORD key) {
  rightClick(window(), x, y);
  HWND menu = nullptr;
  for (int wait = 0; wait < 60 && !menu; ++wait) {
    menu = findProcessWindow(app_->processId(), L"#32768");
    if (!menu) Sleep(50);
  }
  if (!menu) return ::testing::AssertionFailure() << "no context menu appeared";
  Sleep(100);
  pressKey(key);
  for (int wait = 0; wait < 60 && findProcessWindow(app_->processId(), L"#32768"); ++wait) Sleep(50);
  settle(window());
  return ::testing::AssertionSuccess();
}
