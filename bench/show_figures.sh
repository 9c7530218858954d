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

source "$root/bench/own_screen.sh"
trap stop_screen EXIT

run_on_screen() {
    local size=$1
    shift
    start_screen "$size"
    GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 \
        "$program" --first-frame-rounds 0 --transition-rounds "$rounds" "$@" --x-server-pid "$SCREEN_PID" 2>/dev/null ||
        echo "show_timings failed at $size" >&2
    stop_screen
}

run_on_screen 1920x1080 --goal 1.2
run_on_screen 3840x2160 --goal 1.5 --standing "$standing"
