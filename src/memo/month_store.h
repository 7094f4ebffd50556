#pragma once
// The month files: every memo of one month lives in "<data>\YYYYMM.dat".
// MonthGrid::load and MonthGrid::save (declared with the grid) read and
// write them; this header gives the paths.
//
// File format, byte for byte (Shift_JIS, no header, no final NUL):
//   "__#00#__\r\n" + month memo text        -- only when there is a month memo
//   for each day with a memo, ascending:
//   "\r\n__#DD#__CCCCCCCC\r\n" + memo text  -- DD the day, CCCCCCCC the colour
// The CR LF that opens a day block ends the text before it.
#include <string>
#include <string_view>

// Longest month file path, in bytes. Longer data directories are refused.
constexpr std::size_t kMaxMonthFilePath = 255;
// The DATADIR setting is read with this capacity.
constexpr std::size_t kDataDirCapacity = 512;
// Month files larger than this are taken as a lack of memory, not read.
constexpr std::size_t kMaxMonthFileSize = 64u * 1024 * 1024;

// The data directory: DATADIR from the settings (or the override) with one
// trailing separator removed, or, when it is empty, the directory of the
// executable. Empty when neither can be had.
std::string dataDirectory();

// Points dataDirectory() at another directory (the command-line tool's
// --data); an empty path restores the rule above.
void overrideDataDirectory(const std::string& directory);

// "<data directory>\YYYYMM.dat"; false when there is no data directory or
// the path would be longer than kMaxMonthFilePath.
bool monthFilePath(int year, int month, std::string& path);

// Byte offset of the first "__#" in a memo's text, or npos. The reader finds
// block markers byte by byte, whatever characters the bytes belong to, so a
// memo holding that sequence anywhere (also as the second byte of a
// double-byte character followed by "_#") would be cut or taken for another
// day's block when read back. Every writer of memo text refuses such text.
std::size_t findBlockMarker(std::string_view memo);
