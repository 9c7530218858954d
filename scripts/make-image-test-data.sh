#!/usr/bin/env bash
# Makes the small reference pictures of the image reader tests (tests/data/images): JPEG files
# of each kind from cjpeg and ImageMagick with djpeg's decoding of each as the expected pixels,
# and BMP files written by ImageMagick with ImageMagick's own decoding as the expected pixels.
# Run once; the outputs are committed, because the Windows tests cannot run these tools.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/tests/data/images
magick=/usr/bin/convert # the real ImageMagick, not a wrapper earlier in PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# Odd sizes, so that the last MCU row and column are partial; a tall one for row skipping.
$magick -seed 7 -size 45x31 plasma:fractal -depth 8 "$work/small.ppm"
$magick -seed 11 -size 67x203 plasma:fractal -depth 8 "$work/tall.ppm"

jpeg() { # name source cjpeg-options...
  local name=$1 src=$2
  shift 2
  cjpeg -quality 85 "$@" "$work/$src.ppm" >"$out/$name.jpg"
}
jpeg colour_420 small
jpeg colour_422 small -sample 2x1
jpeg colour_444_restart small -sample 1x1 -restart 1
jpeg colour_rgb small -rgb
jpeg colour_arithmetic small -arithmetic
jpeg grey small -grayscale
jpeg progressive small -progressive
jpeg tall_420 tall
jpeg tall_progressive tall -progressive
jpeg tall_grey tall -grayscale
# All headers in 159 bytes, for the tests that make it claim a huge size.
$magick -size 8x8 xc:gray50 -depth 8 "$work/flat.pgm"
cjpeg -grayscale -optimize -quality 50 "$work/flat.pgm" >"$out/tiny_grey.jpg"
# ImageMagick writes CMYK as YCCK with an Adobe marker and inverted values.
$magick "$work/small.ppm" -colorspace CMYK -quality 90 "$out/ycck.jpg"
$magick "$work/tall.ppm" -colorspace CMYK -quality 90 "$out/tall_ycck.jpg"
# Plain Adobe CMYK (no colour transform) needs libjpeg itself: inverted C, M, Y from the
# picture's colours with K' = max(R, G, B), so that C' * K' / 255 gives the colour back.
cat >"$work/cmyk.c" <<'C'
#include <stdio.h>
#include <stdlib.h>
#include <jpeglib.h>
int main(int argc, char **argv)
{
  FILE *in = fopen(argv[1], "rb"), *out = fopen(argv[2], "wb");
  int width, height, maxval;
  if (!in || !out || fscanf(in, "P6 %d %d %d", &width, &height, &maxval) != 3 || fgetc(in) == EOF) return 1;
  unsigned char *rgb = malloc((size_t)width * height * 3), *row = malloc((size_t)width * 4);
  if (fread(rgb, 3, (size_t)width * height, in) != (size_t)width * height) return 1;
  struct jpeg_compress_struct info;
  struct jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const unsigned char *p = rgb + (size_t)info.next_scanline * width * 3;
    for (int x = 0; x < width; ++x, p += 3) {
      int k = p[0] > p[1] ? p[0] : p[1];
      k = k > p[2] ? k : p[2];
      for (int c = 0; c < 3; ++c) row[x * 4 + c] = k ? (unsigned char)((p[c] * 255 + k / 2) / k) : 0;
      row[x * 4 + 3] = (unsigned char)k;
    }
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  fclose(out);
  return 0;
}
C
cc -O2 -o "$work/cmyk" "$work/cmyk.c" -ljpeg
"$work/cmyk" "$work/small.ppm" "$out/cmyk.jpg"
"$work/cmyk" "$work/tall.ppm" "$out/tall_cmyk.jpg"
for file in "$out"/*.jpg; do
  base=${file%.jpg}
  if [[ "$(basename "$base")" == *grey ]]; then
    djpeg -pnm "$file" >"$base.pgm"
  else
    djpeg -pnm "$file" >"$base.ppm"
  fi
done

bmp() { # name writer-format options...
  local name=$1 format=$2
  shift 2
  $magick "$work/small.ppm" "$@" "$format:$out/$name.bmp"
  $magick "$out/$name.bmp" -depth 8 "ppm:$out/$name.bmp.ppm"
}
bmp win3_24bit BMP3 -type TrueColor
bmp v5_24bit BMP -type TrueColor
bmp core_8bit BMP2 -colors 100
bmp win3_8bit_rle BMP3 -colors 100 -compress RLE
bmp win3_4bit BMP3 -colors 12
bmp win3_1bit BMP3 -monochrome
bmp v5_32bit_bitfields BMP -alpha set -channel A -evaluate set 50% +channel
bmp v5_16bit_565 BMP -define bmp:subtype=RGB565
bmp v5_16bit_555 BMP -define bmp:subtype=RGB555
