#!/usr/bin/env bash
# Builds a static libjpeg-turbo from Debian's source package with clang, instrumented for
# libFuzzer and the address and undefined-behaviour sanitizers, so that the fuzzers see and
# check libjpeg's own code as well as ours.
# Usage: build-libjpeg-fuzz.sh PREFIX C_COMPILER
set -euo pipefail
prefix=$1
cc=$2
work=$(dirname "$prefix")
mkdir -p "$work"

# shellcheck source=libjpeg-source.sh
source "$(dirname "$0")/libjpeg-source.sh"
src=$(libjpeg_source_dir)

# No SIMD: the sanitizers cannot see into assembly.
flags="-g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
build="$work/libjpeg-build-fuzz"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_C_COMPILER="$cc" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
  >"$work/libjpeg-fuzz.log" 2>&1 || { tail -30 "$work/libjpeg-fuzz.log" >&2; exit 1; }
cmake --build "$build" --target install >>"$work/libjpeg-fuzz.log" 2>&1 || {
  tail -30 "$work/libjpeg-fuzz.log" >&2; exit 1; }
libjpeg_check_install "$prefix"
