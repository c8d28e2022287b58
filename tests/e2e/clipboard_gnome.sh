#!/usr/bin/env bash
# Under GNOME's compositor, whose clipboard manager keeps the text of a clipboard owner that
# goes away: a copied ID does not outlive the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/mutter.sh"

data_file "ネット銀行" "山田-太郎" "ab-cd-ef" "https://bank.example.jp/" >"$DAT"
start_mutter 1

step "the compositor keeps the text of an owner that ends"
# -quiet keeps xclip in the foreground, so that this is its own process.
printf 'kept by the compositor' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
xclip_pid=$!
expect_clipboard "kept by the compositor"
kill "$xclip_pid"
sleep 1
clipboard_is "kept by the compositor" || fail "the compositor kept nothing; this check would prove nothing"

step "an ID copied, then the program closed"
start_app
keys alt+i
expect_clipboard "山田"
close_by_mutter
sleep 1
! clipboard_is "山田" || fail "after the close the clipboard still holds the ID"
echo PASS
