#!/usr/bin/env bash
# The lunar dates and rokuyo of every day 1980-2100 as sorvane-cal shows
# them (fields 8 and 9 of show --tsv), against an independent reckoning
# from PyEphem (Debian's python3-ephem, installed by tools/setup.sh).
# usage: lunar_calendar_check.sh TOOL WORKDIR [EMULATOR]
set -u
tool=$1 work=$2 emulator=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
if ! /usr/bin/python3 -c 'import ephem' 2>/dev/null; then
  echo "FAIL: python3-ephem is missing; run tools/setup.sh"
  exit 1
fi
rm -rf "$work" && mkdir -p "$work/data" && cd "$work" || exit 1
: > empty.ini

: > got.tsv
for year in $(seq 1980 2100); do
  for month in $(seq 1 12); do
    ${emulator:+"$emulator"} "$tool" show --tsv "$year" "$month" --ini empty.ini --data data > month.txt \
      || { echo "FAIL: show $year $month"; exit 1; }
    awk -F'\t' -v y="$year" -v m="$month" '
      $1 !~ /^#/ { printf "%04d-%02d-%02d\t%s\t%s\n", y, m, $1, $8, $9 }' month.txt >> got.tsv
  done
done

if /usr/bin/python3 "$here/lunar_check.py" got.tsv; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
