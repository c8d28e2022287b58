#!/usr/bin/env bash
# Builds Release and prints Cofferly's speed and memory figures, each beside its floor:
#
#  start      from exec to the main window's first painted frame, under Xvfb, for the
#             program as installed (200 entries in its data file, and a first start with
#             none) against a bare Qt window with the same 32 controls and captions
#             (bench/bare_window.cpp). One watcher (bench/window_probe.cpp) starts both
#             and stops the clock at the X server's damage report for the new window.
#  memory     peak resident memory (VmHWM) of the same runs, read just before each ends.
#  commit     Bt_OK_Click(0) after an edit, and after an add, with 200 entries, against
#             writing the same backup and data file bytes with QSaveFile
#             (bench/commit_bench.cpp); then the same with encryption on (the key kept
#             since it was turned on), against writing the sealed bytes.
#  search     one keystroke in the search window over 200 entries (goal: under 1 ms), the
#             matching alone and with the list refilled, and the opening that folds the
#             table (bench/search_bench.cpp).
#  file use   what the program opens and reads while starting (strace), against the bare
#             window.
#  CSV        書き出し of 200 entries in either layout, and 読み込み of the KeePassXC file
#             into a new folder, through the menu's handlers (bench/csv_bench.cpp).
#  unlock     an encrypted data file with 200 entries: the key derivation at the cost new
#             files get, opening the seal with the key at hand, and the two with the file's
#             read; and the data session's opening at the start, encrypted (with the
#             password) against plain (bench/unlock_bench.cpp).
#
# Usage: bench/run.sh [RUNS]   RUNS start-ups of each program (default 21), alternating;
#                              the commit figures are medians of RUNS * 3 commits.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/lib.sh"
build=${COFFERLY_BENCH_BUILD:-$here/build/bench}
runs=${1:-21}

"$here/scripts/setup.sh" bench
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCOFFERLY_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null

work=$(mktemp -d)
cleanup() {
  stop_x
  rm -rf "$work"
}
trap cleanup EXIT

# The program as a user installs it: one folder with 200 entries, one with no data file yet.
cmake --install "$build" --prefix "$work/full" >/dev/null
cmake --install "$build" --prefix "$work/first" >/dev/null
"$build/bench/cofferly_sample_data" "$work/full" 200
bare="$build/bench/cofferly_bare_window"
probe="$build/bench/cofferly_window_probe"

start_xvfb "$work" >/dev/null
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

# Each run ends the program from outside; its lock file goes with it, as on a normal close.
start() {
  "$probe" -- "$1" 2>/dev/null
  rm -f "$(dirname "$1")/Cofferly.lock"
}
first_start() {
  rm -f "$work/first/Cofferly.Dat" "$work/first/Cofferly.bak"
  start "$work/first/cofferly"
}

start "$bare" >/dev/null
start "$work/full/cofferly" >/dev/null
first_start >/dev/null
for _ in $(seq "$runs"); do
  start "$bare" >>"$work/bare.txt"
  start "$work/full/cofferly" >>"$work/full.txt"
  first_start >>"$work/first.txt"
done

# median FILE FIELD: the median of FIELD=value over the lines of FILE
median() {
  sed -n "s/.*$2=\([-0-9.]*\).*/\1/p" "$1" | sort -n |
    awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'
}
# row LABEL VALUE FLOOR UNIT [TARGET]
row() {
  awk -v l="$1" -v v="$2" -v f="$3" -v u="$4" -v t="${5:-}" 'BEGIN {
    r = v / f
    verdict = t == "" ? "" : (r <= t ? "within " t "x" : "OVER " t "x")
    printf "%-38s %9.1f %-3s %9.1f %-3s %6.2f  %s\n", l, v, u, f, u, r, verdict
  }'
}

printf '\nCofferly benchmark: medians of %s runs, on %s (%s)\n' "$runs" "$(uname -m)" \
  "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-38s %13s %13s %6s\n' "" "program" "floor" "ratio"
printf -- '- start to first paint; floor: the bare window\n'
bare_ms=$(median "$work/bare.txt" painted_ms)
bare_cpu=$(median "$work/bare.txt" cpu_ms)
row "start, 200 entries" "$(median "$work/full.txt" painted_ms)" "$bare_ms" ms 1.2
row "  CPU time used by then" "$(median "$work/full.txt" cpu_ms)" "$bare_cpu" ms
row "start, first (no data file)" "$(median "$work/first.txt" painted_ms)" "$bare_ms" ms 1.2
row "  CPU time used by then" "$(median "$work/first.txt" cpu_ms)" "$bare_cpu" ms
printf -- '- peak resident memory; floor: the bare window\n'
mib() { awk -v k="$1" 'BEGIN {print k / 1024}'; }
bare_mib=$(mib "$(median "$work/bare.txt" peak_rss_kib)")
row "peak RSS, 200 entries" "$(mib "$(median "$work/full.txt" peak_rss_kib)")" "$bare_mib" MiB 1.2
row "peak RSS, first start" "$(mib "$(median "$work/first.txt" peak_rss_kib)")" "$bare_mib" MiB 1.2

# commits DIR WHERE [encrypted]: the commit figures with the program's folder in DIR
commits() {
  TMPDIR="$1" QT_QPA_PLATFORM=offscreen "$build/bench/cofferly_commit_bench" "$((runs * 3))" \
    ${3:-} >"$work/commit.txt"
  printf -- '- commit with 200 entries, %s\n' "$2"
  while read -r kind commit floor _; do
    case $kind in
    edit) row "edit commit${3:+, encrypted}" "$commit" "$floor" ms 2 ;;
    add) row "add commit, 199 -> 200${3:+, encrypted}" "$commit" "$floor" ms 2 ;;
    esac
  done <"$work/commit.txt"
}
printf -- '- commits; floor: the same backup and data file written with QSaveFile, the folder flushed\n'
fstype() { findmnt -n -o FSTYPE -T "$1" 2>/dev/null | tail -1; }
commits "$work" "on disk ($(fstype "$work")), where the flushes take most of the time"
# In memory the flushes cost next to nothing, which leaves the work around them in view.
[ "$(fstype /dev/shm)" = tmpfs ] &&
  commits /dev/shm "in memory (tmpfs), where only the work around the writes is left"
# Encrypted: each commit seals with the key kept since the turn-on; the floor writes the
# sealed bytes.
commits "$work" "encrypted, on disk ($(fstype "$work"))" encrypted
[ "$(fstype /dev/shm)" = tmpfs ] && commits /dev/shm "encrypted, in memory (tmpfs)" encrypted

# One keystroke in the search window, over 200 entries.
QT_QPA_PLATFORM=offscreen "$build/bench/cofferly_search_bench" "$runs" >"$work/search.txt"
printf -- '- search over 200 entries; goal: a keystroke under 1 ms\n'
while read -r kind median max count; do
  case $kind in
  open) label="open the search window (folds all)" ;;
  find) label="keystroke, matching alone" ;;
  keystroke) label="keystroke, list refilled" ;;
  *) continue ;;
  esac
  awk -v l="$label" -v m="$median" -v x="$max" -v n="$count" -v goal="$([ "$kind" = open ] || echo 1)" \
    'BEGIN {
      verdict = goal == "" ? "" : (m < goal ? "within 1 ms" : "OVER 1 ms")
      printf "%-38s %9.3f ms  max %7.3f ms over %s  %s\n", l, m, x, n, verdict
    }'
done <"$work/search.txt"

# File use while starting: every file opened, and the reads of the data file.
trace() {
  "$probe" --settle 500 -- strace -f -y -qq -o "$2" -e trace=openat,open,creat,read,write,rename \
    "$1" >/dev/null 2>&1
  rm -f "$(dirname "$1")/Cofferly.lock"
}
trace "$work/full/cofferly" "$work/full.strace"
trace "$bare" "$work/bare.strace"
# opened FILE DIR: the paths opened, the program's own folder written as <folder>/
opened() {
  sed -n 's/.*\(openat\|open\|creat\)([^"]*"\([^"]*\)".*/\2/p' "$1" | sed "s#^$2/#<folder>/#" |
    sort | uniq -c
}
data_reads() {
  grep -E "read\([0-9]+</[^>]*/Cofferly\.Dat>" "$1" | sed -n 's/.* = \([0-9]*\)$/\1/p'
}
opened "$work/full.strace" "$work/full" >"$work/full.opened"
opened "$work/bare.strace" "$(dirname "$bare")" >"$work/bare.opened"
size=$(stat -c %s "$work/full/Cofferly.Dat")
printf -- '- file use while starting (strace), 200 entries\n'
printf '  Cofferly.Dat: opened %s time(s), %s read call(s) returning %s of its %s bytes\n' \
  "$(awk '$2 == "<folder>/Cofferly.Dat" {print $1}' "$work/full.opened")" \
  "$(data_reads "$work/full.strace" | grep -c .)" \
  "$(data_reads "$work/full.strace" | awk '{s += $1} END {print s + 0}')" "$size"
printf '  Cofferly.bak: opened %s time(s); writes to Cofferly.Dat or .bak: %s\n' \
  "$(awk '$2 == "<folder>/Cofferly.bak" {n += $1} END {print n + 0}' "$work/full.opened")" \
  "$(grep -cE 'write\([0-9]+</[^>]*/Cofferly\.(Dat|bak)' "$work/full.strace" || true)"
printf '  files opened: program %s, bare window %s; opened only by the program, or more often:\n' \
  "$(awk '{n += $1} END {print n}' "$work/full.opened")" \
  "$(awk '{n += $1} END {print n}' "$work/bare.opened")"
awk 'NR == FNR {bare[$2] = $1; next} {
  seen = $2 in bare
  if ($1 > (seen ? bare[$2] : 0))
    printf "    %3d x %s%s\n", $1, $2, (seen ? "  (bare window: " bare[$2] ")" : "")
}' "$work/bare.opened" "$work/full.opened"

# CSV out and in, with the files on disk.
printf -- '- CSV, 200 entries (180 under 20 headings), medians of %s runs, on disk (%s)\n' \
  "$((runs * 3))" "$(fstype "$work")"
TMPDIR="$work" QT_QPA_PLATFORM=offscreen "$build/bench/cofferly_csv_bench" "$((runs * 3))" |
  while read -r name median fastest _; do
    printf '  %-36s %9.1f ms  (fastest %.1f ms)\n' "$name" "$median" "$fastest"
  done

# The unlock of an encrypted data file: what a password costs at the start.
printf -- '- unlock of an encrypted data file with 200 entries (medians of %s)\n' "$runs"
read -r kdf_ms open_ms unlock_ms ops mib plain_ms sealed_ms < <(
  "$build/bench/cofferly_unlock_bench" "$runs" | sed 's/[a-z_]*=//g')
printf '  key derivation (Argon2id, %s MiB, %s passes) %s ms; opening the seal %s ms\n' \
  "$mib" "$ops" "$kdf_ms" "$open_ms"
printf '  whole unlock from the file on disk: %s ms\n' "$unlock_ms"
printf -- '- the data session opening at the start, 200 entries; floor: the plain data file\n'
row "start's opening, encrypted" "$sealed_ms" "$plain_ms" ms
