#include "render/contrast_colours_win.h"

#include <windows.h>

#include "render/contrast_colours.h"
#include "settings/app_settings.h"

namespace {

// Asked of the system once, then again only when it says it changed: a
// paint looks up colours a few hundred times.
struct ContrastState {
  bool known = false;
  bool on = false;
  SystemColours colours;
};

ContrastState& state() {
  static ContrastState contrast;
  return contrast;
}

const ContrastState& current() {
  ContrastState& s = state();
  if (!s.known) refreshHighContrast();
  return s;
}

}  // namespace

void refreshHighContrast() {
  ContrastState& s = state();
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  s.on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  s.colours.windowText = GetSysColor(COLOR_WINDOWTEXT);
  s.colours.window = GetSysColor(COLOR_WINDOW);
  s.colours.highlight = GetSysColor(COLOR_HIGHLIGHT);
  s.known = true;
}

bool highContrastOn() { return current().on; }

Colour paintColour(int index) {
  const ContrastState& s = current();
  return s.on ? highContrastColour(index, s.colours) : appSettings().color(index);
}

Colour memoPaintColour(Colour memoColour) {
  const ContrastState& s = current();
  return s.on ? highContrastMemoColour(s.colours) : memoColour;
}

int paintMarkStyle(int style) { return current().on ? highContrastMarkStyle(style) : style; }

int paintWallStyle(int wall) { return current().on ? 0 : wall; }
