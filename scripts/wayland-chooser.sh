#!/usr/bin/env bash
# The output chooser of the portal in scripts/wayland.sh: it reads the
# outputs offered, one a line, and names the next one in turn, so that
# successive screen casts cover every output. It declines, as a user would in
# the desktop's dialog, while "$VELLUMIX_WAYLAND_STATE/refuse" exists.
set -euo pipefail
state=${VELLUMIX_WAYLAND_STATE:?}
mapfile -t outputs
[ -e "$state/refuse" ] && exit 0
[ ${#outputs[@]} -gt 0 ] || exit 0
turn=$(cat "$state/chooser-turn" 2>/dev/null || echo 0)
echo $((turn + 1)) >"$state/chooser-turn"
echo "${outputs[turn % ${#outputs[@]}]}"
