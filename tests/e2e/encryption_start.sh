#!/usr/bin/env bash
# Encryption from the user's side: a new user turns it on from the window's menu and
# closes; the next start asks for the password in the パスワード dialog before the window
# shows, and the same entries come back; no file in the folder holds a password in plain
# text. A wrong password and Esc at the dialog write nothing; Ctrl+L locks and the password
# unlocks.
source "$(dirname "$0")/lib.sh"

readonly PASSWORD='kumo no ue 7'
data_file "銀行" "taro.yamada" "Zq7-kumo-9x" "https://bank.example.jp/" \
    "メール" "hanako@example.jp" "Pw4mail-Secret" "" >"$DAT"

# The files of the folder but the lock, with their bytes and times.
snapshot() {
    (cd "$APP_DIR" && find . -maxdepth 1 -type f ! -name Cofferly.lock -printf '%f %s %T@\n' |
        sort && sha256sum -- Cofferly.* | grep -v Cofferly.lock)
}
# Nothing in the folder holds a password or an ID in plain text.
no_plain_secrets() {
    local secret
    for secret in Zq7-kumo-9x Pw4mail-Secret taro.yamada; do
        if grep -rl -- "$secret" "$APP_DIR"; then fail "a file holds \"$secret\""; fi
    done
}
# Starts the program as far as its password dialog.
start_to_password() {
    (cd "$APP_DIR" && exec "${RUN[@]}") >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_window "パスワード"
    activate "$FOUND_WIN"
}
enter_password() {
    type_text "$1"
    keys Return
}
# The start called off ends with status 1, as after any question that ends it.
wait_start_called_off() {
    poll 30 app_ended || fail "the program did not end"
    local rc=0
    wait "$APP_PID" || rc=$?
    APP_PID=
    ((rc == 1)) || fail "the program ended with status $rc"
}
dismiss_message() {
    wait_window "Cofferly"
    activate "$FOUND_WIN"
    keys Return
    poll 10 window_gone "Cofferly" || fail "the message box stayed"
}
# The ID shown is copied (no ID here holds a "-", so it is copied whole).
expect_id() {
    keys alt+i
    expect_clipboard "$1"
}

start_desktop
start_app

step "encryption is turned on from the menu"
keys Menu
sleep 0.5
keys e
wait_window "暗号化"
activate "$FOUND_WIN"
type_text "$PASSWORD"
keys Tab
type_text "$PASSWORD"
keys Return
dismiss_message
poll 10 test -e "$APP_DIR/Cofferly.Enc" || fail "no Cofferly.Enc"
[[ ! -e $DAT && ! -e $BAK ]] || fail "the plain files are still there"
close_by_wm
no_plain_secrets
before=$(snapshot)

step "a wrong password, then Esc, write nothing"
start_to_password
enter_password "not the password"
dismiss_message
wait_window "パスワード"
activate "$FOUND_WIN"
keys Escape
wait_start_called_off
[[ $(snapshot) == "$before" ]] || fail "the folder changed"

step "the password opens the same entries"
start_to_password
enter_password "$PASSWORD"
wait_window "$MAIN_TITLE"
MAIN_WIN=$FOUND_WIN
poll 30 frame_ready "$MAIN_WIN" || fail "the window manager did not frame the window"
activate "$MAIN_WIN"
keys Down
expect_id "hanako@example.jp"

step "Ctrl+L locks; after the password the titles have the focus, Up shows the first entry"
keys ctrl+l
wait_window "パスワード"
activate "$FOUND_WIN"
[[ -z $(clipboard || true) ]] || fail "the clipboard kept the ID"
enter_password "$PASSWORD"
poll 10 window_gone "パスワード" || fail "the dialog stayed"
activate "$MAIN_WIN"
keys Up
expect_id "taro.yamada"

close_by_wm
no_plain_secrets
echo PASS
