#!/usr/bin/env bash
# On the display scripts/with-xvfb.sh started: face 2 runs, face 5 starts
# and takes its place; the transparent corner of face 5 lets the pointer
# through to the desktop while its opaque middle belongs to the clock.
#
#   desktop_takeover.sh LUMICLOCK2 LUMICLOCK5
set -euo pipefail

face2=$1
face5=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-clock.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    for log in "$work"/*.log; do
        [ -e "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

clock_window() { xdotool search --onlyvisible --class '^Lumi_DTA_Clock$' | head -n1 | grep .; }
running() { kill -0 "$1" 2>/dev/null; }
gone() { ! running "$1"; }
size_is() { xwininfo -id "$1" | grep -q "Width: $2" && xwininfo -id "$1" | grep -q "Height: $3"; }
# The window the pointer is over at (x, y), as xdotool reports it.
window_under() {
    xdotool mousemove --sync "$1" "$2" >/dev/null
    sleep 0.1
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}

"$face2" >"$work/face2.log" 2>&1 &
pids+=($!)
face2_pid=$!
wait_for 30 "face 2's window" clock_window
wait_for 10 "face 2 at 132 x 400" size_is "$(clock_window)" 132 400

"$face5" >"$work/face5.log" 2>&1 &
pids+=($!)
face5_pid=$!
wait_for 15 "face 2 to close" gone "$face2_pid"
running "$face5_pid" || fail "face 5 ended instead of taking over"
wait_for 30 "face 5's window" clock_window
window=$(clock_window)
wait_for 10 "face 5 at 200 x 200" size_is "$window" 200 200

eval "$(xdotool getwindowgeometry --shell "$window")"
# Give the first frames time to set the window's shape.
sleep 1
# Nothing else is on the display: what is not the clock (or the window
# manager's frame around it) is the root window.
root=$(printf '%d' "$(xwininfo -root | awk '/Window id:/ {print $4}')")
middle=$(window_under $((X + 100)) $((Y + 120)))
corner=$(window_under $((X + 2)) $((Y + 2)))
[ "$middle" != "$root" ] || fail "the face's middle lets the pointer through"
[ "$corner" = "$root" ] || fail "the transparent corner catches the pointer ($corner)"
echo "face 5 took over from face 2; its corner lets the pointer through"
