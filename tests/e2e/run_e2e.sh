#!/usr/bin/env bash
# The calendar end to end: runs the driver inside a Wine virtual desktop,
# where it starts the test build of the program as often as it needs, then
# reads the driver's XML result (the desktop's exit code is not the
# driver's), turns the captures into PNG files and prints one summary line.
# Needs DISPLAY (tools/test.sh starts a virtual X display).
#
# usage: run_e2e.sh DRIVER_EXE PROGRAM_EXE SHOT_DIR WORK_DIR WINE_RUN [driver options]
# (for example --gtest_filter=*Wheel* to run some of the cases)
set -u
[ $# -ge 5 ] || { echo "usage: $0 DRIVER_EXE PROGRAM_EXE SHOT_DIR WORK_DIR WINE_RUN [driver options]"; exit 2; }
driver=$(realpath -m "$1") program=$(realpath -m "$2") shots=$(realpath -m "$3") work=$(realpath -m "$4")
wine_run=$5
shift 5

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e: DISPLAY is not set; run through tools/test.sh or start Xvfb first"
  exit 1
fi

rm -rf "$shots" "$work"
mkdir -p "$shots" "$work" || exit 1
result="$work/result.xml"

# Wine sees the Unix root as drive Z:.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# Every wait inside the driver is bounded; this bounds the whole run.
timeout -k 10 170 "$wine_run" explorer /desktop=e2e,1024x768 "$(winpath "$driver")" \
  --program="$(winpath "$program")" --work="$(winpath "$work")" --shots="$(winpath "$shots")" \
  --gtest_output="xml:$(winpath "$result")" "$@"
status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "e2e: the run did not finish in time"
fi

# Nothing may stay behind: a calendar started from one of this run's test
# directories that still runs (the driver normally ends them all, also when
# it is killed) is ended here, by its process id.
for pid in $(ps -eo pid=,args= | E2E_DIR="$(winpath "$work")\\" \
    awk 'index($0, ENVIRON["E2E_DIR"]) && index($0, "SorvaneTestClock.exe") && !index($0, "--work=") { print $1 }'); do
  [ "$pid" != "$$" ] && kill "$pid" 2>/dev/null
done

# The captures as PNG, for people to look at.
if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
  done
fi

if [ ! -s "$result" ]; then
  echo "e2e: no result file ($result); the driver did not finish"
  exit 1
fi
tests=$(grep -o '<testsuites [^>]*' "$result" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
failures=$(grep -o '<testsuites [^>]*' "$result" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
errors=$(grep -o '<testsuites [^>]*' "$result" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*')
tests=${tests:-0} failures=${failures:-0} errors=${errors:-0}
bad=$((failures + errors))
echo "e2e: $((tests - bad)) passed, $bad failed of $tests; captures in $shots"
if [ "$bad" -ne 0 ]; then
  # Name the failed cases.
  awk '/<testcase /{name=$0} /<failure /{print name}' "$result" |
    sed -E 's/.*name="([^"]*)".*classname="([^"]*)".*/e2e: FAILED \2.\1/' | sort -u
fi
[ "$bad" -eq 0 ] && [ "$tests" -gt 0 ]
