#pragma once
// The four fonts of the calendar, created from their settings sections when
// the main window is created and deleted when it is destroyed; the settings
// dialog makes them anew from the file once its OK or Apply was saved. A
// font that cannot be created stays null, and painting then keeps the DC's
// current font.
#include "render/font_description.h"

using FontHandle = void*;  // HFONT on Windows

enum class FontRole { Title, Main, Memo, Week };

FontHandle font(FontRole role);
// Replaces the role's font with one made from `description` (the old one is deleted).
void replaceFont(FontRole role, const FontDescription& description);
// Reads TITLE_FONT, MAIN_FONT, MEMO_FONT and WEEK_FONT, in that order, and
// creates the four fonts.
void createFonts();
// Deletes the title, main, memo and weekday fonts, in that order.
void destroyFonts();
