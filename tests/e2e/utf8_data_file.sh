#!/usr/bin/env bash
# A data file an editor saved as UTF-8 opens after one question: Enter converts it back to
# code page 932 and keeps the UTF-8 version beside it under a name of its own. The next
# start, after that save, opens without a word.
source "$(dirname "$0")/lib.sh"

data_file "銀行" "taro-01" "ﾊﾟｽ-1" "https://bank.example.jp/" >"$WORK/cp932.Dat"
iconv -f CP932 -t UTF-8 "$WORK/cp932.Dat" >"$DAT"
cp "$DAT" "$WORK/utf8.Dat"

start_desktop

step "the start asks once; Enter converts the file back"
(cd "$APP_DIR" && exec "${RUN[@]}") >>"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_window Cofferly
activate "$FOUND_WIN"
keys Return
wait_window "$MAIN_TITLE"
MAIN_WIN=$FOUND_WIN
expect_file "$DAT" "$WORK/cp932.Dat"
kept=("$APP_DIR"/Cofferly.Dat.*)
((${#kept[@]} == 1)) || fail "kept copies: ${kept[*]}"
same_bytes "${kept[0]}" "$WORK/utf8.Dat" || fail "the UTF-8 version was not kept as it was"

step "the next start asks nothing"
poll 30 frame_ready "$MAIN_WIN" || fail "the window manager did not frame the window"
close_by_wm
start_app
window_gone Cofferly || fail "the start showed a message"
keys alt+i
expect_clipboard taro
close_by_wm
echo PASS
