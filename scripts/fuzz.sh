#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer) into build/fuzz and runs one of them.
#   scripts/fuzz.sh <request|load|png> [seconds, default 60] [extra libFuzzer options]
# New interesting inputs go to build/fuzz/corpus/<target>; a crasher is written
# into tests/fuzz/corpus/<target>/, where the test build replays it from then on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
target=${1:?usage: scripts/fuzz.sh <request|load|png> [seconds] [libFuzzer options]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
scripts/install-deps.sh
CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELLUMIX_SANITIZE=ON -DVELLUMIX_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    >/dev/null
cmake --build build/fuzz --target "fuzz_$target"
seeds=tests/fuzz/corpus/$target
work=build/fuzz/corpus/$target
mkdir -p "$work"
dict=()
[ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 \
    -rss_limit_mb=4096 -max_len=8192 -print_final_stats=1 -artifact_prefix="$seeds/" \
    "${dict[@]}" "$@" "$work" "$seeds"
