#pragma once
// Standard buffered file streams, for the one library that reads through a
// FILE* (libjpeg's stdio data source). Paths are Shift_JIS as elsewhere.
#include <cstdio>
#include <string>

// Opens an existing file for reading without text translation ("rb").
// Null when it cannot be opened; the caller closes the stream with fclose.
std::FILE* openFileForReading(const std::string& path);
