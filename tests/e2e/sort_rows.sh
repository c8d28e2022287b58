#!/usr/bin/env bash
# Reordering entries in the sort window from the keyboard: moves followed by a save write
# the new order (with the previous file as the backup); moves followed by a discard that
# declines to save leave both files alone.
source "$(dirname "$0")/lib.sh"

a=("Ａ社" "a-1" "pa" "https://a.example/")
b=("Ｂ銀行" "b-2" "pb" "")
c=("グループＣ" "" "" "")
d=("Ｄ" "d" "" "")

step "data file with four entries"
data_file "${a[@]}" "${b[@]}" "${c[@]}" "${d[@]}" >"$DAT"
cp "$DAT" "$WORK/0.Dat"

start_desktop
start_app
position=$(current_position)

open_sort() {
    activate "$MAIN_WIN"
    keys alt+s
    wait_window "$SORT_TITLE"
    SORT_WIN=$FOUND_WIN
    activate "$SORT_WIN"
}

step "Alt+S, Space selects row 1, Ctrl+D twice, Ctrl+S"
open_sort
# The list starts with the first row current but none selected: Space selects it.
keys space ctrl+d ctrl+d ctrl+s
poll 15 window_gone "$SORT_TITLE" || fail "Ctrl+S did not close the sort window"
{
    position_line "${position%,*}" "${position#*,}"
    records "${b[@]}" "${c[@]}" "${a[@]}" "${d[@]}"
} >"$WORK/1.Dat"
expect_file "$DAT" "$WORK/1.Dat"
expect_file "$BAK" "$WORK/0.Dat"

step "Down selects row 2, twice row 3; Ctrl+U moves it up; Enter saves"
open_sort
keys Down Down ctrl+u Return
poll 15 window_gone "$SORT_TITLE" || fail "Enter did not close the sort window"
{
    position_line "${position%,*}" "${position#*,}"
    records "${b[@]}" "${a[@]}" "${c[@]}" "${d[@]}"
} >"$WORK/2.Dat"
expect_file "$DAT" "$WORK/2.Dat"
expect_file "$BAK" "$WORK/1.Dat"

step "a move, Esc, and No to the save question: nothing written"
open_sort
keys space ctrl+d Escape
wait_window "保存の確認"
keys alt+n
poll 15 window_gone "保存の確認" || fail "the save question stayed open after Alt+N"
poll 15 window_gone "$SORT_TITLE" || fail "the sort window stayed open after No"
# Open and save once more without a move: that save is the marker that everything
# before it has been handled. It changes no entry, so the backup stays as it was.
open_sort
keys ctrl+s
poll 15 window_gone "$SORT_TITLE" || fail "Ctrl+S did not close the sort window"
expect_file "$BAK" "$WORK/1.Dat"
expect_file "$DAT" "$WORK/2.Dat"

step "closing keeps the sorted order, and the backup the order before the last move"
close_by_wm
expect_file "$DAT" "$WORK/2.Dat"
expect_file "$BAK" "$WORK/1.Dat"
echo PASS
