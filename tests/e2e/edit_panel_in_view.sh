#!/usr/bin/env bash
# A window standing low on the right-hand of two monitors, under GNOME's compositor
# (mutter, Wayland session, Xwayland): add and edit mode grow it downwards, and the edit
# panel must still lie wholly on the screen; leaving the mode, by Esc or by a commit,
# puts the window back where it stood, and the close stores that place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/mutter.sh"

readonly SCREEN_BOTTOM=1024   # both monitors are 1280x1024, side by side
readonly PANEL_BOTTOM=$(((3840 + 372 + TWIPS_PER_PIXEL - 1) / TWIPS_PER_PIXEL)) # Tx_Data(3)

start_mutter 2

# The window's outer height in browsing mode, from a first start at a high place.
{
    position_line 1500 22500
    records "見出し" "id-1" "pw-2" "https://example.jp/"
} >"$DAT"
start_app
read -r _ _ et _ < <(frame_extents "$MAIN_WIN")
browsing=$(client_height "$MAIN_WIN")
close_by_mutter

# Low: the frame's bottom 20 pixels above the screen's, far less than the panel needs.
low_y=$((SCREEN_BOTTOM - 20 - et - browsing))
low_x=1500
stored="$((low_y * TWIPS_PER_PIXEL)),$((low_x * TWIPS_PER_PIXEL))"
sed -i "1s/.*/$stored\r/" "$DAT"
start_app
expect_at "$low_x" "$low_y" "start"

# panel_on_screen: the grown window shows its panel and ends above the screen's bottom,
# with its title bar still on the screen.
panel_on_screen() {
    local cx cy cw ch
    read -r cx cy cw ch < <(geometry "$MAIN_WIN") || return 1
    ((ch >= PANEL_BOTTOM && cy + ch <= SCREEN_BOTTOM && cy - et >= 0))
}

# open_panel KEY: opens add or edit mode and checks the panel is on the screen.
open_panel() {
    keys "$1"
    wait_resize "$MAIN_WIN" "$browsing"
    poll 15 panel_on_screen ||
        fail "$1: the window stands at $(geometry "$MAIN_WIN"); the panel ends at $PANEL_BOTTOM, the screen at $SCREEN_BOTTOM"
    local x
    read -r x _ < <(client_origin "$MAIN_WIN")
    ((x == low_x)) || fail "$1: the window moved sideways, to $x"
}

step "Alt+E: the edit panel is on the screen; Esc puts the window back"
open_panel alt+e
keys Escape
poll 15 height_is "$MAIN_WIN" "$browsing" || fail "Esc left the edit panel open"
expect_at "$low_x" "$low_y" "Esc"

step "Alt+A, typed, Enter: the panel on the screen; the commit puts the window back"
open_panel alt+a
type_text "new"
keys Return
poll 15 test -e "$BAK" || fail "the commit saved nothing"
poll 15 height_is "$MAIN_WIN" "$browsing" || fail "the commit left the edit panel open"
expect_at "$low_x" "$low_y" "the commit"

step "closed: the place it stood at is stored"
close_by_mutter
expect_stored "$stored"
echo PASS
