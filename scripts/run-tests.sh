#!/usr/bin/env bash
# Sets up and runs every test of both builds on Debian 12: the Linux unit tests, the same unit
#   tests built for Windows x86_64 and run under Wine, the Linux unit tests built with the address
#   and undefined-behaviour sanitizers and with the thread sanitizer, the integration tests of
#   both builds (the real program under Xvfb, and under Wine), the fuzz targets of the image
#   readers for a bounded time, and a compile-and-link check of the Windows i686 build.
# Ends with one line "N passed, M failed"; the exit status is 0 only when nothing failed.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

started=$(date +%s)
logs="$root/build/logs"
summary="$root/build/test-summary.results"
mkdir -p "$logs"
: > "$summary"
stage_failed=0

note() { printf '== %s\n' "$*"; }

# Runs one step; a failing step is one failed case, and its log tail is shown.
stage() {
    local name=$1
    shift
    local log="$logs/$(printf '%s' "$name" | tr -c 'a-zA-Z0-9' '-').log"
    note "$name"
    if "$@" >"$log" 2>&1; then
        return 0
    fi
    echo "FAIL stage $name (log: $log)" | tee -a "$summary"
    tail -n 30 "$log"
    stage_failed=1
    return 1
}

stage "install packages" ./scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

jobs=$(nproc)

# Results of earlier runs must not count again.
rm -rf build/linux/test-results build/linux-asan/test-results build/linux-tsan/test-results \
    build/windows-x64/test-results

build_preset() { # build_preset PRESET [TARGET...]: all of it unless targets are named
    local preset=$1
    shift
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    stage "configure $preset" cmake --preset "$preset" &&
        stage "build $preset" cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"
}

# After a ctest run, a test that failed without recording any failure of its own (a crash, a
# timeout) counts as one failure.
record_abnormal_ends() {
    local build=$1
    local failed_list="$build/Testing/Temporary/LastTestsFailed.log"
    [ -f "$failed_list" ] || return 0
    local name
    while IFS=: read -r _ name; do
        local recorded=0
        if [ "$name" = unit ]; then
            grep -qs '<failure' "$build/test-results/unit.xml" && recorded=1
        else
            grep -qs '^FAIL' "$build/test-results/integration-${name#integration.}.results" && recorded=1
        fi
        [ $recorded -eq 1 ] || echo "FAIL $(basename "$build") $name ended abnormally" | tee -a "$summary"
    done < "$failed_list"
}

run_ctest() { # run_ctest BUILD_DIR [ctest args...]
    local build=$1
    shift
    note "tests in $(basename "$build")"
    rm -f "$build/Testing/Temporary/LastTestsFailed.log"
    ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@" >"$logs/ctest-$(basename "$build").log" 2>&1
    tail -n 5 "$logs/ctest-$(basename "$build").log"
    record_abnormal_ends "$build"
    # A unit run that leaves no report ran nothing, whatever its exit status said.
    if grep -qs 'add_test(\[=\[unit\]=\]' "$build/tests/CTestTestfile.cmake" && [ ! -s "$build/test-results/unit.xml" ]; then
        echo "FAIL $(basename "$build") unit tests left no report" | tee -a "$summary"
    fi
}

# Linux.
if build_preset linux; then
    run_ctest build/linux
fi

# Linux unit tests under the sanitizers.
if build_preset linux-asan; then
    # And the show (in its own window and in another program's) and the configuration dialog end
    # to end: no leak and no sanitizer report from the real program.
    LSAN_OPTIONS=suppressions="$root/tests/integration/lsan.supp" \
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest build/linux-asan -R '^(unit|integration\.test_(show|config|window_id|xscreensaver))$'
fi

# And under the thread sanitizer: the trace channel and the store are used from several threads
# and processes.
if build_preset linux-tsan tovelin_tests; then
    # The pixel-heavy suites run on one thread and take most of the time under this sanitizer;
    # the other trees run them.
    TSAN_OPTIONS=halt_on_error=1 GTEST_FILTER='-RunEffect*:*JpegBombTest*:CopyBlock*:BlendBlock*:FadeOutPhoto*' \
        run_ctest build/linux-tsan -R '^unit$'
fi

# Windows x86_64 under Wine: one warm prefix for the whole run.
if build_preset windows-x64; then
    (
        export TOVELIN_WINE_DIR="$root/build/windows-x64/wine"
        # shellcheck source=/dev/null
        source scripts/wine-prefix.sh "$TOVELIN_WINE_DIR" >/dev/null 2>&1
        unset DISPLAY
        run_ctest build/windows-x64
        wineserver -k >/dev/null 2>&1 || true
    )
fi

# Windows i686: these machines cannot run 32-bit programs, so it is compiled and linked only.
build_preset windows-i686 tovelin

# The image readers' and the Exif parser's fuzz targets, side by side for half a minute.
if [ -x scripts/run-fuzzers.sh ]; then
    if stage "fuzz the image readers" ./scripts/run-fuzzers.sh 30; then
        echo "PASS fuzz image readers" >> "$summary"
    fi
fi

# Count: every GoogleTest case, every integration case, every failed stage.
count_gtest() { # prints "passed failed" of one GoogleTest XML report
    awk '
        /<testcase / { if (open) finish(); open = 1; failed = 0; skipped = ($0 ~ /result="skipped"/);
                       if ($0 ~ /\/>[[:space:]]*$/) finish(); next }
        /<failure/   { failed = 1 }
        /<\/testcase>/ { finish() }
        function finish() { if (!open) return; if (failed) f++; else if (!skipped) p++; open = 0 }
        END { if (open) finish(); printf "%d %d\n", p, f }' "$1"
}

passed=0
failed=0
for report in build/linux/test-results/unit.xml build/linux-asan/test-results/unit.xml \
              build/linux-tsan/test-results/unit.xml build/windows-x64/test-results/unit.xml; do
    [ -f "$report" ] || continue
    read -r p f < <(count_gtest "$report")
    note "$report: $p passed, $f failed"
    passed=$((passed + p))
    failed=$((failed + f))
done
for results in build/linux/test-results/*.results build/linux-asan/test-results/*.results \
               build/windows-x64/test-results/*.results "$summary"; do
    [ -f "$results" ] || continue
    p=$(grep -c '^PASS' "$results")
    f=$(grep -c '^FAIL' "$results")
    passed=$((passed + p))
    failed=$((failed + f))
done
if [ $failed -gt 0 ]; then
    note "failures:"
    grep -h '^FAIL' build/*/test-results/*.results "$summary" 2>/dev/null
    grep -l '<failure' build/*/test-results/unit.xml 2>/dev/null | sed 's/^/   failing cases in /'
fi
note "took $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
