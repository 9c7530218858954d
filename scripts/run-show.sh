#!/usr/bin/env bash
# Sets up, builds and runs the slide show on the bundled sample photos and music, with a
# throwaway settings store (your own settings are never touched). Extra arguments replace "/s".
#
# With a display the show runs there until you end it with a key or a click. Without one it
# runs on a virtual screen (Xvfb) for DEMO_SECONDS (default 30), then leaves screenshots, an
# animated GIF and the trace lines in build/show-demo/, ends the show with a key and exits.
#
# TOVELIN_BUILD_DIR (default build/linux) and TOVELIN_DEMO_DIR (default build/show-demo) move
# the build and the demo's output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/install-deps.sh
build=${TOVELIN_BUILD_DIR:-$root/build/linux}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset linux -B "$build" >/dev/null
fi
cmake --build "$build" --target tovelin
program=$build/src/tovelin

store=$(mktemp -d "${TMPDIR:-/tmp}/tovelin-show.XXXXXX")
xvfb_pid=""
show_pid=""
cleanup() {
    [ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$store"
}
trap cleanup EXIT
mkdir -p "$store/tovelin"
# The photos and the music, in the stored form of the directory list: joined by "|".
folders="$root/samples/photos|$root/samples/music"
folders=${folders//\\/\\\\}
folders=${folders//\"/\\\"}
# The store is the same REGEDIT4 text a user can edit; "\\" is an escaped backslash.
cat > "$store/tovelin/registry.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin]
"PhotoDirectorys"="$folders"
"ChangeInterval"=dword:00000bb8
"EnableMusic"=dword:00000001
REG

if [ $# -eq 0 ]; then set -- /s; fi

display_reachable() { [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; }

if display_reachable; then
    echo "Running \"$*\" on display $DISPLAY: any key (but the arrows) or a click ends the show."
    XDG_CONFIG_HOME="$store" "$program" "$@"
    exit
fi

# No display: a demo on a virtual screen, recorded.
seconds=${DEMO_SECONDS:-30}
screen=1280x720
demo=${TOVELIN_DEMO_DIR:-$root/build/show-demo}
rm -rf "$demo"
mkdir -p "$demo/frames"

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$store/display" >"$store/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$store/display" ] && break; sleep 0.05; done
[ -s "$store/display" ] || { echo "Xvfb did not start:" >&2; cat "$store/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$store/display")"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

echo "No display: running \"$*\" on a virtual ${screen} screen ($DISPLAY) for $seconds s."
XDG_CONFIG_HOME="$store" timeout $(( seconds + 60 )) "$program" "$@" 2>"$demo/trace.log" &
show_pid=$!

# About three frames a second, scaled down, for the recording; and one full-size screenshot of
# each of the first photos, taken a second after it has come to rest.
frame=0
shots=0
standing_since=""
ends_seen=0
started=$(date +%s%N)
while kill -0 "$show_pid" 2>/dev/null; do
    now=$(date +%s%N)
    elapsed_ms=$(( (now - started) / 1000000 ))
    [ $elapsed_ms -lt $(( seconds * 1000 )) ] || break
    frame=$((frame + 1))
    import -window root -resize 480x270 "$demo/frames/$(printf '%04d' $frame).png" 2>/dev/null || true
    ends=$(grep -c 'DrawScreen end' "$demo/trace.log" || true)
    if [ "$ends" -gt "$ends_seen" ]; then
        ends_seen=$ends
        standing_since=$now
    elif [ -n "$standing_since" ] && [ $(( (now - standing_since) / 1000000 )) -ge 1000 ] && [ $shots -lt 6 ]; then
        shots=$((shots + 1))
        import -window root "$demo/screenshot-$shots.png" 2>/dev/null || true
        standing_since=""
    fi
    sleep 0.15
done

status="did not end"
if ! kill -0 "$show_pid" 2>/dev/null; then
    wait "$show_pid" && code=0 || code=$?
    status="ended on its own with status $code"
    show_pid=""
else
    # Without a window manager the key goes to the window under the pointer.
    xdotool mousemove 640 360 2>/dev/null || true
    xdotool key Escape 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$show_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$show_pid" 2>/dev/null; then
        status="did not end within 10 s of a key press; stopped"
        kill "$show_pid" 2>/dev/null || true
        wait "$show_pid" 2>/dev/null || true
        code=1
    else
        wait "$show_pid" && code=0 || code=$?
        status="ended with status $code after a key press"
    fi
    show_pid=""
fi

# The recording: the frames played back in real time, in 128 colours.
gif="$demo/show.gif"
if [ $frame -gt 0 ]; then
    delay=$(( (elapsed_ms / frame + 5) / 10 ))
    # Not "-layers Optimize": after an all-black first frame it turns the whole recording grey.
    convert -delay "$delay" "$demo"/frames/*.png -dither None -colors 128 -loop 0 \
        -layers OptimizeFrame -layers OptimizeTransparency "$gif"
fi
rm -rf "$demo/frames"

photos_shown=$(grep -c 'pic file=' "$demo/trace.log" || true)
effects=$(sed -n 's/.*effect style=\([0-9]*\).*/\1/p' "$demo/trace.log" | paste -sd ' ')
echo "The show $status."
echo "Photos shown: $photos_shown; transitions (0-12): ${effects:-none}."
tracks=$(sed -n 's/^.*music file=.*[\/]//p' "$demo/trace.log" | paste -sd ' ')
echo "Music tracks started: ${tracks:-none}."
echo "Results in $demo/:"
for shot in "$demo"/screenshot-*.png; do [ -e "$shot" ] && echo "  $(basename "$shot")  a photo at rest, ${screen}"; done
[ -f "$gif" ] && echo "  show.gif          $frame frames at 480x270, $(( $(stat -c %s "$gif") / 1024 )) KB"
echo "  trace.log         the program's trace lines"
exit "$code"
