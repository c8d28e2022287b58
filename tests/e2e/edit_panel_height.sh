#!/usr/bin/env bash
# The window's height: in browsing mode it ends below the clipboard strip and above the
# edit panel, so the panel is hidden whole; add and edit mode show the panel down to its
# lowest text box. The top edge stays put, and opening and leaving a mode saves nothing,
# unless the window stands so low that the panel would pass the screen's bottom: then it
# moves up just enough, and back afterwards.
source "$(dirname "$0")/lib.sh"

# Client-area rows, in twips, that the layout puts the controls at.
strip_bottom=$((1815 + 480))  # the clipboard strip's outline
panel_top=2520                # Tx_Data(0), the edit panel's highest control
panel_bottom=$((3840 + 372))  # Tx_Data(3), its lowest control
px() { echo $((($1 + TWIPS_PER_PIXEL - 1) / TWIPS_PER_PIXEL)); }

data_file "見出し" "id-1" "pw-2" "https://example.jp/" >"$DAT"
cp "$DAT" "$WORK/0.Dat"

start_desktop
start_app
frame=$(frame_of "$MAIN_WIN")

check_browsing() {
    local h
    h=$(client_height "$MAIN_WIN")
    ((h >= $(px $strip_bottom))) ||
        fail "$1: browsing height $h cuts off the clipboard strip (ends at $(px $strip_bottom))"
    ((h < panel_top / TWIPS_PER_PIXEL)) ||
        fail "$1: browsing height $h shows part of the edit panel (starts at $((panel_top / TWIPS_PER_PIXEL)))"
}

check_editing() {
    local h
    h=$(client_height "$MAIN_WIN")
    ((h >= $(px $panel_bottom))) ||
        fail "$1: height $h cuts off the edit panel (ends at $(px $panel_bottom))"
}

top_of() {
    local g _ y
    g=$(geometry "$1") || return 1
    read -r _ y _ <<<"$g"
    echo "$y"
}

# tops_unchanged WHAT: the frame's and the client's top edges are where they were at start.
tops_unchanged() {
    local f c
    f=$(top_of "$frame") && c=$(top_of "$MAIN_WIN") || fail "$1: the window cannot be read"
    [[ $f == "$frame_top" && $c == "$client_top" ]] || fail "the top edge moved when $1"
}

step "browsing height at start"
check_browsing "start"
browsing=$(client_height "$MAIN_WIN")
frame_top=$(top_of "$frame") && client_top=$(top_of "$MAIN_WIN") ||
    fail "the window cannot be read"

for mode in a e; do
    step "Alt+${mode^^} opens the edit panel"
    keys alt+$mode
    wait_resize "$MAIN_WIN" "$browsing"
    check_editing "Alt+${mode^^}"
    tops_unchanged "the panel opened"

    step "Esc closes it again"
    keys Escape
    poll 15 height_is "$MAIN_WIN" "$browsing" ||
        fail "Esc left the window $(client_height "$MAIN_WIN") pixels high, not $browsing"
    check_browsing "after Esc"
    tops_unchanged "the panel closed"
done

step "nothing was saved"
same_bytes "$DAT" "$WORK/0.Dat" || fail "the data file changed"
[[ ! -e $BAK ]] || fail "a backup was written"

step "a window standing low: the panel stays on the screen, and the window goes back"
# openbox leaves a growing window where it is: the program itself must move it up.
read -r _ _ _ screen_h < <(geometry root)
frame_low() {
    local g y h
    g=$(geometry "$frame") || return 1
    read -r _ y _ h <<<"$g"
    ((y + h > screen_h - 40))
}
# The client's bottom edge 20 pixels above the screen's: the panel does not fit below.
xdotool windowmove "$MAIN_WIN" 300 $((screen_h - 20 - browsing))
poll 15 frame_low || fail "openbox did not move the window low: it stands at $(geometry "$frame")"
read -r low_x low_y _ < <(geometry "$frame")
frame_at() {
    local g x y
    g=$(geometry "$frame") || return 1
    read -r x y _ <<<"$g"
    [[ $x == "$1" && $y == "$2" ]]
}
panel_on_screen() {
    local g y h
    g=$(geometry "$frame") || return 1
    read -r _ y _ h <<<"$g"
    ((y >= 0 && y + h <= screen_h))
}
for mode in a e; do
    keys alt+$mode
    wait_resize "$MAIN_WIN" "$browsing"
    check_editing "Alt+${mode^^} low on the screen"
    poll 15 panel_on_screen || fail "Alt+${mode^^}: the frame stands at $(geometry "$frame"), past the screen's bottom ($screen_h)"
    keys Escape
    poll 15 height_is "$MAIN_WIN" "$browsing" || fail "Esc left the edit panel open"
    poll 15 frame_at "$low_x" "$low_y" ||
        fail "after Alt+${mode^^} and Esc the frame stands at $(geometry "$frame"), not at $low_x $low_y"
done

step "closed in add mode: asked first; いいえ drops the typed texts, the table is saved as it was"
# Stored where the window stands for the file: where the panel will put it back.
{
    printf '%s\r\n' "$(current_position)"
    tail -c +"$(($(head -n 1 "$WORK/0.Dat" | wc -c) + 1))" "$WORK/0.Dat"
} >"$WORK/closed.Dat"
keys alt+a
wait_resize "$MAIN_WIN" "$browsing"
poll 15 panel_on_screen || fail "Alt+A: the edit panel is past the screen's bottom"
type_text "dropped"
activate "$MAIN_WIN"
xdotool key alt+F4
wait_window "保存の確認"
keys alt+n
wait_app_end
expect_file "$DAT" "$WORK/closed.Dat"
[[ ! -e $BAK ]] || fail "closing with no entry changed made a backup"
echo PASS
