#!/usr/bin/env bash
# The end-to-end driver in a Wine prefix of its own whose screen has DPI
# dots per inch: Wine takes the DPI from the prefix's registry (the user's
# Control Panel\Desktop value first, the machine's font setting otherwise;
# both are set). The prefix is made on the first run and kept; its server is
# ended afterwards, so that it does not hold the display.
# usage: run_e2e_dpi.sh DPI PREFIX DRIVER_EXE PROGRAM_EXE SHOT_DIR WORK_DIR WINE_RUN [driver options]
set -u
[ $# -ge 7 ] || { echo "usage: $0 DPI PREFIX DRIVER_EXE PROGRAM_EXE SHOT_DIR WORK_DIR WINE_RUN [driver options]"; exit 2; }
dpi=$1 prefix=$(realpath -m "$2")
shift 2
wine_run=$5
export SORVANE_WINEPREFIX="$prefix"
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true' EXIT
"$wine_run" wineboot </dev/null >/dev/null 2>&1 || true
hex=$(printf '%x' "$dpi")
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "0x$hex" /f </dev/null >/dev/null 2>&1
"$wine_run" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
  /t REG_DWORD /d "0x$hex" /f </dev/null >/dev/null 2>&1
# The DPI is read when the server starts: a fresh one for the run.
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
"$wine_run" wineboot </dev/null >/dev/null 2>&1 || true
bash "$(dirname "$0")/run_e2e.sh" "$@"
