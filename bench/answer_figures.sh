#!/usr/bin/env bash
# How soon the real show ("/s") answers a key while it loads a photo, and its peak resident memory:
#   (d) from a key pressed during the load of a 100-megapixel JPEG to the process's exit,
#   (e) the same during a 665-byte arithmetic-coded file that claims 16384 x 16384,
# each against the 100 ms goal and against the same key pressed while a photo stands (measured
# in the same run), and (f) the peak resident memory of "/s" at 3840x2160 on a 6000 x 4000 photo
# and on the 100-megapixel one, in frames of the screen's size.
#
#   bench/answer_figures.sh [BUILD_DIR]     (default build/timing; builds nothing)
#
# ROUNDS (default 5) sets the runs each median is taken over, DELAY_MS (default 200) how long
# after the step names its photo the key comes. The large photos are made once, with ImageMagick
# and libjpeg's tools, beside the program.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/timing}
program=$build/src/tovelin
rounds=${ROUNDS:-5}
delay_ms=${DELAY_MS:-200}
[[ -x $program ]] || { echo "no $program: build the tovelin target first" >&2; exit 1; }

source "$root/bench/own_screen.sh"
work=$(mktemp -d)
cleanup() {
    stop_screen
    rm -rf "$work"
}
trap cleanup EXIT

photo_cache=$build/bench
mkdir -p "$photo_cache"
big=$photo_cache/photo-12000x8400.jpg
large=$photo_cache/photo-6000x4000.jpg
standing=$photo_cache/show-1920x1080-a.jpg
make_photo() { # make_photo FILE SMALL_SIZE FULL_SIZE SEED
    [[ -s $1 ]] && return
    convert -size "$2" -seed "$4" plasma:fractal -resize "$3!" -attenuate 0.4 +noise Gaussian \
        -quality 90 -sampling-factor 2x2 "JPEG:$1.part"
    mv "$1.part" "$1"
}
make_photo "$standing" 480x270 1920x1080 11
make_photo "$large" 1500x1000 6000x4000 5
# ImageMagick's pixel cache will not hold 100 megapixels here: the large photo, tiled.
if [[ ! -s $big ]]; then
    djpeg -pnm "$large" | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)
width, height, pixels = int(fields[1]), int(fields[2]), fields[4]
row = width * 3
out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (2 * width, 8400))
for y in range(8400):
    line = pixels[(y % height) * row:(y % height + 1) * row]
    out.write(line + line)
' | cjpeg -quality 90 -sample 2x2 >"$big.part"
    mv "$big.part" "$big"
fi

# A sequential arithmetic-coded colour frame of 16384 x 16384 whose one scan holds no data: the
# decoder walks all 12 million blocks of it. A comment pads it to 665 bytes.
bomb=$work/claims-16384x16384.jpg
{
    printf '\xff\xd8'                                   # start of image
    printf '\xff\xdb\x00\x43\x00'                       # quantization table 0: all ones
    printf '\x01%.0s' $(seq 64)
    printf '\xff\xc9\x00\x11\x08\x40\x00\x40\x00\x03'   # SOF9: 16384 x 16384, 3 components
    printf '\x01\x11\x00\x02\x11\x00\x03\x11\x00'
    printf '\xff\xfe\x02\x29'                           # a comment of 551 bytes
    printf ' %.0s' $(seq 551)
    printf '\xff\xda\x00\x0c\x03\x01\x00\x02\x00\x03\x00\x00\x3f\x00' # one scan of all three
    printf '\x00\x00\x00\x00'
    printf '\xff\xd9'                                   # end of image
} >"$bomb"

# The show's settings: the one photo's folder, no music, no fade, one minute a slide.
use_photo() {
    rm -rf "$work/photos" "$work/config" "$work/cache"
    mkdir -p "$work/photos" "$work/config/tovelin"
    ln "$1" "$work/photos/" 2>/dev/null || cp "$1" "$work/photos/"
    cat >"$work/config/tovelin/registry.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin]
"PhotoDirectorys"="$work/photos"
"ChangeInterval"=dword:0000ea60
"EnableMusic"=dword:00000000
"FadeOutLastPhoto"=dword:00000000
REG
}

pid=
launch() {
    XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 \
        "$program" /s >/dev/null 2>"$work/err" &
    pid=$!
}
trace_has() { grep -q -- "$1" "$work/err" 2>/dev/null; }
wait_trace() { # wait_trace TEXT SECONDS
    local tries=0
    until trace_has "$1"; do
        ((tries++ < $2 * 500)) && kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.002
    done
}
now_us() { echo $(($(date +%s%N) / 1000)); }

# key_to_exit PHOTO WAIT_FOR DELAY_MS LOADING: milliseconds from a key to the exit, the key
# coming DELAY_MS after the trace shows WAIT_FOR; "-" when the load had (LOADING 1) or had not
# (0) ended by then.
key_to_exit() {
    use_photo "$1"
    launch
    if ! wait_trace "$2" 60; then
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
        echo -; return
    fi
    sleep "$(printf '0.%03d' "$3")"
    local loading=1
    if trace_has 'effect style='; then loading=0; fi
    local start end
    start=$(now_us)
    xdotool key space
    wait "$pid" 2>/dev/null || true
    end=$(now_us)
    if [[ $loading -ne $4 ]]; then echo -; return; fi
    awk -v us=$((end - start)) 'BEGIN { printf "%.1f", us / 1000 }'
}
median() { tr ' ' '\n' | { grep -v -e '^-$' -e '^$' || true; } | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

# The load's own length, from the step naming the photo to its choice of transition, with no key.
load_ms() {
    use_photo "$1"
    launch
    wait_trace 'pic file=' 60 || { echo -; return; }
    local start end
    start=$(now_us)
    wait_trace 'effect style=' 120 || { kill "$pid"; wait "$pid" 2>/dev/null || true; echo -; return; }
    end=$(now_us)
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    awk -v us=$((end - start)) 'BEGIN { printf "%.0f", us / 1000 }'
}

start_screen 1920x1080
echo "Screen 1920x1080, $rounds rounds, key ${delay_ms} ms after the step names its photo; load average $(cut -d' ' -f1 /proc/loadavg)"
echo "the loads alone, no key: 100 MP JPEG $(load_ms "$big") ms, 665-byte file $(load_ms "$bomb") ms (the key comes inside these)"
declare -a rest=() during_big=() during_bomb=()
for _ in $(seq "$rounds"); do
    rest+=("$(key_to_exit "$standing" 'DrawScreen end' 300 0)")
    during_big+=("$(key_to_exit "$big" 'pic file=' "$delay_ms" 1)")
    during_bomb+=("$(key_to_exit "$bomb" 'pic file=' "$delay_ms" 1)")
done
rest_ms=$(echo "${rest[*]}" | median)
big_ms=$(echo "${during_big[*]}" | median)
bomb_ms=$(echo "${during_bomb[*]}" | median)
printf '%-40s %8s ms   runs: %s\n' "key to exit, photo standing" "$rest_ms" "${rest[*]}"
printf '%-40s %8s ms   runs: %s   x goal %s   x standing %s\n' "(d) key to exit, 100 MP JPEG loading" \
    "$big_ms" "${during_big[*]}" "$(ratio "$big_ms" 100)" "$(ratio "$big_ms" "$rest_ms")"
printf '%-40s %8s ms   runs: %s   x goal %s   x standing %s\n' "(e) key to exit, 665-byte file loading" \
    "$bomb_ms" "${during_bomb[*]}" "$(ratio "$bomb_ms" 100)" "$(ratio "$bomb_ms" "$rest_ms")"
stop_screen

# Peak resident memory once the photo stands, 2 s after its step ended.
peak_mb() {
    use_photo "$1"
    launch
    wait_trace 'DrawScreen end' 120 || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; echo -; return; }
    sleep 2
    local kb
    kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
    xdotool key space
    wait "$pid" 2>/dev/null || true
    awk -v kb="$kb" 'BEGIN { printf "%.0f", kb / 1024 }'
}
start_screen 3840x2160
frame_mb=$(awk 'BEGIN { printf "%.1f", 3840 * 2160 * 4 / 1048576 }')
for photo in "$large" "$big"; do
    mb=$(peak_mb "$photo")
    printf '(f) peak resident memory at 3840x2160, %-24s %6s MiB = %s frames of %s MiB\n' \
        "$(basename "$photo"):" "$mb" "$(ratio "$mb" "$frame_mb")" "$frame_mb"
done
stop_screen
