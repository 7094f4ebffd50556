#!/usr/bin/env bash
# tools/install-linux.sh in a temporary HOME: the desktop entry, icon and
# launcher are installed; the launcher starts the calendar (checked in a
# screenshot) in its own prefix; a second install keeps the user's settings;
# --uninstall removes what was installed and keeps settings and memos.
# Needs DISPLAY, like the other Wine tests.
# usage: install_linux.sh BUILD_DIR WORKDIR SOURCE_DIR
set -u
build=$1 work=$2 source=$3
rm -rf "$work" && mkdir -p "$work/home" && cd "$work" || exit 1
failures=0 checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); "$@"; }
[ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set"; exit 1; }
export HOME="$work/home"
unset XDG_DATA_HOME
app="$HOME/.local/share/sorvane"
entry="$HOME/.local/share/applications/sorvane.desktop"
trap 'WINEPREFIX="$app/wineprefix" wineserver -k >/dev/null 2>&1' EXIT

"$source/tools/install-linux.sh" --build "$build" > install.txt || fail "install"
check [ -x "$app/sorvane-launch" ] || fail "no launcher"
check [ -f "$app/Sorvane.exe" ] && [ -f "$app/sorvane-cal.exe" ] || fail "no programs"
check grep -q "^Exec=\"$app/sorvane-launch\"$" "$entry" || fail "the entry's Exec"
icon=$(sed -n 's/^Icon=//p' "$entry")
check [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG 32x32" ] || fail "the icon $icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
  check desktop-file-validate "$entry" || fail "desktop-file-validate"
fi

# What the menu runs: the Exec line, started as a desktop would.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
(eval "$exec_line" </dev/null >/dev/null 2>&1 &)
ok=1
for _ in $(seq 1 45); do
  sleep 2
  import -window root -crop 1024x768+0+0 +repage shot.png 2>/dev/null || continue
  convert shot.png -depth 8 ppm:shot.ppm 2>/dev/null || continue
  if python3 "$source/tests/package_shot_check.py" shot.ppm > check.txt; then ok=0; break; fi
done
check [ "$ok" -eq 0 ] || { cat check.txt; fail "the launcher does not show the calendar (see $work/shot.png)"; }
check [ -f "$app/wineprefix/system.reg" ] || fail "the prefix is not in the data folder"
WINEPREFIX="$app/wineprefix" wineserver -k >/dev/null 2>&1
WINEPREFIX="$app/wineprefix" wineserver -w >/dev/null 2>&1

# The user's own settings and a memo survive a reinstall and an uninstall.
printf '[Sorvane]\r\nWEEK=0\r\n' > "$app/Sorvane.ini"
printf '__#00#__\r\nmemo' > "$app/202612.dat"
"$source/tools/install-linux.sh" --build "$build" > /dev/null || fail "second install"
check [ "$(cat "$app/Sorvane.ini")" = $'[Sorvane]\r\nWEEK=0\r' ] || fail "a reinstall replaced the settings"
"$source/tools/install-linux.sh" --uninstall > uninstall.txt || fail "uninstall"
for gone in "$entry" "$icon" "$app/sorvane-launch" "$app/Sorvane.exe" "$app/sorvane-cal.exe" "$app/wineprefix"; do
  check [ ! -e "$gone" ] || fail "--uninstall left $gone"
done
check [ -f "$app/Sorvane.ini" ] && [ -f "$app/202612.dat" ] || fail "--uninstall removed settings or memos"
check grep -q "settings and memos stay" uninstall.txt || fail "--uninstall says where the memos stay"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
