#include "app/caption.h"

#include <cstdio>

#include "calendar/era.h"
#include "calendar/names.h"

std::string formatCaption(int titleStyle, int year, int month, int day, bool eraYear) {
  char text[64];
  int n = 0;
  switch (titleStyle) {
    case 1:
      n = std::snprintf(text, sizeof text, "%04d %s", year, monthNameEn(month - 1));
      if (day > 0) std::snprintf(text + n, sizeof text - n, " %d", day);
      break;
    case 2:
      if (eraYear) {
        char era[32];
        const std::string_view yearText = formatEraYear(year, month, 1, era, sizeof era);
        n = std::snprintf(text, sizeof text, "%.*s%d月", static_cast<int>(yearText.size()), yearText.data(), month);
      } else {
        n = std::snprintf(text, sizeof text, "%d年%d月", year, month);
      }
      if (day > 0) std::snprintf(text + n, sizeof text - n, "%d日", day);
      break;
    default:
      n = std::snprintf(text, sizeof text, "%04d/%02d", year, month);
      if (day > 0) std::snprintf(text + n, sizeof text - n, "/%02d", day);
      break;
  }
  return text;
}
