#include "platform/stdio_file.h"

// The file system takes the bytes of the path as they are.
std::FILE* openFileForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }
