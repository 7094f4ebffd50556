#pragma once
#include <cstdint>

// A colour as Windows keeps it (COLORREF): 0x00BBGGRR.
using Colour = std::uint32_t;
