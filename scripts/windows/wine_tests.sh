# The Windows test suites under Wine, on an X server of their own with openbox. Sourced by
# windows.sh, which sets cache and build.
# shellcheck shell=bash disable=SC2154 # cache and build come from windows.sh

# wine_environment: Wine for the test programs. QT_* variables reach a program under Wine
# only as WINEQT_*. The program refuses a folder under one that others may change, such as
# /tmp or a clone made under it: the Wine prefix (whose temporary folder the suites use) and
# the whole-program tests' folders live in the cache, on a path only root may change.
wine_environment() {
  export WINEPREFIX="$cache/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  tests_tmp="$cache/wine-tests"
  mkdir -p "$tests_tmp"
  chmod 700 "$tests_tmp"
  wine=$(command -v wine64 || command -v wine)
  wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
}

stop_wine_display() {
  stop_x
  timeout 30 "$wineserver" -k || true
}

# run_wine_tests CTEST-ARGUMENT...
run_wine_tests() {
  # A display of its own with a window manager: without one every hidden window costs Wine
  # two seconds, and without any display a modal box would wait for ever.
  trap stop_wine_display EXIT
  start_xvfb "$build"
  start_openbox "$build"
  # The Wine prefix, made once.
  [ -f "$WINEPREFIX/system.reg" ] || timeout 300 "$wine" wineboot --init
  timeout 120 "$wineserver" -w || true
  # One test at a time: each whole-program test gives Wine a wineserver of its own.
  ctest --test-dir "$build" --output-on-failure "$@"
}
