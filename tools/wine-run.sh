#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private 32-bit prefix.
# CTest uses it as the cross-compiling emulator for the win32 build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${SORVANE_WINEPREFIX:-$here/build/win32/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: the program needs neither, and their installers would ask.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine takes its ANSI code page from the locale; 932 is the program's own.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
) 9>"$WINEPREFIX.lock"
# Keep the wine server up between test programs: each start is then quick.
wineserver -p >/dev/null 2>&1 || true
exec wine "$@"
