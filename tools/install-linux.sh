#!/usr/bin/env bash
# Installs Sorvane for the current user on Linux: the programs and their
# files in the user's data folder ($XDG_DATA_HOME/sorvane, by default
# ~/.local/share/sorvane), a Wine prefix of their own there, a launcher, an
# icon and a desktop entry, so that the calendar starts from the desktop's
# menu. Settings and memos stay in that folder.
#
#   tools/install-linux.sh               build (win32 preset) and install
#   tools/install-linux.sh --build DIR   install from a win32 build tree
#   tools/install-linux.sh --uninstall   remove the entry, icon, launcher,
#                                        programs and prefix; keep the
#                                        settings and memos
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
app="$data_home/sorvane"
entry="$data_home/applications/sorvane.desktop"
icon="$data_home/icons/hicolor/32x32/apps/sorvane.png"
launcher="$app/sorvane-launch"

refresh_menus() {
  if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$data_home/applications" >/dev/null 2>&1 || true
  fi
}

if [ "${1:-}" = "--uninstall" ]; then
  if [ -d "$app/wineprefix" ]; then
    WINEPREFIX="$app/wineprefix" wineserver -k >/dev/null 2>&1 || true
  fi
  rm -f "$entry" "$icon" "$launcher" "$app/Sorvane.exe" "$app/sorvane-cal.exe" "$app/wineprefix.lock"
  rm -rf "$app/wineprefix"
  refresh_menus
  if [ -d "$app" ] && [ -n "$(ls -A "$app")" ]; then
    echo "Sorvane is uninstalled. Your settings and memos stay in $app"
  else
    rmdir "$app" 2>/dev/null || true
    echo "Sorvane is uninstalled."
  fi
  exit 0
fi

build=""
if [ "${1:-}" = "--build" ]; then
  build=$(cd "${2:?--build needs a directory}" && pwd)
else
  (cd "$here" && tools/setup.sh >/dev/null && cmake --preset win32 >/dev/null &&
    cmake --build --preset win32 --target Sorvane sorvane-cal >/dev/null)
  build="$here/build/win32"
fi
for file in src/Sorvane.exe src/sorvane-cal.exe src/resources/cal_icon.ico; do
  [ -f "$build/$file" ] || { echo "install-linux: $build/$file is missing" >&2; exit 1; }
done

mkdir -p "$app" "$(dirname "$entry")" "$(dirname "$icon")"
cp "$build/src/Sorvane.exe" "$build/src/sorvane-cal.exe" "$app/"
# The starter settings only on the first install: later ones keep the user's.
if [ ! -e "$app/Sorvane.ini" ]; then
  sed 's/\r*$/\r/' "$here/tools/package/Sorvane.ini" > "$app/Sorvane.ini"
fi
convert "$build/src/resources/cal_icon.ico[0]" "$icon"

# The launcher starts the program in its folder, in the prefix beside it,
# with the Japanese locale (Wine's code page 932).
cat > "$launcher" <<LAUNCH
#!/bin/sh
export WINEPREFIX="$app/wineprefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
cd "$app" || exit 1
# A new prefix is made whole before the first start, with the Marlett font
# of Debian's fonts-wine for the window frame's buttons.
if [ ! -f "\$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
fonts="\$WINEPREFIX/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "\$fonts" ] && [ ! -f "\$fonts/marlett.ttf" ]; then
  cp /usr/share/wine/fonts/marlett.ttf "\$fonts/"
fi
exec wine Sorvane.exe "\$@"
LAUNCH
chmod 755 "$launcher"

cat > "$entry" <<ENTRY
[Desktop Entry]
Type=Application
Name=Sorvane
Name[ja]=Sorvane カレンダー
Comment=Desktop calendar with day and month memos
Comment[ja]=日ごとと月ごとのメモを書けるデスクトップカレンダー
Exec="$launcher"
Path=$app
Icon=$icon
Terminal=false
Categories=Office;Calendar;
StartupWMClass=sorvane.exe
ENTRY
refresh_menus
echo "Sorvane is installed: $entry starts $launcher"
