#!/usr/bin/env bash
# Makes the demo pictures the README's first command shows: JPEG and BMP files of several sizes
# and aspect ratios, landscape and portrait, each numbered so that the show order can be seen.
# Drawn here by ImageMagick from fixed seeds, so every run makes the same pictures.
#
#   tools/make-demo-pictures.sh OUTDIR     prints the made files' paths, one a line, in show order
set -euo pipefail
out=${1:?usage: $0 OUTDIR}
mkdir -p "$out"

# name, size, background, format-specific options
pictures=(
  "01-dawn.jpg       1600x1200 plasma:steelblue-orange"
  "02-tower.jpg      1200x1600 gradient:#1e3c72-#f2a65a"
  "03-coast.bmp      1280x720  plasma:teal-wheat"
  "04-square.jpg     1000x1000 radial-gradient:#fdfc47-#24fe41"
  "05-panorama.jpg   2400x800  gradient:#0f2027-#2c5364"
  "06-small.bmp      320x240   plasma:firebrick-gold"
  "07-leaf.jpg       900x1350  radial-gradient:#a8e063-#56ab2f"
  "08-night.bmp      1024x768  gradient:#141e30-#243b55"
)

label() {
  local size=$1
  local h=${size#*x} w=${size%x*}
  local side=$((w < h ? w : h))
  echo $((side / 3))
}

n=0
for entry in "${pictures[@]}"; do
  read -r name size background <<<"$entry"
  n=$((n + 1))
  file="$out/$name"
  if [[ ! -s $file ]]; then
    extra=()
    [[ $name == *.bmp ]] && extra=(-type TrueColor BMP3:"$file") || extra=(-quality 90 "$file")
    convert -size "$size" -seed "$n" "$background" \
      -fill 'rgba(255,255,255,0.25)' -draw "circle $(( ${size%x*} / 4 )),$(( ${size#*x} / 3 )) $(( ${size%x*} / 3 )),$(( ${size#*x} / 2 ))" \
      -gravity center -font DejaVu-Sans-Bold -pointsize "$(label "$size")" \
      -fill white -stroke black -strokewidth 3 -annotate 0 "$n" \
      "${extra[@]}"
  fi
  printf '%s\n' "$file"
done
