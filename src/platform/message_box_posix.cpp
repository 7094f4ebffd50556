#include <cstdio>

#include "platform/message_box.h"
#include "platform/text_convert.h"

// Natively there is no desktop to show a box on; the terminal gets the text.
void platformShowWarning(const char* text) { std::fprintf(stderr, "Sorvane: %s\n", sjisToUtf8(text).c_str()); }
