#pragma once
// The colours the calendar paints with while the system's high-contrast
// mode is on: the user's system colours for window text, window and
// highlight instead of the settings' fifteen colours. Text and frames take
// the text colour, the background and the shadows and outlines around
// text the window colour, the marks and the cursor the highlight colour.
// Filled marks are drawn as outlines, so that the day number over them
// keeps the text colour on the window colour.
#include "calendar/colour.h"

struct SystemColours {
  Colour windowText = 0;
  Colour window = 0;
  Colour highlight = 0;
};

// The colour for the settings' colour `index` (ColourIndex) in high contrast.
Colour highContrastColour(int index, const SystemColours& system);
// A memo's own colour in high contrast: the text colour.
Colour highContrastMemoColour(const SystemColours& system);
// The mark style (MarkStyle) to draw in high contrast.
int highContrastMarkStyle(int style);
