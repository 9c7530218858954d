#!/usr/bin/env bash
# Paints the bundled sample photos (samples/photos/) with ImageMagick: skies, hills, mountains,
# a lake and the sea, in the sizes and shapes a show meets (larger than the screen, portrait,
# small, a wide panorama). Each scene is drawn from fixed seeds, so a run repaints the same
# pictures. Run once; the outputs are committed.
#
#   scripts/make-sample-photos.sh [OUT_DIR]     (default samples/photos)
#
# grid_landscape.jpg and hills_portrait.bmp are not made here: the transition animations
# (scripts/make-effect-animations.sh) use them as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/samples/photos}
magick=/usr/bin/convert # the real ImageMagick, not a wrapper earlier in PATH
identify=/usr/bin/identify
[[ -x $magick ]] || { echo "ImageMagick's convert is needed (apt-get install imagemagick)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# ridge W H BASE SHARP SEED AMPLITUDE...: a skyline polygon for -draw, closed along the bottom.
# Sum of sine waves (SHARP=0: rolling hills) or of folded sines (SHARP=1: peaks), one wave per
# amplitude, each wave twice the frequency of the one before.
ridge() {
    local w=$1 h=$2 base=$3 sharp=$4 seed=$5
    shift 5
    awk -v w="$w" -v h="$h" -v base="$base" -v sharp="$sharp" -v seed="$seed" -v amps="$*" 'BEGIN {
        srand(seed); n = split(amps, a, " ")
        for (i = 1; i <= n; i++) { phase[i] = rand() * 6.2832; freq[i] = (1.3 + rand()) * 2 ^ (i - 1) * 6.2832 / w }
        printf "polygon 0,%d", h
        step = w / 240
        for (x = 0; x <= w + step; x += step) {
            y = base
            for (i = 1; i <= n; i++) {
                s = sin(x * freq[i] + phase[i])
                y -= sharp ? a[i] * (1 - (s < 0 ? -s : s)) : a[i] * s
            }
            printf " %d,%d", (x > w ? w : x), y
        }
        printf " %d,%d", w, h
    }'
}

# sky W H TOP HORIZON OUT: a vertical gradient, painted small and enlarged (it is smooth anyway).
sky() {
    "$magick" -size "$(( $1 / 8 ))x$(( $2 / 8 ))" gradient:"$3-$4" -resize "$1x$2!" "$5"
}

# glow W H X Y RADIUS COLOUR IN OUT: a soft light (a sun, a moon) screened onto the picture.
glow() {
    local w=$1 h=$2 x=$3 y=$4 r=$5 colour=$6
    "$magick" -size "$(( w / 8 ))x$(( h / 8 ))" xc:black -fill "$colour" \
        -draw "circle $(( x / 8 )),$(( y / 8 )) $(( x / 8 + r / 8 )),$(( y / 8 ))" -blur 0x$(( r / 8 + 2 )) \
        -resize "${w}x${h}!" "$work/glow.png"
    "$magick" "$7" "$work/glow.png" -compose screen -composite \
        -fill "$colour" -draw "circle $x,$y $(( x + r / 3 )),$y" "$8"
}

# clouds W H SEED OPACITY IN OUT: soft streaks of fractal noise over the upper part of the sky.
clouds() {
    local w=$1 h=$2
    "$magick" -seed "$3" -size "$(( w / 16 ))x$(( h / 24 ))" plasma:fractal -colorspace gray \
        -blur 0x1.5 -level 45%,85% -resize "${w}x$(( h / 2 ))!" \
        \( -size "${w}x$(( h / 2 ))" gradient:white-black \) -compose multiply -composite \
        -compose over -background black -extent "${w}x${h}" -evaluate multiply "$4" "$work/cloudmask.png"
    "$magick" "$5" \( -size "${w}x${h}" xc:white \) "$work/cloudmask.png" -compose over -composite "$6"
}

# hills IN OUT COLOUR POLYGON [MIST]: one layer of land, with a band of mist along its foot.
hills() {
    "$magick" "$1" -fill "$3" -draw "$4" "$2"
}

# mist IN OUT Y HEIGHT OPACITY: a white haze that fades out above and below Y.
mist() {
    local w h
    read -r w h < <("$identify" -format '%w %h\n' "$1")
    "$magick" -size "$(( w / 8 ))x$(( $4 / 8 ))" gradient:black-white \
        \( +clone -flip \) -compose multiply -composite -evaluate multiply "$5" \
        -resize "${w}x$4!" -compose over -background black -gravity northwest -splice "0x$(( $3 - $4 / 2 ))" \
        -extent "${w}x${h}" "$work/mistmask.png"
    "$magick" "$1" \( -size "${w}x${h}" xc:'#f4f1ea' \) "$work/mistmask.png" -compose over -composite "$2"
}

# reflect IN OUT HORIZON TINT: mirrors everything above the horizon into water below it.
reflect() {
    local w h
    read -r w h < <("$identify" -format '%w %h\n' "$1")
    local depth=$(( h - $3 ))
    "$magick" "$1" -crop "${w}x${depth}+0+$(( $3 - depth ))" +repage -flip \
        -motion-blur 0x12+0 -fill "$4" -colorize 45% \
        \( -seed 17 -size "$(( w / 4 ))x$(( depth / 3 ))" xc:gray50 +noise Uniform -colorspace gray \
           -motion-blur 0x20+0 -resize "${w}x${depth}!" -level 40%,60% \) -compose soft-light -composite \
        "$work/water.png"
    "$magick" "$1" "$work/water.png" -geometry "+0+$3" -compose over -composite "$2"
}

jpeg() { "$magick" "$1" -strip -sampling-factor 2x2 -quality 85 "$out/$2"; }

# 2400 x 1600, larger than most screens: sunrise over a valley of rolling hills.
w=2400 h=1600 s=$work/valley.png
sky $w $h '#2b3a67' '#f6b26b' "$s"
glow $w $h 1650 930 140 '#fff1c9' "$s" "$s"
clouds $w $h 3 0.35 "$s" "$s"
hills "$s" "$s" '#8a7ea6' "$(ridge $w $h 990 0 11 60 25 10)"
mist "$s" "$s" 1010 160 0.55
hills "$s" "$s" '#5f6a8c' "$(ridge $w $h 1120 0 12 70 30 12)"
mist "$s" "$s" 1150 140 0.45
hills "$s" "$s" '#3d5a5e' "$(ridge $w $h 1270 0 13 80 40 14)"
hills "$s" "$s" '#243b2f' "$(ridge $w $h 1440 0 14 90 35 12)"
jpeg "$s" valley_sunrise.jpg

# 900 x 1400, portrait: mountains at dusk mirrored in a lake.
w=900 h=1400 s=$work/lake.png
sky $w $h '#14213d' '#e07a5f' "$s"
glow $w $h 300 620 90 '#ffd6a5' "$s" "$s"
clouds $w $h 5 0.25 "$s" "$s"
hills "$s" "$s" '#6d597a' "$(ridge $w 860 640 1 21 180 60 20)"
hills "$s" "$s" '#355070' "$(ridge $w 860 760 1 22 120 40 14)"
hills "$s" "$s" '#1d2d44' "$(ridge $w 860 840 0 23 16 8)"
"$magick" "$s" -crop "${w}x860+0+0" +repage -background black -extent "${w}x${h}" "$s"
reflect "$s" "$s" 860 '#1d3557'
jpeg "$s" mountain_lake_portrait.jpg

# 3000 x 700, a panorama: a coast at midday, the sea meeting a pale sky.
w=3000 h=700 s=$work/coast.png
sky $w $h '#3a7bd5' '#dbeefa' "$s"
clouds $w $h 9 0.7 "$s" "$s"
hills "$s" "$s" '#8fa7a0' "$(ridge $w 430 392 0 31 26 12 5)"
hills "$s" "$s" '#2f5d3a' "polygon 2150,430 2300,392 2420,364 2560,336 2700,320 2850,304 3000,296 3000,430"
"$magick" "$s" \( -size "$(( w / 8 ))x$(( 300 / 8 ))" gradient:'#6fb3cf-#1f5f8b' -resize "${w}x300!" \) \
    -geometry +0+400 -compose over -composite "$s"
hills "$s" "$s" '#eef6f4' "$(ridge $w $h 632 0 32 25 10)"
hills "$s" "$s" '#d8c593' "$(ridge $w $h 642 0 32 25 10)"
jpeg "$s" coast_panorama.jpg

# 320 x 240, small, as an 8-bit BMP with a palette: moonlit hills at night.
w=320 h=240 s=$work/night.png
sky $w $h '#050a1f' '#2c3e6b' "$s"
"$magick" "$s" -seed 41 \( -size "${w}x${h}" xc:black +noise Random -channel G -threshold 99.6% \
    -separate +channel \) -compose screen -composite "$s"
glow $w $h 235 60 18 '#f1f0dc' "$s" "$s"
hills "$s" "$s" '#22304f' "$(ridge $w $h 165 0 51 10 5)"
hills "$s" "$s" '#121a2e' "$(ridge $w $h 195 0 52 12 6)"
"$magick" "$s" -dither FloydSteinberg -colors 256 -type Palette BMP3:"$out/night_hills_small.bmp"

for f in valley_sunrise.jpg mountain_lake_portrait.jpg coast_panorama.jpg night_hills_small.bmp; do
    "$identify" -format "%f %wx%h " "$out/$f"
    echo "$(( $(stat -c %s "$out/$f") / 1024 )) KB"
done
