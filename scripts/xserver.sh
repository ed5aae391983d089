#!/usr/bin/env bash
# Runs a command under a private X server: Xorg with the dummy video driver
# (3840 × 2160 split into the monitors LEFT and RIGHT, 1920 × 1080 each) and
# the openbox window manager, reachable only with a cookie of its own.
# DISPLAY and XAUTHORITY are set for the command alone; the server stops when
# it ends, and the command's status is returned.
#   scripts/xserver.sh COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vellumix-x.XXXXXX")
xorg_pid=""
wm_pid=""

stop() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null && wait "$xorg_pid" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT

fail() {
    echo "xserver.sh: $1" >&2
    [ -f "$work/xorg.log" ] && tail -n 30 "$work/xorg.log" >&2
    exit 1
}

# Waits up to ten seconds for `[ FLAG FILE ]` to hold while process PID
# lives: fails with "NAME did not start" when it dies, LATE when time runs out.
wait_for() {
    local flag=$1 file=$2 pid=$3 name=$4 late=$5
    for _ in $(seq 100); do
        [ "$flag" "$file" ] && return
        kill -0 "$pid" 2>/dev/null || fail "$name did not start"
        sleep 0.1
    done
    [ "$flag" "$file" ] || fail "$late"
}

# The server loads every cookie in its file whatever display it names; the
# clients' file gets the cookie under the display number once it is known.
cookie=$(mcookie)
touch "$work/server-auth" "$work/client-auth"
xauth -q -f "$work/server-auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
mkdir "$work/conf.d"
exec 3>"$work/displayfd"
Xorg -displayfd 3 -noreset -nolisten tcp -auth "$work/server-auth" \
    -config "$here/xorg-dummy.conf" -configdir "$work/conf.d" \
    -logfile "$work/xorg.log" -novtswitch -sharevts >"$work/xorg.out" 2>&1 &
xorg_pid=$!
exec 3>&-
wait_for -s "$work/displayfd" "$xorg_pid" Xorg "Xorg did not report a display"
display=":$(tr -dc '0-9' <"$work/displayfd")"
export XAUTHORITY="$work/client-auth"
xauth -q -f "$XAUTHORITY" add "$display" MIT-MAGIC-COOKIE-1 "$cookie"

# The output's monitor becomes LEFT, so Qt sees exactly two screens.
output=$(DISPLAY=$display xrandr | awk '/ connected/ { print $1; exit }')
DISPLAY=$display xrandr --setmonitor LEFT 1920/508x1080/286+0+0 "$output" >/dev/null
DISPLAY=$display xrandr --setmonitor RIGHT 1920/508x1080/286+1920+0 none >/dev/null

DISPLAY=$display openbox --sm-disable --startup "touch $work/wm-ready" \
    >"$work/openbox.log" 2>&1 &
wm_pid=$!
wait_for -e "$work/wm-ready" "$wm_pid" openbox "openbox did not get ready"

status=0
DISPLAY=$display VELLUMIX_XSERVER=$display "$@" || status=$?
exit "$status"
