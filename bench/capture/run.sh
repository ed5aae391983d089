#!/usr/bin/env bash
# Screen capture speed under the private X server of scripts/xserver.sh, with
# its monitors joined into one 3,840 × 2,160 display: our MIT-SHM grab, Qt's
# QScreen::grabWindow and the capture service in one process (bench_capture),
# then the whole-process time of ImageMagick's `import -window root` writing
# raw RGBA to /dev/null, for reference (median of several runs).
#   bench/capture/run.sh [import runs, default 9] [benchmark options]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-9}
shift || true
bench=$root/build/bench/bench/capture/bench_capture
[ -x "$bench" ] || "$root/scripts/bench-build.sh" --target bench_capture >/dev/null
command -v import >/dev/null || { echo "ImageMagick's import is not installed" >&2; exit 1; }

"$root/scripts/xserver.sh" bash -s "$bench" "$runs" "$@" <<'INNER'
set -euo pipefail
bench=$1
runs=$2
shift 2
xrandr --delmonitor LEFT >/dev/null
xrandr --delmonitor RIGHT >/dev/null
QT_QPA_PLATFORM=xcb "$bench" "$@"
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    import -window root -depth 8 rgba:/dev/null
    times+=($((($(date +%s%N) - start) / 1000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "import -window root (3840 x 2160, whole process): median $((median / 1000)).$(((median % 1000) / 100)) ms of $runs runs"
INNER
