# Shared helpers for the whole-program tests: each test script sources this file with the
# path of the built program as its first argument.
#
# A test gets a directory of its own under /tmp holding a copy of the program (the data
# file lives beside the program), its own X server on a free display and openbox as the
# window manager. Everything it started is ended, and the directory is
# removed, when the script exits, whether it passed or not.
#
# With COFFERLY_WINE naming Wine, the program is Cofferly.exe run by Wine, with a
# wineserver of the test's own; the directory is then made under COFFERLY_E2E_TMP, since
# Windows knows no sticky folder like /tmp and refuses a folder under one.
# shellcheck shell=bash

set -euo pipefail
export LC_ALL=C.UTF-8

if [[ $# -lt 1 || ! -x $1 ]]; then
    echo "usage: $0 <path of the cofferly program>" >&2
    exit 2
fi

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

readonly MAIN_TITLE='ﾊﾟｽﾜｰﾄﾞ管理「ｺﾌｧﾘｰ」ver.0.40'
readonly SORT_TITLE='Cofferly データの並べ替え'
readonly TWIPS_PER_PIXEL=15

WORK=$(mktemp -d "${COFFERLY_E2E_TMP:-/tmp}/cofferly-e2e.XXXXXX")
APP_DIR=$WORK/app
DAT=$APP_DIR/Cofferly.Dat
BAK=$APP_DIR/Cofferly.bak
LOCK=$APP_DIR/Cofferly.lock
mkdir -p "$APP_DIR" "$WORK/home" "$WORK/runtime"
# The program refuses a folder others may write, whatever the umask of whoever runs this.
chmod 700 "$APP_DIR" "$WORK/runtime"
if [[ -n ${COFFERLY_WINE:-} ]]; then
    cp "$1" "$APP_DIR/Cofferly.exe"
    RUN=("$COFFERLY_WINE" ./Cofferly.exe)
    WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
    # The desktop process, which serves the clipboard, must be on this test's display.
    timeout 30 "$WINESERVER" -k 2>/dev/null || true
else
    cp "$1" "$APP_DIR/cofferly"
    RUN=(./cofferly)
fi
# Data files the scripts write are the owner's alone, as the program keeps them: it reports
# looser ones at start, in a message box of its own.
umask 077

# Keep the desktop session of whoever runs the tests out of the picture.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_CACHE_HOME=$WORK/home/.cache
export XDG_RUNTIME_DIR=$WORK/runtime
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM

APP_PID=
MAIN_WIN=
OTHER_PIDS=()
STEP=setup

cleanup() {
    local status=$?
    set +e
    if ((status != 0)); then
        echo "--- failed during: $STEP" >&2
        diagnostics >&2
    fi
    for pid in "$APP_PID" "${OTHER_PIDS[@]}"; do
        [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    stop_x
    [[ -z ${COFFERLY_WINE:-} ]] || timeout 30 "$WINESERVER" -k 2>/dev/null
    rm -rf "$WORK"
    exit "$status"
}
trap cleanup EXIT

diagnostics() {
    echo "--- program output:"
    cat "$WORK/app.log" 2>/dev/null
    for f in "$DAT" "$BAK"; do
        echo "--- $(basename "$f"):"
        if [[ -e $f ]]; then od -A d -c "$f" | head -40; else echo "(missing)"; fi
    done
    if [[ -n $WM_PID ]]; then
        echo "--- openbox ($(kill -0 "$WM_PID" 2>/dev/null && echo running || echo ended)):"
        cat "$WORK/openbox.log" 2>/dev/null
    fi
    if [[ -n ${DISPLAY:-} ]]; then
        echo "--- top-level windows:"
        xwininfo -root -children 2>/dev/null | grep -v '(has no name)' | head -20
        echo "--- root properties:"
        xprop -root 2>/dev/null | grep -E '^_NET_(CLIENT_LIST|ACTIVE_WINDOW|SUPPORTING)|^_OB_' | head -20
        local id
        for id in $(xwininfo -root -children 2>/dev/null | awk '$2 ~ /^"/ { print $1 }'); do
            echo "--- window $id:"
            xwininfo -id "$id" 2>/dev/null | grep -E 'Map State'
            xprop -id "$id" WM_STATE WM_NAME 2>/dev/null
        done
    fi
}

step() {
    STEP=$*
    echo "== [${SECONDS}s] $*"
}

# --- X server and window manager -------------------------------------------------------

start_x() {
    start_xvfb "$WORK" 1280x1024x24 -noreset
}

# start_desktop: the X server with openbox on it.
start_desktop() {
    start_x
    start_wm
}

start_wm() {
    mkdir -p "$WORK/openbox"
    cat >"$WORK/openbox/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <resistance><strength>0</strength><screen_edge_strength>0</screen_edge_strength></resistance>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <context name="Titlebar">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
  </mouse>
</openbox_config>
EOF
    start_openbox "$WORK" --sm-disable --config-file "$WORK/openbox/rc.xml"
}

# Binds every non-ASCII character of the given texts to a keycode of its own before the
# program starts. xdotool would otherwise rebind one spare keycode for each such character
# while typing, and the program reads the keyboard map at its own pace, so characters get
# lost or doubled.
prepare_typing() {
    local -A seen=()
    local text c i keycode=150 args=()
    for text in "$@"; do
        for ((i = 0; i < ${#text}; i++)); do
            c=${text:i:1}
            [[ $c == [[:ascii:]] || -n ${seen[$c]:-} ]] && continue
            seen[$c]=1
            ((keycode <= 200)) || fail "too many distinct characters to type"
            local sym
            sym=U$(printf '%04X' "'$c")
            args+=(-e "keycode $keycode = $sym $sym")
            keycode=$((keycode + 1))
        done
    done
    ((${#args[@]} == 0)) || xmodmap "${args[@]}"
}

# --- the program ------------------------------------------------------------------------

# find_window PID TITLE: the visible top-level window of PID whose name is exactly TITLE.
find_window() {
    local pid=$1 title=$2 id name
    for id in $(xdotool search --all --onlyvisible --pid "$pid" --name '.' 2>/dev/null); do
        name=$(xprop -id "$id" -notype _NET_WM_NAME 2>/dev/null) || continue
        if [[ $name == "_NET_WM_NAME = \"$title\"" ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# wait_window TITLE: waits for the program's window TITLE; sets FOUND_WIN.
wait_window() {
    local title=$1
    FOUND_WIN=
    local deadline=$((SECONDS + 30))
    until FOUND_WIN=$(find_window "$APP_PID" "$title"); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            local rc=0
            wait "$APP_PID" || rc=$?
            APP_PID=
            fail "the program ended with status $rc while waiting for \"$title\""
        fi
        ((SECONDS < deadline)) || fail "no window \"$title\" appeared"
        sleep 0.1
    done
}

window_gone() {
    ! find_window "$APP_PID" "$1" >/dev/null
}

start_app() {
    START_POSITION=
    if [[ -e $DAT ]]; then START_POSITION=$(head -n 1 "$DAT" | tr -d '\r'); fi
    (cd "$APP_DIR" && exec "${RUN[@]}") >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_window "$MAIN_TITLE"
    MAIN_WIN=$FOUND_WIN
    # Managed: openbox has put a frame around it and keyboard input goes to it.
    poll 30 frame_ready "$MAIN_WIN" || fail "the window manager did not frame the window"
    activate "$MAIN_WIN"
}

frame_ready() {
    [[ $(frame_of "$1") != "$1" ]] && xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='
}

activate() {
    timeout 20 xdotool windowactivate --sync "$1" >/dev/null ||
        fail "window $1 could not be activated"
}

app_ended() {
    ! kill -0 "$APP_PID" 2>/dev/null
}

# Waits for the program to end on its own and checks that it ended normally.
wait_app_end() {
    poll 30 app_ended || fail "the program did not end"
    local rc=0
    wait "$APP_PID" || rc=$?
    APP_PID=
    MAIN_WIN=
    ((rc == 0)) || fail "the program ended with status $rc"
}

# Closes the main window through the window manager (its Alt+F4 binding sends
# WM_DELETE_WINDOW), as a user would.
close_by_wm() {
    activate "$MAIN_WIN"
    xdotool key alt+F4
    wait_app_end
}

# A button's access key (Alt+letter) presses the button after a short animation, and a
# second press of the same key within it is merged into the first: wait for the effect of
# one before pressing the next.
keys() {
    xdotool key --delay 40 "$@"
}

type_text() {
    # Wine gives only a dozen or so added keys of its own, and reads a new map before
    # the keys that follow it: each text gets the keys it needs.
    [[ -z ${COFFERLY_WINE:-} ]] || prepare_typing "$1"
    xdotool type --delay 40 -- "$1"
}

# --- window geometry --------------------------------------------------------------------

# geometry WINDOW: "x y width height" of WINDOW (or of the screen for "root"), x and y on
# the screen; fails, printing nothing, when the window cannot be read.
geometry() {
    local what=(-id "$1") info g
    [[ $1 == root ]] && what=(-root)
    info=$(xwininfo "${what[@]}" 2>/dev/null) || return 1
    g=$(awk '/Absolute upper-left X:/ { x = $4 }
        /Absolute upper-left Y:/ { y = $4 } /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { print x, y, w, h }' <<<"$info")
    [[ $g =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]] || return 1
    echo "$g"
}

client_height() {
    local g _ h
    g=$(geometry "$1") || return 1
    read -r _ _ _ h <<<"$g"
    echo "$h"
}

# A window that cannot be read is neither this height nor another.
height_is() {
    local h
    h=$(client_height "$1") && [[ $h == "$2" ]]
}

height_is_not() {
    local h
    h=$(client_height "$1") && [[ $h != "$2" ]]
}

# wait_resize WINDOW HEIGHT: waits until WINDOW is no longer HEIGHT pixels high (the
# edit panel opening or closing).
wait_resize() {
    poll 15 height_is_not "$1" "$2" || fail "the window stayed $2 pixels high"
}

# frame_of WINDOW: the top-level window that holds WINDOW (its window-manager frame, or
# the window itself when it is unmanaged).
frame_of() {
    local win=$1 info parent root
    while :; do
        info=$(xwininfo -tree -id "$win") || return 1
        root=$(awk '/Root window id:/ { print $4 }' <<<"$info")
        parent=$(awk '/Parent window id:/ { print $4 }' <<<"$info")
        if [[ $parent == "$root" ]]; then
            echo "$win"
            return
        fi
        win=$parent
    done
}

# frame_extents WINDOW: "left right top bottom" as the window manager announced them.
frame_extents() {
    xprop -id "$1" -notype _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g'
}

# --- the data file ------------------------------------------------------------------------

# records TEXT...: quoted lines, CR LF, in code page 932 (four texts make one entry).
records() {
    local t
    for t in "$@"; do printf '"%s"\r\n' "$t"; done | iconv -f UTF-8 -t CP932
}

# data_file TEXT...: the bytes of a data file whose window stands at top 1500, left 3000
# twips, with the records TEXT.
data_file() {
    position_line 1500 3000
    records "$@"
}

# position_line TOP LEFT (twips)
position_line() {
    printf '%s,%s\r\n' "$1" "$2"
}

# The position record, without its line end, that the program must write for a window
# whose frame stands where it stands now. Under Wine, the window manager's frame is not the
# frame Windows counts from: a window that has not moved must write the position it
# started from, and the next file it writes shows whether it started there.
current_position() {
    if [[ -n ${COFFERLY_WINE:-} ]]; then
        echo "$START_POSITION"
        return
    fi
    local x y _
    read -r x y _ < <(geometry "$(frame_of "$MAIN_WIN")")
    echo "$((y * TWIPS_PER_PIXEL)),$((x * TWIPS_PER_PIXEL))"
}

same_bytes() {
    cmp -s "$1" "$2"
}

# expect_file FILE EXPECTED [SECONDS]: waits until FILE holds exactly the bytes of
# EXPECTED.
expect_file() {
    local file=$1 expected=$2 timeout=${3:-15}
    if ! poll "$timeout" same_bytes "$file" "$expected"; then
        echo "expected bytes of $(basename "$file"):" >&2
        od -A d -c "$expected" >&2
        fail "$(basename "$file") does not hold the expected bytes"
    fi
}

# --- the clipboard ------------------------------------------------------------------------

clipboard() {
    xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null
}

clipboard_is() {
    local got
    got=$(clipboard) || return 1
    [[ $got == "$1" ]]
}

# expect_clipboard TEXT: waits until the clipboard holds TEXT.
expect_clipboard() {
    if ! poll 15 clipboard_is "$1"; then
        fail "clipboard holds \"$(clipboard || true)\", expected \"$1\""
    fi
}

# --- window state ---------------------------------------------------------------------------

wm_state() {
    xprop -id "$1" -notype _NET_WM_STATE 2>/dev/null
}

is_above() {
    [[ $(wm_state "$1") == *_NET_WM_STATE_ABOVE* ]]
}

is_not_above() {
    local state
    state=$(wm_state "$1") || return 1
    [[ $state != *_NET_WM_STATE_ABOVE* ]]
}

# start_clipboard_manager: a clipboard manager as X11 desktops run one, which keeps the text
# of a program that ends owning the clipboard; its log is $WORK/manager.log.
start_clipboard_manager() {
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/clipboard_manager.py" >"$WORK/manager.log" 2>&1 &
    OTHER_PIDS+=($!)
    poll 10 grep -q ready "$WORK/manager.log" ||
        fail "the clipboard manager did not start: $(cat "$WORK/manager.log")"
}

# expect_strip_text yes|no: the clipboard strip (LbClipBoard) shows text, or shows none.
expect_strip_text() {
    poll 10 strip_shows "$1" || fail "the clipboard strip shows $STRIP_DARK dark pixels (text expected: $1)"
}

# LbClipBoard's area in the client area at 100 %: left 1905, top 1920, 2535 x 255 twips.
strip_shows() {
    local shot=$WORK/strip.png
    import -window "$MAIN_WIN" -crop 165x15+129+129 +repage "$shot" 2>/dev/null || return 1
    STRIP_DARK=$(convert "$shot" -colorspace Gray -threshold 50% -negate -format '%[fx:int(mean*w*h+0.5)]' info:)
    if [[ $1 == yes ]]; then ((STRIP_DARK > 0)); else ((STRIP_DARK == 0)); fi
}
