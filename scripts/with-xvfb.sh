#!/usr/bin/env bash
# Runs a command on a private X server: Xvfb with the openbox window manager
# and, when asked, the picom compositor; all are stopped when the command
# ends. Each run gets its own display and its own XDG folders, so runs can
# go in parallel and leave nothing behind.
#
#   scripts/with-xvfb.sh [--compositor] [--no-wm] [--] command [args...]
#
# Exits 77 (a skipped test for CTest) when a needed program is missing.
set -euo pipefail

compositor=0
window_manager=1
while [ $# -gt 0 ]; do
    case "$1" in
    --compositor) compositor=1 ;;
    --no-wm) window_manager=0 ;;
    --) shift; break ;;
    *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || { echo "usage: $0 [--compositor] [--no-wm] [--] command [args...]" >&2; exit 2; }

needed=(Xvfb xprop xwininfo)
[ "$window_manager" -eq 1 ] && needed+=(openbox)
[ "$compositor" -eq 1 ] && needed+=(picom)
for program in "${needed[@]}"; do
    if ! command -v "$program" >/dev/null; then
        echo "SKIPPED: $program is not installed (scripts/install-deps.sh installs it)" >&2
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-x.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Waits until a command succeeds, at most $1 seconds.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "with-xvfb: $what did not come up; its log:" >&2
            cat "$work"/*.log >&2 || true
            exit 1
        fi
        sleep 0.05
    done
}

# The server picks a free display and writes its number to fd 3. Servers
# started at the same moment can race for one number, so they take turns.
exec 9>"${TMPDIR:-/tmp}/lumi-xvfb-$(id -u).lock"
flock 9
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 9>&- >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_until 10 "Xvfb" test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
wait_until 10 "Xvfb" xprop -root
flock -u 9
exec 9>&-

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
if [ "$window_manager" -eq 1 ]; then
    # On a busy machine openbox now and then fails to open a display that
    # has just come up; it is started again, a few times at most.
    for attempt in 1 2 3; do
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        wm_pid=$!
        deadline=$((SECONDS + 10))
        until wm_running || ! kill -0 "$wm_pid" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; do
            sleep 0.05
        done
        kill -0 "$wm_pid" 2>/dev/null && break
    done
    pids+=("$wm_pid")
    wait_until 10 "openbox" wm_running
fi
if [ "$compositor" -eq 1 ]; then
    picom --backend xrender --config /dev/null >"$work/picom.log" 2>&1 &
    pids+=($!)
    # picom names the window that owns the compositing selection after itself.
    wait_until 10 "picom" sh -c 'xwininfo -root -children | grep -q "\"picom\""'
fi

mkdir -m 0700 "$work/runtime"
mkdir -p "$work/data" "$work/config"
export XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

set +e
"$@"
status=$?
set -e
exit "$status"
