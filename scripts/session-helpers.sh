# Helpers the private desktop sessions (wayland.sh, gnome.sh) share; sourced.

# Says what failed (with the tail of LOG, if given) and ends the script.
fail() {
    echo "$(basename "$0"): $1" >&2
    [ -n "${2:-}" ] && [ -f "$2" ] && tail -n 30 "$2" >&2
    exit 1
}

# Waits up to ten seconds for `[ FLAG FILE ]` to hold while process PID lives.
wait_for() {
    local flag=$1 file=$2 pid=$3 name=$4 log=$5
    for _ in $(seq 100); do
        [ "$flag" "$file" ] && return
        kill -0 "$pid" 2>/dev/null || fail "$name did not start" "$log"
        sleep 0.1
    done
    [ "$flag" "$file" ] || fail "$name did not get ready" "$log"
}
