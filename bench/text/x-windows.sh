#!/usr/bin/env bash
# Real program windows for the text accuracy benchmark, under the private X
# server (scripts/xserver.sh), grabbed with import. Writes DIR/PROGRAM-N.png
# and DIR/PROGRAM-N.txt, the text the window shows, for
# `text_accuracy --images DIR`, which reports each program as a category.
# Every window draws with X core fonts, without anti-aliasing.
#   bench/text/x-windows.sh tuning|held-out DIR [COUNT]
# The tuning part is xmessage dialogs, picked from the first lists below by
# the case number. The held-out part, which tuning never looks at, picks from
# lists of its own by seeds 5000 onwards: xmessage dialogs with more buttons,
# and, one case in four, xterm showing a directory listing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VELLUMIX_X_WINDOWS:-}" ]; then
    export VELLUMIX_X_WINDOWS=1
    exec "$here/../../scripts/xserver.sh" "$0" "$@"
fi
part=${1:?usage: x-windows.sh tuning|held-out DIR [COUNT]}
out=${2:?usage: x-windows.sh tuning|held-out DIR [COUNT]}
count=${3:-20}
mkdir -p "$out"

tuning_faces=(helvetica-medium times-medium courier-medium "new century schoolbook-medium" fixed)
tuning_sizes=(11 12 14 17)
tuning_colours=("black white" "gray20 gray92" "gray85 gray15" "white #1e3a5f" "#222222 #fdf6e3")
tuning_texts=(
    "Version 4.12.0 is available.|It needs 1.2 GB of free space."
    "The download finished at 20:33.|Install it now?"
    "Backup of Sep 9 2025: 14.2 MB|Last checked today at 06:37."
    "Your changes will be lost|if you do not save them."
    "Disk usage: 61.5% of 250 GB|3 items selected"
    "Update 6.1 failed (error 412).|Try again later."
)
tuning_buttons=("OK" "OK,Cancel" "Save,Don't Save,Cancel" "Install Now,Later")

held_faces=(palatino-medium bookman-light "avant garde gothic-book" "urw gothic l-book"
    "century schoolbook l-regular" "nimbus sans l-regular" helvetica-bold times-bold
    "nimbus roman no9 l-regular")
held_mono_faces=(courier-medium courier-bold "nimbus mono l-regular" fixed)
held_sizes=(10 13 15 16 18)
held_colours=("black #f0f0f0" "#333333 #ffffe0" "gray90 gray25" "#e0e0e0 #2d2d2d"
    "navy #e8eef7" "#003300 #d8f0d8" "white #5a2d2d" "gray10 #dcdcdc")
held_texts=(
    "Connection to mail.example.org was lost.|Retrying in 30 seconds."
    "The file report-2024.pdf already exists.|Do you want to replace it?"
    "Battery low: 7% remaining.|Plug in the charger soon."
    "Printer Office 2F is out of paper.|Job 118 is waiting."
    "Delete 14 files from the Trash?|This cannot be undone."
    "Sync complete: 1,284 items, 3.7 GB.|Next sync at 18:45."
    "Your password expires in 5 days.|Change it before Friday, May 16."
    "Recording stopped after 00:12:48.|The file is 86 MB."
)
held_buttons=("Retry,Cancel" "Replace,Keep Both,Skip" "Yes,No" "Delete,Cancel"
    "Open,Show in Folder,Close" "Apply,Reset,Help,Close" "OK")
held_owners=(anna root build www-data)
held_files=(notes.txt report.pdf backup.tar.gz photos build.log main.cpp README.md
    config.json archive-2024.zip run.sh)
held_months=(Jan Mar May Jun Aug Sep Oct Dec)

# The XLFD name of FACE (family-weight) at SIZE pixels; "fixed" as it is.
core_font() {
    local face=$1 size=$2
    if [ "$face" = fixed ]; then
        echo fixed
    else
        echo "-*-${face%-*}-${face##*-}-r-normal--$size-*-*-*-*-*-iso8859-1"
    fi
}

# Grabs the first visible window of class CLASS, once drawn, into FILE and
# ends the program PID.
grab() {
    local class=$1 file=$2 pid=$3 window
    window=$(xdotool search --sync --onlyvisible --class "$class" | head -n 1)
    sleep 0.5
    import -window "$window" "$file"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# xmessage NAME FONT FG BG TEXT BUTTONS: TEXT's lines split at "|", BUTTONS'
# labels at ",".
message() {
    local name=$1 font=$2 fg=$3 bg=$4 text=$5 buttons=$6
    xmessage -fn "$font" -fg "$fg" -bg "$bg" -buttons "$buttons" -geometry +200+200 \
        "${text//|/$'\n'}" &
    grab Xmessage "$out/$name.png" $!
    { printf '%s\n' "${text//|/$'\n'}"; printf '%s\n' "${buttons//,/ }"; } >"$out/$name.txt"
}

# A few lines of a long directory listing, as `ls -l` prints them.
listing() {
    local lines=$((3 + RANDOM % 4)) i
    for ((i = 0; i < lines; ++i)); do
        printf -- '-rw-r--r-- 1 %s %s %7d %s %2d %02d:%02d %s\n' \
            "${held_owners[RANDOM % ${#held_owners[@]}]}" \
            "${held_owners[RANDOM % ${#held_owners[@]}]}" $((RANDOM * 7 % 300000)) \
            "${held_months[RANDOM % ${#held_months[@]}]}" $((1 + RANDOM % 28)) \
            $((RANDOM % 24)) $((RANDOM % 60)) "${held_files[RANDOM % ${#held_files[@]}]}"
    done
}

terminal() {
    local name=$1 font=$2 fg=$3 bg=$4 text
    # Not in a command substitution: a subshell draws RANDOM anew, and the
    # held-out part must follow its seed.
    listing >"$out/$name.txt"
    text=$(<"$out/$name.txt")
    # The cursor is hidden: it is no text. The listing is the shell's $1.
    # shellcheck disable=SC2016
    xterm -fn "$font" -fg "$fg" -bg "$bg" -geometry 80x8+200+200 \
        -e sh -c 'printf "\033[?25l%s" "$1"; sleep 60' sh "$text" &
    grab XTerm "$out/$name.png" $!
}

tuning_case() {
    local n=$1 fg bg
    read -r fg bg <<<"${tuning_colours[$(((n / 3) % ${#tuning_colours[@]}))]}"
    message "xmessage-$n" \
        "$(core_font "${tuning_faces[$((n % ${#tuning_faces[@]}))]}" \
            "${tuning_sizes[$(((n / 2) % ${#tuning_sizes[@]}))]}")" "$fg" "$bg" \
        "${tuning_texts[$((n % ${#tuning_texts[@]}))]}" \
        "${tuning_buttons[$(((n / 5) % ${#tuning_buttons[@]}))]}"
}

held_out_case() {
    local seed=$1 fg bg size face
    RANDOM=$seed
    read -r fg bg <<<"${held_colours[RANDOM % ${#held_colours[@]}]}"
    size=${held_sizes[RANDOM % ${#held_sizes[@]}]}
    # Faces are drawn out here: inside $(...) RANDOM would not follow the seed.
    if ((seed % 4 == 3)); then
        face=${held_mono_faces[RANDOM % ${#held_mono_faces[@]}]}
        terminal "xterm-$seed" "$(core_font "$face" "$size")" "$fg" "$bg"
    else
        face=${held_faces[RANDOM % ${#held_faces[@]}]}
        message "xmessage-$seed" "$(core_font "$face" "$size")" "$fg" "$bg" \
            "${held_texts[RANDOM % ${#held_texts[@]}]}" \
            "${held_buttons[RANDOM % ${#held_buttons[@]}]}"
    fi
}

for ((n = 0; n < count; ++n)); do
    case $part in
    tuning) tuning_case "$n" ;;
    held-out) held_out_case $((5000 + n)) ;;
    *) echo "x-windows.sh: no part $part" >&2 && exit 1 ;;
    esac
done
