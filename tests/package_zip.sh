#!/usr/bin/env bash
# The release zip: made twice from the same build it is the same bytes; it
# holds exactly the four files; unpacked and started on a clean Wine prefix
# the program shows the calendar as the README's picture (checked in a
# screenshot). Needs DISPLAY, like the other Wine tests.
# usage: package_zip.sh BUILD_DIR WORKDIR SOURCE_DIR
set -u
build=$1 work=$2 source=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0 checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set"; exit 1; }

make_zip() { python3 "$source/tools/package/make_zip.py" "$build" "$1" 9.9.9 i686-w64-mingw32-strip >/dev/null; }
make_zip first/Sorvane-9.9.9.zip && sleep 1 && make_zip second/Sorvane-9.9.9.zip
checks=$((checks + 1))
cmp -s first/Sorvane-9.9.9.zip second/Sorvane-9.9.9.zip || fail "two packings of one build differ"

checks=$((checks + 1))
listing=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' first/Sorvane-9.9.9.zip)
[ "$listing" = "Sorvane-9.9.9/README.txt Sorvane-9.9.9/Sorvane.exe Sorvane-9.9.9/Sorvane.ini Sorvane-9.9.9/sorvane-cal.exe" ] \
  || fail "entries: $listing"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' first/Sorvane-9.9.9.zip unpacked
app="$work/unpacked/Sorvane-9.9.9"
checks=$((checks + 1))
grep -q $'^HOLIDAY_LAW=1\r$' "$app/Sorvane.ini" || fail "the starter settings ask for the holiday law"

# tools/run.sh starts a new user with the same starter settings as the zip,
# and leaves a settings file already there alone.
checks=$((checks + 1))
"$source/tools/prepare-run-folder.sh" "$work/run" "$build/src/Sorvane.exe"
cmp -s "$work/run/Sorvane.ini" "$app/Sorvane.ini" || fail "the run folder's first settings differ from the zip's"
cmp -s "$work/run/Sorvane.exe" "$build/src/Sorvane.exe" || fail "the run folder has no Sorvane.exe"
checks=$((checks + 1))
printf '[Sorvane]\r\nTITLE=1\r\n' > "$work/run/Sorvane.ini"
"$source/tools/prepare-run-folder.sh" "$work/run" "$build/src/Sorvane.exe"
[ "$(cat "$work/run/Sorvane.ini")" = "$(printf '[Sorvane]\r\nTITLE=1\r')" ] || fail "the user's settings file was replaced"

# A clean prefix of its own, ended when the test ends.
export SORVANE_WINEPREFIX="$work/prefix"
trap 'WINEPREFIX="$SORVANE_WINEPREFIX" wineserver -k >/dev/null 2>&1' EXIT
"$source/tools/wine-run.sh" wineboot </dev/null >/dev/null 2>&1

# The packaged sorvane-cal reads the same starter settings: today's law.
checks=$((checks + 1))
(cd "$app" && "$source/tools/wine-run.sh" sorvane-cal.exe show --tsv 2026 5 </dev/null 2>/dev/null) > may.tsv
grep -q $'^6\t3\t1\t振替休日\t' may.tsv || fail "sorvane-cal in the zip: 6 May 2026 is a substitute holiday"

(cd "$app" && "$source/tools/wine-run.sh" explorer /desktop=package,800x600 Sorvane.exe </dev/null >/dev/null 2>&1 &)
ok=1
for _ in $(seq 1 30); do
  sleep 2
  import -window root -crop 800x600+0+0 +repage shot.png 2>/dev/null || continue
  convert shot.png -depth 8 ppm:shot.ppm 2>/dev/null || continue
  if python3 "$source/tests/package_shot_check.py" shot.ppm > check.txt; then ok=0; break; fi
done
checks=$((checks + 1))
[ "$ok" -eq 0 ] || { cat check.txt; fail "the unpacked program does not show the calendar (see $work/shot.png)"; }

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
