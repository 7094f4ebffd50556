#include "render/picture_path.h"

#include "platform/sjis.h"

std::string cutPicturePath(std::string_view path) {
  return std::string(path.substr(0, sjisCutLength(path, kMaxPicturePathBytes)));
}

bool isBmpPicturePath(std::string_view path) {
  // Characters, not bytes: "ッ" is 83 62, so a name ending in "ッmp" has
  // "bmp" as its last three bytes and is still no BMP.
  std::size_t start = sjisStartOfLastChars(path, 3);
  std::string_view tail = path.substr(start);
  if (tail.size() != 3) return false;
  const char* expected = "bmp";
  for (std::size_t i = 0; i < 3; ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != expected[i]) return false;
  }
  return true;
}
