#!/usr/bin/env bash
# Renders each of the thirteen transitions on the sample photos (samples/photos/) with the
# tovelin-effects tool and turns the frames into one animated GIF per effect in docs/effects/.
#
#   scripts/make-effect-animations.sh [BUILD_DIR]     (default build/linux; needs ImageMagick)
#
# SCREEN (default 320x240) sets the screen size the photos are fitted to; GIF_FRAMES (default 32)
# the number of frames kept from each run, evenly spread, so that every GIF stays small.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
tool=$build/tools/effects/tovelin-effects
screen=${SCREEN:-320x240}
gif_frames=${GIF_FRAMES:-32}
photo=$root/samples/photos/grid_landscape.jpg
previous=$root/samples/photos/hills_portrait.bmp
out=$root/docs/effects

[[ -x $tool ]] || { echo "no $tool: build the tovelin-effects target first" >&2; exit 1; }
command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 1; }

names=(InterlacedSlide BandSlide SlideFromLeft SlideFromTopRight LeftBandDrop RowsToCentre ColumnsToCentre
       HorizontalBlinds VerticalBlinds OpenFromCentre BoxFromCentre Dissolve NineTiles)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

for effect in "${!names[@]}"; do
    name=${names[$effect]}
    frames_dir=$work/$effect
    "$tool" --effect "$effect" --screen "$screen" --photo "$photo" --previous "$previous" --out "$frames_dir" >/dev/null
    frames=("$frames_dir"/frame_*.bmp)
    count=${#frames[@]}

    # Keep every stride-th frame and the last one. A step takes about 5 ms on screen (half a
    # GIF tick), so each kept frame stands for stride steps; GIF players show 2 ticks at least.
    stride=$(( (count + gif_frames - 1) / gif_frames ))
    delay=$(( (stride + 1) / 2 ))
    (( delay < 2 )) && delay=2
    args=(-delay 80 "${frames[0]}" -delay "$delay")
    for (( n = stride; n < count - 1; n += stride )); do args+=("${frames[n]}"); done
    (( count > 1 )) && args+=("${frames[count - 1]}")
    args+=(-delay 150 "$frames_dir/final.bmp")

    gif=$out/$(printf '%02d' "$effect")_$name.gif
    convert "${args[@]}" -dither None -colors 64 -loop 0 -layers Optimize "$gif"
    printf '%-18s %4d frames presented, %4d KB\n' "$name" "$count" $(( $(stat -c %s "$gif") / 1024 ))
    rm -rf "$frames_dir"
done
