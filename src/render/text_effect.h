#pragma once
// The three styles in which the calendar draws its texts: plain, with a
// black shadow one pixel down and right, or outlined at the four one-pixel
// neighbours (not the diagonals). The main colour is always drawn last.
#include <functional>

#include "calendar/colour.h"

// The caller's drawing of its text displaced by dx, dy pixels.
using DrawAt = std::function<void(int dx, int dy)>;
using SetTextColour = std::function<void(Colour)>;

// `drawType` is a DrawType value; anything but Shadow and Outline is Normal.
// `offset` is how far the shadow and the outline lie: one pixel at 96 DPI,
// scaled with the rest on other screens.
void drawEffectSequence(int drawType, Colour outlineColor, Colour mainColor,
                        const SetTextColour& setColour, const DrawAt& draw, int offset = 1);
