#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole test suite; then runs it once
# more built with AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes the
# data-file reader for a minute and the CSV reader for half a minute.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/test"

"$here/scripts/setup.sh" test
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure

# The sanitizers stop at the first report. Leak checking stays on: the whole suite,
# Qt's offscreen platform included, runs without a leak report, so none is suppressed.
# Unoptimised, which builds faster and keeps every check in place.
asan="$here/build/asan"
cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCOFFERLY_SANITIZE=ON
cmake --build "$asan"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The whole-program scripts drive the program from outside; they run once, above.
ctest --test-dir "$asan" --output-on-failure --label-exclude 'e2e|program'
unset ASAN_OPTIONS UBSAN_OPTIONS

# The readers must take any bytes without a crash, a hang or a lost entry or field.
fuzz="$here/build/fuzz"
cmake -S "$here/tests/fuzz" -B "$fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++
cmake --build "$fuzz"
mkdir -p "$fuzz/corpus" "$fuzz/artifacts"
"$fuzz/fuzz_data_file" -max_total_time=60 -timeout=10 -max_len=20000 -print_final_stats=1 \
  -dict="$here/tests/fuzz/data_file.dict" -artifact_prefix="$fuzz/artifacts/" \
  "$fuzz/corpus" "$here/tests/fuzz/corpus"
mkdir -p "$fuzz/csv_corpus"
"$fuzz/fuzz_csv" -max_total_time=30 -timeout=10 -max_len=20000 -print_final_stats=1 \
  -artifact_prefix="$fuzz/artifacts/" "$fuzz/csv_corpus" "$here/tests/fuzz/csv_corpus"
