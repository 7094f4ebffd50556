#include <cstdio>
#include <string>
#include <vector>

#include "app/cal_tool.h"
#include "platform/text_convert.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// Arguments arrive as UTF-16 whatever the system's code page; they are
// passed on as UTF-8, and output is written as bytes without newline
// translation, so that both builds print the same thing.
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(wideToUtf8(argv[i]));
  return runCalTool(args, ToolStreams{stdin, stdout, stderr});
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return runCalTool(args, ToolStreams{stdin, stdout, stderr});
}
#endif
