#!/usr/bin/env bash
# Draws the busy form's pictures with ImageMagick and an IPA Gothic face:
#   worker0..4.bmp  100x100, 24-bit: a worker in a yellow helmet writing with a green pencil
#   text0..6.gif    208x69, transparent: the caption with its i-th character raised
#   cancel.gif      208x52, transparent: the cancelling notice with a light glow
#   halvane.ico     32x32 and 16x16: a window with a clock face
# The outputs are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
[ -f "$font" ] || font=/usr/share/fonts/truetype/fonts-japanese-gothic.ttf
bg='#C0FFFF'  # the form's background: transparent pixels and blended edges meet it exactly
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Worker frames. Frame 0 holds the pencil up; frames 1..4 write a growing line.
for i in 0 1 2 3 4; do
  if [ "$i" -eq 0 ]; then
    tip_x=60; tip_y=64; line=""
  else
    tip_x=$((56 + i * 7)); tip_y=80
    line="stroke '#303030' stroke-width 2 line 58,80 $tip_x,80"
  fi
  convert -size 100x100 "xc:$bg" \
    -fill '#F8F8F0' -stroke '#808080' -strokewidth 1 -draw "rectangle 50,70 95,92" \
    -stroke '#B0B0B0' -draw "line 54,86 90,86" \
    -fill '#3050C0' -stroke '#203080' -draw "roundrectangle 14,56 48,96 6,6" \
    -fill '#F8D0A8' -stroke '#A07050' -draw "circle 32,40 32,55" \
    -fill '#202020' -stroke none -draw "circle 28,40 28,42" -draw "circle 37,40 37,42" \
    -fill '#F8D000' -stroke '#A08000' -draw "ellipse 32,32 17,13 180,360" \
    -draw "rectangle 13,31 51,34" \
    -fill '#F8D0A8' -stroke '#A07050' -draw "circle $((tip_x - 8)),$((tip_y - 8)) $((tip_x - 4)),$((tip_y - 8))" \
    -stroke '#208020' -strokewidth 4 -draw "line $((tip_x + 6)),$((tip_y - 14)) $tip_x,$tip_y" \
    -stroke '#303030' -strokewidth 1 ${line:+-draw "$line"} \
    -type TrueColor "BMP3:worker$i.bmp"
done

# Text frames: seven characters, shadow first, the i-th one raised by 12 pixels.
chars=(レ ポ ー ト 作 成 中)
for i in 0 1 2 3 4 5 6; do
  args=()
  for k in 0 1 2 3 4 5 6; do
    x=$((3 + k * 29)); y=56
    [ "$k" -eq "$i" ] && y=44
    args+=(-fill '#102070' -annotate "+$((x + 2))+$((y + 2))" "${chars[$k]}")
    args+=(-fill '#2040FF' -annotate "+$x+$y" "${chars[$k]}")
  done
  convert -size 208x69 "xc:$bg" -font "$font" -pointsize 27 "${args[@]}" \
    -transparent "$bg" "GIF:text$i.gif"
done

# Cancel picture: a blurred light halo under blue text.
text='キャンセル処理中'
convert -size 208x52 "xc:$bg" -font "$font" -pointsize 24 \
  -fill '#F0FFFF' -stroke '#F0FFFF' -strokewidth 5 -annotate +8+35 "$text" -blur 0x2 \
  -stroke none -fill '#1030E0' -annotate +8+35 "$text" \
  -transparent "$bg" GIF:cancel.gif

# Icon: a window with a blue title bar and a clock face in it.
icon() {  # icon SIZE OUT
  local s=$1 e=$(($1 - 1)) t=$(($1 / 5))
  local cx=$(($1 / 2)) cy=$(($1 * 3 / 5)) r=$(($1 * 3 / 10))
  convert -size "${s}x${s}" xc:none \
    -fill white -stroke '#202040' -strokewidth 1 -draw "rectangle 0,0 $e,$e" \
    -fill '#2040C0' -draw "rectangle 0,0 $e,$t" \
    -fill '#FFFFE0' -stroke '#202020' -draw "circle $cx,$cy $((cx + r)),$cy" \
    -stroke '#C00000' -draw "line $cx,$cy $cx,$((cy - r + 2))" \
    -stroke '#202020' -draw "line $cx,$cy $((cx + r - 2)),$cy" \
    -type TrueColorAlpha "PNG32:$2"
}
icon 32 "$tmp/i32.png"
icon 16 "$tmp/i16.png"
convert "$tmp/i32.png" "$tmp/i16.png" halvane.ico
