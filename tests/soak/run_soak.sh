#!/usr/bin/env bash
# The soak under Wine: runs soak_driver inside a Wine virtual desktop for
# SECONDS seconds, then prints its result file (figures, problems, verdict).
# Needs DISPLAY. By hand, for an hour with another random sequence:
#   run_soak.sh DRIVER_EXE PROGRAM_EXE WORK_DIR WINE_RUN 3600 --seed=7
#
# usage: run_soak.sh DRIVER_EXE PROGRAM_EXE WORK_DIR WINE_RUN SECONDS [driver options]
set -u
[ $# -ge 5 ] || { echo "usage: $0 DRIVER_EXE PROGRAM_EXE WORK_DIR WINE_RUN SECONDS [driver options]"; exit 2; }
driver=$(realpath -m "$1") program=$(realpath -m "$2") work=$(realpath -m "$3")
wine_run=$4 seconds=$5
shift 5
[ -n "${DISPLAY:-}" ] || { echo "soak: DISPLAY is not set"; exit 1; }

rm -rf "$work" && mkdir -p "$work" || exit 1

# A Wine server of its own. After the end-to-end run the server can be left
# in a state where a new virtual desktop is never drawn and the calendar
# never shows its window; a fresh server starts from a clean slate. Its
# background services must not inherit CTest's output, hence /dev/null.
prefix=${SORVANE_WINEPREFIX:-$(cd "$(dirname "$wine_run")/.." && pwd)/build/win32/wineprefix}
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
"$wine_run" wineboot </dev/null >/dev/null 2>&1
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
result="$work/result.txt"

# Every wait inside the driver is bounded; this bounds the run.
timeout -k 10 $((seconds + 180)) "$wine_run" explorer /desktop=soak,1024x768 "$(winpath "$driver")" \
  --program="$(winpath "$program")" --work="$(winpath "$work")" --result="$(winpath "$result")" \
  --seconds="$seconds" "$@"
# A calendar of this run that still runs is ended here, by its process id.
for pid in $(ps -eo pid=,args= | SOAK_DIR="$(winpath "$work")\\" \
    awk 'index($0, ENVIRON["SOAK_DIR"]) && index($0, "SorvaneTestClock.exe") && !index($0, "--work=") { print $1 }'); do
  [ "$pid" != "$$" ] && kill "$pid" 2>/dev/null
done

if [ ! -s "$result" ]; then
  echo "soak: no result file ($result); the driver did not finish"
  exit 1
fi
tr -d '\r' <"$result" | sed 's/^/soak: /'
[ "$(tail -1 "$result" | tr -d '\r')" = "PASS" ]
