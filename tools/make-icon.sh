#!/usr/bin/env bash
# Draws Tessmoor's application icon with ImageMagick: two photographs, one lying on the other, on
# a dusk-coloured tile. Writes a Windows .ico with every size the shell asks for (16 to 256 pixels,
# 32-bit with alpha; ImageMagick stores the 256-pixel image as PNG inside the file), and, when asked,
# the installer's welcome-page picture (164 x 314, a 24-bit BMP) with the same drawing.
#
#   tools/make-icon.sh OUT.ico [WIZARD.bmp]
#
# The pictures are drawn at 1024 pixels and scaled down. Below 32 pixels the back photograph is left
# out: at that size it only muddies the front one. Intermediate files go to OUT.ico's folder, under
# icon-work/. No time stamps are written, so the same script gives the same bytes.
set -euo pipefail

(($# == 1 || $# == 2)) || { echo "usage: $0 OUT.ico [WIZARD.bmp]" >&2; exit 2; }
out=$1
wizard=${2:-}
command -v convert >/dev/null || { echo "$0: ImageMagick's convert is missing (run tools/setup.sh)" >&2; exit 1; }
work=$(dirname "$out")/icon-work
mkdir -p "$work"

sizes=(16 20 24 32 40 48 64 96 128 256)
canvas=1024
# No date or time chunks, so that the bytes depend on the drawing alone.
png_opts=(-define png:exclude-chunks=date,time,tEXt,zTXt,iTXt +set date:create +set date:modify)

# Front photograph: a sunny sky over two green hills, in a white frame.
convert -size 500x350 gradient:'#6fb6ea-#bfe3f7' \
  -fill '#ffd54a' -draw "circle 380,90 380,150" \
  -fill '#3f9a52' -draw "ellipse 150,380 300,170 0,360" \
  -fill '#2c7a40' -draw "ellipse 430,400 220,150 0,360" \
  -bordercolor white -border 50 \
  -background none -rotate 8 "${png_opts[@]}" "$work/front.png"
# Back photograph: an evening moor under a low sun.
convert -size 500x350 gradient:'#f0b060-#d9763f' \
  -fill '#fff1c2' -draw "circle 360,120 360,165" \
  -fill '#7b3b2e' -draw "polygon 0,350 0,250 140,150 260,260 360,200 500,300 500,350" \
  -bordercolor '#f4f1ea' -border 46 \
  -background none -rotate -14 "${png_opts[@]}" "$work/back.png"
for photo in front back; do
  convert "$work/$photo.png" -background black -shadow 60x14+10+16 "${png_opts[@]}" "$work/$photo-shadow.png"
done

tile=(-size "${canvas}x${canvas}" gradient:'#2b3f7a-#7a4f9e' -alpha set
  \( -size "${canvas}x${canvas}" xc:none -fill white -draw "roundrectangle 40,40 983,983 190,190" \)
  -compose DstIn -composite -compose Over)

convert "${tile[@]}" \
  "$work/back-shadow.png" -geometry +80+110 -composite "$work/back.png" -geometry +90+110 -composite \
  "$work/front-shadow.png" -geometry +210+300 -composite "$work/front.png" -geometry +220+300 -composite \
  "${png_opts[@]}" "$work/large.png"
# The small drawing: the front photograph alone, larger, with a thicker frame after scaling.
convert "${tile[@]}" \
  \( "$work/front.png" -resize 125% \) -gravity center -geometry +0+10 -composite \
  "${png_opts[@]}" "$work/small.png"

frames=()
for size in "${sizes[@]}"; do
  source=$work/large.png
  ((size < 32)) && source=$work/small.png
  convert "$source" -filter Lanczos -resize "${size}x${size}" -depth 8 -type TrueColorAlpha \
    "${png_opts[@]}" "PNG32:$work/icon-$size.png"
  frames+=("$work/icon-$size.png")
done

convert "${frames[@]}" "${png_opts[@]}" "$work/tessmoor.ico"
mv -f "$work/tessmoor.ico" "$out"

if [[ -n $wizard ]]; then
  convert -size 164x314 gradient:'#2b3f7a-#7a4f9e' \
    \( "$work/large.png" -filter Lanczos -resize 148x148 \) -gravity north -geometry +0+36 -composite \
    -type TrueColor "BMP3:$work/wizard.bmp"
  mv -f "$work/wizard.bmp" "$wizard"
fi
