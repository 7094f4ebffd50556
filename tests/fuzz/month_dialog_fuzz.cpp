// Feeds any text to the split of the month memo dialog's lower edit. Besides
// the sanitizers it checks what must hold for any input:
//   - every memo the split finds lies inside the text, after its heading;
//   - the quoted dropped line lies inside the text and holds no line break;
//   - storing the text into a month and building the text again, then
//     splitting that, gives every day the same memo (headings the text
//     that a memo holds, or that its closing CR LF completes, aside: the
//     format cannot tell those from real ones).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar/month_grid.h"
#include "memo/month_dialog_text.h"
#include "settings/settings_file.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool holdsHeadingLine(std::string_view memo) {
  for (std::size_t at = 0; at + kDayHeadingLength <= memo.size(); ++at)
    if (memo[at] == '[' && memo.substr(at + 3, 5) == std::string_view("\x93\xfa]\r\n", 5)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // No settings file: the month builds below name no user holidays, and the
  // one attempt to read it is shared by both.
  static const bool noSettings = [] {
    overrideSettingsFilePath("/nonexistent/sorvane-fuzz.ini");
    return true;
  }();
  (void)noSettings;
  SettingsReadScope oneRead;
  FuzzedDataProvider input(data, size);
  int month = input.ConsumeIntegralInRange<int>(1, 12);
  std::string text = input.ConsumeRemainingBytesAsString();
  int days = month == 2 ? 29 : (month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31);

  for (int day = 1; day <= 31; ++day) {
    DayMemoSpan span = findDayMemo(text, day);
    if (!span.found) continue;
    require(span.headingAt + kDayHeadingLength == span.begin);
    require(span.begin <= span.end && span.end <= text.size());
  }
  DroppedText dropped = findDroppedText(text, days);
  if (dropped.found) {
    require(dropped.begin < dropped.end && dropped.end <= text.size());
    for (std::size_t at = dropped.begin; at < dropped.end; ++at) require(text[at] != '\r' && text[at] != '\n');
  }

  MonthGrid grid;
  grid.build(2004, month);
  if (!storeMonthDialogText(grid, "", text, 0)) return 0;
  std::string rebuilt = buildDayMemoText(grid);
  bool clean = true;
  for (int day = 1; day <= days; ++day) {
    const DayCell* cell = grid.findDay(day);
    if (cell->memo.present() && holdsHeadingLine(cell->memo.text() + "\r\n")) clean = false;
  }
  if (!clean) return 0;
  MonthGrid again;
  again.build(2004, month);
  require(storeMonthDialogText(again, "", rebuilt, 0));
  for (int day = 1; day <= days; ++day) {
    const DayCell* first = grid.findDay(day);
    const DayCell* second = again.findDay(day);
    require(first->memo.present() == second->memo.present());
    require(first->memo.text() == second->memo.text());
  }
  return 0;
}
