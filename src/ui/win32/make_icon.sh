#!/usr/bin/env bash
# The application icon, drawn once below as text and written as the Windows
# icon (resource 128 of StartZUVO.exe: a 32 x 32 and a 16 x 16 image in the
# 16 standard VGA colours) or as SVG pictures, from which the build renders
# the PNG icons of the Linux desktop. Each character is one pixel: a hex
# digit is a palette index, "." is transparent.
#
#   0 black   4 navy    8 grey    C blue
#   1 maroon  5 purple  9 red     D fuchsia
#   2 green   6 teal    A lime    E aqua
#   3 olive   7 silver  B yellow  F white
#
# The picture: a red steam locomotive on its track under a sky with the sun,
# in a navy frame with rounded corners.
#
# Usage: make_icon.sh OUTPUT.ico
#        make_icon.sh --svg large|small OUTPUT.svg   (the 32 or 16 pixel drawing)
set -eu
export LC_ALL=C

large=(
  ..4444444444444444444444444444..
  .4EEEEEEEEEEEEEEEEEEEEEEEEEEEE4.
  4EEEEEEEEEEEFEEEEEEEEEEEBBBEEEE4
  4EEEEEEEFFFFFFEEEEEEEEEBBBBBEEE4
  4EEEEEEEFFFEFEEEEEEEEEEBBBBBEEE4
  4EEEEFFFFFFEEEEEEEEEEEEBBBBBEEE4
  4EEEEFFFEEEEEEEEEEEEEEEEBBBEEEE4
  4EEEEFFFEEEEEEEEEE0000000000EEE4
  4EEEEE00000EEEEEEEE99999999EEEE4
  4EEEEEE000EEEEEEEEE99999999EEEE4
  4EEEEEE000EEBBBEEEE99777799EEEE4
  4EEEEEE000EEBBBEEEE99FFFF99EEEE4
  4EEE00111111111111199FFFF99EEEE4
  4EEE00999999999999999FFFF99EEEE4
  4EEE00999999999999999999999EEEE4
  4EEE00999999999999999999999EEEE4
  4EEE00999999999999999999999EEEE4
  4EEE00999999999999999999999EEEE4
  4E9900999999999999999999999EEEE4
  4E9900999999999999999999999EEEE4
  4E000000000000000000000000000EE4
  4EEEEE00000E00000EEEE00000EEEEE4
  42222200700200700222200700222224
  42222200000200000222200000222224
  42222220002220002222220002222224
  47777777777777777777777777777774
  48888888888888888888888888888884
  42112112112112112112112112112114
  42222222222222222222222222222224
  42222222222222222222222222222224
  .422222222222222222222222222224.
  ..4444444444444444444444444444..
)

small=(
  ..444444444444..
  .4EEEEEEEEEEEE4.
  4EEEEEEEE00000E4
  4EEE00EEEE9999E4
  4EEE00EEEE9FF9E4
  4EEE00EBEE9FF9E4
  4E099999999999E4
  4E099999999999E4
  4E099999999999E4
  4E099999999999E4
  4E099999999999E4
  4000000000000004
  4222002002200224
  4777777777777774
  .42222222222224.
  ..444444444444..
)

palette=(
  000000 800000 008000 808000 000080 800080 008080 c0c0c0
  808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff
)

byte() { printf "\\x$(printf %02x "$1")"; }
word() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); }
dword() { word $(($1 & 65535)); word $(($1 >> 16 & 65535)); }

# check_rows SIZE ROWS...: every row has SIZE pixels of known characters.
check_rows() {
  local size=$1 row
  shift
  [ "$#" -eq "$size" ] || { echo "make_icon: $# rows instead of $size" >&2; exit 1; }
  for row in "$@"; do
    [[ ${#row} -eq $size && $row =~ ^[0-9A-F.]+$ ]] || {
      echo "make_icon: bad row '$row'" >&2
      exit 1
    }
  done
}

# image SIZE ROWS...: one icon image (header, palette, colour pixels at 4 bits
# per pixel, then the transparency mask at 1 bit per pixel; rows bottom-up,
# each padded to 4 bytes).
image() {
  local size=$1
  shift
  local rows=("$@") colour_bytes=$((size / 2)) mask_bytes=$(((size / 8 + 3) / 4 * 4))
  dword 40; dword "$size"; dword $((size * 2)); word 1; word 4; dword 0
  dword $(((colour_bytes + mask_bytes) * size)); dword 0; dword 0; dword 16; dword 0
  local rgb
  for rgb in "${palette[@]}"; do
    byte $((16#${rgb:4:2})); byte $((16#${rgb:2:2})); byte $((16#${rgb:0:2})); byte 0
  done
  local y x row hi lo
  for ((y = size - 1; y >= 0; y--)); do
    row=${rows[y]//./0}
    for ((x = 0; x < size; x += 2)); do
      byte $((16#${row:x:1} * 16 + 16#${row:x+1:1}))
    done
  done
  local bits count
  for ((y = size - 1; y >= 0; y--)); do
    row=${rows[y]}
    count=0
    for ((x = 0; x < size; x += 8)); do
      bits=0
      for ((i = 0; i < 8; i++)); do
        [ "${row:x+i:1}" = . ] && bits=$((bits | 128 >> i))
      done
      byte "$bits"
      count=$((count + 1))
    done
    for ((; count < mask_bytes; count++)); do byte 0; done
  done
}

# svg SIZE ROWS...: the drawing as SVG, one square per pixel (runs of one
# colour in a row joined), sharp edges at any size.
svg() {
  local size=$1
  shift
  local rows=("$@") y x end colour
  printf '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" shape-rendering="crispEdges">\n' \
    "$size" "$size" "$size" "$size"
  for ((y = 0; y < size; y++)); do
    for ((x = 0; x < size; x = end)); do
      colour=${rows[y]:x:1}
      for ((end = x + 1; end < size; end++)); do
        [ "${rows[y]:end:1}" = "$colour" ] || break
      done
      [ "$colour" = . ] && continue
      printf '<rect x="%d" y="%d" width="%d" height="1" fill="#%s"/>\n' "$x" "$y" $((end - x)) \
        "${palette[16#$colour]}"
    done
  done
  printf '</svg>\n'
}

check_rows 32 "${large[@]}"
check_rows 16 "${small[@]}"
if [ "${1:-}" = --svg ]; then
  [ "$#" -eq 3 ] || { echo "usage: make_icon.sh --svg large|small OUTPUT.svg" >&2; exit 2; }
  case $2 in
    large) svg 32 "${large[@]}" >"$3.tmp" ;;
    small) svg 16 "${small[@]}" >"$3.tmp" ;;
    *) echo "make_icon: no drawing '$2'" >&2; exit 2 ;;
  esac
  mv "$3.tmp" "$3"
  exit 0
fi
large_size=$((40 + 64 + (16 + 4) * 32))
small_size=$((40 + 64 + (8 + 4) * 16))
{
  word 0; word 1; word 2
  # Directory entries: width, height, colours, reserved, planes, bits, size, offset.
  byte 32; byte 32; byte 16; byte 0; word 1; word 4; dword "$large_size"; dword 38
  byte 16; byte 16; byte 16; byte 0; word 1; word 4; dword "$small_size"; dword $((38 + large_size))
  image 32 "${large[@]}"
  image 16 "${small[@]}"
} >"$1.tmp"
mv "$1.tmp" "$1"
