#!/usr/bin/env bash
# Draws the configuration dialog's pictures with ImageMagick and writes them as 24-bit BMP
# files: the 513 x 89 banner (an evening sky behind a fan of photo prints, and the title) and
# the 16 x 16 pictures of the Save and Close buttons on pure magenta, which the dialog shows as
# transparent. Run once; the outputs are committed and built into the program.
#
#   scripts/make-dialog-artwork.sh [OUT_DIR]     (default src/config/artwork)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/src/config/artwork}
magick=/usr/bin/convert # the real ImageMagick, not a wrapper earlier in PATH
[[ -x $magick ]] || { echo "ImageMagick's convert is needed (apt-get install imagemagick)" >&2; exit 1; }
bold=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
[[ -f $bold && -f $regular ]] || { echo "Liberation Sans is needed (apt-get install fonts-liberation)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# 24 bits, no colour-space header: the plainest BMP every reader takes.
bmp24() { "$magick" "$1" -alpha off -type TrueColor -define bmp:format=bmp3 BMP3:"$2"; }

# print W H ANGLE SKY_TOP SKY_HORIZON HILL OUT: one photo print, a small landscape in a white
# border, turned by ANGLE degrees on a transparent ground with a soft shadow.
print() {
    local w=$1 h=$2 iw=$(( $1 - 8 )) ih=$(( $2 - 8 ))
    "$magick" -size "${iw}x${ih}" gradient:"$4-$5" \
        -fill "$6" -draw "polygon 0,$ih 0,$(( ih * 2 / 3 )) $(( iw / 3 )),$(( ih / 2 )) $(( iw * 2 / 3 )),$(( ih * 3 / 4 )) $iw,$(( ih * 3 / 5 )) $iw,$ih" \
        -bordercolor white -border 4 -bordercolor '#c8c8c8' -border 1 \
        -background none -rotate "$3" \
        \( +clone -background black -shadow 55x2+2+2 \) +swap -background none -layers merge +repage "$7"
}

# The banner: dusk over the sea, three prints fanned out on the right, the title on the left.
w=513 h=89 s=$work/banner.png
"$magick" -size "${w}x${h}" gradient:'#1b2a5a-#e98a5c' "$s"
"$magick" "$s" \( -size "${w}x${h}" xc:none -fill '#fff3c866' -draw "circle 330,78 330,50" -blur 0x8 \) \
    -compose screen -composite \
    -fill '#20365e' -draw "polygon 0,89 0,76 80,72 170,75 260,70 350,74 440,69 513,72 513,89" "$s"
print 70 52 -12 '#3a6fb0' '#cfe6f5' '#3b7a3e' "$work/p1.png"
print 70 52 6 '#f08a4b' '#ffd9a0' '#5a4a6e' "$work/p2.png"
print 70 52 -3 '#173a6b' '#7fb2d9' '#e7e0c9' "$work/p3.png"
"$magick" "$s" \
    "$work/p1.png" -geometry +350+12 -compose over -composite \
    "$work/p2.png" -geometry +420+6 -compose over -composite \
    "$work/p3.png" -geometry +384+24 -compose over -composite "$s"
"$magick" "$s" \
    -font "$bold" -pointsize 30 -fill '#00000070' -annotate +22+48 'Tovelin Screen Saver' \
    -fill white -annotate +20+46 'Tovelin Screen Saver' \
    -font "$regular" -pointsize 13 -fill '#f4e4d4' -annotate +22+68 'Your photos and your music, one after another' \
    "$s"
bmp24 "$s" "$out/banner.bmp"

# Save: a blue floppy disk with its label and shutter. Drawn without anti-aliasing, so that no
# pixel is a blend of the disk and the magenta ground.
"$magick" -size 16x16 xc:'#ff00ff' +antialias \
    -fill '#1f4e9c' -draw "polygon 1,1 12,1 14,3 14,14 1,14" \
    -fill '#f2f2f2' -draw "rectangle 3,1 11,6" \
    -fill '#1f4e9c' -draw "rectangle 9,2 10,5" \
    -fill '#c9ced6' -draw "rectangle 4,9 11,14" \
    -fill '#1f4e9c' -draw "rectangle 5,10 6,13" \
    "$work/save.png"
bmp24 "$work/save.png" "$out/save.bmp"

# Close: a red cross, two strokes three pixels wide.
"$magick" -size 16x16 xc:'#ff00ff' +antialias -stroke '#c81e1e' -strokewidth 3 \
    -draw "line 3,3 12,12" -draw "line 12,3 3,12" \
    "$work/close.png"
bmp24 "$work/close.png" "$out/close.bmp"

for f in banner.bmp save.bmp close.bmp; do
    /usr/bin/identify -format "%f %wx%h %[bit-depth]-bit/channel %b\n" "$out/$f"
done
