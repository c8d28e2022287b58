# libsodium for Windows, static, cross-built once from Debian's own libsodium source into a
# cache outside the clone and reused after, as Qt is. Sourced by windows.sh after qt.sh,
# which sets cache, toolchain, jobs and the deb-src helpers.
# shellcheck shell=bash disable=SC2154 # cache, toolchain and jobs come from windows.sh

sodium_version=1.0.18
# A static library only. No stack protector: it would need libssp beside the program.
sodium_options=(--host=x86_64-w64-mingw32 --disable-shared --enable-static --disable-ssp)
# The cross compiler is the one the toolchain file names, so the key follows that file too.
sodium_cc=$(sed -n 's/^set(CMAKE_C_COMPILER \(.*\))$/\1/p' "$toolchain")
sodium_key=$( (echo "$sodium_version ${sodium_options[*]}"; cat "$toolchain") | sha256sum |
  cut -c1-10)
sodium_prefix="$cache/libsodium-$sodium_version-mingw-static-$sodium_key"

# sodium_source: the folder of Debian's libsodium source under the cache, fetched if missing.
sodium_source() {
  local src_root="$cache/src" src
  mkdir -p "$src_root"
  src=$(find "$src_root" -maxdepth 1 -type d -name "libsodium-$sodium_version*" | head -n1)
  if [ -z "$src" ]; then
    deb_src_present || add_deb_src
    (cd "$src_root" && apt-get source libsodium) >&2
    src=$(find "$src_root" -maxdepth 1 -type d -name "libsodium-$sodium_version*" | head -n1)
    [ -n "$src" ] || fail "Debian's libsodium source is not $sodium_version"
  fi
  echo "$src"
}

build_sodium() {
  local sodium_build="$cache/libsodium-build" started=$SECONDS src
  [ -n "$sodium_cc" ] || fail "no C compiler named in $toolchain"
  "${as_root[@]}" mkdir -p "$cache"
  "${as_root[@]}" chown "$(id -u):$(id -g)" "$cache"
  src=$(sodium_source)
  echo "Building libsodium $sodium_version for Windows from $src into $sodium_prefix"
  # Debian's source comes without the generated configure script; its own build makes it
  # with autoreconf, and so does this one.
  if [ ! -x "$src/configure" ]; then
    (cd "$src" && autoreconf -fi >/dev/null 2>&1) || fail "autoreconf failed in $src"
  fi
  # Built outside the source folder, from scratch each time: it takes a minute or two.
  rm -rf "$sodium_build"
  mkdir -p "$sodium_build"
  (cd "$sodium_build" &&
    nice -n 19 "$src/configure" --prefix="$sodium_prefix" "${sodium_options[@]}" \
      CC="$sodium_cc" CFLAGS="-O2" >configure.log &&
    nice -n 19 make -j"$jobs" >make.log &&
    nice -n 19 make install >install.log) ||
    fail "libsodium did not build; see $sodium_build"
  rm -rf "$sodium_build"
  echo "libsodium built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
  touch "$sodium_prefix/.cofferly-complete"
}

# ensure_sodium: builds libsodium unless a complete build is in the cache.
ensure_sodium() {
  if [ ! -f "$sodium_prefix/.cofferly-complete" ]; then build_sodium; fi
  echo "libsodium for Windows: $sodium_prefix"
}
