#pragma once
// The one place the painter looks colours up: the settings' colours, or
// the system's while its high-contrast mode is on (see contrast_colours.h).
// With high contrast off every answer is the settings' own, so the
// calendar looks exactly as it always has.
#include "calendar/colour.h"

// Re-reads the high-contrast switch and the system colours; the main
// window calls it when the system's settings or colours change.
void refreshHighContrast();
bool highContrastOn();

Colour paintColour(int index);               // for AppSettings::color(index)
Colour memoPaintColour(Colour memoColour);    // for a day memo's own colour
int paintMarkStyle(int style);                // for TMARK and YMARK
int paintWallStyle(int wall);                 // for WALL: plain in high contrast
