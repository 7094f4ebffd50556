// Runs sorvane-cal in-process on fuzzed arguments and standard input, with
// its settings file and month files in a scratch directory. Besides the
// sanitizers it checks what must hold for any input:
//   - the exit code is 0, 1 or 2, and what it prints on its output is UTF-8;
//   - every month file the tool leaves reads back to the same bytes, so a
//     memo it stored is a memo the calendar shows.
// Input: the arguments after the program name, one a line, then a NUL and
// what standard input holds. "--ini" and "--data" are the scratch
// directory's, always.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/cal_tool.h"
#include "calendar/month_grid.h"
#include "memo/month_store.h"
#include "settings/settings_file.h"
#include "platform/file_io.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

const std::string& scratch() {
  static const std::string path = [] {
    char directory[] = "/dev/shm/sorvane-cal-fuzz-XXXXXX";
    require(::mkdtemp(directory) != nullptr);
    return std::string(directory);
  }();
  return path;
}

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// Checks every month file in the scratch directory, then removes every
// file there, so that each input starts from the same empty directory.
void checkAndClearFiles() {
  DIR* listing = ::opendir(scratch().c_str());
  require(listing != nullptr);
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(listing))
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  ::closedir(listing);
  for (const std::string& name : names) {
    const std::string path = scratch() + "/" + name;
    int year = 0, month = 0;
    char rest = 0;
    if (name.size() == 10 && std::sscanf(name.c_str(), "%4d%2d.da%c", &year, &month, &rest) == 3 && rest == 't') {
      std::string bytes;
      require(readFileText(path, kMaxMonthFileSize, bytes) == FileReadStatus::Ok);
      MonthGrid grid;
      require(grid.build(year, month));
      require(grid.loadFromData(bytes));
      std::string again;
      require(grid.saveToData(again));
      require(again == bytes);
    }
    ::unlink(path.c_str());
  }
}

// Closes a memory stream and hands back what was written to it.
std::string take(std::FILE* stream, char*& buffer, std::size_t& size) {
  std::fclose(stream);
  std::string text(buffer ? buffer : "", buffer ? size : 0);
  std::free(buffer);
  buffer = nullptr;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t nul = input.find('\0');
  std::string_view argText = input.substr(0, nul);
  std::string stdinText(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));

  std::vector<std::string> args;
  for (std::size_t start = 0; start <= argText.size() && args.size() < 16;) {
    std::size_t end = argText.find('\n', start);
    if (end == std::string_view::npos) end = argText.size();
    std::string arg(argText.substr(start, end - start));
    // Files elsewhere are not the fuzzer's to write.
    if (arg == "--ini" || arg == "--data") arg = "--tsv";
    args.push_back(arg);
    start = end + 1;
  }
  if (args.empty()) return 0;
  const std::string ini = scratch() + "/Sorvane.ini";
  args.insert(args.begin() + 1, {"--ini", ini, "--data", scratch()});

  std::FILE* in = stdinText.empty() ? std::fopen("/dev/null", "rb")
                                    : fmemopen(stdinText.data(), stdinText.size(), "rb");
  char* outBuffer = nullptr;
  char* errBuffer = nullptr;
  std::size_t outSize = 0, errSize = 0;
  std::FILE* out = open_memstream(&outBuffer, &outSize);
  std::FILE* err = open_memstream(&errBuffer, &errSize);
  require(in && out && err);
  int code = runCalTool(args, ToolStreams{in, out, err});
  std::fclose(in);
  std::string printed = take(out, outBuffer, outSize);
  std::string complaints = take(err, errBuffer, errSize);
  require(code >= 0 && code <= 2);
  // Complaints may quote an argument as it was given; what the tool prints
  // of the files is converted, and must be UTF-8.
  require(validUtf8(printed));
  (void)complaints;
  checkAndClearFiles();
  overrideSettingsFilePath("");
  overrideDataDirectory("");
  return 0;
}
