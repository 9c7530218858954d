#!/usr/bin/env bash
# Draws the program's icon with ImageMagick: two photo prints fanned out on a rounded tile of
# evening sky, as PNG files of 256 x 256 and 48 x 48 pixels for the desktop's icon theme. Run
# once; the outputs are committed and installed by the Linux build.
#
#   scripts/make-icon.sh [OUT_DIR]     (default packaging/linux/icons)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/packaging/linux/icons}
magick=/usr/bin/convert # the real ImageMagick, not a wrapper earlier in PATH
[[ -x $magick ]] || { echo "ImageMagick's convert is needed (apt-get install imagemagick)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# No time stamps or other text chunks: the same drawing gives the same bytes.
png() { "$magick" "$1" -strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt -define png:color-type=6 PNG32:"$2"; }

# print W H ANGLE SKY_TOP SKY_HORIZON HILL OUT: one print, a small landscape with a sun in a white
# border, turned by ANGLE degrees on a transparent ground with a soft shadow.
print() {
    local iw=$(( $1 - 20 )) ih=$(( $2 - 20 ))
    "$magick" -size "${iw}x${ih}" gradient:"$4-$5" \
        -fill '#fff1b8' -draw "circle $(( iw * 7 / 10 )),$(( ih * 2 / 5 )) $(( iw * 7 / 10 + ih / 9 )),$(( ih * 2 / 5 ))" \
        -fill "$6" -draw "polygon 0,$ih 0,$(( ih * 2 / 3 )) $(( iw / 3 )),$(( ih / 2 )) $(( iw * 2 / 3 )),$(( ih * 3 / 4 )) $iw,$(( ih * 3 / 5 )) $iw,$ih" \
        -bordercolor white -border 10 -bordercolor '#c8c8c8' -border 1 \
        -background none -rotate "$3" \
        \( +clone -background black -shadow 60x5+4+5 \) +swap -background none -layers merge +repage "$7"
}

s=$work/tile.png
# The tile: a rounded square of dusk sky, cut out of a transparent ground.
"$magick" -size 256x256 xc:none -fill white -draw "roundrectangle 8,8 247,247 44,44" "$work/mask.png"
"$magick" -size 256x256 gradient:'#1b2a5a-#e98a5c' "$work/mask.png" -alpha off -compose copy_opacity -composite "$s"
print 150 114 -14 '#3a6fb0' '#cfe6f5' '#3b7a3e' "$work/p1.png"
print 150 114 9 '#f08a4b' '#ffd9a0' '#5a4a6e' "$work/p2.png"
"$magick" "$s" \
    "$work/p1.png" -geometry +18+42 -compose over -composite \
    "$work/p2.png" -geometry +78+92 -compose over -composite "$s"
# The prints' shadows may reach past the tile: keep only what lies on it.
"$magick" "$s" \( "$work/mask.png" -alpha extract \) -compose multiply -channel A -composite +channel "$s"

png "$s" "$out/tovelin-256.png"
"$magick" "$s" -filter Lanczos -resize 48x48 "$work/small.png"
png "$work/small.png" "$out/tovelin-48.png"

for f in tovelin-256.png tovelin-48.png; do
    /usr/bin/identify -format "%f %wx%h %[channels]\n" "$out/$f"
done
