#include "platform/sjis.h"

#include <vector>


std::size_t sjisStartOfLastChars(std::string_view text, std::size_t count) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); i += sjisCharLength(text, i)) starts.push_back(i);
  return starts.size() <= count ? 0 : starts[starts.size() - count];
}

std::size_t sjisCutLength(std::string_view text, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t next = i + sjisCharLength(text, i);
    if (next > maxBytes) break;
    i = next;
  }
  return i;
}

std::size_t sjisFind(std::string_view text, std::string_view needle) {
  for (std::size_t i = 0; i < text.size(); i += sjisCharLength(text, i)) {
    if (text.substr(i, needle.size()) == needle) return i;
  }
  return std::string_view::npos;
}
