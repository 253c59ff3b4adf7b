#!/usr/bin/env bash
# Draws the program icon (an alarm clock) and packs it into kolvialarm.ico.
# Run by hand when the icon changes; the .ico is committed.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
convert -size 256x256 xc:none \
  -stroke '#7a2a10' -strokewidth 14 -fill '#e8572a' -draw "circle 62,62 62,22" -draw "circle 194,62 194,22" \
  -stroke '#7a2a10' -strokewidth 16 -draw "line 70,224 50,248" -draw "line 186,224 206,248" \
  -stroke '#7a2a10' -strokewidth 14 -fill '#e8572a' -draw "circle 128,140 128,36" \
  -stroke none -fill '#fffaf0' -draw "circle 128,140 128,56" \
  -stroke '#333333' -strokewidth 14 -draw "line 128,140 128,82" -draw "line 128,140 170,160" \
  -stroke none -fill '#333333' -draw "circle 128,140 128,128" \
  "$tmp/icon256.png"
for s in 16 20 24 32 48; do
  convert "$tmp/icon256.png" -resize ${s}x${s} -unsharp 0x0.6 "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon20.png" "$tmp/icon24.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon256.png" kolvialarm.ico
rm -rf "$tmp"
