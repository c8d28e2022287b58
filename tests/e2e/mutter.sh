# Whole-program tests under GNOME's compositor, mutter, running headless as a Wayland
# session with Xwayland. Sourced after lib.sh by the scripts that need it, instead of
# start_x and start_wm.
#
# mutter runs inside a D-Bus session of its own and uses the test's own XDG_RUNTIME_DIR;
# the program and the tools then see what a program started in that session would see:
# WAYLAND_DISPLAY, and DISPLAY and XAUTHORITY of its Xwayland.

MUTTER_PID=

stop_mutter() {
    if [[ -n $MUTTER_PID ]]; then
        kill "$MUTTER_PID" 2>/dev/null
        # The D-Bus session ends with it; wait for both.
        poll 15 mutter_gone || kill -9 "$MUTTER_PID" 2>/dev/null
        MUTTER_PID=
    fi
    [[ -n ${MUTTER_SESSION_PID:-} ]] && wait "$MUTTER_SESSION_PID" 2>/dev/null
    MUTTER_SESSION_PID=
}

mutter_gone() {
    ! kill -0 "$MUTTER_PID" 2>/dev/null
}

# Runs before lib.sh's cleanup, which then ends the program and removes the directory.
mutter_cleanup() {
    local status=$?
    set +e
    if ((status != 0)); then
        echo "--- mutter:" >&2
        grep -v -e '^$' "$WORK/mutter.log" 2>/dev/null | tail -20 >&2
    fi
    if [[ -n $APP_PID ]]; then
        kill "$APP_PID" 2>/dev/null && wait "$APP_PID" 2>/dev/null
        APP_PID=
    fi
    stop_mutter
    (exit "$status")
    cleanup
}
trap mutter_cleanup EXIT

# Xwayland puts its socket in /tmp/.X11-unix, and mutter refuses a directory there that
# is not writable by all: one that mutter itself made under a umask of 022 (which then
# makes it fail at the next start). Make it as X servers make it.
x11_socket_directory() {
    local dir=/tmp/.X11-unix
    [[ -d $dir ]] || mkdir -m 1777 "$dir" 2>/dev/null || [[ -d $dir ]] ||
        fail "$dir cannot be made"
    if [[ $(stat -c %a "$dir") != 1777 ]]; then
        [[ -O $dir ]] || fail "$dir is $(stat -c '%a %U' "$dir"): mutter cannot start Xwayland"
        chmod 1777 "$dir"
    fi
}

mutter_x_display() {
    grep -o 'Using public X11 display :[0-9]*' "$WORK/mutter.log" | grep -o ':[0-9]*$'
}

mutter_ready() {
    kill -0 "$MUTTER_PID" 2>/dev/null || fail "mutter ended: $(tail -5 "$WORK/mutter.log")"
    [[ -S $XDG_RUNTIME_DIR/wayland-0 || -S $XDG_RUNTIME_DIR/wayland-1 ]] &&
        [[ -n $(mutter_x_display) ]] &&
        compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" >/dev/null
}

# start_mutter MONITORS: mutter with MONITORS virtual monitors of 1280x1024 side by side,
# the first one primary. Exports the session's WAYLAND_DISPLAY, DISPLAY and XAUTHORITY.
start_mutter() {
    local monitors=() i
    for ((i = 0; i < $1; i++)); do monitors+=(--virtual-monitor 1280x1024); done
    x11_socket_directory
    unset DISPLAY WAYLAND_DISPLAY XAUTHORITY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP
    dbus-run-session -- bash -c 'mutter --wayland --headless "$@" & echo $! >"$0"; wait $!' \
        "$WORK/mutter.pid" "${monitors[@]}" >"$WORK/mutter.log" 2>&1 &
    MUTTER_SESSION_PID=$!
    poll 30 test -s "$WORK/mutter.pid" || fail "mutter did not start: $(cat "$WORK/mutter.log")"
    MUTTER_PID=$(cat "$WORK/mutter.pid")
    poll 60 mutter_ready || fail "mutter started no Wayland and X display: $(tail -5 "$WORK/mutter.log")"
    local socket
    for socket in "$XDG_RUNTIME_DIR"/wayland-*; do
        [[ -S $socket ]] && export WAYLAND_DISPLAY=${socket##*/} && break
    done
    DISPLAY=$(mutter_x_display)
    XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n 1)
    export DISPLAY XAUTHORITY
    # What the login manager tells the programs of a GNOME session on Wayland; Qt reads
    # the session type when it chooses its platform.
    export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_DESKTOP=gnome
    # Xwayland accepts clients once mutter manages its screen.
    poll 60 wm_running || fail "Xwayland on $DISPLAY did not come up: $(tail -5 "$WORK/mutter.log")"
    echo "mutter: $WAYLAND_DISPLAY, X display $DISPLAY, $1 monitor(s)"
}

# client_origin WINDOW: "x y" of the top-left corner of WINDOW's frame as the window
# manager announces it (_NET_FRAME_EXTENTS), which is what the program stores; mutter's
# frame window itself reaches a pixel further out, for its invisible borders.
client_origin() {
    local g ext cx cy el et
    g=$(geometry "$1") && ext=$(frame_extents "$1") || return 1
    read -r cx cy _ <<<"$g"
    read -r el _ et _ <<<"$ext"
    [[ -n $el && -n $et ]] || return 1
    echo "$((cx - el)) $((cy - et))"
}

window_at() {
    local at
    at=$(client_origin "$MAIN_WIN") && [[ $at == "$1 $2" ]]
}

# expect_at X Y WHAT: the window stands (or comes to stand) at X,Y in pixels.
expect_at() {
    poll 15 window_at "$1" "$2" ||
        fail "$3: the window stands at $(client_origin "$MAIN_WIN" || echo '(unreadable)'), not at $1 $2"
}

# close_by_mutter: closes the window as its close button would (WM_DELETE_WINDOW).
close_by_mutter() {
    wmctrl -i -c "$MAIN_WIN" || fail "wmctrl could not close the window"
    wait_app_end
}

# expect_stored TOP,LEFT: the data file's position record (twips).
expect_stored() {
    local line
    line=$(head -n 1 "$DAT" | tr -d '\r')
    [[ $line == "$1" ]] || fail "the data file stores the position $line, not $1"
}
