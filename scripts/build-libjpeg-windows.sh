#!/usr/bin/env bash
# Cross-builds a static libjpeg-turbo for Windows from Debian's source package.
# Usage: build-libjpeg-windows.sh i686|x86_64 PREFIX
set -euo pipefail
arch=$1
prefix=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(dirname "$prefix")
mkdir -p "$work"

# shellcheck source=libjpeg-source.sh
source "$(dirname "$0")/libjpeg-source.sh"
src=$(libjpeg_source_dir)

toolchain="$here/cmake/mingw-$arch.cmake"
build="$work/libjpeg-build-$arch"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work/libjpeg-$arch.log" 2>&1 || { tail -30 "$work/libjpeg-$arch.log" >&2; exit 1; }
cmake --build "$build" --target install >>"$work/libjpeg-$arch.log" 2>&1 || { tail -30 "$work/libjpeg-$arch.log" >&2; exit 1; }
libjpeg_check_install "$prefix"
