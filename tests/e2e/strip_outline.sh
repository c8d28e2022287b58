#!/usr/bin/env bash
# The clipboard strip's outline is whole at 100, 125, 150 and 200 %: the desktop's scale
# is set as desktops set it for X11 programs (Xft.dpi), and each of the four edges must
# show as an unbroken dark line where the layout puts it. At 150 % the widget starts
# half-way into a device pixel, where a line drawn on its edge used to vanish.
source "$(dirname "$0")/lib.sh"

data_file "見出し" "id" "pw" "" >"$DAT"

start_desktop

# The outline in the client area, in twips, and the window's client width at 100 %.
readonly SHAPE_LEFT=60 SHAPE_TOP=1815 SHAPE_WIDTH=5235 SHAPE_HEIGHT=480 CLIENT_WIDTH=382
px() { echo $((($1 + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL)); }

# darkest_line IMAGE X Y W H rows|columns: of the rows (or columns) of the area, the
# largest share, in percent, of pixels darker than mid-grey.
darkest_line() {
    local image=$1 x=$2 y=$3 w=$4 h=$5 along=$6
    convert "$image" -crop "${w}x$h+$x+$y" +repage -colorspace Gray -threshold 40% -depth 8 txt:- |
        awk -v along="$along" -F'[,: ]+' '
            NR == 1 { next }
            { i = (along == "rows") ? $2 : $1; n[i]++; if ($0 ~ /gray\(0\)|#000000/) d[i]++ }
            END { best = 0; for (i in n) if (100 * d[i] / n[i] > best) best = int(100 * d[i] / n[i]); print best }'
}

# check_edge IMAGE NAME POSITION FROM TO rows|columns: a line within two device pixels of
# POSITION, dark over the middle four fifths of FROM..TO; sets BROKEN when there is none.
check_edge() {
    local image=$1 name=$2 at=$3 from=$4 to=$5 along=$6 share
    local span=$((to - from)) start=$((from + (to - from) / 10))
    local length=$((span * 8 / 10))
    if [[ $along == rows ]]; then
        share=$(darkest_line "$image" "$start" $((at - 2)) "$length" 5 rows)
    else
        share=$(darkest_line "$image" $((at - 2)) "$start" 5 "$length" columns)
    fi
    ((share >= 95)) && return
    BROKEN="the $name edge is broken (at most $share % of a line near $at)"
    return 1
}

# outline_whole: a screenshot of the window shows all four edges.
outline_whole() {
    local shot=$WORK/window-$percent.png
    BROKEN="no screenshot of the window"
    import -window "$MAIN_WIN" "$shot" 2>/dev/null &&
        check_edge "$shot" top "$top" "$left" "$right" rows &&
        check_edge "$shot" bottom "$bottom" "$left" "$right" rows &&
        check_edge "$shot" left "$left" "$top" "$bottom" columns &&
        check_edge "$shot" right "$right" "$top" "$bottom" columns
}

for percent in 100 125 150 200; do
    step "$percent %: the strip's outline has all four edges"
    echo "Xft.dpi: $((96 * percent / 100))" | xrdb -override -
    start_app
    read -r _ _ width _ < <(geometry "$MAIN_WIN")
    # Qt takes the scale from Xft.dpi: the window is wider by that much.
    ((width * 100 / CLIENT_WIDTH >= percent - 1 && width * 100 / CLIENT_WIDTH <= percent + 1)) ||
        fail "at $percent % the window is $width pixels wide, not $CLIENT_WIDTH scaled"
    # Device pixels of the outline's edges; a half pixel rounds either way.
    left=$(($(px $SHAPE_LEFT) * percent / 100))
    top=$(($(px $SHAPE_TOP) * percent / 100))
    right=$(((($(px $SHAPE_LEFT) + $(px $SHAPE_WIDTH)) * percent - 1) / 100))
    bottom=$(((($(px $SHAPE_TOP) + $(px $SHAPE_HEIGHT)) * percent - 1) / 100))
    # Polled: the first screenshot may come before the window has painted.
    poll 10 outline_whole || fail "at $percent %: $BROKEN"
    close_by_wm
done
echo PASS
