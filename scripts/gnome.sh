#!/usr/bin/env bash
# Runs a command in a private headless GNOME session: mutter as the Wayland
# compositor with one 1920 × 1080 monitor ("Meta-0"), a session bus of its
# own, PipeWire with WirePlumber, and the desktop portal with its GNOME
# backend. Lines written to the FIFO "$VELLUMIX_GNOME_STATE/input" are real
# pointer and keyboard input (see gnome-remote.c); the file
# "$VELLUMIX_GNOME_STATE/screen-node" names the PipeWire node of a cast of
# the monitor, a frame of which is a screenshot:
#   gst-launch-1.0 -q pipewiresrc path=NODE num-buffers=1 ! videoconvert ! pngenc ! filesink location=F
# Everything stops when the command ends, and its status is returned.
#   scripts/gnome.sh COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

. "$here/session-helpers.sh"

if [ "${1:-}" = "--inside-bus" ]; then
    shift
    state=$VELLUMIX_GNOME_STATE
    pipewire >"$state/pipewire.log" 2>&1 &
    pids=($!)
    wait_for -S "$XDG_RUNTIME_DIR/pipewire-0" "${pids[0]}" pipewire "$state/pipewire.log"
    wireplumber >"$state/wireplumber.log" 2>&1 &
    pids+=($!)
    mutter --headless --wayland --no-x11 --wayland-display=wayland-gnome \
        --virtual-monitor 1920x1080 >"$state/mutter.log" 2>&1 &
    pids+=($!)
    wait_for -S "$XDG_RUNTIME_DIR/wayland-gnome" "${pids[2]}" mutter "$state/mutter.log"
    export WAYLAND_DISPLAY=wayland-gnome
    dbus-update-activation-environment WAYLAND_DISPLAY XDG_RUNTIME_DIR XDG_CURRENT_DESKTOP \
        XDG_SESSION_TYPE VELLUMIX_GNOME_STATE
    mkfifo "$state/input"
    "$state/gnome-remote" "$state/input" "$state/screen-node" >"$state/remote.log" 2>&1 &
    pids+=($!)
    wait_for -s "$state/screen-node" "${pids[3]}" "the remote input" "$state/remote.log"
    status=0
    "$@" || status=$?
    kill "${pids[@]}" 2>/dev/null || true
    # A busy mutter may not stop when asked; left running it takes a core.
    for _ in $(seq 30); do
        kill -0 "${pids[@]}" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    exit "$status"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vellumix-gnome.XXXXXX")
# The document portal mounts a file system in the runtime folder.
trap 'fusermount3 -u -q "$work/run/doc" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/state"
cc -O2 -o "$work/state/gnome-remote" "$here/gnome-remote.c" \
    $(pkg-config --cflags --libs gio-2.0 xkbcommon) ||
    fail "the session's helper did not build (libglib2.0-dev, libxkbcommon-dev?)"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" HOME="$work"
export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
export VELLUMIX_GNOME_STATE="$work/state"
# The portal's GTK dialogs would start an accessibility bus that outlives the
# session and holds the caller's output open.
export NO_AT_BRIDGE=1 GTK_A11Y=none
unset DISPLAY XAUTHORITY WAYLAND_DISPLAY SWAYSOCK
dbus-run-session -- "$0" --inside-bus "$@"
