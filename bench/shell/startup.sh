#!/usr/bin/env bash
# Start-up of the Release app under the private X server: the time from
# launch until the automation folder answers (the window or tray is up by
# then), over several launches, and the resident memory once idle.
#   bench/shell/startup.sh [runs, default 15]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-15}
if [ -z "${DISPLAY:-}" ]; then
    exec "$root/scripts/xserver.sh" "$0" "$@"
fi
app=$root/build/release/app/Vellumix
client=$root/build/release/client/vellumix-request
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

times=()
for _ in $(seq "$runs"); do
    rm -rf "$XDG_DATA_HOME"
    start=$(date +%s%N)
    "$app" >/dev/null 2>&1 &
    pid=$!
    until "$client" --timeout 2 permissions.status >/dev/null 2>&1; do sleep 0.005; done
    times+=($((($(date +%s%N) - start) / 1000000)))
    last_pid=$pid
    [ "${#times[@]}" -lt "$runs" ] && { kill "$pid"; wait "$pid" 2>/dev/null || true; }
done
sleep 3
rss=$(awk '/VmRSS/ { print $2 }' "/proc/$last_pid/status")
kill "$last_pid"; wait "$last_pid" 2>/dev/null || true

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "start to ready over $runs launches: median ${median} ms, all: $(echo $sorted)"
echo "resident memory idle: $((rss / 1024)) MiB"
