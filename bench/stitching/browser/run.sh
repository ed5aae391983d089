#!/usr/bin/env bash
# Scrolling capture of documentation pages in a real Chromium window of
# 1,280 × 900 under the private X server, scrolled with the mouse wheel, each
# page captured whole (with its sidebar, band, footer or badge) and as its
# scrolled column alone; see BrowserCapture.cpp for what is checked. Install
# what it reads first with setup.sh.
#   bench/stitching/browser/run.sh [FRAMES, default 45] [DUMP_DIR] [PAGE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
frames=${1:-45}
dump=${2:-}
shift 2 || shift $#
bench=$root/build/bench/bench/stitching/bench_stitching_browser
[ -x "$bench" ] || "$root/scripts/bench-build.sh" --target bench_stitching_browser >/dev/null
command -v chromium >/dev/null || { echo "run $here/setup.sh first" >&2; exit 1; }
[ -z "$dump" ] || mkdir -p "$dump"
"$root/scripts/xserver.sh" bash "$here/capture-pages.sh" "$bench" "$frames" "$dump" "$@"
