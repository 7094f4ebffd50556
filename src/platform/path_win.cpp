#include "platform/path.h"
#include "platform/sjis.h"

// Windows paths are Shift_JIS.
std::size_t pathCharLength(std::string_view path, std::size_t i) { return sjisCharLength(path, i); }
