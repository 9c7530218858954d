#!/usr/bin/env bash
# Prepares a private, headless Wine prefix and keeps its wineserver warm.
# Usage: source scripts/wine-prefix.sh DIR   (exports WINEPREFIX, HOME, WINEDEBUG, WINEDLLOVERRIDES)
# A new prefix takes ~10 s; an existing one is reused.
wine_dir=$(realpath -m "${1:?usage: source wine-prefix.sh DIR}")
mkdir -p "$wine_dir/home"
export WINEPREFIX="$wine_dir/prefix"
export HOME="$wine_dir/home"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# No sound card here: a null ALSA device lets MCI open and play media files.
if [ ! -f "$HOME/.asoundrc" ]; then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
fi

if [ ! -f "$WINEPREFIX/.tovelin-ready" ]; then
  timeout 120 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Without a window manager every window close would wait 2 s.
  timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.tovelin-ready"
fi

# A warm wineserver: without it every run waits for Wine's background processes. Wine's desktop
# process stays bound to the display it started on, so a new display needs a new server.
warm_display_file="$wine_dir/warm-display"
if [ -f "$warm_display_file" ] && [ "$(cat "$warm_display_file")" != "${DISPLAY:-}" ]; then
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
fi
printf '%s' "${DISPLAY:-}" > "$warm_display_file"
wineserver -p >/dev/null 2>&1 || true
timeout 60 /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 || true

# The mark of a prefix made for tests: the unit tests wipe the per-user settings only where they
# find it, never in a developer's own profile.
timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Tovelin Tests' /v DisposableProfile /t REG_DWORD /d 1 /f \
  >/dev/null 2>&1 || true
