#include "platform/path.h"

// Native paths are UTF-8 (or any bytes): a lead byte announces how many
// continuation bytes follow, and a byte below 0x80 is always a character
// of its own, so a separator can never hide inside another character.
std::size_t pathCharLength(std::string_view path, std::size_t i) {
  auto lead = static_cast<unsigned char>(path[i]);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t n = 1;
  while (n < length && i + n < path.size() && (static_cast<unsigned char>(path[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}
