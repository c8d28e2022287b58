#!/usr/bin/env bash
# Two monitors side by side under GNOME's compositor (mutter, Wayland session, Xwayland),
# the left one primary. A position on the right-hand monitor is kept at start-up and
# through a commit, which saves and reloads the file, and the close stores where the
# window stands. Positions that would put the title bar off every screen open at 0,0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/mutter.sh"

start_mutter 2
read -r _ _ screens_w screens_h < <(geometry root)
((screens_w == 2560 && screens_h == 1024)) || fail "the screens span ${screens_w}x$screens_h"

moved_from() {
    local at
    at=$(client_origin "$MAIN_WIN") && [[ $at != "$1 $2" ]]
}

entry=("見出し" "id-1" "pw-2" "https://example.jp/")
store_position() {
    {
        printf '%s\r\n' "$1"
        records "${entry[@]}"
    } >"$DAT"
}

step "stored on the right-hand monitor: kept at start-up"
store_position 4500,22500
start_app
expect_at 1500 300 "start"

step "a commit (Alt+E, Enter) saves, reloads and leaves the window in place"
browsing=$(client_height "$MAIN_WIN")
keys alt+e
wait_resize "$MAIN_WIN" "$browsing"
keys Return
poll 15 height_is "$MAIN_WIN" "$browsing" || fail "the edit panel stayed open"
expect_stored 4500,22500
expect_at 1500 300 "the commit"

step "moved further right on that monitor, committed again: still there"
xdotool windowmove "$MAIN_WIN" 1900 500
poll 15 moved_from 1500 300 || fail "mutter did not move the window"
read -r x y < <(client_origin "$MAIN_WIN")
echo "mutter moved the window to $x $y"
((x > 1280)) || fail "mutter put the window at $x $y, off the right-hand monitor"
activate "$MAIN_WIN"
keys alt+e
wait_resize "$MAIN_WIN" "$browsing"
keys Return
poll 15 height_is "$MAIN_WIN" "$browsing" || fail "the edit panel stayed open"
expect_stored "$((y * TWIPS_PER_PIXEL)),$((x * TWIPS_PER_PIXEL))"
expect_at "$x" "$y" "the second commit"

step "closed: the position on the right-hand monitor is stored"
close_by_mutter
expect_stored "$((y * TWIPS_PER_PIXEL)),$((x * TWIPS_PER_PIXEL))"

step "started again there"
start_app
expect_at "$x" "$y" "the new start"
close_by_mutter

# Top,left in twips: far left and above; right of the right-hand monitor; below both;
# and the title bar's middle just past the right-hand monitor's right edge.
for stored in -15000,-15000 3000,38400 15360,3000 3000,$(((2560 - 100) * TWIPS_PER_PIXEL)); do
    step "stored at $stored, off every screen: opens at 0,0 and stores 0,0"
    store_position "$stored"
    start_app
    expect_at 0 0 "start"
    close_by_mutter
    expect_stored 0,0
done
echo PASS
