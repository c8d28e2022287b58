# Cofferly.exe and its zip, built against the static Qt of qt.sh and checked for what
# Windows needs from it. Sourced by windows.sh, which sets here, build, jobs, qt_prefix and
# sodium_prefix.
# shellcheck shell=bash disable=SC2154 # here, build, jobs, the prefixes and tests_tmp come from windows.sh

# build_program EMULATOR: configures and builds; EMULATOR runs the test programs.
build_program() {
  nice -n 19 cmake -S "$here" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCOFFERLY_E2E_TMP="$tests_tmp" \
    -DCOFFERLY_SODIUM_PREFIX="$sodium_prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="timeout;-k;10;600;$1"
  nice -n 19 cmake --build "$build" --parallel "$jobs"
}

# check_imports EXE: only Windows' own DLLs may be imported: those Wine ships as its own,
# and the API sets (api-ms-win-*) that Windows 10 resolves to them.
check_imports() {
  local wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows foreign
  foreign=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' |
    while read -r dll; do
      [ -e "$wine_dlls/${dll,,}" ] || [[ ${dll,,} == api-ms-win-* ]] || echo "$dll"
    done)
  [ -z "$foreign" ] || fail "$(basename "$1") needs DLLs Windows lacks: $foreign"
}

# check_resources EXE: Explorer, the taskbar and Properties read the exe's resource
# directory: the icon (type 3 and its group, 14), the version information (16) and the
# manifest (24) must be there.
check_resources() {
  local resources type
  resources=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n '/Resource Directory section/,/^$/p')
  for type in 3 14 16 24; do
    grep -qE "^[0-9a-f]+ {3}Entry: ID: 0x0*$(printf %x "$type"), " <<<"$resources" ||
      fail "$(basename "$1") lacks resource type $type (icon, version or manifest)"
  done
}

# pack_zip EXE ZIP: the exe and its read-me.
pack_zip() {
  local exe=$1 zip=$2
  rm -rf "$build/zip" "$zip"
  mkdir -p "$build/zip"
  cp "$exe" "$build/zip/Cofferly.exe"
  # Notepad and every other Windows reader take UTF-8 with CR LF.
  sed 's/$/\r/' "$here/packaging/windows/README.txt" >"$build/zip/README.txt"
  (cd "$build/zip" && zip -q -X "$zip" Cofferly.exe README.txt)
  echo "Built $exe ($(stat -c %s "$exe") bytes) and $zip ($(stat -c %s "$zip") bytes)"
}
