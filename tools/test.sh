#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test:
# the native unit tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the win32 tests under Wine on a virtual
# display. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)

tools/setup.sh || exit 1

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
build native || exit 1
build native-sanitize || exit 1
build win32 || exit 1

# A virtual X display for the Windows program and its tests.
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
export SORVANE_WINEPREFIX="$root/build/win32/wineprefix"
cleanup() {
  WINEPREFIX="$SORVANE_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Start Wine's server and its background services now, detached from any
# output: started by the first test instead, they would inherit CTest's
# output pipe and keep it open after the test ends, and CTest would wait
# for them for ever. The server stays up (-p) for all the tests.
tools/wine-run.sh wineboot </dev/null >/dev/null 2>&1 || true

passed=0 failed=0
run_tests() {
  local log
  log=$(mktemp)
  ctest --preset "$1" -j2 2>&1 | tee "$log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -1)
  rm -f "$log"
  local total fails
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then total=1 fails=1; fi
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}
run_tests native
run_tests native-sanitize
run_tests win32

# The fuzz targets, 30 s each under libFuzzer (clang); any finding fails.
if tests/fuzz/run_fuzz.sh 30; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo
echo "native, sanitizers, win32 under Wine and the fuzz run:"
echo "summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
