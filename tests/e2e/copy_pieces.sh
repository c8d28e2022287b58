#!/usr/bin/env bash
# Copying the shown ID and PW to the X clipboard from the keyboard: piece by piece at each
# "-", marked for clipboard managers as a secret, and without touching the data file.
source "$(dirname "$0")/lib.sh"

step "data file with a dashed ID and PW in entry 1"
data_file "ネット銀行" "山田-太郎" "ab-cd-ef" "https://bank.example.jp/" \
    "メール" "taro" "mail-pw" "" >"$DAT"
cp "$DAT" "$WORK/start.Dat"

start_desktop
start_app

step "Alt+P copies the PW's first piece"
keys alt+p
expect_clipboard "ab"

# Under Wine the marks are Windows clipboard formats, which Wine does not hand on to X;
# tst_desktop_win reads them through Windows' own calls.
if [[ -z ${COFFERLY_WINE:-} ]]; then
    step "the copy is offered as text and marked as a secret"
    targets=$(xclip -o -selection clipboard -t TARGETS)
    for target in UTF8_STRING text/plain x-kde-passwordManagerHint; do
        grep -qxF "$target" <<<"$targets" || fail "clipboard target $target missing: $targets"
    done
    hint=$(xclip -o -selection clipboard -t x-kde-passwordManagerHint)
    [[ $hint == secret ]] || fail "x-kde-passwordManagerHint is \"$hint\""
fi

step "Alt+P copies the second and third pieces"
keys alt+p
expect_clipboard "cd"
keys alt+p
expect_clipboard "ef"

step "the run has ended: Alt+I copies the ID's pieces"
keys alt+i
expect_clipboard "山田"
keys alt+i
expect_clipboard "太郎"

step "a new run starts with the first piece again"
keys alt+p
expect_clipboard "ab"
keys alt+p
expect_clipboard "cd"
keys alt+p
expect_clipboard "ef"

step "copying wrote nothing"
same_bytes "$DAT" "$WORK/start.Dat" || fail "the data file changed"
[[ ! -e $BAK ]] || fail "a backup was written"

step "closing saves the position; with no entry changed, no backup is made"
close_by_wm
# The window has not moved: the same bytes as at the start.
expect_file "$DAT" "$WORK/start.Dat"
[[ ! -e $BAK ]] || fail "closing wrote a backup"
echo PASS
