#!/usr/bin/env bash
# The inside of run.sh, under the private X server: each page of the table is
# copied with the script that puts its scroll position in the title and the
# fixed part it is captured with, shown in Chromium and captured.
#   capture-pages.sh BENCH FRAMES DUMP_DIR [PAGE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$1
frames=$2
dump=$3
shift 3
work=$(mktemp -d "${TMPDIR:-/tmp}/vellumix-browser.XXXXXX")
browser=""
stop() {
    [ -n "$browser" ] && kill "$browser" 2>/dev/null && wait "$browser" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT

# NAME | FILE | ADDITION (see additions.sh) | AREA X,W | COLUMN X,Y,W,H within the area
pages=(
    "python-sidebar|/usr/share/doc/python3-doc/html/library/stdtypes.html|none|0,1280|262,0,1018,900"
    "python-band|/usr/share/doc/python3-doc/html/library/stdtypes.html|band|262,1018|0,60,1018,840"
    "cmake-sidebar|/usr/share/doc/cmake-doc/html/manual/cmake-buildsystem.7.html|fixedSidebar|0,1280|230,0,1050,900"
    "cmake-band|/usr/share/doc/cmake-doc/html/manual/cmake-language.7.html|band|0,1280|0,60,1280,840"
    "debian-reference|/usr/share/debian-reference/ch01.en.html|bandAndFooter|0,1280|0,60,1280,800"
    "postgresql|/usr/share/doc/postgresql-doc-15/html/sql-select.html|bandAndLateBadge|0,1280|0,60,1280,760"
    "sqlite|/usr/share/doc/sqlite3/lang_select.html|blankSidebar|0,1280|200,0,1080,900"
    "git|/usr/share/doc/git-doc/git.html|bandWithCaret|0,1280|0,60,1280,840"
)

# shellcheck source=additions.sh
. "$here/additions.sh"

status=0
for row in "${pages[@]}"; do
    IFS='|' read -r name file addition area column <<<"$row"
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then
        continue
    fi
    copy=$work/$name.html
    withAddition "$file" "$addition" >"$copy"
    DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 chromium --no-sandbox --test-type \
        --user-data-dir="$work/profile-$name" --no-first-run --disable-gpu \
        --disable-smooth-scrolling --window-size=1280,900 --window-position=0,0 \
        --app="file://$copy" >"$work/chromium-$name.log" 2>&1 &
    browser=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name '^y 0 1280 900' 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "$name: the page did not open" >&2; status=1; continue; }
    sleep 1
    X=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $4 }')
    Y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $4 }')
    IFS=, read -r ax aw <<<"$area"
    # The wheel scrolls what is under the pointer: the page's column, near
    # its right edge, where a link is rarely underlined (and its address
    # shown) for hovering.
    xdotool mousemove $((X + ax + aw - 40)) $((Y + 450))
    "$bench" "$name" "$window" "$((X + ax)),$Y,$aw,900" "$column" "$frames" "$dump" ||
        status=1
    kill "$browser" && wait "$browser" 2>/dev/null || true
    browser=""
done
exit "$status"
