#include <cstdio>

#include "platform/stdio_file.h"
#include "platform/text_convert.h"

// fopen would read the path in the system's ANSI code page, which need not
// be 932; the wide call names the file by its real characters on any locale.
std::FILE* openFileForReading(const std::string& path) {
  return _wfopen(sjisToWide(path).c_str(), L"rb");
}
