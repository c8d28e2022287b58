#!/usr/bin/env bash
# Adding, editing and deleting an entry with the keyboard alone; after each change the
# data file holds exactly the new table in code page 932 and the backup the file as it
# was before.
source "$(dirname "$0")/lib.sh"

group=("仕事" "" "" "")
mail=("メール" "taro@mail.example" "m-123" "https://mail.example/")
bank=("銀行" "ginkou" "b-456" "")
# Typed in: Japanese with half-width katakana, spaces kept at either end, a comma.
added=("ネット銀行ｶｰﾄﾞ" "山田_taro" " pa ss,w0rd " "https://bank.example.jp/login?a=1&b=2")
edited=("ネット銀行（新）" "yamada-hanako" " pa ss,w0rd " "https://bank.example.jp/login?a=1&b=2")

step "data file with a group and two entries"
data_file "${group[@]}" "${mail[@]}" "${bank[@]}" >"$DAT"
cp "$DAT" "$WORK/0.Dat"

start_desktop
prepare_typing "${added[@]}" "${edited[@]}"
start_app
# Every file the program writes starts with where its window stands.
position=$(current_position)
[[ $position == 1500,3000 ]] || fail "the window stands at $position, not at the stored position"
browsing_height=$(client_height "$MAIN_WIN")

step "Alt+A, four texts typed with Tab between them, Enter"
keys alt+a
wait_resize "$MAIN_WIN" "$browsing_height"
type_text "${added[0]}"
keys Tab
type_text "${added[1]}"
keys Tab
type_text "${added[2]}"
keys Tab
type_text "${added[3]}"
keys Return
{
    position_line "${position%,*}" "${position#*,}"
    records "${group[@]}" "${added[@]}" "${mail[@]}" "${bank[@]}"
} >"$WORK/1.Dat"
expect_file "$DAT" "$WORK/1.Dat"
expect_file "$BAK" "$WORK/0.Dat"

step "Down picks the new entry; Alt+I copies its ID from the file read back"
keys Down
keys alt+i
expect_clipboard "${added[1]}"

step "Alt+E, a new title and ID typed over the selected texts, Enter"
keys alt+e
wait_resize "$MAIN_WIN" "$browsing_height"
type_text "${edited[0]}"
keys Tab
type_text "${edited[1]}"
keys Return
{
    position_line "${position%,*}" "${position#*,}"
    records "${group[@]}" "${edited[@]}" "${mail[@]}" "${bank[@]}"
} >"$WORK/2.Dat"
expect_file "$DAT" "$WORK/2.Dat"
expect_file "$BAK" "$WORK/1.Dat"

step "the edited entry is shown: Alt+I copies the new ID piece by piece"
keys alt+i
expect_clipboard "yamada"
keys alt+i
expect_clipboard "hanako"

step "Alt+D, Enter answers No"
keys alt+d
wait_window "削除の確認"
keys Return
poll 15 window_gone "削除の確認" || fail "the confirmation stayed open after Enter"
# Alt+T is handled after everything typed before it; once the window is kept on top,
# an answer that went on to delete would have been saved already.
keys alt+t
poll 15 is_above "$MAIN_WIN" || fail "Alt+T did not keep the window on top"
keys alt+t
poll 15 is_not_above "$MAIN_WIN" || fail "a second Alt+T did not release the window"
same_bytes "$DAT" "$WORK/2.Dat" || fail "answering No changed the data file"
same_bytes "$BAK" "$WORK/1.Dat" || fail "answering No changed the backup"

step "Alt+D, Alt+Y deletes the edited entry"
keys alt+d
wait_window "削除の確認"
keys alt+y
poll 15 window_gone "削除の確認" || fail "the confirmation stayed open after Alt+Y"
{
    position_line "${position%,*}" "${position#*,}"
    records "${group[@]}" "${mail[@]}" "${bank[@]}"
} >"$WORK/3.Dat"
expect_file "$DAT" "$WORK/3.Dat"
expect_file "$BAK" "$WORK/2.Dat"

step "the entry display is empty after the delete: Alt+I copies nothing"
keys alt+i alt+t
poll 15 is_above "$MAIN_WIN" || fail "Alt+T did not keep the window on top"
clipboard_is "hanako" || fail "Alt+I after the delete copied \"$(clipboard)\""

step "closing saves the same table: the backup keeps the entries from before the delete"
close_by_wm
expect_file "$DAT" "$WORK/3.Dat"
expect_file "$BAK" "$WORK/2.Dat"
echo PASS
