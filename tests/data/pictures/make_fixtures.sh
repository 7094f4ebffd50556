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

for picture in bmp1.bmp bmp4.bmp bmp8.bmp bmp24.bmp colour301.jpg colour300.jpg colour303.jpg colour2.jpg gray.jpg \
               progressive.jpg cut_in_scan.jpg; do
  convert "$picture" -depth 8 "bgr:${picture%.*}.bgr" 2>/dev/null
done

# The test compares with convert; convert and djpeg must agree on these
# (same library, same default IDCT and upsampling), or that comparison
# would be testing ImageMagick.
for picture in colour301.jpg colour300.jpg colour303.jpg colour2.jpg progressive.jpg cut_in_scan.jpg; do
  bytes=$(identify -format '%[fx:w*h*3]' "$picture" 2>/dev/null)
  convert "$picture" -depth 8 rgb:- 2>/dev/null | cmp -s - <(djpeg -ppm "$picture" 2>/dev/null | tail -c "$bytes") ||
    { echo "convert and djpeg differ on $picture" >&2; exit 1; }
done
echo "fixtures written"
