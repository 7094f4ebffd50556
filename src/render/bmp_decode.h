#pragma once
// The decoding half of BMP background pictures: file bytes to a DibPicture.
//
// The file's own fields decide everything (the "BM" signature is not
// looked at), but a picture is only accepted when every byte it names lies
// inside the file. Accepted are uncompressed pictures (BI_RGB) of 1, 4, 8,
// 16, 24 and 32 bits per pixel, bottom-up or top-down (negative height),
// and BI_BITFIELDS pictures of 16 and 32 bits. Run-length pictures (BI_RLE8
// of 8 bits, BI_RLE4 of 4 bits, bottom-up) are not decoded here: where the
// system's bitmap functions decode them, they are handed over compressed,
// once the header's sizeImage bytes of data lie inside the file and no run
// of that data reaches beyond them; elsewhere they are refused. Refused are:
// files shorter than their headers, information headers shorter than 40
// bytes (the old 12-byte core header has other fields), a width of 0 or
// less, a height of 0 (or INT_MIN), any other bit count, other compressions,
// pictures above kMaxPictureSide a side or kMaxPicturePixels in all, a
// colour table or pixel rows running past the end of the file, and pixel
// data that starts inside the headers.
//
// Palette: n = clrUsed, or when that is 0 from the bit count (1: 2, 4: 16,
// 8: 256, anything else: 0), never more than the pixel values can select
// (2, 16 or 256) and never more than 256. The colour table is read where it
// is, right behind the information header (offset 54 for the usual 40-byte
// header, behind the masks of a 40-byte BI_BITFIELDS header), so longer
// headers do not make colours out of header bytes. 16- and 32-bit pictures
// with clrUsed 0 have a palette of no entries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "render/dib_picture.h"

enum class BmpDecodeStatus {
  Ok,        // the picture is complete
  Refused,   // not a picture we accept; `picture` is untouched
  NoMemory,  // its pixel rows could not be allocated; `picture` is untouched
};

enum class RunLength {
  Refuse,    // nothing here can draw run-length pictures
  HandOver,  // the system decodes them: check them and pass them on
};

// Decodes a whole BMP file image of `size` bytes.
BmpDecodeStatus decodeBmpImage(const std::uint8_t* file, std::size_t size, DibPicture* picture,
                               RunLength runLength = RunLength::Refuse);

enum class BmpReadStatus {
  Ok,        // the picture is complete
  NotRead,   // missing, unreadable or empty file: nothing is reported
  Refused,   // read, but refused by decodeBmpImage: nothing is reported
  NoMemory,  // the user has been warned that memory ran short
};

// Reads the file (shared with other readers and writers) and decodes it. A
// lack of memory, for the file image or for the pixel rows, shows the warning
// "メモリの確保に失敗しました。ファイルを開くことができません。"; every other
// failure is silent. `picture` changes only on success. Run-length pictures
// are handed over where the platform draws them.
BmpReadStatus decodeBmpFile(const std::string& path, DibPicture* picture);
