#!/usr/bin/env bash
# Regenerates the pictures and height files in this folder with independent
# tools (Debian packages imagemagick and gdal-bin), so the readers are tested
# on files that other programs wrote. The tests read the committed files and
# need neither tool.
#
#   picture-*.bmp   5 x 4 pixels, red = 10x + 50y + 1, green = 20 + 3x + 7y,
#                   blue = 200 - 11x - 13y (x from the left, y from the bottom)
#     -bmp3         40-byte info header        (ImageMagick BMP3:)
#     -v5           124-byte info header       (ImageMagick BMP:, its default)
#     -core         12-byte core header        (ImageMagick BMP2:)
#     -palette      4-bit palette bitmap       (refused by the reader)
#     -alpha        32-bit bitmap              (refused by the reader)
#   gdal-30m.ter    4 x 3 points at 30 m, heights in metres from the south row:
#                   90 100 110 120 / 50 60 70 80 / 10 20 30 40; no "SCAL" chunk
#   gdal-10m.ter    the same heights at 10 m, with a "SCAL" chunk
#   gdal-odd.ter    3 x 3 points at 30 m (an odd sample count), "SIZE" only:
#                   35 40 45 / 20 25 30 / 5 10 15 from the south row
#   tile-*          a height picture and the tiles of a terrain made of it
#                   and the colours above (expected-tiles.py, python3 only)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert-im6.q16  # ImageMagick 6 (plain "convert" may be another program)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The picture as a plain PPM, top row first.
{
  echo "P3"
  echo "5 4"
  echo "255"
  for y in 3 2 1 0; do
    for x in 0 1 2 3 4; do
      echo "$((10 * x + 50 * y + 1)) $((20 + 3 * x + 7 * y)) $((200 - 11 * x - 13 * y))"
    done
  done
} >"$work/picture.ppm"
"$convert" "$work/picture.ppm" -type TrueColor BMP3:"$here/picture-bmp3.bmp"
"$convert" "$work/picture.ppm" -type TrueColor BMP:"$here/picture-v5.bmp"
"$convert" "$work/picture.ppm" -type TrueColor BMP2:"$here/picture-core.bmp"
"$convert" "$work/picture.ppm" -type Palette BMP3:"$here/picture-palette.bmp"
"$convert" "$work/picture.ppm" -type TrueColorAlpha BMP:"$here/picture-alpha.bmp"

# Height grids as ASCII grids, north row first.
grid() {  # grid FILE COLUMNS ROWS CELLSIZE ROW...
  local file=$1 cols=$2 rows=$3 cell=$4
  shift 4
  {
    echo "ncols $cols"
    echo "nrows $rows"
    echo "xllcorner 0"
    echo "yllcorner 0"
    echo "cellsize $cell"
    for row in "$@"; do echo "$row"; done
  } >"$file"
}
terragen() {  # terragen GRID OUT MIN MAX
  gdal_translate -q -ot Float32 -of Terragen -co MINUSERPIXELVALUE="$3" \
    -co MAXUSERPIXELVALUE="$4" "$1" "$work/out.ter"
  cp "$work/out.ter" "$2"
}
grid "$work/h30.asc" 4 3 30 "10 20 30 40" "50 60 70 80" "90 100 110 120"
terragen "$work/h30.asc" "$here/gdal-30m.ter" 10 120
grid "$work/h10.asc" 4 3 10 "10 20 30 40" "50 60 70 80" "90 100 110 120"
terragen "$work/h10.asc" "$here/gdal-10m.ter" 10 120
grid "$work/odd.asc" 3 3 30 "5 10 15" "20 25 30" "35 40 45"
terragen "$work/odd.asc" "$here/gdal-odd.ter" 5 45

# The generator test's expected tiles, worked out from the pictures above.
python3 "$here/expected-tiles.py"
