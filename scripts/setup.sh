#!/usr/bin/env bash
# Installs the Debian packages Cofferly needs: `setup.sh run` for building and running it,
# `setup.sh test` for the test suite as well, `setup.sh bench` for the benchmark (bench/run.sh).
# Only missing packages are installed.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

run_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n
  libsodium-dev libgl-dev fonts-noto-cjk xdg-utils)
test_packages=(xvfb xauth xdotool xclip openbox x11-utils x11-xserver-utils imagemagick clang
  libclang-rt-14-dev
  # setfacl: a folder whose default access list hands new files to another user
  acl
  # GNOME's compositor, headless, as a Wayland session with Xwayland; its software renderer
  mutter xwayland qt6-wayland dbus-daemon wmctrl libgl1-mesa-dri
  # a clipboard manager of the tests' own (tests/e2e/clipboard_manager.py)
  python3-xlib)
bench_packages=(xvfb xauth strace libxcb-damage0-dev)

wanted=("${run_packages[@]}")
[ "${1:-run}" = test ] && wanted+=("${test_packages[@]}")
[ "${1:-run}" = bench ] && wanted+=("${bench_packages[@]}")

install_packages "${wanted[@]}"
