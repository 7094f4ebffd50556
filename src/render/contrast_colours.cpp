#include "render/contrast_colours.h"

#include "settings/app_settings.h"

Colour highContrastColour(int index, const SystemColours& system) {
  switch (index) {
    case kColourCursor:
    case kColourToday:
    case kColourYotei:
    case kColourTodayYotei:
      return system.highlight;
    case kColourBack:
    case kColourMonthWrap:
    case kColourWeekWrap:
    case kColourDayWrap:
    case kColourMemoWrap:
      return system.window;
    default:
      return system.windowText;
  }
}

Colour highContrastMemoColour(const SystemColours& system) { return system.windowText; }

int highContrastMarkStyle(int style) {
  switch (static_cast<MarkStyle>(style)) {
    case MarkStyle::FilledBox:
      return static_cast<int>(MarkStyle::Box);
    case MarkStyle::FilledCircle:
      return static_cast<int>(MarkStyle::Circle);
    default:
      return style;
  }
}
