#!/usr/bin/env bash
# Screen capture on Wayland, in the headless sway session of
# scripts/wayland.sh (its second output: 3,200 × 2,000 pixels at scale 2):
#  - capture.region of 1,600 × 1,000 points through the running app and
#    vellumix-request, beside `grim -g` of the same region, each writing a PNG:
#    wall time per capture and CPU time (the app's and the client's, grim's);
#  - the capture service's frames of the whole output (bench_capture), over
#    a still screen and over a changing one: the time and CPU per frame, hence
#    the frames a second it can sample.
#   bench/capture/wayland.sh [runs, default 15]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-15}
build=$root/build/bench
for program in app/Vellumix client/vellumix-request bench/capture/bench_capture; do
    [ -x "$build/$program" ] ||
        "$root/scripts/bench-build.sh" --target Vellumix vellumix-request bench_capture >/dev/null
done

"$root/scripts/wayland.sh" bash -s "$build" "$runs" <<'INNER'
set -euo pipefail
build=$1
runs=$2
work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data
request=$build/client/vellumix-request
"$build/app/Vellumix" >"$work/app.log" 2>&1 &
app=$!
for _ in $(seq 100); do "$request" permissions.status >/dev/null 2>&1 && break; sleep 0.1; done
display=$("$request" displays.list | python3 -c \
    'import json,sys; print([d["id"] for d in json.load(sys.stdin)["result"]["displays"] if d["scale"] == 2][0])')
arguments="{\"display\":$display,\"rect\":[0,0,1600,1000],\"output\":\"$work/ours.png\",\"overwrite\":true}"
"$request" capture.region "$arguments" >/dev/null # the desktop's question and the cast

cpu_ms() { awk '{ printf "%d", ($14 + $15) * 1000 / 100 }' "/proc/$1/stat"; }
median() { sort -n | sed -n "$((($1 + 1) / 2))p"; }
walls=()
app_cpu_before=$(cpu_ms "$app")
TIMEFORMAT='%R %U %S'
client_cpu=0
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    times=$( { time "$request" capture.region "$arguments" >/dev/null; } 2>&1 )
    walls+=($((($(date +%s%N) - start) / 1000000)))
    client_cpu=$(echo "$client_cpu $times" | awk '{ printf "%d", $1 + ($3 + $4) * 1000 }')
done
app_cpu=$(($(cpu_ms "$app") - app_cpu_before))
echo "capture.region 1600x1000 pt (3200x2000 px) via vellumix-request: median $(printf '%s\n' "${walls[@]}" | median "$runs") ms wall, CPU $(((app_cpu + client_cpu) / runs)) ms a capture (app $((app_cpu / runs)), client $((client_cpu / runs))), $runs runs"

walls=()
grim_cpu=0
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    times=$( { time grim -g "1920,0 1600x1000" -s 2 "$work/grim.png"; } 2>&1 )
    walls+=($((($(date +%s%N) - start) / 1000000)))
    grim_cpu=$(echo "$grim_cpu $times" | awk '{ printf "%d", $1 + ($3 + $4) * 1000 }')
done
echo "grim -g of the same region: median $(printf '%s\n' "${walls[@]}" | median "$runs") ms wall, CPU $((grim_cpu / runs)) ms a capture, $runs runs"
cmp -s <(convert "$work/ours.png" rgba:-) <(convert "$work/grim.png" rgba:-) &&
    echo "the two PNGs hold the same pixels" || echo "the two PNGs differ"
kill "$app"

# Over a still screen the cast sends nothing and the source copies the
# output instead; a pointer moving on the output (drawn into it here) keeps
# the cast's frames coming, as a page being scrolled would.
echo "still screen:"
QT_QPA_PLATFORM=wayland "$build/bench/capture/bench_capture" \
    --benchmark_filter='WholeDisplay(ScreenSource|CaptureService)' --benchmark_min_time=2
echo "changing screen:"
(while true; do
    swaymsg -q "seat seat0 cursor set 2600 500; seat seat0 cursor set 2601 501" || break
    sleep 0.02
done) &
mover=$!
QT_QPA_PLATFORM=wayland "$build/bench/capture/bench_capture" \
    --benchmark_filter='WholeDisplay(ScreenSource|CaptureService)' --benchmark_min_time=2
kill "$mover"
INNER
