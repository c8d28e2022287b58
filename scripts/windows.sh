#!/usr/bin/env bash
# Builds Cofferly for Windows on Debian 12 and tests it under Wine:
# - installs the cross compiler, Wine, Xvfb and the rest with apt-get;
# - builds a static Qt from Debian's own qt6-base source, once, into a cache outside the
#   clone (COFFERLY_CACHE, /var/cache/cofferly by default), and reuses it after
#   (windows/qt.sh); libsodium likewise from Debian's libsodium source (windows/libsodium.sh);
# - cross-builds build/windows/Cofferly.exe, one file that needs no DLL beside it, and packs
#   it with its read-me as build/windows/Cofferly-windows.zip (windows/program.sh);
# - runs the Windows test suites under Wine on Xvfb with openbox (windows/wine_tests.sh).
# `windows.sh qt` stops once Qt and libsodium are built; other arguments go to ctest
# (`windows.sh -R tst_cp932`).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${COFFERLY_CACHE:-/var/cache/cofferly}
build="$here/build/windows"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
jobs=${COFFERLY_JOBS:-$(nproc)}
# shellcheck source=scripts/lib.sh
source "$here/scripts/lib.sh"
# shellcheck source=scripts/windows/qt.sh
source "$here/scripts/windows/qt.sh"
# shellcheck source=scripts/windows/libsodium.sh
source "$here/scripts/windows/libsodium.sh"
# shellcheck source=scripts/windows/program.sh
source "$here/scripts/windows/program.sh"
# shellcheck source=scripts/windows/wine_tests.sh
source "$here/scripts/windows/wine_tests.sh"

install_packages g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox fonts-noto-cjk zip \
  make autoconf automake libtool cmake ninja-build perl python3 dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools \
  xdotool xclip x11-utils x11-xserver-utils imagemagick librsvg2-bin

ensure_qt
ensure_sodium
[ "${1:-}" = qt ] && exit 0

wine_environment
build_program "$wine"
check_imports "$build/Cofferly.exe"
check_resources "$build/Cofferly.exe"
pack_zip "$build/Cofferly.exe" "$build/Cofferly-windows.zip"

run_wine_tests "$@"
