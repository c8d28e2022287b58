#!/usr/bin/env bash
# The built program keeps what it holds to its owner: it runs with the file-creation mask
# 077 (or a stricter one the user has) and a core limit of zero, so its data file and lock
# are the owner's alone; and it refuses, writing nothing, a folder that others may write
# or whose data file, backup or lock is another user's (or a link to one), and starts once
# that is mended; a folder of the user's that others may write is made private after
# はい. No plugin of a refused folder is loaded, and a program file others may write, or a
# folder whose name is not UTF-8, is refused.
source "$(dirname "$0")/lib.sh"

start_desktop

# status_field NAME: the value of NAME in the running program's /proc status.
status_field() {
    awk -v name="$1:" '$1 == name { print $2 }' "/proc/$APP_PID/status"
}

# The soft and hard core limits of the running program, in bytes.
core_limits() {
    awk '/^Max core file size/ { print $5, $6 }' "/proc/$APP_PID/limits"
}

mode_of() {
    stat -c '%a' "$1"
}

# A start that must be refused: the message box titled "Cofferly" comes up, Enter ends
# the program with status 1, and the folder holds exactly what it held before.
expect_refused() {
    local before after rc=0
    before=$(cd "$APP_DIR" && ls -A --full-time)
    (cd "$APP_DIR" && exec ./cofferly) >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_window Cofferly
    activate "$FOUND_WIN"
    xdotool key Return
    poll 30 app_ended || fail "the program did not end after its refusal"
    wait "$APP_PID" || rc=$?
    APP_PID=
    ((rc == 1)) || fail "a refused start ended with status $rc, not 1"
    after=$(cd "$APP_DIR" && ls -A --full-time)
    [[ $after == "$before" ]] || fail "the refused start changed the folder:
$before
---
$after"
}

step "a first start with the usual mask: the program's files are the owner's alone"
chmod 700 "$APP_DIR"
umask 022
start_app
[[ $(status_field Umask) == 0077 ]] || fail "the program runs with the mask $(status_field Umask)"
[[ $(core_limits) == "0 0" ]] || fail "the core limits are $(core_limits)"
[[ $(mode_of "$DAT") == 600 ]] || fail "the new data file has mode $(mode_of "$DAT")"
[[ $(mode_of "$LOCK") == 600 ]] || fail "the lock file has mode $(mode_of "$LOCK")"
if (($(id -u) != 0)); then
    # A process that may not be dumped has its /proc entry owned by root.
    [[ $(stat -c '%u' "/proc/$APP_PID") == 0 ]] || fail "the program can be dumped or traced"
fi
# An added entry is a change: the data file goes to the backup.
browsing=$(client_height "$MAIN_WIN")
keys alt+a
wait_resize "$MAIN_WIN" "$browsing"
type_text "x"
keys Return
poll 15 test -e "$BAK" || fail "adding an entry made no backup"
close_by_wm
[[ $(mode_of "$BAK") == 600 ]] || fail "the backup has mode $(mode_of "$BAK")"
cp "$DAT" "$WORK/expected.Dat"

step "a stricter mask of the user's is kept"
umask 0227
start_app
[[ $(status_field Umask) == 0277 ]] || fail "the program runs with the mask $(status_field Umask)"
close_by_wm
umask 022
cp "$DAT" "$WORK/expected.Dat"

step "a folder the group may write: refused, nothing written"
chmod 770 "$APP_DIR"
expect_refused
[[ ! -e $LOCK ]] || fail "the refused start left a lock"
expect_file "$DAT" "$WORK/expected.Dat" 1

step "a folder of mode 0777: refused, nothing written"
chmod 777 "$APP_DIR"
expect_refused
[[ ! -e $LOCK ]] || fail "the refused start left a lock"
expect_file "$DAT" "$WORK/expected.Dat" 1

step "plugins and a qt.conf in a refused folder: none of them is loaded"
# The GNOME desktop's theme and an input method, as another user could put them there,
# and a qt.conf beside the program that sends Qt to a folder of plugins elsewhere.
for kind in platformthemes platforminputcontexts; do
    mkdir -p "$APP_DIR/$kind" "$WORK/plugins/$kind"
done
for folder in "$APP_DIR" "$WORK/plugins"; do
    cp "$COFFERLY_MARKER_PLUGINS/libtheme_marker.so" "$folder/platformthemes/libgtk3.so"
    cp "$COFFERLY_MARKER_PLUGINS/libinput_marker.so" "$folder/platforminputcontexts/libmark.so"
done
printf '[Paths]\nPlugins=%s\n' "$WORK/plugins" >"$APP_DIR/qt.conf"
export XDG_CURRENT_DESKTOP=GNOME QT_IM_MODULE=cofferlymark COFFERLY_PLUGIN_MARK=$WORK/mark
expect_refused
[[ ! -e $WORK/mark ]] || fail "plugins were loaded before the refusal: $(tr '\n' ' ' <"$WORK/mark")"
unset XDG_CURRENT_DESKTOP QT_IM_MODULE COFFERLY_PLUGIN_MARK
rm -r "$APP_DIR/platformthemes" "$APP_DIR/platforminputcontexts" "$APP_DIR/qt.conf"

step "a folder of mode 0777 made private with はい: starts"
(cd "$APP_DIR" && exec ./cofferly) >>"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_window Cofferly
activate "$FOUND_WIN"
xdotool key alt+y
wait_window "$MAIN_TITLE"
MAIN_WIN=$FOUND_WIN
[[ $(mode_of "$APP_DIR") == 755 ]] || fail "the folder has mode $(mode_of "$APP_DIR") after はい"
close_by_wm
cp "$DAT" "$WORK/expected.Dat"

step "a program file others may write: refused"
chmod 777 "$APP_DIR/cofferly"
expect_refused
chmod 755 "$APP_DIR/cofferly"

step "a folder whose name is not UTF-8: refused, nothing written"
odd=$WORK/$'caf\xe9'
mkdir -m 700 "$odd"
cp "$APP_DIR/cofferly" "$odd/"
saved_dir=$APP_DIR
APP_DIR=$odd
expect_refused
[[ -z $(ls -A "$odd" | grep -v '^cofferly$') ]] || fail "the refused start wrote into $odd"
APP_DIR=$saved_dir

step "a folder only others may write: refused"
chmod 707 "$APP_DIR"
expect_refused

step "mended with chmod go-w: starts"
chmod go-w "$APP_DIR"
start_app
close_by_wm
cp "$DAT" "$WORK/expected.Dat"

step "another user's file beside the program's own: starts"
if (($(id -u) == 0)); then
    echo "not mine" >"$APP_DIR/README"
    chown nobody "$APP_DIR/README"
else
    ln -s /etc/passwd "$APP_DIR/README"
fi
start_app
close_by_wm
cp "$DAT" "$WORK/expected.Dat"

step "the backup a link to another user's file: refused, nothing written there"
mkdir -p "$WORK/other"
echo "alias ls='ls --color'" >"$WORK/other/.bashrc"
cp "$WORK/other/.bashrc" "$WORK/bashrc.before"
if (($(id -u) == 0)); then
    chown -R nobody "$WORK/other"
    ln -sf "$WORK/other/.bashrc" "$BAK"
else
    ln -sf /etc/passwd "$BAK"
fi
expect_refused
expect_file "$DAT" "$WORK/expected.Dat" 1
expect_file "$WORK/other/.bashrc" "$WORK/bashrc.before" 1

step "the link removed: starts"
rm "$BAK"
start_app
close_by_wm
echo PASS
