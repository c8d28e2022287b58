#!/usr/bin/env bash
# The lock on this computer: a start after the running copy was killed takes the lock it
# left over without a question; a second copy beside a running one says so and ends.
source "$(dirname "$0")/lib.sh"

data_file "ウェブ" "webid" "pw1" "" >"$DAT"

start_desktop
start_app

step "kill -9 leaves the lock behind"
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=
[[ -e $LOCK ]] || fail "no lock left behind"

step "the next start opens without a question"
start_app
find_window "$APP_PID" Cofferly >/dev/null && fail "a message box appeared"
first=$APP_PID

step "a second copy says that one is running, and ends"
(cd "$APP_DIR" && exec "${RUN[@]}") >>"$WORK/app.log" 2>&1 &
APP_PID=$!
OTHER_PIDS+=("$first")
wait_window Cofferly
activate "$FOUND_WIN"
keys Return
wait "$APP_PID" && fail "the second copy ended with status 0"
APP_PID=$first
MAIN_WIN=$(find_window "$APP_PID" "$MAIN_TITLE") || fail "the first copy's window is gone"
close_by_wm
[[ ! -e $LOCK ]] || fail "the lock was left behind"
