#!/usr/bin/env bash
# Builds Cofferly for Windows on Debian 12 and tests it under Wine:
# - installs the cross compiler, Wine, Xvfb and the rest with apt-get;
# - builds a static Qt from Debian's own qt6-base source, once, into a cache outside the
#   clone (COFFERLY_CACHE, /var/cache/cofferly by default), and reuses it after;
# - cross-builds build/windows/Cofferly.exe, one file that needs no DLL beside it, and packs
#   it with its read-me as build/windows/Cofferly-windows.zip;
# - runs the Windows test suites under Wine on Xvfb with openbox.
# `windows.sh qt` stops once Qt is built; other arguments go to ctest (`windows.sh -R tst_cp932`).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${COFFERLY_CACHE:-/var/cache/cofferly}
build="$here/build/windows"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
jobs=${COFFERLY_JOBS:-$(nproc)}

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox fonts-noto-cjk zip
  cmake ninja-build perl python3 dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools
  xdotool xclip x11-utils x11-xserver-utils imagemagick librsvg2-bin)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    "${missing[@]}"
fi

# --- Qt for Windows, static -------------------------------------------------------------
qt_version=6.4.2
# Only what the program and its tests use; the bundled copies of the third-party libraries,
# since the Windows side has none of its own. Debian's source lacks wintab, hence no tablet
# events; DirectWrite 3 needs Direct2D, which is left out.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_icu=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_libpng=OFF
  -DFEATURE_system_libjpeg=OFF -DFEATURE_system_md4c=OFF -DFEATURE_zstd=OFF
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
qt_key=$( (echo "$qt_version ${qt_options[*]}"; cat "$toolchain") | sha256sum | cut -c1-10)
# QtCore and Qt's own toolchain file hold this path: a cache is used only where it was built.
qt_prefix="$cache/qt-$qt_version-mingw-static-$qt_key"

deb_src_present() {
  grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

add_deb_src() {
  # The machine's own Debian entries, as source entries.
  local list=/etc/apt/sources.list.d/cofferly-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' \
      /etc/apt/sources.list.d/debian.sources | "${sudo[@]}" tee "$list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    list=/etc/apt/sources.list.d/cofferly-deb-src.list
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list | "${sudo[@]}" tee "$list" >/dev/null
  fi
  [ -s "$list" ] || { echo "No Debian entry to derive a deb-src entry from" >&2; exit 1; }
  "${sudo[@]}" apt-get update
}

build_qt() {
  # One build folder, kept until Qt is installed: a build that failed or was cut off goes
  # on where it stopped, and changed options rebuild only what they touch.
  local src_root="$cache/src" qt_build="$cache/qt-build" started=$SECONDS
  "${sudo[@]}" mkdir -p "$cache"
  "${sudo[@]}" chown "$(id -u):$(id -g)" "$cache"
  mkdir -p "$src_root"
  local src
  src=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
  if [ -z "$src" ]; then
    deb_src_present || add_deb_src
    (cd "$src_root" && apt-get source qt6-base)
    src=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
    [ -n "$src" ] || { echo "Debian's qt6-base source is not $qt_version" >&2; exit 1; }
  fi
  echo "Building Qt $qt_version for Windows from $src into $qt_prefix"
  nice -n 19 cmake -S "$src" -B "$qt_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}"
  nice -n 19 cmake --build "$qt_build" --parallel "$jobs"
  nice -n 19 cmake --install "$qt_build"
  rm -rf "$qt_build"
  echo "Qt built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
  touch "$qt_prefix/.cofferly-complete"
}

[ -f "$qt_prefix/.cofferly-complete" ] || build_qt
echo "Qt for Windows: $qt_prefix"
[ "${1:-}" = qt ] && exit 0

# --- Cofferly.exe ----------------------------------------------------------------------
# Wine runs the test programs; QT_* variables reach a program under Wine only as WINEQT_*.
# The program refuses a folder under one that others may change, such as /tmp or a clone
# made under it: the Wine prefix (whose temporary folder the suites use) and the
# whole-program tests' folders live in the cache, on a path only root may change.
export WINEPREFIX="$cache/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tests_tmp="$cache/wine-tests"
mkdir -p -m 700 "$tests_tmp"
wine=$(command -v wine64 || command -v wine)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
nice -n 19 cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCOFFERLY_E2E_TMP="$tests_tmp" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="timeout;-k;10;600;$wine"
nice -n 19 cmake --build "$build" --parallel "$jobs"

exe="$build/Cofferly.exe"
# Only Windows' own DLLs may be imported: those Wine ships as its own, and the API sets
# (api-ms-win-*) that Windows 10 resolves to them.
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
  while read -r dll; do
    [ -e "$wine_dlls/${dll,,}" ] || [[ ${dll,,} == api-ms-win-* ]] || echo "$dll"
  done)
[ -z "$foreign" ] || { echo "Cofferly.exe needs DLLs Windows lacks: $foreign" >&2; exit 1; }
# Explorer, the taskbar and Properties read the exe's resource directory: the icon (type 3
# and its group, 14), the version information (16) and the manifest (24) must be there.
resources=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/Resource Directory section/,/^$/p')
for type in 3 14 16 24; do
  grep -qE "^[0-9a-f]+ {3}Entry: ID: 0x0*$(printf %x "$type"), " <<<"$resources" ||
    { echo "Cofferly.exe lacks resource type $type (icon, version or manifest)" >&2; exit 1; }
done

zip="$build/Cofferly-windows.zip"
rm -rf "$build/zip" "$zip"
mkdir -p "$build/zip"
cp "$exe" "$build/zip/Cofferly.exe"
# Notepad and every other Windows reader take UTF-8 with CR LF.
sed 's/$/\r/' "$here/packaging/windows/README.txt" >"$build/zip/README.txt"
(cd "$build/zip" && zip -q -X "$zip" Cofferly.exe README.txt)
echo "Built $exe ($(stat -c %s "$exe") bytes) and $zip ($(stat -c %s "$zip") bytes)"

# --- Tests under Wine -------------------------------------------------------------------
# A display of its own with a window manager: without one every hidden window costs Wine
# two seconds, and without any display a modal box would wait for ever.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$build/xvfb.display" \
  2>"$build/xvfb.log" &
xvfb=$!
openbox=
trap 'kill $openbox $xvfb 2>/dev/null; timeout 30 "$wineserver" -k || true' EXIT
for _ in $(seq 100); do [ -s "$build/xvfb.display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$build/xvfb.display")
openbox >"$build/openbox.log" 2>&1 &
openbox=$!

# The Wine prefix, made once.
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 "$wine" wineboot --init
timeout 120 "$wineserver" -w || true
# One test at a time: each whole-program test gives Wine a wineserver of its own.
ctest --test-dir "$build" --output-on-failure "$@"
