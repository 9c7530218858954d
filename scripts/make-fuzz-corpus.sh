#!/usr/bin/env bash
# Makes the seed corpus of the image fuzzers (fuzz/corpus/jpeg and fuzz/corpus/bmp): a few tiny
# files of each kind that the readers accept, from cjpeg, ImageMagick and a few hand-built BMPs
# for the kinds that ImageMagick does not write. Run once; the outputs are committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jpegs=$root/fuzz/corpus/jpeg
bmps=$root/fuzz/corpus/bmp
magick=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$jpegs" "$bmps"

$magick -seed 3 -size 19x13 plasma:fractal -depth 8 "$work/picture.ppm"
$magick -size 9x7 gradient:red-blue -depth 8 "$work/small.ppm"

cj() { # name source options...
  local name=$1 src=$2
  shift 2
  cjpeg -quality 75 "$@" "$work/$src.ppm" >"$jpegs/$name.jpg"
}
cj baseline_420 picture
cj baseline_422 picture -sample 2x1
cj baseline_444 small -sample 1x1
cj baseline_411 picture -sample 4x1
cj grey picture -grayscale
cj rgb small -rgb
cj progressive picture -progressive
cj progressive_grey small -progressive -grayscale
cj arithmetic picture -arithmetic
cj arithmetic_progressive small -arithmetic -progressive
cj restart picture -restart 1B
cj optimized small -optimize
$magick "$work/small.ppm" -colorspace CMYK -quality 75 "$jpegs/ycck.jpg"
cp "$root/tests/data/images/cmyk.jpg" "$jpegs/cmyk.jpg"

im() { # name format options...
  local name=$1 format=$2
  shift 2
  $magick "$work/small.ppm" "$@" "$format:$bmps/$name.bmp"
}
im win3_24 BMP3 -type TrueColor
im v5_24 BMP -type TrueColor
im core_8 BMP2 -colors 20
im win3_rle8 BMP3 -colors 20 -compress RLE
im win3_4 BMP3 -colors 12
im win3_1 BMP3 -monochrome
im v5_32_alpha BMP -alpha set
im v5_565 BMP -define bmp:subtype=RGB565
im v5_555 BMP -define bmp:subtype=RGB555

python3 - "$bmps" <<'PY'
import struct, sys
out = sys.argv[1]

def bmp(name, info, extra, pixels):
    offset = 14 + len(info) + len(extra)
    data = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + extra + pixels
    open(f"{out}/{name}.bmp", "wb").write(data)

def info(size, width, height, bits, compression=0, colours=0, masks=()):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 2835, 2835, colours, 0)
    header += b"".join(struct.pack("<I", m) for m in masks)
    return header.ljust(size, b"\0")

palette = b"".join(bytes((b, g, r, 0)) for r, g, b in
                   [(255, 0, 0), (0, 255, 0), (0, 0, 255), (128, 128, 128), (255, 255, 0)])
rle4 = bytes([5, 0x12, 0, 0, 0, 3, 0x34, 0x10, 0, 2, 1, 0, 1, 0x44, 0, 1])
bmp("rle4", info(40, 5, 2, 4, compression=2, colours=5), palette, rle4)
rle8 = bytes([2, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 2, 4, 0, 0, 7, 1, 0, 1])
bmp("rle8_delta", info(40, 5, 4, 8, compression=1, colours=5), palette, rle8)
rows = b"".join(bytes((x * 40, y * 60, 200)) for y in range(3) for x in range(4))  # 12 bytes a row
bmp("top_down_24", info(40, 4, -3, 24), b"", rows)
px565 = b"".join(struct.pack("<H", v) for v in (0xF800, 0x07E0, 0x001F, 0xFFFF))
bmp("bitfields_565_info40", info(40, 2, 2, 16, compression=3), struct.pack("<III", 0xF800, 0x07E0, 0x001F), px565)
os2 = info(64, 3, 2, 8, colours=5)
bmp("os2_v2_8", os2, palette, bytes([0, 1, 2, 0, 3, 4, 0, 0]))
bmp("v4_32_masks", info(108, 2, 1, 32, compression=3, masks=(0xFF, 0xFF00, 0xFF0000, 0)), b"",
    struct.pack("<II", 0x00112233, 0x00445566))
PY

# The Exif parser's seeds: the APP1 payloads of both byte orders, one with a chain of directories.
exifs=$root/fuzz/corpus/exif
mkdir -p "$exifs"
python3 - "$exifs" <<'PY'
import struct, sys
out = sys.argv[1]
def block(order, entries, next_ifd=0):
    f = "<" if order == b"II" else ">"
    body = order + struct.pack(f + "HI", 42, 8) + struct.pack(f + "H", len(entries))
    for tag, typ, count, value in entries:
        body += struct.pack(f + "HHIHH", tag, typ, count, value, 0)
    return b"Exif\0\0" + body + struct.pack(f + "I", next_ifd)
open(f"{out}/intel_6.bin", "wb").write(block(b"II", [(0x0100, 3, 1, 19), (0x0112, 3, 1, 6)]))
open(f"{out}/motorola_8.bin", "wb").write(block(b"MM", [(0x0112, 3, 1, 8)], next_ifd=8))
PY
# And a JPEG that carries one, as APP1 right after the start marker.
python3 - "$jpegs" "$exifs" <<'PY'
import struct, sys
jpegs, exifs = sys.argv[1:]
jpeg = open(f"{jpegs}/baseline_420.jpg", "rb").read()
payload = open(f"{exifs}/intel_6.bin", "rb").read()
app1 = b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload
open(f"{jpegs}/exif_turned.jpg", "wb").write(jpeg[:2] + app1 + jpeg[2:])
PY
ls "$jpegs" "$bmps" | wc -l
