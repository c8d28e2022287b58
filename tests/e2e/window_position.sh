#!/usr/bin/env bash
# Under a real window manager: the window is moved, closed through the window manager and
# started again, ten times. Each start must open the window's frame exactly where the
# previous run closed it (no creeping by the title bar), each close must record that
# place, and the two saves at closing leave the backup equal to the data file. A first
# start records where the window opened; a stored place beyond the screen opens at 0,0.
source "$(dirname "$0")/lib.sh"

start_desktop

frame_at() {
    local x y _
    read -r x y _ < <(geometry "$(frame_of "$MAIN_WIN")")
    [[ $x == "$1" && $y == "$2" ]]
}

# check_start X Y: the frame opened at X,Y and the client sits inside it by the extents
# the window manager announced.
check_start() {
    local fx fy fw fh el er et eb cx cy cw ch
    read -r fx fy fw fh < <(geometry "$(frame_of "$MAIN_WIN")")
    [[ $fx == "$1" && $fy == "$2" ]] ||
        fail "the frame opened at $fx,$fy, not at $1,$2"
    read -r el er et eb < <(frame_extents "$MAIN_WIN")
    read -r cx cy cw ch < <(geometry "$MAIN_WIN")
    [[ $cx == $((fx + el)) && $cy == $((fy + et)) && $fw == $((cw + el + er)) && $fh == $((ch + et + eb)) ]] ||
        fail "client $cx,$cy ${cw}x$ch does not fit frame $fx,$fy ${fw}x$fh with extents $el,$er,$et,$eb"
}

# close_and_check X Y TEXT...: closes through the window manager; the data file must then
# hold the position X,Y (pixels) and the given entry texts; moving the window changes no
# entry, so no backup is ever made.
close_and_check() {
    local x=$1 y=$2
    shift 2
    close_by_wm
    [[ ! -e $LOCK ]] || fail "the lock file was left behind"
    {
        position_line $((y * TWIPS_PER_PIXEL)) $((x * TWIPS_PER_PIXEL))
        records "$@"
    } >"$WORK/expected.Dat"
    expect_file "$DAT" "$WORK/expected.Dat"
    [[ ! -e $BAK ]] || fail "a moved window made a backup"
}

step "first start without a data file: the default file records where the window opened"
start_app
poll 15 test -e "$DAT" || fail "no data file was created"
read -r x y _ < <(geometry "$(frame_of "$MAIN_WIN")")
check_start "$x" "$y"
{
    position_line $((y * TWIPS_PER_PIXEL)) $((x * TWIPS_PER_PIXEL))
    records "新規グループ" "" "" ""
} >"$WORK/default.Dat"
expect_file "$DAT" "$WORK/default.Dat"
[[ ! -e $BAK ]] || fail "the first start wrote a backup"
entry=("新規グループ" "" "" "")

# Frame positions to move to, in pixels (x y); the frame stays on the screen.
targets=("123 456" "0 0" "641 333" "7 901" "1001 13" "250 250" "899 700" "1 2" "512 511" "300 100")
for ((run = 1; run <= ${#targets[@]}; run++)); do
    if ((run > 1)); then
        step "run $run: start"
        cp "$DAT" "$WORK/start.Dat"
        start_app
        [[ -e $LOCK ]] || fail "no lock file while the program runs"
        check_start "$x" "$y"
        same_bytes "$DAT" "$WORK/start.Dat" || fail "starting changed the data file"
    fi

    read -r fx fy fw _ < <(geometry "$(frame_of "$MAIN_WIN")")
    read -r _ _ et _ < <(frame_extents "$MAIN_WIN")
    read -r x y <<<"${targets[run - 1]}"
    if ((run % 2)); then
        step "run $run: move the frame to $x,$y by a configure request; close with Alt+F4"
        # openbox places the frame where the client asks to be.
        xdotool windowmove "$MAIN_WIN" "$x" "$y"
    else
        step "run $run: drag the title bar to put the frame at $x,$y; close with Alt+F4"
        # openbox moves the frame itself and tells the client where it now is. On a busy
        # machine it may take the press after the first motion and start the drag late:
        # the drag is tried again from where the frame then stands.
        grab_x=$((fw / 2)) grab_y=$((et / 2))
        for attempt in 1 2 3; do
            xdotool mousemove --sync $((fx + grab_x)) $((fy + grab_y)) mousedown 1
            xdotool mousemove --sync $(((fx + x) / 2 + grab_x)) $(((fy + y) / 2 + grab_y))
            xdotool mousemove --sync $((x + grab_x)) $((y + grab_y)) mouseup 1
            poll 5 frame_at "$x" "$y" && break
            echo "drag $attempt left the frame at $(geometry "$(frame_of "$MAIN_WIN")")"
            read -r fx fy _ < <(geometry "$(frame_of "$MAIN_WIN")")
        done
    fi
    poll 15 frame_at "$x" "$y" || fail "openbox did not move the window"
    close_and_check "$x" "$y" "${entry[@]}"
done

read -r _ _ screen_w screen_h < <(geometry root)
for stored in "$((screen_h * TWIPS_PER_PIXEL + 1)),3000" "1500,$((screen_w * TWIPS_PER_PIXEL + 1))"; do
    step "a stored position of $stored lies beyond the screen: the window opens at 0,0"
    {
        printf '%s\r\n' "$stored"
        records "${entry[@]}"
    } >"$DAT"
    start_app
    check_start 0 0
    close_and_check 0 0 "${entry[@]}"
done
echo PASS
