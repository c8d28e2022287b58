#!/usr/bin/env bash
# Under openbox with a clipboard manager running, as X11 desktops run one: a copied ID does
# not outlive the program. The close clears what is still the program's before Qt hands the
# clipboard to the manager, which would otherwise keep it.
source "$(dirname "$0")/lib.sh"

data_file "ネット銀行" "山田-太郎" "ab-cd-ef" "https://bank.example.jp/" >"$DAT"
start_desktop
start_clipboard_manager

step "an ID copied, then the program closed"
start_app
keys alt+i
expect_clipboard "山田"
close_by_wm
sleep 0.5
! clipboard_is "山田" || fail "after the close the clipboard still holds the ID"
! grep -q kept "$WORK/manager.log" || fail "the clipboard manager kept the text"

step "text another program copied since is left alone"
start_app
keys alt+i
expect_clipboard "山田"
printf 'copied elsewhere' | xclip -i -selection clipboard
expect_clipboard "copied elsewhere"
close_by_wm
sleep 0.5
clipboard_is "copied elsewhere" || fail "after the close the clipboard holds \"$(clipboard || true)\""
echo PASS
