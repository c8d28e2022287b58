#!/usr/bin/env bash
# Alt+T keeps the window above other windows and a second Alt+T lets it go again, without
# moving or resizing it; the lamp beside the switch shows which it is. A new start is
# always a normal window.
source "$(dirname "$0")/lib.sh"

data_file "見出し" "id" "pw" "" >"$DAT"

start_desktop

# Another program's window over ours, to see which of the two the window manager stacks
# higher.
xev -geometry 300x200+150+80 -name cofferly-e2e-other >/dev/null 2>&1 &
OTHER_PIDS+=($!)
other_win=
find_other() {
    other_win=$(xdotool search --onlyvisible --name '^cofferly-e2e-other$' 2>/dev/null | head -n 1)
    [[ -n $other_win ]] && frame_ready "$other_win"
}
poll 30 find_other || fail "the other window did not open"

start_app
frame=$(frame_of "$MAIN_WIN")
frame_geometry=$(geometry "$frame")
client_geometry=$(geometry "$MAIN_WIN")
browsing_height=$(client_height "$MAIN_WIN")

# The lamp: a filled rectangle at left 5415, top 480, 270 x 135 twips; look at its middle.
lamp_x=$(((5415 + 270 / 2) / TWIPS_PER_PIXEL))
lamp_y=$(((480 + 135 / 2) / TWIPS_PER_PIXEL))
lamp_is() {
    local pixel
    pixel=$(import -window "$MAIN_WIN" -crop "1x1+$lamp_x+$lamp_y" -depth 8 txt:- 2>/dev/null | tail -n 1)
    [[ $pixel == *"($1)"* ]]
}
expect_lamp() {
    poll 15 lamp_is "$1" ||
        fail "the lamp shows $(import -window "$MAIN_WIN" -crop "1x1+$lamp_x+$lamp_y" -depth 8 txt:- | tail -n 1), not ($1)"
}

unmoved() {
    [[ $(geometry "$frame") == "$frame_geometry" && $(geometry "$MAIN_WIN") == "$client_geometry" ]] ||
        fail "$1: the window moved or changed size: frame $(geometry "$frame") (was $frame_geometry), client $(geometry "$MAIN_WIN") (was $client_geometry)"
}

# stacked_above A B: A comes after B in the window manager's bottom-to-top stacking list.
stacked_above() {
    local list a b i=0 pos_a=-1 pos_b=-1 id
    list=$(xprop -root -notype _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g')
    a=$(printf '0x%x' "$1")
    b=$(printf '0x%x' "$2")
    for id in $list; do
        [[ $((id)) == $((a)) ]] && pos_a=$i
        [[ $((id)) == $((b)) ]] && pos_b=$i
        i=$((i + 1))
    done
    ((pos_a >= 0 && pos_b >= 0 && pos_a > pos_b))
}

# toggle_top ABOVE-CHECK LAMP WHAT: Alt+T, after which ABOVE-CHECK holds and the lamp shows
# LAMP, with the window where it was; then the other window is activated, and the window
# manager stacks the two as ABOVE-CHECK says.
toggle_top() {
    local check=$1 lamp=$2 what=$3
    activate "$MAIN_WIN"
    keys alt+t
    poll 15 "$check" "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after $what"
    expect_lamp "$lamp"
    unmoved "$what"
    activate "$other_win"
    if [[ $check == is_above ]]; then
        poll 15 stacked_above "$MAIN_WIN" "$other_win" || fail "the other window was raised above ours"
    else
        poll 15 stacked_above "$other_win" "$MAIN_WIN" || fail "the other window cannot be raised above ours"
    fi
    unmoved "raising the other window"
}

step "a normal window at start"
is_not_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") at start"
expect_lamp "128,128,0"

step "Alt+T: kept on top, not moved"
toggle_top is_above "255,255,0" "Alt+T"

step "a save and reload while on top: still on top, not moved"
activate "$MAIN_WIN"
keys alt+e
wait_resize "$MAIN_WIN" "$browsing_height"
keys Return
# The unchanged entry writes nothing, but the commit still reads the file back and
# applies its position; the panel closes once that is done.
poll 15 height_is "$MAIN_WIN" "$browsing_height" || fail "the edit panel stayed open"
is_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after the reload"
unmoved "the reload"

step "Alt+T again: a normal window, not moved"
toggle_top is_not_above "128,128,0" "the second Alt+T"

step "closed while on top, started again: a normal window"
activate "$MAIN_WIN"
keys alt+t
poll 15 is_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after Alt+T"
close_by_wm
start_app
is_not_above "$MAIN_WIN" || fail "_NET_WM_STATE is $(wm_state "$MAIN_WIN") after a new start"
expect_lamp "128,128,0"
[[ $(geometry "$(frame_of "$MAIN_WIN")") == "$frame_geometry" ]] ||
    fail "the new start opened at $(geometry "$(frame_of "$MAIN_WIN")"), not $frame_geometry"
echo PASS
