#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into DIR/<target>/: small,
# well-formed examples of what each target reads, so that a short run
# starts from real formats instead of from nothing. Text is Shift_JIS
# where the files hold it (written here as escapes).
set -euo pipefail
out=${1:?usage: make_seeds.sh DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"/{picture,text,month_dialog,holiday,cal_tool}

# Pictures: the decoders' own test pictures.
cp "$here"/../data/pictures/*.bmp "$here"/../data/pictures/*.jpg "$out/picture/"
# The fuzz build refuses pictures over 4096 pixels, so the progressive
# pictures (160 x 120) are also given small, with one cut inside a scan.
convert -size 48x40 gradient:red-blue -sampling-factor 2x2 -interlace JPEG -quality 80 \
  "$out/picture/progressive_small.jpg"
head -c "$(($(stat -c %s "$out/picture/progressive_small.jpg") * 2 / 3))" "$out/picture/progressive_small.jpg" \
  >"$out/picture/cut_in_scan_small.jpg"

# Month files and INI text. 予定 = \x97\x5c\x92\xe8 (its second byte is '\').
printf '__#00#__\r\n\x8d\xa1\x8c\x8e\r\n__#05#__000000FF\r\n\x97\x5c\x92\xe8\r\n__#31#__00FF0000\r\nend' >"$out/text/month"
printf '[MAIN]\r\nTITLE=%%Y\x94\x4e%%m\x8c\x8e\r\nDATADIR=C:\\\\memo\\\\\r\n[HOLIDAY]\r\n0101=\x8c\xb3\x93\xfa||0\r\n' >"$out/text/ini"

# The month memo dialog's lower edit: headings "[ 5日]" and memos.
printf '[ 1\x93\xfa]\r\none\r\n[ 5\x93\xfa]\r\n\x97\x5c\x92\xe8\r\ntwo lines\r\n[31\x93\xfa]\r\n' >"$out/month_dialog/days"
printf 'above\r\n[ 2\x93\xfa]\r\nx\r\n[ 2\x93\xfa]\r\ny' >"$out/month_dialog/twice"

# Holiday sections: an optional "YYYYMM" line, entries, and a last line
# "M D name" that the page adds.
printf '200401\n0101=\x8c\xb3\x93\xfa||0\x000211=\x8c\x9a\x8d\x91\x8b\x4c\x94\x4f\x82\xcc\x93\xfa||0\x001224=Eve||1\n12 25 Xmas' >"$out/holiday/section"
printf '200905\n0503=a\n0504=b||1\n0505=c\n0506=d||0\n5 6 day' >"$out/holiday/golden_week"
printf '0229=leap||1\x00ab\x00=\x0012345678=long||\x002 29 \x82\xa0' >"$out/holiday/odd"

# sorvane-cal: arguments one a line, a NUL, then standard input.
printf 'show\n2004\n12' >"$out/cal_tool/show"
printf 'show\n--tsv\n2004\n12' >"$out/cal_tool/show_tsv"
printf 'set-memo\n2004\n12\n5\n--color\n255\n忘年会' >"$out/cal_tool/set_memo"
printf 'set-memo\n2004\n12\n24\n-\0一行目\n二行目\n' >"$out/cal_tool/set_memo_stdin"
printf 'set-month-memo\n2005\n2\n今月の予定' >"$out/cal_tool/set_month_memo"
printf 'set-memo\n2004\n12\n6\nダ__#' >"$out/cal_tool/marker"
printf 'set-memo\n1980\n1\n1\n\xf0\x9f\x98\x80' >"$out/cal_tool/no_sjis"
