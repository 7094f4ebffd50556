#!/usr/bin/env bash
# Regenerates the picture fixtures and, beside each picture, the pixels
# ImageMagick's convert decodes from it (<name>.bgr: rows top to bottom,
# blue, green, red, no padding). The files are committed, so the tests need
# no ImageMagick; run this only to change them. Needs convert and djpeg.
set -euo pipefail
cd "$(dirname "$0")"
export MAGICK_THREAD_LIMIT=1

plasma() { convert -seed "$1" -size "$2" plasma:fractal "${@:3}"; }

# BMPs of every indexed depth and 24 bits, bottom-up, 301 pixels wide, so
# that every row needs padding. IM picks the depth from the colour count.
plasma 11 301x7 -monochrome -compress none BMP3:bmp1.bmp
plasma 12 301x7 -colors 16 -compress none BMP3:bmp4.bmp
plasma 13 301x7 -colors 200 -compress none BMP3:bmp8.bmp
plasma 14 301x7 -type truecolor -compress none BMP3:bmp24.bmp

# Run-length pictures: IM writes RLE8 itself; RLE4 is encoded here from the
# 4-bit picture's indices (repeated pairs as runs, the rest as literals).
convert bmp8.bmp -compress RLE BMP3:rle8.bmp
python3 - <<'PY'
import struct
data = open('bmp4.bmp', 'rb').read()
off, = struct.unpack_from('<I', data, 10)
w, h = struct.unpack_from('<ii', data, 18)
stride = (w * 4 + 31) // 32 * 4
out = bytearray()
for y in range(h):
    row = data[off + y * stride: off + y * stride + stride]
    px = [(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(w)]
    x = 0
    while x < w:
        n = 1
        while x + n < w and n < 255 and px[x + n] == px[x + (n % 2)]:
            n += 1
        if n >= 4 or w - x < 3:
            out += bytes([n, px[x] << 4 | px[x + 1 if n > 1 else x]])
            x += n
        else:
            lit = px[x:x + min(255, w - x, 40)]
            packed = bytes((lit[i] << 4) | (lit[i + 1] if i + 1 < len(lit) else 0) for i in range(0, len(lit), 2))
            out += bytes([0, len(lit)]) + packed + (b'\0' if len(packed) % 2 else b'')
            x += len(lit)
    out += b'\0\0'
out += b'\0\1'
header = bytearray(data[:off])
struct.pack_into('<I', header, 2, off + len(out))
struct.pack_into('<I', header, 30, 2)
struct.pack_into('<I', header, 34, len(out))
open('rle4.bmp', 'wb').write(bytes(header) + bytes(out))
PY

# 16-bit 5-6-5 with masks (BI_BITFIELDS) behind a 124-byte header; the
# tests make the 108-byte form from it.
plasma 16 33x5 -define bmp:subtype=RGB565 BMP:bitfields565.bmp

# An RGB-coded JPEG (no YCbCr conversion in the file).
plasma 28 37x9 ppm:- | cjpeg -rgb -quality 90 > rgb.jpg

# JPEGs: colour with 4:2:0 chroma at an odd size, colour 300 wide without
# subsampling, grayscale, progressive, CMYK, and a progressive one cut in
# its scans (the library warns and fills the rest).
plasma 21 301x7 -sampling-factor 2x2 -quality 75 colour301.jpg
plasma 22 300x5 -sampling-factor 1x1 -quality 90 colour300.jpg
plasma 26 303x4 -sampling-factor 2x1 -quality 90 colour303.jpg
plasma 27 2x3 -quality 90 colour2.jpg
plasma 23 301x7 -colorspace gray -quality 85 gray.jpg
plasma 24 160x120 -sampling-factor 2x2 -interlace JPEG -quality 80 progressive.jpg
plasma 25 16x16 -colorspace cmyk -quality 80 cmyk.jpg
head -c $(( $(stat -c %s progressive.jpg) * 2 / 3 )) progressive.jpg > cut_in_scan.jpg

for picture in bmp1.bmp bmp4.bmp bmp8.bmp bmp24.bmp rle8.bmp rle4.bmp bitfields565.bmp rgb.jpg colour301.jpg colour300.jpg colour303.jpg colour2.jpg gray.jpg \
               progressive.jpg cut_in_scan.jpg; do
  convert "$picture" -depth 8 "bgr:${picture%.*}.bgr" 2>/dev/null
done

# The test compares with convert; convert and djpeg must agree on these
# (same library, same default IDCT and upsampling), or that comparison
# would be testing ImageMagick.
for picture in colour301.jpg colour300.jpg colour303.jpg colour2.jpg progressive.jpg cut_in_scan.jpg rgb.jpg; do
  bytes=$(identify -format '%[fx:w*h*3]' "$picture" 2>/dev/null)
  convert "$picture" -depth 8 rgb:- 2>/dev/null | cmp -s - <(djpeg -ppm "$picture" 2>/dev/null | tail -c "$bytes") ||
    { echo "convert and djpeg differ on $picture" >&2; exit 1; }
done
echo "fixtures written"
