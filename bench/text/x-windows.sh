#!/usr/bin/env bash
# Real program windows for the text accuracy benchmark: xmessage dialogs under
# the private X server (scripts/xserver.sh), grabbed with import. Writes
# DIR/x11-N.png and DIR/x11-N.txt, the text the window shows, for
# `text_accuracy --images DIR`. The fonts (X core fonts, drawn without
# anti-aliasing), sizes, colours and texts come from the lists below, picked
# by the case number.
#   bench/text/x-windows.sh DIR [COUNT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VELLUMIX_X_WINDOWS:-}" ]; then
    export VELLUMIX_X_WINDOWS=1
    exec "$here/../../scripts/xserver.sh" "$0" "$@"
fi
out=${1:?usage: x-windows.sh DIR [COUNT]}
count=${2:-16}
mkdir -p "$out"

families=(helvetica times courier "new century schoolbook" fixed)
sizes=(11 12 14 17)
colours=("black white" "gray20 gray92" "gray85 gray15" "white #1e3a5f" "#222222 #fdf6e3")
texts=(
    "Version 4.12.0 is available.|It needs 1.2 GB of free space."
    "The download finished at 20:33.|Install it now?"
    "Backup of Sep 9 2025: 14.2 MB|Last checked today at 06:37."
    "Your changes will be lost|if you do not save them."
    "Disk usage: 61.5% of 250 GB|3 items selected"
    "Update 6.1 failed (error 412).|Try again later."
)
buttons=("OK" "OK,Cancel" "Save,Don't Save,Cancel" "Install Now,Later")

for ((n = 0; n < count; ++n)); do
    family=${families[$((n % ${#families[@]}))]}
    size=${sizes[$(((n / 2) % ${#sizes[@]}))]}
    read -r fg bg <<<"${colours[$(((n / 3) % ${#colours[@]}))]}"
    text=${texts[$((n % ${#texts[@]}))]}
    button=${buttons[$(((n / 5) % ${#buttons[@]}))]}
    if [ "$family" = fixed ]; then
        font=fixed
    else
        font="-*-$family-medium-r-normal--$size-*-*-*-*-*-iso8859-1"
    fi
    xmessage -fn "$font" -fg "$fg" -bg "$bg" -buttons "$button" -geometry +200+200 \
        "${text//|/$'\n'}" &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --class Xmessage | head -n 1)
    sleep 0.5
    import -window "$window" "$out/x11-$n.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    { printf '%s\n' "${text//|/$'\n'}"; printf '%s\n' "${button//,/ }"; } >"$out/x11-$n.txt"
done
