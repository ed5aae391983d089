#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
build=${VELLUMIX_TEST_BUILD:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLUMIX_SANITIZE=ON \
    -DVELLUMIX_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Tests that need a real X server get one of their own for this run, those
# of the Wayland services a headless Wayland session, and GNOME's its own.
status=0
scripts/xserver.sh ctest --test-dir "$build" --output-on-failure -j 2 -LE "wayland|gnome" ||
    status=$?
scripts/wayland.sh ctest --test-dir "$build" --output-on-failure -L wayland || status=$?
scripts/gnome.sh ctest --test-dir "$build" --output-on-failure -L gnome || status=$?
exit "$status"
