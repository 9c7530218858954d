#!/usr/bin/env bash
# Builds the image-reader fuzzers (clang, libFuzzer, address and undefined-behaviour sanitizers)
# and runs them side by side for DURATION_SECONDS (default 60), each from the committed seed
# corpus plus what earlier runs found. Fails when a fuzzer reports a crash, a leak, a timeout or
# running out of memory; the input that did it is kept in <build>/fuzz-artifacts/<reader>/ and
# belongs in tests/data/hostile/ with a test.
# The build directory is $FUZZ_BUILD_DIR, by default build/fuzz.
set -euo pipefail
duration=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
readers=(jpeg bmp exif)

if [ ! -f "$build/build.ninja" ]; then
  mkdir -p "$build"
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVELIN_BUILD_FUZZ=ON -DTOVELIN_BUILD_TESTS=OFF >"$build/configure.log" 2>&1 || {
    tail -30 "$build/configure.log" >&2; exit 1; }
fi
cmake --build "$build" --target "${readers[@]/%/_fuzzer}"

pids=()
for reader in "${readers[@]}"; do
  corpus=$build/fuzz-corpus/$reader
  artifacts=$build/fuzz-artifacts/$reader
  mkdir -p "$corpus" "$artifacts"
  # New finds go to the first directory; the committed seeds stay as they are.
  "$build/fuzz/${reader}_fuzzer" -max_total_time="$duration" -timeout=20 -rss_limit_mb=2560 \
    -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$root/fuzz/corpus/$reader" >"$build/fuzz-$reader.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!readers[@]}"; do
  reader=${readers[$i]}
  if wait "${pids[$i]}"; then
    echo "$reader fuzzer: no problem found in ${duration} s ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$reader.log" | grep -o '[0-9]*$') runs)"
  else
    status=1
    echo "$reader fuzzer FOUND A PROBLEM; log: $build/fuzz-$reader.log" >&2
    grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz-$reader.log" >&2 || tail -20 "$build/fuzz-$reader.log" >&2
  fi
done
exit $status
