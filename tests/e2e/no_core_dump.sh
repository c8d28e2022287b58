#!/usr/bin/env bash
# A crash leaves no core file: the program, started in its folder with that folder as its
# current directory and with `ulimit -c unlimited`, is sent SIGSEGV. Where the kernel
# writes cores into the crashing process's directory, a stand-in that does dump core
# shows first that this check can see one; where cores go to a pipe, the running
# program's core limit and its dumpable flag are checked instead.
source "$(dirname "$0")/lib.sh"

data_file "ネット銀行" "taro" "s3cret-pw" "https://bank.example.jp/" >"$DAT"

pattern=$(cat /proc/sys/kernel/core_pattern)
# A plain name ("core", "core.%p") is written in the crashing process's current directory.
cores_here=false
[[ $pattern != \|* && $pattern != */* ]] && cores_here=true

# listing: everything in the folder and below, the lock aside (a killed program leaves it
# behind).
listing() {
    (cd "$APP_DIR" && find . -mindepth 1 ! -path ./Cofferly.lock | sort)
}

# Whether PID is running COMMAND yet (a subshell has not exec'd it before).
runs() {
    [[ $(cat "/proc/$1/comm" 2>/dev/null) == "$2" ]]
}

# crash PID: sends SIGSEGV and waits for the end; fails unless the signal ended it.
crash() {
    local pid=$1 rc=0
    kill -SEGV "$pid"
    wait "$pid" || rc=$?
    ((rc == 128 + 11)) || fail "process $pid ended with status $rc, not by SIGSEGV"
}

ulimit -c unlimited || fail "the core limit cannot be raised here: $(ulimit -H -c)"

if $cores_here; then
    step "control: a stand-in in the same folder and setting dumps core ($pattern)"
    before=$(listing)
    (cd "$APP_DIR" && exec sleep 60) &
    control=$!
    poll 10 runs "$control" sleep || fail "the stand-in did not start"
    crash "$control"
    after=$(listing)
    [[ $after != "$before" ]] || fail "the stand-in left no core: this check could not see one"
    grep -q -x '\./core.*' <<<"$after" || fail "the stand-in left $after"
    rm -f "$APP_DIR"/core*
fi

start_desktop

step "the program, started with an unlimited core limit, crashes"
before=$(listing)
start_app
limits=$(awk '/^Max core file size/ { print $5, $6 }' "/proc/$APP_PID/limits")
[[ $limits == "0 0" ]] || fail "the running program's core limits are $limits"
if (($(id -u) != 0)); then
    # A process that may not be dumped has its /proc entry owned by root.
    [[ $(stat -c '%u' "/proc/$APP_PID") == 0 ]] || fail "the running program may be dumped"
fi
crash "$APP_PID"
APP_PID=
MAIN_WIN=

if $cores_here; then
    step "no core file in the folder"
    after=$(listing)
    [[ $after == "$before" ]] || fail "the crash left files in the folder:
$(diff <(echo "$before") <(echo "$after"))"
    echo "checked: no core file in the folder (core_pattern \"$pattern\"), the core limits 0 0"
else
    echo "checked: the core limits 0 0$( (($(id -u) != 0)) && echo " and the program not dumpable");" \
        "core_pattern \"$pattern\" does not write cores into the folder"
fi
echo PASS
