#!/bin/bash
# make-banner.sh OUT.jpg: draws the setup window's 639 x 120 banner (ImageMagick). The window
# shows its left 465 pixels; "KINOVELA 1.02 SETUP" is written over it at (176, 8) in white and
# the web address at (328, 72) in blue, so those places stay dark and light respectively.
set -eu
out=${1:-resources/banner.jpg}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
italic=/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf

# Night sky above, daylight below, a film strip along the bottom.
convert -size 120x639 gradient:'#0e1547-#7b2ff7' -rotate -90 -crop 639x58+0+0 +repage "$tmp/sky.png"
convert -size 639x32 gradient:'#f7f8ff-#dde6ff' "$tmp/day.png"
convert -size 639x30 xc:'#111111' "$tmp/strip.png"
convert "$tmp/sky.png" "$tmp/day.png" "$tmp/strip.png" -append "$tmp/base.png"

# Frames of the strip: little pictures in the colours of a playing film.
frames=()
colours=('#ff4757' '#ffa502' '#2ed573' '#1e90ff' '#a55eea' '#ff6b81' '#eccc68' '#7bed9f' '#70a1ff' '#5352ed'
         '#ff7f50' '#2bcbba' '#fd79a8' '#fdcb6e' '#00cec9' '#e17055' '#6c5ce7' '#55efc4' '#fab1a0' '#74b9ff')
x=6; i=0
while [ $x -lt 639 ]; do
  c=${colours[$((i % ${#colours[@]}))]}
  frames+=(-fill "$c" -draw "roundrectangle $x,98 $((x + 26)),111 2,2")
  frames+=(-fill 'rgba(255,255,255,0.35)' -draw "polygon $((x + 4)),109 $((x + 12)),101 $((x + 20)),109")
  x=$((x + 32)); i=$((i + 1))
done
holes=()
for ((x = 3; x < 639; x += 12)); do
  holes+=(-draw "roundrectangle $x,92 $((x + 6)),95 1,1" -draw "roundrectangle $x,114 $((x + 6)),117 1,1")
done

# A film reel on the left: a disc with five windows and a hub.
reel=(-fill '#f5f6fa' -stroke '#c8cde0' -strokewidth 2 -draw 'circle 84,46 84,8'
      -fill '#3d2a8c' -stroke none)
for a in 90 162 234 306 18; do
  cx=$(python3 -c "import math;print(round(84+21*math.cos(math.radians($a))))")
  cy=$(python3 -c "import math;print(round(46-21*math.sin(math.radians($a))))")
  reel+=(-draw "circle $cx,$cy $cx,$((cy + 10))")
done
reel+=(-fill '#c8cde0' -draw 'circle 84,46 84,51')

convert "$tmp/base.png" \
  -fill 'rgba(255,255,255,0.10)' -font "$font" -pointsize 64 -annotate +150+78 'KINOVELA' \
  -fill 'rgba(255,255,255,0.85)' -font "$italic" -pointsize 12 -annotate +178+46 'your own films, full screen' \
  "${reel[@]}" \
  -fill '#d9dbe8' -stroke none "${holes[@]}" \
  -stroke none "${frames[@]}" \
  -quality 90 -sampling-factor 2x2 -strip "$out"
