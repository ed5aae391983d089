#!/usr/bin/env bash
# VellumixEdit against ImageMagick's convert on one job: a 3,840 x 2,160
# screenshot-like image, 20 marks (rectangles, ellipses, arrows, a line, text,
# a highlight, a pixelated area, a cover) and a crop, written as PNG and as
# JPEG. Reports the median wall and CPU time of several runs and the output
# sizes. Run scripts/bench-build.sh first.
#   bench/api/compare.sh [runs, default 7]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-7}
tool=$root/build/bench/tool/VellumixEdit
maker=$root/build/bench/bench/api/vellumix-bench-screenshot
for program in "$tool" "$maker"; do
    [ -x "$program" ] || { echo "missing $program: run scripts/bench-build.sh" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "ImageMagick's convert is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$maker" "$work/shot.png"

# "tool x0 y0 x1 y1" or "text x y words": one row per mark, turned into both programs' terms.
marks=(
    "rectangle 200 150 900 600"
    "rectangle 1000 200 1700 700"
    "rectangle 2000 300 2600 800"
    "rectangle 300 1200 1200 1800"
    "rectangle 2200 1300 3300 1900"
    "rectangle 1500 900 1900 1100"
    "ellipse 2700 200 3500 700"
    "ellipse 1300 1300 2000 1900"
    "arrow 950 650 1200 1000"
    "arrow 2650 850 3000 1200"
    "arrow 100 2000 600 1600"
    "arrow 3600 100 3200 500"
    "line 200 1000 3600 1000"
    "text 250 100 Login button moves here"
    "text 2050 250 Wrong colour"
    "text 350 1150 Check the spacing"
    "text 2250 1250 Crop this area"
    "highlight 600 1900 2400 1960"
    "pixelate 2000 1400 3000 1800"
    "cover 3400 1950 3800 2100"
)
crop=(100 50 3600 2000)

json=""
magick=(-strokewidth 3)
for row in "${marks[@]}"; do
    read -r kind x0 y0 rest <<<"$row"
    [ -n "$json" ] && json+=","
    if [ "$kind" = text ]; then
        json+="{\"tool\":\"text\",\"points\":[[$x0,$y0]],\"text\":\"$rest\",\"fontSize\":32}"
        magick+=(-stroke none -fill red -font Helvetica -pointsize 32
            -draw "text $x0,$((y0 + 32)) '$rest'")
        continue
    fi
    read -r x1 y1 <<<"$rest"
    case $kind in
    highlight) json+="{\"tool\":\"highlight\",\"points\":[[$x0,$y0],[$x1,$y1]],\"color\":[1,1,0]}" ;;
    cover) json+="{\"tool\":\"cover\",\"points\":[[$x0,$y0],[$x1,$y1]],\"color\":[0,0,0]}" ;;
    *) json+="{\"tool\":\"$kind\",\"points\":[[$x0,$y0],[$x1,$y1]]}" ;;
    esac
    w=$((x1 - x0)) h=$((y1 - y0))
    case $kind in
    rectangle) magick+=(-fill none -stroke red -draw "rectangle $x0,$y0 $x1,$y1") ;;
    ellipse)
        magick+=(-fill none -stroke red
            -draw "ellipse $(((x0 + x1) / 2)),$(((y0 + y1) / 2)) $((w / 2)),$((h / 2)) 0,360")
        ;;
    line) magick+=(-stroke red -draw "line $x0,$y0 $x1,$y1") ;;
    arrow)
        head=$(awk -v a="$x0" -v b="$y0" -v c="$x1" -v d="$y1" 'BEGIN {
            t = atan2(d - b, c - a); l = 24; s = 0.5
            printf "%d,%d %d,%d %d,%d", c, d, c - l * cos(t - s), d - l * sin(t - s),
                   c - l * cos(t + s), d - l * sin(t + s) }')
        magick+=(-stroke red -draw "line $x0,$y0 $x1,$y1" -fill red -draw "polygon $head")
        ;;
    highlight) magick+=(-stroke none -fill "rgba(255,255,0,0.35)" -draw "rectangle $x0,$y0 $x1,$y1") ;;
    cover) magick+=(-stroke none -fill black -draw "rectangle $x0,$y0 $x1,$y1") ;;
    pixelate)
        magick+=("(" +clone -crop "${w}x${h}+$x0+$y0" +repage -scale 8.3334% -scale "${w}x${h}!" ")"
            -geometry "+$x0+$y0" -composite)
        ;;
    esac
done
magick+=(-crop "${crop[2]}x${crop[3]}+${crop[0]}+${crop[1]}" +repage)

# Prints "wall cpu" in seconds for one run of the command.
timed() {
    local TIMEFORMAT="%R %U %S" line
    line=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$line"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# measure <label> <output file> <command...>: one report line.
measure() {
    local label=$1 out=$2 walls=() cpus=() wall cpu
    shift 2
    for _ in $(seq "$runs"); do
        rm -f "$out"
        read -r wall cpu < <(timed "$@")
        walls+=("$wall") cpus+=("$cpu")
    done
    [ -s "$out" ] || { echo "$label wrote nothing" >&2; exit 1; }
    printf "%-22s wall %7.3f s   cpu %7.3f s   %10d bytes\n" "$label" \
        "$(printf '%s\n' "${walls[@]}" | median)" "$(printf '%s\n' "${cpus[@]}" | median)" \
        "$(stat -c %s "$out")"
}

edit() {
    "$tool" <<<"{\"input\":\"$work/shot.png\",\"output\":\"$1\",\"marks\":[$json],\"crop\":[$(
        IFS=,
        echo "${crop[*]}"
    )]}"
}

echo "source: 3840 x 2160, $(stat -c %s "$work/shot.png") bytes; ${#marks[@]} marks and a crop;" \
    "median of $runs runs"
for format in png jpg; do
    quality=()
    [ "$format" = jpg ] && quality=(-quality 90)
    measure "VellumixEdit $format" "$work/vellumix.$format" edit "$work/vellumix.$format"
    measure "ImageMagick $format" "$work/magick.$format" \
        convert "$work/shot.png" "${magick[@]}" "${quality[@]}" "$work/magick.$format"
done
