#include "platform/path.h"

namespace {
bool isSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

std::size_t pathLastSeparator(std::string_view path) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += pathCharLength(path, i)) {
    if (isSeparator(path[i])) found = i;
  }
  return found;
}

std::string_view pathDirectory(std::string_view path) {
  std::size_t separator = pathLastSeparator(path);
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator);
}

std::string_view pathFileName(std::string_view path) {
  std::size_t separator = pathLastSeparator(path);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view pathWithoutTrailingSeparator(std::string_view directory) {
  std::size_t separator = pathLastSeparator(directory);
  if (separator != std::string_view::npos && separator > 0 && separator + 1 == directory.size())
    directory.remove_suffix(1);
  return directory;
}

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  path += '\\';
  path += name;
  return path;
}

std::size_t pathStartOfLastChars(std::string_view path, std::size_t count) {
  // Keep the start of the last `count` characters in a small ring.
  constexpr std::size_t kMaxCount = 16;
  if (count == 0) return path.size();
  if (count > kMaxCount) count = kMaxCount;
  std::size_t starts[kMaxCount] = {};
  std::size_t seen = 0;
  for (std::size_t i = 0; i < path.size(); i += pathCharLength(path, i)) starts[seen++ % count] = i;
  return seen <= count ? 0 : starts[seen % count];
}
