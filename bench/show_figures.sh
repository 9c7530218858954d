#!/usr/bin/env bash
# The slide show's figures in one run: every transition whole against its nominal length at
# 1920x1080 (goal 1.2x) and at 3840x2160 (goal 1.5x), and the CPU of a standing show with the
# clock on at 3840x2160 (goal 1 % of a core, the program and the X server together), each screen
# on an Xvfb of its own.
#
#   bench/show_figures.sh [BUILD_DIR]     (default build/timing, with TOVELIN_BUILD_BENCH=ON)
#
# ROUNDS (default 1) sets the runs a transition's median is taken over, STANDING (default 30)
# the seconds the standing show is measured.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/timing}
program=$build/bench/show_timings
rounds=${ROUNDS:-1}
standing=${STANDING:-30}
[[ -x $program ]] || { echo "no $program: build the show_timings target first" >&2; exit 1; }

run_on_screen() {
    local size=$1
    shift
    local display
    for display in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] || break
    done
    Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    local server=$!
    for _ in $(seq 50); do
        [[ -e /tmp/.X11-unix/X$display ]] && break
        sleep 0.1
    done
    DISPLAY=":$display" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 \
        "$program" --first-frame-rounds 0 --transition-rounds "$rounds" "$@" --x-server-pid "$server" 2>/dev/null ||
        echo "show_timings failed at $size" >&2
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
}

run_on_screen 1920x1080 --goal 1.2
run_on_screen 3840x2160 --goal 1.5 --standing "$standing"
