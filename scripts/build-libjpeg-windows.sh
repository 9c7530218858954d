#!/usr/bin/env bash
# Cross-builds a static libjpeg-turbo for Windows from Debian's source package.
# Usage: build-libjpeg-windows.sh i686|x86_64 PREFIX
set -euo pipefail
arch=$1
prefix=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(dirname "$prefix")
mkdir -p "$work"

src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-[0-9]*' | head -n 1)
if [ -z "$src" ]; then
  (cd "$work" && apt-get source -q libjpeg-turbo >/dev/null 2>"$work/apt-source.log") || {
    cat "$work/apt-source.log" >&2; exit 1; }
  src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-[0-9]*' | head -n 1)
fi

toolchain="$here/cmake/mingw-$arch.cmake"
build="$work/libjpeg-build-$arch"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR= >"$work/libjpeg-$arch.log" 2>&1 || { tail -30 "$work/libjpeg-$arch.log" >&2; exit 1; }
cmake --build "$build" --target install >>"$work/libjpeg-$arch.log" 2>&1 || { tail -30 "$work/libjpeg-$arch.log" >&2; exit 1; }
# Some versions install into lib64 or name the archive differently.
if [ ! -f "$prefix/lib/libjpeg.a" ]; then
  mkdir -p "$prefix/lib"
  found=$(find "$prefix" -name 'libjpeg.a' | head -n 1)
  [ -n "$found" ] && cp "$found" "$prefix/lib/libjpeg.a"
fi
test -f "$prefix/lib/libjpeg.a"
