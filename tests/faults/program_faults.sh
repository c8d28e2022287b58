#!/usr/bin/env bash
# The built program against a full disk, a directory it may not write, a data file that
# is a directory or a pipe, a second instance, locks left by a killed one, by a power cut
# or by another computer, leftovers of an interrupted save and a data file gone beside its
# backup. Each case starts the
# real program under Xvfb and openbox, answers its message box with the keyboard and
# checks the exit code and the bytes of both files. (What the message says is checked by
# tst_window_faults, through the same code; a box's text cannot be read from outside.)
#
# usage: program_faults.sh PATH-OF-COFFERLY
set -euo pipefail
export LC_ALL=C.UTF-8
program=${1:?usage: $0 PATH-OF-COFFERLY}
source "$(dirname "$0")/../../scripts/lib.sh"

work=$(mktemp -d /tmp/cofferly-faults.XXXXXX)
chmod 755 "$work" # a case runs the program as another user
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 777 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
pids=()
case_name=setup

cleanup() {
    local status=$?
    set +e # a killed helper's wait status must not become the script's
    if ((status != 0)); then
        echo "FAIL in case: $case_name" >&2
        for f in "$work"/*.log; do [[ -s $f ]] && { echo "--- $f"; cat "$f"; } >&2; done
    fi
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    stop_x
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

# --- X server with a window manager, open to every local user --------------------------
start_xvfb "$work" 1280x1024x24 -ac
start_openbox "$work"

# --- helpers ------------------------------------------------------------------------------
# A data file of 30 entries, about 3 KB, written the way the program writes it.
data_file() {
    data_file_utf8 | iconv -f UTF-8 -t CP932
}
data_file_utf8() {
    printf '1500,3000\r\n'
    local i
    for ((i = 1; i <= 30; i++)); do
        printf '"項目 %d"\r\n"user-%d"\r\n"pw-%d-秘密"\r\n"https://example.jp/%d"\r\n' \
            "$i" "$i" "$i" "$i"
    done
}

# new_app NAME: a program directory holding the program and the data file above.
new_app() {
    app=$work/$1
    mkdir -p "$app"
    chmod 755 "$app" # one others may write is refused, whatever the umask here
    cp "$program" "$app/cofferly"
    data_file >"$app/Cofferly.Dat"
    chmod 600 "$app/Cofferly.Dat" # as the program keeps it: a looser one is reported at start
    cp "$app/Cofferly.Dat" "$work/expected.Dat"
}

# start [COMMAND-PREFIX...]: starts the program in $app, as the prefix says.
start() {
    "$@" "$app/cofferly" >"$work/$case_name.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
}

find_window() { # PATTERN: the first window whose name matches, in $win
    win=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [[ -n $win ]]
}

main_window() {
    poll 30 find_window 'ver\.0\.40' || fail "no main window"
    xdotool windowactivate --sync "$win"
}

window_height() {
    xwininfo -id "$win" 2>/dev/null | awk '/^ *Height:/ { print $2 }'
}

height_changed_from() {
    local h
    h=$(window_height) && [[ -n $h && $h != "$1" ]]
}

# message_box [KEY]: waits for the box titled "Cofferly" and answers it with KEY (Enter).
message_box() {
    poll 30 find_window '^Cofferly$' || fail "no message box"
    xdotool windowactivate --sync "$win"
    xdotool key --clearmodifiers "${1:-Return}"
}

# close_main: Alt+F4 to the main window, made active first: under load a key sent while the
# window manager still had the focus elsewhere was lost, and no close began.
close_main() {
    main_window
    xdotool key --clearmodifiers alt+F4
}

# ended_with CODE: the program has ended with CODE.
ended_with() {
    local code=0
    poll 30 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "program still running"
    wait "$app_pid" || code=$?
    ((code == $1)) || fail "exit code $code, expected $1"
}

unchanged() { # the data file as it was, no backup unless given, nothing else new
    cmp -s "$app/Cofferly.Dat" "$work/expected.Dat" || fail "data file changed"
    [[ ! -e $app/Cofferly.bak ]] || fail "a backup was written"
    local extra
    local listing
    listing=$(ls -A "$app") || fail "cannot list $app"
    extra=$(grep -v -x -e cofferly -e Cofferly.Dat -e Cofferly.lock <<<"$listing" || true)
    [[ -z $extra ]] || fail "files left: $extra"
}

case_start() {
    case_name=$1
    echo "== $1"
}

# moved_main: moves the main window, so that the close has a new position to save (a close
# that would write the same bytes writes nothing).
at_200() { xdotool getwindowgeometry "$win" 2>/dev/null | grep -q 'Position: 2[0-9][0-9],'; }
moved_main() {
    xdotool windowmove "$win" 200 200
    poll 15 at_200 || fail "the window did not move"
}

# --- cases --------------------------------------------------------------------------------
case_start "full disk: closing"
new_app full-close
start bash -c 'ulimit -f 1; exec "$0"' # files may not grow past 1 KB
main_window
moved_main
close_main
message_box
ended_with 1
unchanged

case_start "full disk: an edit committed"
new_app full-edit
start bash -c 'ulimit -f 1; exec "$0"'
main_window
browsing=$(window_height)
xdotool key --clearmodifiers alt+e
poll 15 height_changed_from "$browsing" || fail "Alt+E did not open the edit panel"
xdotool type --delay 20 'changed'
xdotool key --clearmodifiers Return
message_box
# The program goes on, with the edit panel open and what was typed; Esc goes back.
main_window
[[ $(window_height) != "$browsing" ]] || fail "the edit panel closed after the failed save"
xdotool key --clearmodifiers Escape
poll 15 bash -c "[[ \$(xwininfo -id $win | awk '/^ *Height:/ { print \$2 }') == $browsing ]]" ||
    fail "Esc did not close the edit panel"
close_main
ended_with 0
unchanged

# Root writes anywhere, so as root the program runs as nobody, in a directory of nobody's
# (a directory of another user's it would refuse before trying to write).
as_other=()
read_only() {
    if (($(id -u) == 0)); then
        chown -R nobody:nogroup "$app"
        as_other=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    chmod 555 "$app"
}

# The lock cannot be written: the start is refused, as a second copy could start too.
case_start "directory not writable: the lock"
new_app read-only
read_only
start "${as_other[@]}"
message_box
ended_with 1
unchanged

case_start "directory not writable: first start"
new_app read-only-first
rm "$app/Cofferly.Dat"
read_only
start "${as_other[@]}"
message_box
ended_with 1
[[ ! -e $app/Cofferly.Dat ]] || fail "a data file was written"
chmod 755 "$app"

case_start "data file is a directory"
new_app dat-directory
rm "$app/Cofferly.Dat" && mkdir "$app/Cofferly.Dat"
start
message_box
ended_with 1
[[ -d $app/Cofferly.Dat && ! -e $app/Cofferly.bak ]] || fail "files changed"

case_start "second instance"
new_app second
start
first_pid=$app_pid
main_window
cp "$app/Cofferly.Dat" "$work/before.Dat"
stat -c '%Y.%y' "$app/Cofferly.Dat" >"$work/before.stat"
start
message_box
ended_with 1
cmp -s "$app/Cofferly.Dat" "$work/before.Dat" || fail "second instance wrote"
[[ $(stat -c '%Y.%y' "$app/Cofferly.Dat") == "$(cat "$work/before.stat")" ]] ||
    fail "second instance touched the data file"
[[ ! -e $app/Cofferly.bak ]] || fail "second instance wrote a backup"
app_pid=$first_pid
close_main
ended_with 0
[[ ! -e $app/Cofferly.bak ]] || fail "closing with no entry changed made a backup"
[[ $(tail -c +12 "$app/Cofferly.Dat") == "$(tail -c +12 "$work/expected.Dat")" ]] ||
    fail "entries changed on closing"

# starts_without_a_word: the program starts with no message box and removes its lock when
# it closes.
starts_without_a_word() {
    start
    main_window
    find_window '^Cofferly$' && fail "a message box appeared"
    close_main
    ended_with 0
    [[ ! -e $app/Cofferly.lock ]] || fail "the lock was left behind"
}

case_start "lock left by a killed instance"
new_app stale
start
main_window
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
[[ -e $app/Cofferly.lock ]] || fail "no lock left behind"
starts_without_a_word
cmp -s "$app/Cofferly.Dat" "$work/expected.Dat" || fail "closing changed the data file"

# A lock that no process can hold any more: empty (a power cut while it was written) or
# garbled. The program starts without a word and removes it when it closes.
for lock in empty garbled; do
    case_start "$lock lock file"
    new_app "lock-$lock"
    if [[ $lock == empty ]]; then
        : >"$app/Cofferly.lock"
    else
        printf 'x\x01\xff\n' >"$app/Cofferly.lock"
    fi
    starts_without_a_word
done

# A lock of another computer (a program folder on a shared disk) may be held there: the
# user is asked. No ends without touching anything; Yes starts.
case_start "lock of another host, No"
new_app lock-host-no
printf '4242\ncofferly\nanother-host-%s\n' "$RANDOM" >"$app/Cofferly.lock"
cp "$app/Cofferly.lock" "$work/lock.before"
start
message_box # Enter: No is the default
ended_with 1
cmp -s "$app/Cofferly.lock" "$work/lock.before" || fail "the other host's lock changed"
unchanged

case_start "lock of another host, Yes"
new_app lock-host-yes
printf '4242\ncofferly\nanother-host-%s\n' "$RANDOM" >"$app/Cofferly.lock"
start
message_box alt+y
close_main
ended_with 0
[[ ! -e $app/Cofferly.lock ]] || fail "the lock was left behind"

# A pipe in the data file's place would block a plain open for ever: the program reports
# it at once and writes nothing.
case_start "data file is a pipe"
new_app fifo
rm "$app/Cofferly.Dat" && mkfifo "$app/Cofferly.Dat"
start
message_box
ended_with 1
[[ -p $app/Cofferly.Dat && ! -e $app/Cofferly.bak ]] || fail "files changed"

# Temporaries of a save cut off by a kill hold passwords: the next start removes them,
# and nothing else.
case_start "leftovers of an interrupted save"
new_app leftovers
cp "$app/Cofferly.Dat" "$app/Cofferly.Dat.a1B2c3"
cp "$app/Cofferly.Dat" "$app/Cofferly.bak.Zz9Yy8"
echo keep >"$app/Cofferly.Dat.keep"
start
main_window
[[ ! -e $app/Cofferly.Dat.a1B2c3 && ! -e $app/Cofferly.bak.Zz9Yy8 ]] || fail "leftovers stayed"
[[ -e $app/Cofferly.Dat.keep ]] || fail "a file of another name was removed"
close_main
ended_with 0

# The data file gone, its backup there: the user decides. No ends without writing; Yes
# brings the backup back.
case_start "missing data file beside a backup, No"
new_app restore-no
mv "$app/Cofferly.Dat" "$app/Cofferly.bak"
start
message_box alt+n
ended_with 1
[[ ! -e $app/Cofferly.Dat ]] || fail "a data file was written"
cmp -s "$app/Cofferly.bak" "$work/expected.Dat" || fail "the backup changed"

case_start "missing data file beside a backup, Yes"
new_app restore-yes
mv "$app/Cofferly.Dat" "$app/Cofferly.bak"
start
message_box # Enter: Yes is the default
main_window
cmp -s "$app/Cofferly.Dat" "$work/expected.Dat" || fail "the backup was not restored"
close_main
ended_with 0
cmp -s "$app/Cofferly.Dat" "$work/expected.Dat" || fail "closing changed the data file"

echo "all program fault cases passed"
