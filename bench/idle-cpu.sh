#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle CPU of the whole Varnix process with the three simulated demo devices connected:
# starts build/app/varnix (under Xvfb when there is no display), waits for it to settle, then
# reads its user + system CPU time over a quiet interval.   bench/idle-cpu.sh [seconds, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
measure() {
    build/app/varnix & local pid=$!
    sleep 4
    local t0 t1 hz
    t0=$(awk '{print $14+$15}' /proc/$pid/stat)
    sleep "$seconds"
    t1=$(awk '{print $14+$15}' /proc/$pid/stat)
    hz=$(getconf CLK_TCK)
    kill "$pid"
    awk -v t="$((t1 - t0))" -v hz="$hz" -v s="$seconds" \
        'BEGIN { printf "idle CPU over %d s: %.2f %% of one core (%d ticks of 1/%d s; goal < 0.5 %%)\n", s, 100 * t / hz / s, t, hz }'
}
export VARNIX_BACKEND=sim VARNIX_SIM=${VARNIX_SIM:-res/sim/demo.json}
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    exec xvfb-run -a "$0" "$seconds"
fi
measure
