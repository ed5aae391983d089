#!/usr/bin/env bash
# PNG size and encoding CPU time on the screenshot corpus (a document page,
# code in a dark editor, a dark application, a photograph, a mixed screen):
# `vips copy` from libvips's own format to PNG (its encoder alone, plus the
# program's start), then our encoder and fixed encoder settings in one
# process (bench_imaging). Installs libvips-tools when missing.
#   bench/imaging/encoder-corpus.sh [vips runs, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
if ! command -v vips >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        libvips-tools >/dev/null
fi
"$root/scripts/bench-build.sh" --target bench_imaging vellumix-bench-screenshot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$root/build/bench/bench/api/vellumix-bench-screenshot" --corpus "$work"

for png in "$work"/*.png; do
    name=$(basename "$png" .png)
    vips copy "$png" "$work/$name.v"
    cpus=()
    for _ in $(seq "$runs"); do
        rm -f "$work/$name-vips.png"
        cpus+=("$({ /usr/bin/time -f "%U %S" vips copy "$work/$name.v" "$work/$name-vips.png"; } 2>&1 |
            awk '{ printf "%.3f", $1 + $2 }')")
    done
    median=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    printf "%-6s vips copy   cpu %6.0f ms   %10d bytes\n" "$name" "$(awk -v s="$median" 'BEGIN { print s * 1000 }')" \
        "$(stat -c %s "$work/$name-vips.png")"
done
"$root/build/bench/bench/imaging/bench_imaging" --benchmark_filter='^EncoderCorpus/'
