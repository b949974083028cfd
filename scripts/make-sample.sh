#!/usr/bin/env bash
# Makes the sample list that `make run` opens: a handful of generated
# pictures of different sizes and formats, default.lst with its random file
# and the size rules dims.dat, in a folder that Windows programs see as
# WINDOWS-FOLDER, unless the list is there already.
#   scripts/make-sample.sh FOLDER WINDOWS-FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
sample=$1
folder=$2
mkdir -p "$sample"
# Help opens readme.htm from the folder kel runs in.
cp "$here/app/readme.htm" "$sample/readme.htm"

[ -f "$sample/default.lst" ] && exit 0
convert -size 1600x1200 gradient:'#1e3c72'-'#f7b733' -swirl 90 "$sample/dusk gradient.jpg"
convert -size 640x480 plasma:fractal -blur 0x2 "$sample/plasma.jpg"
convert -size 300x200 pattern:checkerboard -fill '#d04040' -draw 'circle 150,100 150,30' "BMP3:$sample/tile me.bmp"
convert -size 1024x256 gradient:'#0f2027'-'#2c5364' -fill '#f0c040' -draw 'rectangle 40,100 984,156' \
  "$sample/banner.wide.jpg"
convert -size 480x800 radial-gradient:'#ffffff'-'#3a6073' "BMP3:$sample/portrait.bmp"
convert -size 800x600 radial-gradient:'#f7b733'-'#f7b73300' "PNG32:$sample/sun.png"
convert -size 64x64 xc:'#203040' -fill '#e0e0e0' -draw 'circle 32,32 32,12' "$sample/dots.gif"
convert -size 1280x720 gradient:'#134e5e'-'#71b280' -fill '#ffffff80' -draw 'rectangle 0,300 1280,420' \
  -compress lzw "$sample/stripes.tif"

{
  printf ';kel list file\r\n;Don'"'"'t modify this file\r\n[Folders]\r\n%s\r\n' "$folder"
  printf '[Extensions]\r\nbmp\r\ngif\r\njpg\r\npng\r\ntif\r\n[Files]\r\n'
  printf '5 0 2 dusk gradient\r\n0 0 2 plasma\r\n2 0 0 tile me\r\n3 0 2 banner.wide\r\n4 0 0 portrait\r\n'
  printf '1 0 3 sun\r\n2 0 1 dots\r\n5 0 4 stripes\r\n'
} > "$sample/default.lst"
printf ';kel random file\r\n;Don'"'"'t modify this file\r\n8\r\n00000000' > "$sample/default.rnd"
# Size rules: small pictures tile, wide ones fit the width.
printf ';kel dims file\r\n;Don'"'"'t modify this file\r\n[Tile]\r\n300 x 200\r\n[Fit Width]\r\n1024 x 256\r\n' > "$sample/dims.dat"
