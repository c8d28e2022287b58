# Whether the window manager on $DISPLAY is up and handling new windows; sourced by the
# whole-program scripts, which provide poll.

wm_running() {
    local check
    check=$(xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
    [[ $check == *"window id # 0x"* ]]
}

probe_framed() {
    local id
    id=$(xdotool search --name '^cofferly-wm-probe$' 2>/dev/null | head -n 1)
    [[ -n $id ]] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='
}

# wm_manages_windows: openbox announces itself before it handles map requests, and one
# that comes in the meantime is dropped, leaving that window unmapped for good (seen on a
# loaded machine). A probe window that gets its frame shows it is ready.
wm_manages_windows() {
    local try probe
    for ((try = 0; try < 10; try++)); do
        xev -geometry 20x20+0+0 -name cofferly-wm-probe >/dev/null 2>&1 &
        probe=$!
        if poll 3 probe_framed; then
            { kill "$probe" && wait "$probe"; } 2>/dev/null || true
            return 0
        fi
        { kill "$probe" && wait "$probe"; } 2>/dev/null || true
        echo "the window manager did not frame a probe window yet; trying again"
    done
    return 1
}
