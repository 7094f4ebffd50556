#!/usr/bin/env bash
# Makes the release package dist/Sorvane-<version>.zip: Sorvane.exe,
# sorvane-cal.exe, a starter Sorvane.ini and a read-me in Japanese and
# English. The same commit gives the same zip, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Sorvane sorvane-cal >/dev/null
version=$(sed -n 's/^project(Sorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
python3 tools/package/make_zip.py build/win32 "dist/Sorvane-$version.zip" "$version" i686-w64-mingw32-strip
