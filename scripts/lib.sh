# Shell helpers for the build scripts and the whole-program tests, sourced: package
# installs, waiting with a time limit, and an X server of one's own with openbox on it.
# shellcheck shell=bash

# --- failing and waiting -----------------------------------------------------------------

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# poll SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds; returns
# 1 when it has not succeeded within SECONDS.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# wait_for SECONDS MESSAGE COMMAND...: poll, ending the script with MESSAGE on a timeout
# (a message that should describe the state at that moment needs `poll ... || fail`).
wait_for() {
  local seconds=$1 message=$2
  shift 2
  poll "$seconds" "$@" || fail "$message"
}

# --- Debian packages ---------------------------------------------------------------------

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt_updated=

# apt_update: the package lists, read once per script (clear apt_updated after a change
# to the sources).
apt_update() {
  [ -z "$apt_updated" ] || return 0
  "${as_root[@]}" apt-get update
  apt_updated=1
}

# install_packages PACKAGE...: installs those of PACKAGE that are not installed yet.
install_packages() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  apt_update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y \
    --no-install-recommends "${missing[@]}"
}

# --- an X server of one's own ------------------------------------------------------------

XVFB_PID=
WM_PID=

xvfb_ready_or_gone() {
  grep -q '[0-9]' "$1" || ! kill -0 "$XVFB_PID" 2>/dev/null
}

# start_xvfb DIR [SIZE [XVFB-OPTION...]]: Xvfb on a free display, SIZE 1280x1024x24 unless
# given, its log in DIR/xvfb.log; exports DISPLAY once it accepts clients, fails otherwise.
start_xvfb() {
  # Displays from 100 up, away from the ones people start by hand; a number another
  # server holds makes Xvfb exit at once, and the next one is tried. Xvfb writes the
  # number to the given descriptor once it accepts clients.
  local dir=$1 size=${2:-1280x1024x24} n tries
  shift $(($# < 2 ? $# : 2))
  n=$((100 + RANDOM % 400))
  for ((tries = 0; tries < 40; tries++, n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    : >"$dir/display"
    Xvfb ":$n" -displayfd 3 -screen 0 "$size" -nolisten tcp "$@" \
      3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    poll 30 xvfb_ready_or_gone "$dir/display" || fail "Xvfb did not start: $(cat "$dir/xvfb.log")"
    if grep -q '[0-9]' "$dir/display"; then
      export DISPLAY=:$n
      echo "X server on $DISPLAY"
      return
    fi
    wait "$XVFB_PID" || true
    XVFB_PID=
    grep -q 'already active' "$dir/xvfb.log" || fail "Xvfb ended: $(cat "$dir/xvfb.log")"
  done
  fail "no free X display"
}

wm_running() {
  local check
  check=$(xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
  [[ $check == *"window id # 0x"* ]]
}

probe_framed() {
  local id
  id=$(xdotool search --name '^cofferly-wm-probe$' 2>/dev/null | head -n 1)
  [[ -n $id ]] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='
}

# wm_manages_windows: openbox announces itself before it handles map requests, and one
# that comes in the meantime is dropped, leaving that window unmapped for good (seen on a
# loaded machine). A probe window that gets its frame shows it is ready.
wm_manages_windows() {
  local try probe
  for ((try = 0; try < 10; try++)); do
    xev -geometry 20x20+0+0 -name cofferly-wm-probe >/dev/null 2>&1 &
    probe=$!
    if poll 3 probe_framed; then
      { kill "$probe" && wait "$probe"; } 2>/dev/null || true
      return 0
    fi
    { kill "$probe" && wait "$probe"; } 2>/dev/null || true
    echo "the window manager did not frame a probe window yet; trying again"
  done
  return 1
}

# start_openbox DIR [OPENBOX-OPTION...]: openbox on $DISPLAY, its log in DIR/openbox.log;
# returns once it frames new windows, fails otherwise.
start_openbox() {
  local dir=$1
  shift
  openbox "$@" >"$dir/openbox.log" 2>&1 &
  WM_PID=$!
  poll 30 wm_running || fail "openbox did not start: $(cat "$dir/openbox.log")"
  wm_manages_windows || fail "openbox does not manage new windows"
}

# stop_x: ends openbox and the X server, if started.
stop_x() {
  local pid
  for pid in "$WM_PID" "$XVFB_PID"; do
    [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  WM_PID='' XVFB_PID=''
  return 0
}
