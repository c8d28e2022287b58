#!/usr/bin/env bash
# In a Wayland session (GNOME's compositor, mutter, with Xwayland), started as the session
# starts programs: WAYLAND_DISPLAY and DISPLAY set, QT_QPA_PLATFORM not. The window must be
# an X11 window, opened at the stored position, and TOP must keep it above others and let
# it go again. Where the user asks for Wayland, or no X display exists, it runs as a
# Wayland client.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/mutter.sh"

{
    position_line 4500 6000
    records "見出し" "id" "pw" ""
} >"$DAT"
start_mutter 1

step "the session's environment"
[[ -n ${WAYLAND_DISPLAY:-} && -n ${DISPLAY:-} && -z ${QT_QPA_PLATFORM+set} ]] ||
    fail "not a Wayland session's environment"

step "an X11 window at the stored position"
# start_app finds the program's window among the X server's windows.
start_app
expect_at 400 300 "start"

step "Alt+T keeps it above other windows, a second Alt+T lets it go"
keys alt+t
poll 15 is_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after Alt+T"
expect_at 400 300 "Alt+T"
keys alt+t
poll 15 is_not_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after a second Alt+T"

step "closed: the position is stored"
close_by_mutter
expect_stored 4500,6000

# start_wayland_client [ENV ARGUMENTS]: starts the program with the environment changed
# as env(1) is told, logging its Wayland requests, and waits until it has made its window
# a Wayland toplevel.
wayland_toplevel() {
    app_ended && fail "the program ended: $(tail -5 "$WORK/app.log")"
    grep -q 'xdg_toplevel@[0-9]*\.set_title' "$WORK/app.log"
}
start_wayland_client() {
    : >"$WORK/app.log"
    (cd "$APP_DIR" && exec env "$@" WAYLAND_DEBUG=client ./cofferly) >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    poll 30 wayland_toplevel || fail "no Wayland window appeared"
}

stop_app() {
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

step "QT_QPA_PLATFORM=wayland, set by the user, wins"
start_wayland_client QT_QPA_PLATFORM=wayland
! find_window "$APP_PID" "$MAIN_TITLE" >/dev/null || fail "the program opened an X11 window"
stop_app

step "no X display: a Wayland client that keeps running"
start_wayland_client -u DISPLAY -u XAUTHORITY
# mutter configured the window and the program answered.
poll 15 grep -q 'xdg_surface@[0-9]*\.ack_configure' "$WORK/app.log" ||
    fail "the window was never configured"
app_ended && fail "the program ended"
stop_app
echo PASS
