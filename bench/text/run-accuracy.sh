#!/usr/bin/env bash
# Builds and runs the text recognition accuracy benchmark. Arguments go to the
# program: --variants, --show, --keep DIR, --cases a,b, --no-compare.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/bench-build.sh" --target text_accuracy
QT_QPA_PLATFORM=offscreen exec "$root/build/bench/bench/text/text_accuracy" "$@"
