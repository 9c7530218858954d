#!/usr/bin/env bash
# Installs what both builds and their tests need on Debian 12. Safe to run again.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  g++ cmake ninja-build pkg-config nasm dpkg-dev
  googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev libjpeg-turbo-progs
  libgtk-3-dev librsvg2-common libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-tools timgm6mb-soundfont
  fonts-liberation fonts-dejavu-core fonts-wine
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64
  xvfb xauth xdotool x11-apps imagemagick fp-utils xscreensaver
  lintian desktop-file-utils appstream man-db file
  nsis
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The Windows builds cross-compile libjpeg-turbo from Debian's source package.
need_src=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_src" -eq 1 ]; then
  if [ "$need_src" -eq 1 ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  fi
  $SUDO apt-get update -q
  if [ "${#missing[@]}" -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi
