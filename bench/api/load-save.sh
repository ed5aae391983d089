#!/usr/bin/env bash
# VellumixEdit loading and saving a 3,840 x 2,160 screenshot without marks
# against `vips copy` on the same file, for the file as Qt, Pillow and
# libvips write it. Reports the median CPU time of several runs of each and
# the output sizes. Installs libvips-tools and python3-pil when missing.
#   bench/api/load-save.sh [runs, default 7]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-7}
missing=()
command -v vips >/dev/null || missing+=(libvips-tools)
/usr/bin/python3 -c 'import PIL' 2>/dev/null || missing+=(python3-pil)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
"$root/scripts/bench-build.sh" --target VellumixEdit vellumix-bench-screenshot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$root/build/bench/bench/api/vellumix-bench-screenshot" "$work/qt.png"
/usr/bin/python3 -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    "$work/qt.png" "$work/pillow.png"
vips copy "$work/qt.png" "$work/vips.png"

# cpu <stdin> <output> <command...>: median CPU seconds of the runs.
cpu() {
    local in=$1 out=$2 times=()
    shift 2
    for _ in $(seq "$runs"); do
        rm -f "$out"
        /usr/bin/time -o "$work/time" -f "%U %S" "$@" <"$in" >/dev/null 2>&1
        times+=("$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

echo "median CPU of $runs runs; input written by each program, then loaded and saved as PNG"
for writer in qt pillow vips; do
    input=$work/$writer.png
    echo "{\"input\":\"$input\",\"output\":\"$work/out-ours.png\",\"marks\":[]}" >"$work/request"
    ours=$(cpu "$work/request" "$work/out-ours.png" "$root/build/bench/tool/VellumixEdit")
    theirs=$(cpu /dev/null "$work/out-vips.png" vips copy "$input" "$work/out-vips.png")
    printf "%-7s %9d bytes in   VellumixEdit cpu %.3f s %9d bytes   vips copy cpu %.3f s %9d bytes   ratio %.2f\n" \
        "$writer" "$(stat -c %s "$input")" "$ours" "$(stat -c %s "$work/out-ours.png")" \
        "$theirs" "$(stat -c %s "$work/out-vips.png")" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')"
done
