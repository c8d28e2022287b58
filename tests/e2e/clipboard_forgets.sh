#!/usr/bin/env bash
# What the program puts on the clipboard does not outlive the wait after the last copy, nor
# the program: with ClearAfterSeconds=2 in Cofferly.ini the clipboard and the clipboard
# strip are empty about 2 s after the last piece, each piece starting the wait again; text
# another program copied in the meantime is left alone.
source "$(dirname "$0")/lib.sh"

data_file "ネット銀行" "山田-太郎" "ab-cd-ef" "https://bank.example.jp/" >"$DAT"
printf '[Clipboard]\nClearAfterSeconds=2\n' >"$APP_DIR/Cofferly.ini"

start_desktop
start_app

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The clipboard has no owner, or its owner offers no text.
clipboard_empty() { [[ -z $(clipboard || true) ]]; }

step "a piece copied 1.2 s after the first starts the wait again"
keys alt+p
expect_clipboard "ab"
sleep 1.2
keys alt+p
expect_clipboard "cd"
copied=$(now_ms)
expect_strip_text yes
sleep 1.2
clipboard_is "cd" || fail "2.4 s after the first piece the clipboard holds \"$(clipboard || true)\""

step "cleared about 2 s after the last piece, and the strip with it"
poll 10 clipboard_empty || fail "the clipboard still holds \"$(clipboard || true)\""
waited=$(($(now_ms) - copied))
echo "cleared ${waited} ms after the copy"
((waited >= 1800 && waited <= 4000)) || fail "cleared after $waited ms, not about 2000"
expect_strip_text no

step "text another program copied in the meantime is left alone"
keys alt+p
expect_clipboard "ef"
printf 'copied elsewhere' | xclip -i -selection clipboard
expect_clipboard "copied elsewhere"
sleep 3
clipboard_is "copied elsewhere" || fail "another program's text became \"$(clipboard || true)\""
expect_strip_text no

close_by_wm
echo PASS
