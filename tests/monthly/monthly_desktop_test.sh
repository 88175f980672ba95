#!/usr/bin/env bash
# LumiMonthly on a private X server (scripts/with-xvfb.sh): the real program
# opens centred and undecorated, refuses a second instance, shows the popup
# after a click on a day with a memo and ends from its menu's exit item.
#
#   monthly_desktop_test.sh LUMIMONTHLY
set -euo pipefail

source "$(dirname "$0")/../desktop/program_checks.sh"
require_tools xdotool xwininfo import

program=$1
windows() { windows_of_class LumiMonthly; }

# A memo for today, so a click on today's cell opens the popup.
year=$(date +%Y) month=$(date +%m) day=$(date +%-d)
save="$XDG_DATA_HOME/LumiMonthly"
mkdir -p "$save"
printf '%d\t0\t0\t0\t0\tdesktop check\r\n' "$day" >"$save/sch$year$month.dat"

start_program first "$program"
pid=$last_pid
wait_for 20 "the window" windows
window=$(windows | head -n1)

# Centred on the 1280 x 800 screen, 369 x 222, without a frame.
read -r x y w h < <(geometry "$window")
[ "$w $h" = "369 222" ] || fail "window size $w x $h"
[ "$x $y" = "$(((1280 - 369) / 2)) $(((800 - 222) / 2))" ] || fail "window at $x,$y"
extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null || true)
case "$extents" in *"= 0, 0, 0, 0"* | *"not found"* | "") ;; *) fail "decorated: $extents" ;; esac

# A second start ends by itself and leaves the first alone.
timeout 20 "$program" >"$work/second.log" 2>&1 || fail "the second instance failed ($?)"
running "$pid" || fail "the first instance is gone"
[ "$(windows | wc -l)" = 1 ] || fail "a second window appeared"

# Today's cell in the grid (origin 169, 60; cells 24 x 27; Sunday first).
first=$(date -d "$year-$month-01" +%w)
cell=$((first + day - 1))
cx=$((x + 169 + cell % 7 * 24 + 12)) cy=$((y + 60 + cell / 7 * 27 + 10))
# A point the popup (at 64, 0) covers but the grid and buttons do not.
px=$((x + 104)) py=$((y + 150))
before=$(pixel_at "$px" "$py")
xdotool mousemove --sync "$cx" "$cy" click 1
wait_for 10 "the day popup" pixel_differs "$px" "$py" "$before"

# The menu's last item, 退出(&X), ends the program cleanly.
xdotool mousemove --sync $((x + 30)) $((y + 100)) click 3
wait_for 10 "the menu" sh -c "xdotool search --onlyvisible --class '^LumiMonthly\$' | grep -qv '^$window\$'"
xdotool key x
wait_for_exit "$pid" 20
echo "LumiMonthly desktop check passed"
