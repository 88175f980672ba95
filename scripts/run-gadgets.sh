#!/usr/bin/env bash
# Starts the three gadgets from a build folder: LumiMonthly, LumiClock with
# face 1 and LumiDaily. Programs not built yet are named, not faked.
set -uo pipefail

bin_dir=${1:-build/release/bin}
programs=(LumiMonthly LumiClock LumiDaily)

started=0
for program in "${programs[@]}"; do
    if [ -x "$bin_dir/$program" ]; then
        "$bin_dir/$program" &
        started=$((started + 1))
    else
        echo "$program is not built yet."
    fi
done

if [ "$started" -eq 0 ]; then
    echo "No gadget to start yet."
    exit 0
fi
wait
