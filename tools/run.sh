#!/usr/bin/env bash
# Builds Sorvane.exe and starts it under Wine. With a display (DISPLAY set)
# the calendar opens there and this script waits until it is closed.
# Without one it starts on a virtual display, saves a screenshot after a few
# seconds, closes the program and prints where the picture is.
# The program keeps its settings (Sorvane.ini) and month files beside the
# executable, in build/win32/run/; the first start there gets the starter
# settings file the release zip ships.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
tools/setup.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Sorvane >/dev/null
run="$root/build/win32/run"
tools/prepare-run-folder.sh "$run" build/win32/src/Sorvane.exe
cd "$run"
export SORVANE_WINEPREFIX="$root/build/win32/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/tools/wine-run.sh" Sorvane.exe
fi

display=""
for n in $(seq 80 89); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
trap 'WINEPREFIX=$SORVANE_WINEPREFIX wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
"$root/tools/wine-run.sh" explorer /desktop=Sorvane,800x600 Sorvane.exe >/dev/null 2>&1 &
sleep 6
shot="$run/screenshot.png"
import -window root -crop 800x600+0+0 "$shot"
echo "No display: Sorvane ran on a virtual one. Screenshot: $shot"
