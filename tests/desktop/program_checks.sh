# Shell helpers for the checks that drive a real gadget on the display
# scripts/with-xvfb.sh started. Source it after `set -euo pipefail`; it
# makes a scratch folder $work (removed at exit), ends every program
# started with `start_program` at exit, and prints the programs' logs when
# a check fails.

work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-check.XXXXXX")
started_pids=()
cleanup_checks() {
    for pid in "${started_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup_checks EXIT

# The toolkit, X and font libraries keep some allocations until exit on
# purpose; leaks of our own still fail a sanitizer build.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
    done
}

fail() {
    echo "FAILED: $*" >&2
    for log in "$work"/*.log; do
        [ -e "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

# wait_for SECONDS WHAT COMMAND...: until COMMAND succeeds, or fail.
wait_for() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# start_program NAME PROGRAM [ARGS...]: runs it in the background with its
# output in $work/NAME.log; its pid is in $last_pid.
start_program() {
    local name=$1
    shift
    "$@" >"$work/$name.log" 2>&1 &
    last_pid=$!
    started_pids+=("$last_pid")
}

running() { kill -0 "$1" 2>/dev/null; }
gone() { ! running "$1"; }

# The visible windows whose X11 class is exactly CLASS.
windows_of_class() { xdotool search --onlyvisible --class "^$1\$"; }

# geometry WINDOW: prints "x y width height" of the window on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# pixel_at X Y: the screen's colour there as "r,g,b".
pixel_at() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 |
        sed -E 's/.*srgba?\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}
pixel_differs() { [ "$(pixel_at "$1" "$2")" != "$3" ]; }

# wait_for_exit PID SECONDS: the program ends by itself with status 0.
wait_for_exit() {
    local pid=$1 deadline=$((SECONDS + $2)) status=0
    while running "$pid"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the program did not exit"
        sleep 0.05
    done
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "exit status $status"
}
