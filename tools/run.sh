#!/usr/bin/env bash
# Builds the program and shows the current month. For now this is the
# command-line tool, built for Windows and run under Wine, reading the
# settings and month files beside it (build/win32/src).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target sorvane-cal >/dev/null
exec tools/wine-run.sh build/win32/src/sorvane-cal.exe show "$(date +%Y)" "$(date +%-m)" "$@"
