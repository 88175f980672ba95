#!/usr/bin/env bash
# LumiMonthly on a private X server (scripts/with-xvfb.sh): the real program
# opens centred and undecorated, refuses a second instance, shows the popup
# after a click on a day with a memo and ends from its menu's exit item.
#
#   monthly_desktop_test.sh LUMIMONTHLY
set -euo pipefail

program=$1
for tool in xdotool import; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-monthly.XXXXXX")
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    cat "$work"/*.err >&2 2>/dev/null || true
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
windows() { xdotool search --onlyvisible --class '^LumiMonthly$'; }
pixel_at() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 |
        sed -E 's/.*srgba?\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}
pixel_differs() { [ "$(pixel_at "$1" "$2")" != "$3" ]; }

# The toolkit, X and font libraries keep some allocations until exit on
# purpose; leaks of our own still fail a sanitizer build.
printf 'leak:libQt6\nleak:libfontconfig\nleak:libxcb\nleak:libX11\nleak:libglib\nleak:libdbus\n' \
    >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# A memo for today, so a click on today's cell opens the popup.
year=$(date +%Y) month=$(date +%m) day=$(date +%-d)
save="$XDG_DATA_HOME/LumiMonthly"
mkdir -p "$save"
printf '%d\t0\t0\t0\t0\tdesktop check\r\n' "$day" >"$save/sch$year$month.dat"

"$program" 2>"$work/first.err" &
pid=$!
wait_for 20 "the window" windows
window=$(windows | head -n1)

# Centred on the 1280 x 800 screen, 369 x 222, without a frame.
read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
[ "$w $h" = "369 222" ] || fail "window size $w x $h"
[ "$x $y" = "$(((1280 - 369) / 2)) $(((800 - 222) / 2))" ] || fail "window at $x,$y"
extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null || true)
case "$extents" in *"= 0, 0, 0, 0"* | *"not found"* | "") ;; *) fail "decorated: $extents" ;; esac

# A second start ends by itself and leaves the first alone.
timeout 20 "$program" 2>"$work/second.err" || fail "the second instance failed ($?)"
kill -0 "$pid" || fail "the first instance is gone"
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
deadline=$((SECONDS + 20))
while kill -0 "$pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program did not exit"
    sleep 0.05
done
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status"
echo "LumiMonthly desktop check passed"
