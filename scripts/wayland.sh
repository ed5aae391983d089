#!/usr/bin/env bash
# Runs a command in a private headless Wayland session: sway with two outputs
# (HEADLESS-1, 1920 × 1080 at scale 1, and HEADLESS-2, 3200 × 2000 at scale 2
# to its right), a session bus of its own, PipeWire with WirePlumber, and the
# desktop portal with its wlr backend. The portal's output chooser answers
# without asking: it hands out the outputs in turn, or declines while the file
# "$VELLUMIX_WAYLAND_STATE/refuse" exists, as a user refusing would.
# Drags need real pointer events: lines written to the FIFO
# "$VELLUMIX_WAYLAND_STATE/pointer-input" drive the virtual pointer (see
# wayland-pointer.c). Windows float at their own size, as on a stacking desktop, where
# `swaymsg '[title="..."] move absolute position X Y'` places them.
# The backend's log, "$VELLUMIX_WAYLAND_STATE/portal-wlr.log", names the
# options of each cast asked for (level VELLUMIX_PORTAL_LOG, INFO unless set).
# WAYLAND_DISPLAY, SWAYSOCK and the session bus are set for the command alone;
# everything stops when it ends, and the command's status is returned.
#   scripts/wayland.sh COMMAND [ARGS...]
# sway refuses to run as root: run by root, the script runs sway as the
# unprivileged user "vellumix-wayland" (made on first use); the rest of the
# session, and the command, run as the caller.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

. "$here/session-helpers.sh"

# Inside the session bus: the media server, the portal's wlr backend, then
# the command. The portal itself starts on the first call to it.
if [ "${1:-}" = "--inside-bus" ]; then
    shift
    dbus-update-activation-environment WAYLAND_DISPLAY SWAYSOCK XDG_RUNTIME_DIR \
        XDG_CURRENT_DESKTOP XDG_SESSION_TYPE XDG_CONFIG_HOME VELLUMIX_WAYLAND_STATE \
        XDG_DESKTOP_PORTAL_DIR
    pipewire >"$VELLUMIX_WAYLAND_STATE/pipewire.log" 2>&1 &
    pipewire_pid=$!
    wait_for -S "$XDG_RUNTIME_DIR/pipewire-0" "$pipewire_pid" pipewire \
        "$VELLUMIX_WAYLAND_STATE/pipewire.log"
    wireplumber >"$VELLUMIX_WAYLAND_STATE/wireplumber.log" 2>&1 &
    wireplumber_pid=$!
    mkfifo "$VELLUMIX_WAYLAND_STATE/pointer-input"
    "$VELLUMIX_WAYLAND_STATE/pointer" "$VELLUMIX_WAYLAND_STATE/pointer-input" \
        >"$VELLUMIX_WAYLAND_STATE/pointer.log" 2>&1 &
    pointer_pid=$!
    wait_for -s "$VELLUMIX_WAYLAND_STATE/pointer.log" "$pointer_pid" "the virtual pointer" \
        "$VELLUMIX_WAYLAND_STATE/pointer.log"
    # The backend gives up when PipeWire is not serving yet: try again.
    for _ in $(seq 50); do
        LD_PRELOAD="$VELLUMIX_WAYLAND_STATE/shm-casts.so" \
            /usr/libexec/xdg-desktop-portal-wlr -r -l "${VELLUMIX_PORTAL_LOG:-INFO}" \
            >>"$VELLUMIX_WAYLAND_STATE/portal-wlr.log" 2>&1 &
        portal_pid=$!
        sleep 0.2
        kill -0 "$portal_pid" 2>/dev/null && break
    done
    kill -0 "$portal_pid" 2>/dev/null ||
        fail "the portal's wlr backend did not start" "$VELLUMIX_WAYLAND_STATE/portal-wlr.log"
    status=0
    "$@" || status=$?
    kill "$portal_pid" "$pointer_pid" "$wireplumber_pid" "$pipewire_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    exit "$status"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vellumix-wl.XXXXXX")
sway_pid=""
# sway ends by the signal, so its status is 143: under `set -e` that status
# would replace the command's.
stop() {
    if [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null; then
        wait "$sway_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT

as_sway=()
if [ "$(id -u)" -eq 0 ]; then
    id vellumix-wayland >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin vellumix-wayland
    as_sway=(runuser -u vellumix-wayland --)
fi
chmod 711 "$work"
cc -shared -fPIC -O2 -o "$work/shm-casts.so" "$here/wayland-shm-casts.c" -ldl &&
    cc -O2 -o "$work/pointer" "$here/wayland-pointer.c" -lwayland-client ||
    fail "the session's helpers did not build (libwayland-dev?)"
mkdir -m 700 "$work/sway" "$work/run" "$work/state"
mkdir -p "$work/config/xdg-desktop-portal-wlr" "$work/portals"
# The wlr backend alone: others installed (GNOME's, GTK's) would start too.
cp /usr/share/xdg-desktop-portal/portals/wlr.portal "$work/portals/"
[ ${#as_sway[@]} -gt 0 ] && chown vellumix-wayland "$work/sway"

cat >"$work/sway.conf" <<EOF
output HEADLESS-1 resolution 1920x1080 position 0 0 scale 1
output HEADLESS-2 resolution 3200x2000 position 1920 0 scale 2
default_border none
default_floating_border none
focus_follows_mouse no
for_window [title=".*"] floating enable
exec touch $work/sway/ready
EOF
chmod 644 "$work/sway.conf"
cat >"$work/config/xdg-desktop-portal-wlr/config" <<EOF
[screencast]
chooser_type=dmenu
chooser_cmd=$here/wayland-chooser.sh
max_fps=30
EOF

"${as_sway[@]}" env -i PATH="$PATH" HOME="$work/sway" XDG_RUNTIME_DIR="$work/sway" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_HEADLESS_OUTPUTS=2 sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
wait_for -e "$work/sway/ready" "$sway_pid" sway "$work/sway.log"

export WAYLAND_DISPLAY="$work/sway/wayland-1"
[ -S "$WAYLAND_DISPLAY" ] || WAYLAND_DISPLAY="$work/sway/wayland-0"
SWAYSOCK=$(ls "$work"/sway/sway-ipc.*.sock)
export SWAYSOCK
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
export XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland
export VELLUMIX_WAYLAND_STATE="$work/state" XDG_DESKTOP_PORTAL_DIR="$work/portals"
mv "$work/shm-casts.so" "$work/pointer" "$VELLUMIX_WAYLAND_STATE/"
unset DISPLAY XAUTHORITY
status=0
dbus-run-session -- "$0" --inside-bus "$@" || status=$?
exit "$status"
