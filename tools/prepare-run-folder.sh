#!/usr/bin/env bash
# Puts Sorvane.exe into the folder it runs from, and, when the folder has no
# settings file yet, the starter Sorvane.ini that the release zip ships: a new
# user sees the same first calendar (title, weekday names, frames, memos,
# holidays by today's law) however the program was obtained. A settings file
# already there is the user's and is left as it is.
# usage: prepare-run-folder.sh FOLDER PROGRAM_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$1
program=$2
mkdir -p "$folder"
cp "$program" "$folder/Sorvane.exe"
if [ ! -e "$folder/Sorvane.ini" ]; then
  cp "$here/package/Sorvane.ini" "$folder/Sorvane.ini"
fi
