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
# A persistent server first, so that it (and the background services the
# first program starts) stays up between programs: each start is then quick.
wineserver -p </dev/null >/dev/null 2>&1 || true
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # The services wineboot leaves running must not inherit the lock.
    wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
  fi
  # Wine draws the minimise, maximise and close symbols of window frames
  # with the Marlett font. Debian's Wine finds fonts only in the prefix's
  # Fonts folder and through fontconfig, neither of which sees the copy
  # that fonts-wine keeps in Wine's data directory: without this the
  # buttons show the letters "0 1 r". Checked at every start, so that a
  # prefix made before the font was installed gets it too.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/marlett.ttf"
  fi
) 9>"$WINEPREFIX.lock"
exec wine "$@"
