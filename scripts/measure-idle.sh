#!/usr/bin/env bash
# Idle cost of a gadget window: CPU time and wake-ups per second of the
# desktop probe's idle layered window (33 ms frame loop) over 30 s, beside
# xclock -update 1 in the same run, on a private X server.
#
#   scripts/measure-idle.sh [BUILD_DIR] [SECONDS]
# Use a release build: sanitizers multiply the CPU time.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=${1:-build/release}
seconds=${2:-30}
probe="$build_dir/tests/desktop/lumi_desktop_probe"
[ -x "$probe" ] || { echo "measure-idle: $probe is not built" >&2; exit 1; }
command -v xclock >/dev/null || { echo "measure-idle: xclock is not installed" >&2; exit 1; }

if [ -z "${LUMI_IDLE_INSIDE:-}" ]; then
    LUMI_IDLE_INSIDE=1 exec "$here/with-xvfb.sh" --compositor -- "$0" "$build_dir" "$seconds"
fi

# Sums over every thread: CPU ticks (user + system) and context switches
# (voluntary + involuntary), each a wake-up of a sleeping thread or a
# preemption.
cpu_ticks() {
    local total=0 task
    for task in /proc/"$1"/task/*; do
        total=$((total + $(awk '{print $14 + $15}' "$task/stat")))
    done
    echo "$total"
}
switches() {
    local total=0 task
    for task in /proc/"$1"/task/*; do
        total=$((total + $(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")))
    done
    echo "$total"
}

"$probe" --name LumiIdle --layered --geometry 200x200+100+100 >/dev/null &
probe_pid=$!
xclock -update 1 -geometry 120x120+400+100 &
clock_pid=$!
trap 'kill $probe_pid $clock_pid 2>/dev/null || true' EXIT
# Let both settle after start-up before measuring.
until xdotool search --onlyvisible --class '^LumiIdle$' >/dev/null 2>&1 &&
    xdotool search --onlyvisible --class '^XClock$' >/dev/null 2>&1; do
    sleep 0.1
done
sleep 2

hz=$(getconf CLK_TCK)
declare -A cpu0 sw0
for pid in $probe_pid $clock_pid; do
    cpu0[$pid]=$(cpu_ticks "$pid")
    sw0[$pid]=$(switches "$pid")
done
sleep "$seconds"
report() {
    local name=$1 pid=$2
    local cpu=$(($(cpu_ticks "$pid") - cpu0[$pid]))
    local sw=$(($(switches "$pid") - sw0[$pid]))
    awk -v n="$name" -v c="$cpu" -v s="$sw" -v hz="$hz" -v t="$seconds" 'BEGIN {
        printf "%-22s CPU %.2f%% of one core, %.1f wake-ups/s\n", n, 100 * c / hz / t, s / t }'
}
echo "Idle over ${seconds} s under Xvfb:"
report "lumi_desktop_probe" "$probe_pid"
report "xclock -update 1" "$clock_pid"
