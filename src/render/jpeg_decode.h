#pragma once
// The decoding half of JPEG background pictures: a file through libjpeg
// (interface version 62) to a DibPicture of 24-bit top-down rows.
//
// Rows hold W pixels as blue, green, red, followed by W mod 4 bytes, so each
// is jpegRowBytes(W) long; the buffer is (jpegRowBytes(W) + 1) x H bytes.
// The info is the 40-byte header: width W, height -H, 1 plane, 24 bits,
// BI_RGB, zeros elsewhere; there is no palette. Colour pictures come from
// the library as RGB; grayscale ones are widened to three equal samples.
//
// Refused, as decoder errors with a message on the standard error stream:
// CMYK and any colour space other than colour or gray, pictures above
// kMaxPictureSide a side or kMaxPicturePixels in all (checked after the
// header, before anything large is allocated), and files of more than
// kMaxJpegScans scans (a progressive file of thousands of tiny scans would
// otherwise keep the program busy for minutes). The library's own warnings
// (a file cut short in its scans, for example) leave decoding running: the
// missing part of such a picture comes out gray.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "render/dib_picture.h"

inline constexpr int kMaxJpegScans = 100;

// Bytes in one pixel row of a picture `width` pixels wide.
std::size_t jpegRowBytes(std::uint32_t width);

enum class JpegReadStatus {
  Ok,            // the picture is complete
  NotOpened,     // "can't open <path>" was written to the standard error stream
  FailedEarly,   // decoder error in the header or while starting: the size
                 // was never reached, and a picture shown before may stay
  FailedInScan,  // decoder error after the size was known (reading scan lines,
                 // or no memory for the pixels): no picture is left to show
};

// Decodes the JPEG file at `path` (Shift_JIS). `picture` changes only on
// success, apart from its width and height, which are set as soon as the
// library knows them (also before a FailedInScan). Every path out
// destroys the decompressor, closes the file and frees the pixels.
JpegReadStatus decodeJpegFile(const std::string& path, DibPicture* picture);

// The same on an open stream, which stays open. Never NotOpened.
JpegReadStatus decodeJpegStream(std::FILE* file, DibPicture* picture);
