# Qt for Windows, static, built once from Debian's own qt6-base source into a cache outside
# the clone and reused after. Sourced by windows.sh, which sets cache, toolchain and jobs.
# shellcheck shell=bash disable=SC2154 # cache, toolchain and jobs come from windows.sh

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
# The cache's name: any change to the version, the options or the toolchain file means a
# new build.
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
      /etc/apt/sources.list.d/debian.sources | "${as_root[@]}" tee "$list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    list=/etc/apt/sources.list.d/cofferly-deb-src.list
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list | "${as_root[@]}" tee "$list" >/dev/null
  fi
  [ -s "$list" ] || fail "No Debian entry to derive a deb-src entry from"
  "${as_root[@]}" apt-get update
}

# qt_source: the folder of Debian's qt6-base source under the cache, fetched if missing.
qt_source() {
  local src_root="$cache/src" src
  mkdir -p "$src_root"
  src=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
  if [ -z "$src" ]; then
    deb_src_present || add_deb_src
    (cd "$src_root" && apt-get source qt6-base) >&2
    src=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
    [ -n "$src" ] || fail "Debian's qt6-base source is not $qt_version"
  fi
  echo "$src"
}

build_qt() {
  # One build folder, kept until Qt is installed: a build that failed or was cut off goes
  # on where it stopped, and changed options rebuild only what they touch.
  local qt_build="$cache/qt-build" started=$SECONDS src
  "${as_root[@]}" mkdir -p "$cache"
  "${as_root[@]}" chown "$(id -u):$(id -g)" "$cache"
  src=$(qt_source)
  echo "Building Qt $qt_version for Windows from $src into $qt_prefix"
  nice -n 19 cmake -S "$src" -B "$qt_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}"
  nice -n 19 cmake --build "$qt_build" --parallel "$jobs"
  nice -n 19 cmake --install "$qt_build"
  rm -rf "$qt_build"
  echo "Qt built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
  touch "$qt_prefix/.cofferly-complete"
}

# ensure_qt: builds Qt unless a complete build is in the cache.
ensure_qt() {
  # Not `|| build_qt`: a function run as part of a list ignores set -e.
  if [ ! -f "$qt_prefix/.cofferly-complete" ]; then build_qt; fi
  echo "Qt for Windows: $qt_prefix"
}
