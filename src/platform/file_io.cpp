#include "platform/file_io.h"

namespace {
bool truncateArmed = false;
std::size_t truncateBytes = 0;
bool readFailureArmed = false;
}  // namespace

// A name no user file is likely to carry, next to the target so that the
// final move stays within one directory (and one volume).
std::string temporaryPathFor(const std::string& path) { return path + kTemporarySuffix; }

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

void failNextReadForTests() { readFailureArmed = true; }

bool takeFailedReadForTests() {
  if (!readFailureArmed) return false;
  readFailureArmed = false;
  return true;
}
