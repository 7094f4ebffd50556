#include "platform/file_io.h"

#include <cstdio>

#include "platform/path.h"

namespace {
bool truncateArmed = false;
std::size_t truncateBytes = 0;
bool flushFailureArmed = false;

constexpr std::string_view kTemporaryPrefix = "~sv";
constexpr std::string_view kTemporaryExtension = ".tmp";
constexpr std::size_t kTemporaryDigits = 5;
constexpr std::string_view kOldTemporarySuffix = ".sorvane-tmp";

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool readFailureArmed = false;
}  // namespace

std::string temporaryPathFor(const std::string& path, unsigned number) {
  char name[32];
  std::snprintf(name, sizeof name, "%.*s%05X%.*s", static_cast<int>(kTemporaryPrefix.size()),
                kTemporaryPrefix.data(), number & 0xFFFFFu, static_cast<int>(kTemporaryExtension.size()),
                kTemporaryExtension.data());
  // Beside the target, after the same separator.
  std::size_t separator = pathLastSeparator(path);
  std::string directory = separator == std::string_view::npos ? std::string() : path.substr(0, separator + 1);
  return directory + name;
}

bool isTemporaryFileName(std::string_view name) {
  if (name.size() > kOldTemporarySuffix.size() &&
      name.substr(name.size() - kOldTemporarySuffix.size()) == kOldTemporarySuffix)
    return true;
  if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporaryExtension.size()) return false;
  if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix) return false;
  if (name.substr(name.size() - kTemporaryExtension.size()) != kTemporaryExtension) return false;
  for (std::size_t i = 0; i < kTemporaryDigits; ++i)
    if (!isHexDigit(name[kTemporaryPrefix.size() + i])) return false;
  return true;
}

void truncateNextWriteForTests(std::size_t bytes) {
  truncateArmed = true;
  truncateBytes = bytes;
}

bool takeTruncatedWriteForTests(std::size_t* bytes) {
  if (!truncateArmed) return false;
  truncateArmed = false;
  *bytes = truncateBytes;
  return true;
}

void failNextFlushForTests() { flushFailureArmed = true; }

bool takeFailedFlushForTests() {
  bool armed = flushFailureArmed;
  flushFailureArmed = false;
  return armed;
}

void failNextReadForTests() { readFailureArmed = true; }

bool takeFailedReadForTests() {
  if (!readFailureArmed) return false;
  readFailureArmed = false;
  return true;
}
