#!/usr/bin/env bash
# On the display scripts/with-xvfb.sh started: face 2 runs, face 5 starts
# and takes its place; the transparent corner of face 5 lets the pointer
# through to the desktop while its opaque middle belongs to the clock.
#
#   desktop_takeover.sh LUMICLOCK2 LUMICLOCK5
set -euo pipefail

source "$(dirname "$0")/../desktop/program_checks.sh"
require_tools xdotool xwininfo

face2=$1
face5=$2

clock_window() { xdotool search --onlyvisible --class '^Lumi_DTA_Clock$' | head -n1 | grep .; }
size_is() { xwininfo -id "$1" | grep -q "Width: $2" && xwininfo -id "$1" | grep -q "Height: $3"; }
# The window the pointer is over at (x, y), as xdotool reports it.
window_under() {
    xdotool mousemove --sync "$1" "$2" >/dev/null
    sleep 0.1
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}

start_program face2 "$face2"
face2_pid=$last_pid
wait_for 30 "face 2's window" clock_window
wait_for 10 "face 2 at 132 x 400" size_is "$(clock_window)" 132 400

start_program face5 "$face5"
face5_pid=$last_pid
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
