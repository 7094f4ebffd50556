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

# Wine sees the Unix root as drive Z:.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# Runs the driver once, writing its XML result to $1; the rest are driver
# options. Every wait inside the driver is bounded; this bounds the run.
run_driver() {
  local result=$1
  shift
  timeout -k 10 420 "$wine_run" explorer /desktop=e2e,1024x768 "$(winpath "$driver")" \
    --program="$(winpath "$program")" --work="$(winpath "$work")" --shots="$(winpath "$shots")" \
    --gtest_output="xml:$(winpath "$result")" "$@"
  local status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "e2e: the run did not finish in time"
  fi
  # Nothing may stay behind: a calendar started from one of this run's test
  # directories that still runs (the driver normally ends them all, also
  # when it is killed) is ended here, by its process id.
  for pid in $(ps -eo pid=,args= | E2E_DIR="$(winpath "$work")\\" \
      awk 'index($0, ENVIRON["E2E_DIR"]) && index($0, "SorvaneTestClock.exe") && !index($0, "--work=") { print $1 }'); do
    [ "$pid" != "$$" ] && kill "$pid" 2>/dev/null
  done
}

count() {  # count ATTRIBUTE RESULT: a number from the <testsuites> element
  local n
  n=$(grep -o '<testsuites [^>]*' "$2" | grep -o " $1=\"[0-9]*\"" | grep -o '[0-9]*')
  echo "${n:-0}"
}

failed_cases() {  # the failed cases of a result file, as Suite.Case
  awk '/<testcase /{name=$0} /<failure /{print name}' "$1" |
    sed -E 's/.*name="([^"]*)".*classname="([^"]*)".*/\2.\1/' | sort -u
}

result="$work/result.xml"
run_driver "$result" "$@"
if [ ! -s "$result" ]; then
  echo "e2e: no result file ($result); the driver did not finish"
  exit 1
fi
tests=$(count tests "$result")
bad=$(( $(count failures "$result") + $(count errors "$result") ))

# Input reaches the program through the X server; on a machine busy with
# other work a click can be lost on the way. A case that failed runs once
# more on its own, and the run says so; a real fault fails both times.
if [ "$bad" -ne 0 ]; then
  retry=$(failed_cases "$result" | paste -sd: -)
  echo "e2e: retrying once: $retry"
  second="$work/retry.xml"
  run_driver "$second" --gtest_filter="$retry"
  if [ -s "$second" ]; then
    bad=$(( $(count failures "$second") + $(count errors "$second") ))
    result=$second
  fi
fi

# The captures as PNG, for people to look at.
if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
  done
fi

echo "e2e: $((tests - bad)) passed, $bad failed of $tests; captures in $shots"
if [ "$bad" -ne 0 ]; then
  failed_cases "$result" | sed 's/^/e2e: FAILED /'
fi
[ "$bad" -eq 0 ] && [ "$tests" -gt 0 ]
