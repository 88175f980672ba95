#!/usr/bin/env bash
# LumiDaily on a private X server (scripts/with-xvfb.sh): the real program
# opens a 320 x 184 window shaped by its page, the next-day button turns
# the page, and a second start ends by itself.
#
#   daily_desktop_test.sh LUMIDAILY
set -euo pipefail
source "$(dirname "$0")/../desktop/program_checks.sh"
require_tools xdotool xwininfo import

program=$1
start_program first "$program"
pid=$last_pid
wait_for 20 "the window" windows_of_class LumiDaily
window=$(windows_of_class LumiDaily | head -n1)

read -r x y w h < <(geometry "$window")
[ "$w $h" = "320 184" ] || fail "window size $w x $h"
[ "$x $y" = "$(((1280 - 320) / 2)) $(((800 - 184) / 2))" ] || fail "window at $x,$y"
# Shaped by the page's alpha: the X server reports a bounding shape.
xwininfo -shape -id "$window" | grep -q 'Window shape extents' || fail "the window has no shape"

# A second start ends by itself and leaves the first alone.
timeout 20 "$program" >"$work/second.log" 2>&1 || fail "the second instance failed ($?)"
running "$pid" || fail "the first instance is gone"
[ "$(windows_of_class LumiDaily | wc -l)" = 1 ] || fail "a second window appeared"

# The next-day button (centre 304, 92) appears under the pointer and turns
# the page: the big day number in the page's right half changes.
number() { import -window root -crop "90x80+$((x + 190))+$((y + 40))" -depth 8 rgb:- | md5sum; }
number_changed() { [ "$(number)" != "$1" ]; }
button_area() { import -window root -crop "24x24+$((x + 292))+$((y + 80))" -depth 8 rgb:- | md5sum; }
button_drawn() { [ "$(button_area)" != "$1" ]; }
no_button=$(button_area)
xdotool mousemove --sync $((x + 304)) $((y + 92))
wait_for 30 "the buttons" button_drawn "$no_button"
before=$(number)
xdotool click 1
wait_for 30 "the next page" number_changed "$before"
running "$pid" || fail "the program ended"
echo "LumiDaily desktop check passed"
