#pragma once
// The four fonts of the calendar, created from their settings sections when
// the main window is created (again when its DPI changes) and deleted when
// it is destroyed; the settings dialog makes them anew from the file once
// its OK or Apply was saved. A font that cannot be created stays null, and
// painting then keeps the DC's current font.
#include "render/font_description.h"

using FontHandle = void*;  // HFONT on Windows

enum class FontRole { Title, Main, Memo, Week };

FontHandle font(FontRole role);
// Replaces the role's font with one made from `description` (the old one is
// deleted), at the DPI the fonts were last created for.
void replaceFont(FontRole role, const FontDescription& description);
// Reads TITLE_FONT, MAIN_FONT, MEMO_FONT and WEEK_FONT, in that order, and
// creates the four fonts. The heights and widths in the sections are pixels
// at 96 DPI; the fonts are made for `dpi`.
void createFonts(int dpi);
// The DPI the fonts are made for.
int fontDpi();
// Deletes the title, main, memo and weekday fonts, in that order.
void destroyFonts();
