#!/usr/bin/env bash
# Builds nothing; runs the timing harness of the win32 build inside a Wine
# virtual desktop and prints its figures. Needs DISPLAY (tools/test.sh or
# an Xvfb of your own).
#   bench/win32/run_timing.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/src/Sorvane.exe" "$work/"
cp "$build/bench/minimal_window.exe" "$build/bench/timing_harness.exe" "$work/"
cd "$work"
winpath() { WINEPREFIX=${SORVANE_WINEPREFIX:-$build/wineprefix} winepath -w "$1" 2>/dev/null; }
out="$work/figures.txt"
# The harness writes its figures to a file: explorer's own output and exit
# code say nothing about the program it ran.
"$here/tools/wine-run.sh" explorer /desktop=timing,1280x1024 timing_harness.exe \
  "$(winpath "$work")" "$(winpath "$work/minimal_window.exe")" > "$out" 2>&1 || true
cat "$out"
