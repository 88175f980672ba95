#!/usr/bin/env bash
# Desktop behaviour cases: drive the probe program with xdotool and check
# with xwininfo, xprop and screenshots. Runs on the display that
# scripts/with-xvfb.sh started. Every wait is for a condition, bounded.
#
#   desktop_cases.sh PROBE CASE
set -euo pipefail

probe=$1
case_name=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-case.XXXXXX")
probes=()
cleanup() {
    for pid in "${probes[@]}"; do
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

# wait_for SECONDS DESCRIPTION COMMAND...: until COMMAND succeeds.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# start_probe NAME ARGS...: starts a probe whose report goes to NAME.log.
start_probe() {
    local name=$1
    shift
    "$probe" --name "$name" "$@" >"$work/$name.log" 2>"$work/$name.err" &
    probes+=($!)
    last_pid=$!
    wait_for 20 "$name to start" grep -qx READY "$work/$name.log"
    wait_for 20 "$name's window" window_of "$name"
    window=$(window_of "$name")
}

# The mapped window whose WM_CLASS is the class name (not Qt's leader).
window_of() {
    xdotool search --onlyvisible --class "^$1\$" | head -n1 | grep .
}

reported() { grep -qx "$2" "$work/$1.log"; }
expect_report() { wait_for 20 "$1 to report '$2'" reported "$1" "$2"; }

geometry_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                             /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
origin_is() { [ "$(geometry_of "$1" | cut -d' ' -f1-2)" = "$2" ]; }
has_state() { xprop -id "$1" _NET_WM_STATE | grep -q "$2"; }
lacks_state() { ! has_state "$1" "$2"; }

# The colour of one screen pixel as "r,g,b" (0..255).
pixel_at() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 |
        sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}
pixel_is() { [ "$(pixel_at "$1" "$2")" = "$3" ]; }

has_focus() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
# Keys go to the focused window: ask for focus until the window has it.
focus() {
    local deadline=$((SECONDS + 10))
    until has_focus "$1"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "window $1 never got the focus"
        xdotool windowactivate "$1" >/dev/null 2>&1 || xdotool windowfocus "$1" >/dev/null 2>&1 || true
        sleep 0.05
    done
}
named_window() { xdotool search --onlyvisible --name "^$1\$" | head -n1 | grep .; }

case_placement() {
    # A negative position must be kept exactly, as on the original system.
    start_probe LumiProbe --geometry 200x150-30+40
    [ "$(geometry_of "$window")" = "-30 40 200 150" ] ||
        fail "geometry is $(geometry_of "$window"), expected -30 40 200 150"
    xprop -id "$window" _NET_FRAME_EXTENTS | grep -q "= 0, 0, 0, 0" ||
        fail "the window has decorations: $(xprop -id "$window" _NET_FRAME_EXTENTS)"
    has_state "$window" _NET_WM_STATE_SKIP_TASKBAR || fail "the window has a taskbar entry"
    has_state "$window" _NET_WM_STATE_SKIP_PAGER || fail "the window has a pager entry"
}

case_keep_above() {
    start_probe LumiProbe --topmost
    wait_for 10 "keep-above" has_state "$window" _NET_WM_STATE_ABOVE
    focus "$window"
    xdotool key t
    expect_report LumiProbe "TOPMOST 0"
    wait_for 10 "keep-above to go" lacks_state "$window" _NET_WM_STATE_ABOVE
    xdotool key t
    expect_report LumiProbe "TOPMOST 1"
    wait_for 10 "keep-above to return" has_state "$window" _NET_WM_STATE_ABOVE
}

case_click_through() {
    # A plain window below, a layered one above whose right half is fully
    # transparent: the pointer over that half reaches the plain window.
    start_probe LumiBelow --geometry 300x300+100+100
    local below=$window
    start_probe LumiAbove --layered --topmost --geometry 200x200+150+150
    wait_for 10 "the layered window on top" has_state "$window" _NET_WM_STATE_ABOVE
    wait_for 10 "the opaque half to show red" pixel_is 200 250 255,0,0
    wait_for 10 "the plain window to show through" pixel_is 300 250 0,160,0
    xdotool mousemove --sync 300 250 click 1
    expect_report LumiBelow "LBUTTONDOWN 200 150"
    xdotool mousemove --sync 200 250 click 1
    expect_report LumiAbove "LBUTTONDOWN 50 100"
    ! grep -q "LBUTTONDOWN 150" "$work/LumiAbove.log" || fail "the transparent half took the click"
    [ -n "$below" ]
}

case_drag() {
    start_probe LumiProbe --geometry 200x150+100+100
    xdotool mousemove --sync 110 105 mousedown 1
    expect_report LumiProbe "LBUTTONDOWN 10 5"
    # Step the pointer until the move follows it: the window manager (or
    # the backend) picks the drag up asynchronously.
    local step=0
    until origin_is "$window" "300 250"; do
        step=$((step + 1))
        [ "$step" -le 400 ] || fail "the window did not follow the pointer: $(geometry_of "$window")"
        xdotool mousemove --sync $((310 + step % 2)) 255
        xdotool mousemove --sync 310 255
    done
    xdotool mouseup 1
    expect_report LumiProbe "MOVED 300 250"
}

case_popup_menu() {
    start_probe LumiProbe --geometry 200x150+100+100
    xdotool mousemove --sync 150 160 click 3
    expect_report LumiProbe "CONTEXTMENU 150 160"
    # The menu grabs the keyboard once it is shown.
    wait_for 10 "the menu" sh -c "xdotool search --onlyvisible --class lumi_desktop_probe | grep -qv '^$window\$'"
    xdotool key Down Down Return
    expect_report LumiProbe "COMMAND 11"
}

case_message_box() {
    start_probe LumiProbe
    local answer key
    for answer in "7 alt+n" "6 Return"; do
        key=${answer#* }
        focus "$window"
        xdotool key m
        wait_for 10 "the message box" named_window "Probe box"
        focus "$(named_window "Probe box")"
        xdotool key "$key"
        expect_report LumiProbe "MESSAGEBOX ${answer%% *}"
        wait_for 10 "the box to close" sh -c "! xdotool search --onlyvisible --name '^Probe box\$'"
    done
}

case_dialog() {
    start_probe LumiProbe
    focus "$window"
    xdotool key d
    wait_for 10 "the dialog" named_window "Probe dialog"
    focus "$(named_window "Probe dialog")"
    xdotool type --delay 20 "hello lumi"
    xdotool key Return
    expect_report LumiProbe "DIALOG 1 hello lumi"
    wait_for 10 "the dialog to close" sh -c "! xdotool search --onlyvisible --name '^Probe dialog\$'"
    focus "$window"
    xdotool key d
    wait_for 10 "the dialog again" named_window "Probe dialog"
    focus "$(named_window "Probe dialog")"
    xdotool type --delay 20 "dropped"
    xdotool key Escape
    expect_report LumiProbe "DIALOG 2 "
}

case_single_instance() {
    start_probe LumiProbe
    local first=$last_pid
    "$probe" --name LumiProbe >"$work/second.log" 2>&1 ||
        fail "the refused second instance failed"
    grep -qx REFUSED "$work/second.log" || fail "the second instance was not refused"
    kill -0 "$first" || fail "the first instance is gone"
    # A crash releases the lock.
    kill -9 "$first"
    wait "$first" 2>/dev/null || true
    start_probe LumiProbe
}

case_close_request() {
    start_probe LumiProbe
    local first=$last_pid
    "$probe" --name LumiProbe --request-close >"$work/request.log" 2>&1 ||
        fail "the close request was not answered"
    expect_report LumiProbe CLOSE
    expect_report LumiProbe EXIT
    wait "$first" || fail "the closed program exited with $?"
    # Nobody listens any more.
    if "$probe" --name LumiProbe --request-close >"$work/unanswered.log" 2>&1; then
        fail "a request to a closed program was answered"
    fi
}

"case_$case_name"
echo "PASSED: $case_name"
