#!/usr/bin/env bash
# Installs everything both targets and their tests need on a Debian 12 machine.
# Safe to run again: every step first checks whether its work is already done.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

PACKAGES=(
  cmake ninja-build g++ clang
  # libFuzzer and the sanitizers' runtimes for clang (tests/fuzz).
  libclang-rt-14-dev
  g++-mingw-w64-i686 mingw-w64-tools
  wine wine32 xvfb xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic
  # Wine's own fonts; tools/wine-run.sh puts their Marlett into each prefix.
  fonts-wine
  googletest libgtest-dev libbenchmark-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs nasm dpkg-dev
  # The iCalendar export is checked with a real parser.
  python3-icalendar
  # The lunar calendar is checked against an independent ephemeris.
  python3-ephem
)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# wine32 only exists once the i386 architecture is known to dpkg.
need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

# libjpeg for MinGW is built from Debian's source package, which needs deb-src.
SRC_LIST=/etc/apt/sources.list.d/sorvane-deb-src.sources
if [ ! -f "$SRC_LIST" ]; then
  $SUDO tee "$SRC_LIST" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

missing=$(missing_packages)
if [ -n "$missing" ] || [ "$need_update" -eq 1 ]; then
  # Other configured repositories may be out of reach; Debian's own are enough.
  $SUDO apt-get update -q || true
fi
missing=$(missing_packages)
if [ -n "$missing" ]; then
  echo "setup: installing $(echo $missing | tr '\n' ' ')"
  # shellcheck disable=SC2086
  $SUDO apt-get install -y -q --no-install-recommends $missing
fi

# Wine follows the Unix locale for its ANSI code page; the tests run with ja_JP.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi

# Static libjpeg for the i686 MinGW target, built once into a cache outside the tree.
JPEG_PREFIX="${SORVANE_CACHE:-/var/cache/sorvane}/libjpeg-mingw-i686"
if [ ! -f "$JPEG_PREFIX/lib/libjpeg.a" ]; then
  here=$(cd "$(dirname "$0")/.." && pwd)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source --download-only -q libjpeg-turbo >/dev/null)
  (cd "$work" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF >/dev/null
  cmake --build "$work/build" >/dev/null
  $SUDO mkdir -p "$JPEG_PREFIX"
  $SUDO cmake --install "$work/build" >/dev/null
  echo "setup: built libjpeg for MinGW into $JPEG_PREFIX"
fi

# Node and npm fetch the official holiday list the holiday law is tested
# against. A machine that already has npm (from any source) keeps it.
if ! command -v npm >/dev/null 2>&1; then
  $SUDO apt-get install -y -q --no-install-recommends nodejs npm
fi

# The list itself, as test data only, into a cache outside the tree.
HOLIDAY_DATA="${SORVANE_CACHE:-/var/cache/sorvane}/holiday-data"
if [ ! -f "$HOLIDAY_DATA/node_modules/@holiday-jp/holiday_jp/lib/holidays.js" ]; then
  $SUDO mkdir -p "$HOLIDAY_DATA"
  $SUDO npm install --prefix "$HOLIDAY_DATA" --no-save --no-audit --no-fund \
    @holiday-jp/holiday_jp@2.5.1 >/dev/null
  echo "setup: fetched the official holiday list into $HOLIDAY_DATA"
fi

# libjpeg for the fuzz targets: the same source, built with clang and the
# fuzz instrumentation (without SIMD, whose assembly no sanitizer sees), so
# that libFuzzer's coverage and the sanitizers reach into the decoder.
FUZZ_JPEG_PREFIX="${SORVANE_CACHE:-/var/cache/sorvane}/libjpeg-fuzz"
if [ ! -f "$FUZZ_JPEG_PREFIX/lib/libjpeg.a" ]; then
  fuzz_work=$(mktemp -d)
  (cd "$fuzz_work" && apt-get source --download-only -q libjpeg-turbo >/dev/null)
  (cd "$fuzz_work" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  fuzz_flags="-g -O1 -fsanitize=fuzzer-no-link,address,undefined"
  CC=clang cmake -S "$fuzz_work/src" -B "$fuzz_work/build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="$fuzz_flags" -DCMAKE_INSTALL_PREFIX="$FUZZ_JPEG_PREFIX" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
    -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF >/dev/null
  cmake --build "$fuzz_work/build" --target jpeg-static >/dev/null
  $SUDO mkdir -p "$FUZZ_JPEG_PREFIX/lib" "$FUZZ_JPEG_PREFIX/include"
  $SUDO cp "$fuzz_work/build/libjpeg.a" "$FUZZ_JPEG_PREFIX/lib/"
  $SUDO cp "$fuzz_work/src/jpeglib.h" "$fuzz_work/src/jmorecfg.h" "$fuzz_work/src/jerror.h" \
    "$fuzz_work/build/jconfig.h" "$FUZZ_JPEG_PREFIX/include/"
  rm -rf "$fuzz_work"
  echo "setup: built libjpeg for the fuzz targets into $FUZZ_JPEG_PREFIX"
fi
echo "setup: done"
