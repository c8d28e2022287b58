#!/usr/bin/env bash
# Cofferly.exe under Wine: a web address goes to the system's handler for it, which Wine
# hands on to xdg-open, here a logging stand-in; an address starting with "-" is refused
# with a message; a title with a character code page 932 lacks is refused, the file left
# as it was, and closing in edit mode asks whether to save.
source "$(dirname "$0")/lib.sh"

readonly WEB='https://bank.example.jp/login?a=1&b=2'

mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<'STANDIN'
#!/bin/sh
for arg in "$@"; do printf '%s\n' "$arg" >>"$(dirname "$0")/opened.log"; done
STANDIN
chmod 755 "$WORK/bin/xdg-open"
: >"$WORK/bin/opened.log"
export PATH="$WORK/bin:$PATH"

data_file "ウェブ" "webid" "pw1" "$WEB" \
    "ダッシュ" "dashid" "pw2" "--help" >"$DAT"
cp "$DAT" "$WORK/0.Dat"

start_desktop
prepare_typing "波〜"
start_app

step "Alt+U hands the web address to the handler"
keys alt+u
printf '%s\n' "$WEB" >"$WORK/expected.log"
poll 30 same_bytes "$WORK/bin/opened.log" "$WORK/expected.log" ||
    fail "the handler was given: $(cat "$WORK/bin/opened.log")"

step "an address starting with \"-\" is refused with a message"
activate "$MAIN_WIN"
keys alt+i
expect_clipboard webid
keys shift+Tab Down alt+i
expect_clipboard dashid
keys alt+u
wait_window Cofferly
activate "$FOUND_WIN"
keys Return
poll 15 window_gone Cofferly || fail "the message stayed open"
same_bytes "$WORK/bin/opened.log" "$WORK/expected.log" ||
    fail "the handler was started: $(cat "$WORK/bin/opened.log")"

step "a title with 〜 (U+301C) is refused; nothing is written"
activate "$MAIN_WIN"
browsing_height=$(client_height "$MAIN_WIN")
keys alt+e
wait_resize "$MAIN_WIN" "$browsing_height"
type_text "波〜"
keys Return
wait_window Cofferly
activate "$FOUND_WIN"
keys Return
poll 15 window_gone Cofferly || fail "the message stayed open"
same_bytes "$DAT" "$WORK/0.Dat" || fail "the refused title changed the data file"

step "closing in edit mode asks; いいえ closes and the file keeps the entries"
activate "$MAIN_WIN"
xdotool key alt+F4
wait_window 保存の確認
activate "$FOUND_WIN"
keys alt+n
wait_app_end
head -c 11 "$DAT" | grep -q '^1500,3000' || fail "the close moved the window"
tail -n +2 "$DAT" | cmp -s - <(tail -n +2 "$WORK/0.Dat") || fail "the close changed the entries"
echo PASS
