#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick and the DejaVu fonts: the header strip,
# the open and save button pictures, the splash picture, the update wizard's billboard
# and the program icon.
# Run from anywhere; the files are written next to this script.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
F=/usr/share/fonts/truetype/dejavu
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Palette: navy #1B4F80 / #1F4E79, blue #2E75B6, light blue #9DC3E6 / #DDEBF7, white.

# The chip with "AT" and a circuit trace, then the name, on a blue gradient: 860 x 57.
convert -size 860x57 gradient:'#2E75B6-#1B4F80' \
  -fill none -stroke '#4F8FCC' -strokewidth 2 \
  -draw "polyline 600,12 690,12 705,27 860,27" -draw "polyline 640,44 720,44 735,36 860,36" -draw "polyline 700,4 760,4 772,16 860,16" \
  -fill '#4F8FCC' -stroke none -draw "circle 600,12 604,12 circle 640,44 644,44 circle 700,4 703,4" \
  -fill '#FFFFFF' -draw "roundrectangle 14,10 50,46 5,5" \
  -fill '#1F5C99' -draw "roundrectangle 19,15 45,41 3,3" \
  -fill white -draw "rectangle 10,16 14,18 rectangle 10,22 14,24 rectangle 10,28 14,30 rectangle 10,34 14,36 rectangle 10,40 14,42" \
  -fill white -draw "rectangle 50,16 54,18 rectangle 50,22 54,24 rectangle 50,28 54,30 rectangle 50,34 54,36 rectangle 50,40 54,42" \
  -font $F/DejaVuSans-Bold.ttf -pointsize 12 -fill white -annotate +22+33 'AT' \
  -font $F/DejaVuSans-Bold.ttf -pointsize 22 -fill white -annotate +70+32 'AT Command Generator' \
  -font $F/DejaVuSans.ttf -pointsize 11 -fill '#CFE3F7' -annotate +71+48 'C sources of an AT-command interpreter for AVR microcontrollers' \
  -stroke '#8FBCE6' -strokewidth 1 -draw "line 0,56 859,56" \
  -strip -depth 8 PNG24:header.png

# Button pictures, drawn at four times their size and scaled down to 32 x 32 with a clear
# background: an open folder with a sheet, and a disk with its shutter and label.
convert -size 128x128 xc:none -stroke '#1F4E79' -strokewidth 5 \
  -fill '#2E75B6' -draw "stroke-linejoin round polygon 8,22 46,22 56,34 106,34 106,104 8,104" \
  -fill white -strokewidth 4 -draw "polygon 22,44 96,44 96,92 22,92" \
  -stroke '#9DC3E6' -strokewidth 4 -draw "line 32,56 86,56 line 32,68 86,68" \
  -stroke '#1F4E79' -strokewidth 5 -fill '#9DC3E6' -draw "stroke-linejoin round polygon 26,62 124,62 106,106 8,106" \
  -resize 32x32 -strip -depth 8 PNG32:open.png
convert -size 128x128 xc:none -stroke '#1F4E79' -strokewidth 5 \
  -fill '#2E75B6' -draw "stroke-linejoin round polygon 10,8 102,8 120,26 120,120 10,120" \
  -fill '#DDEBF7' -draw "rectangle 30,10 90,46" \
  -fill '#1F4E79' -stroke none -draw "rectangle 70,16 82,40" \
  -stroke '#1F4E79' -strokewidth 5 -fill white -draw "roundrectangle 24,66 106,118 4,4" \
  -stroke '#9DC3E6' -strokewidth 5 -draw "line 36,82 94,82 line 36,98 94,98" \
  -resize 32x32 -strip -depth 8 PNG32:save.png

# The splash picture, 890 x 640: name band on top, a command list turning into a .c and
# a .h file below, the lower right left calm for the version label.
convert -size 890x640 gradient:'#FFFFFF-#DCEBF8' \
  \( -size 890x170 gradient:'#2E75B6-#1B4F80' \) -geometry +0+0 -composite \
  -fill none -stroke '#4F8FCC' -strokewidth 3 \
  -draw "line 560,22 690,22 line 690,22 705,37 line 705,37 890,37" -draw "line 780,62 800,62 line 800,62 815,77 line 815,77 890,77" \
  -draw "line 600,156 720,156 line 720,156 732,146 line 732,146 890,146" \
  -fill '#4F8FCC' -stroke none -draw "circle 560,22 566,22 circle 780,62 786,62 circle 600,156 606,156" \
  -fill white -draw "roundrectangle 56,40 146,130 10,10" \
  -fill '#1F5C99' -draw "roundrectangle 68,52 134,118 6,6" \
  -fill white -draw "rectangle 42,52 56,58 rectangle 42,68 56,74 rectangle 42,84 56,90 rectangle 42,100 56,106 rectangle 42,114 56,120" \
  -fill white -draw "rectangle 146,52 160,58 rectangle 146,68 160,74 rectangle 146,84 160,90 rectangle 146,100 160,106 rectangle 146,114 160,120" \
  -font $F/DejaVuSans-Bold.ttf -pointsize 26 -fill white -annotate +78+96 'AT' \
  -font $F/DejaVuSans-Bold.ttf -pointsize 42 -fill white -annotate +190+105 'AT Command Generator' \
  -font $F/DejaVuSans.ttf -pointsize 17 -fill '#CFE3F7' -annotate +192+138 'From a list of AT commands to the C interpreter of your AVR firmware' \
  -fill '#1B4F80' -stroke none -draw "roundrectangle 66,226 396,506 10,10" \
  -fill white -stroke '#2E75B6' -strokewidth 2 -draw "roundrectangle 60,220 390,500 10,10" \
  -fill '#2E75B6' -stroke none -draw "roundrectangle 61,221 389,262 9,9 rectangle 61,250 389,262" \
  -font $F/DejaVuSans-Bold.ttf -pointsize 16 -fill white -annotate +80+248 'AT commands' \
  -font $F/DejaVuSansMono.ttf -pointsize 17 -fill '#1F4E79' \
  -annotate +82+300 'ATE0 - echo off' -annotate +82+332 'ATE1 - echo on' -annotate +82+364 'AT+RST? - reboot uC' \
  -annotate +82+396 'AT+DISP=<1-5>' -annotate +82+428 'AT+LCD=<y>,<x>,<text>' \
  -fill '#2E75B6' -draw "polygon 418,345 458,345 458,325 496,360 458,395 458,375 418,375" \
  -fill '#1B4F80' -draw "polygon 536,236 716,236 756,276 756,486 536,486" \
  -fill white -stroke '#2E75B6' -strokewidth 2 -draw "polygon 530,230 710,230 750,270 750,480 530,480" \
  -fill '#DDEBF7' -draw "polygon 710,230 710,270 750,270" \
  -stroke '#9DC3E6' -strokewidth 6 -draw "line 556,310 620,310 line 556,336 620,336 line 576,362 620,362 line 576,388 620,388 line 556,414 620,414 line 556,440 620,440" \
  -stroke none -font $F/DejaVuSans-Bold.ttf -pointsize 30 -fill '#2E75B6' -annotate +552+275 '.c' \
  -fill '#1B4F80' -draw "polygon 646,306 786,306 816,336 816,506 646,506" \
  -fill white -stroke '#2E75B6' -strokewidth 2 -draw "polygon 640,300 780,300 810,330 810,500 640,500" \
  -fill '#DDEBF7' -draw "polygon 780,300 780,330 810,330" \
  -stroke '#9DC3E6' -strokewidth 6 -draw "line 662,380 786,380 line 662,406 770,406 line 662,432 786,432 line 662,458 740,458" \
  -stroke none -font $F/DejaVuSans-Bold.ttf -pointsize 30 -fill '#2E75B6' -annotate +662+345 '.h' \
  -stroke '#9DC3E6' -strokewidth 1 -draw "line 40,560 850,560" \
  -strip -depth 8 PNG24:splash.png

# The icon: the chip with "AT" at 48 and 32 pixels; at 16 pixels only an "A" stays legible.
convert -size 256x256 xc:none \
  -fill '#1F4E79' -draw "rectangle 14,60 46,76 rectangle 14,104 46,120 rectangle 14,148 46,164 rectangle 14,192 46,208" \
  -fill '#1F4E79' -draw "rectangle 210,60 242,76 rectangle 210,104 242,120 rectangle 210,148 242,164 rectangle 210,192 242,208" \
  -fill '#2E75B6' -stroke '#1F4E79' -strokewidth 10 -draw "roundrectangle 40,30 216,226 24,24" \
  -stroke none -font $F/DejaVuSans-Bold.ttf -pointsize 96 -fill white -gravity center -annotate +0+4 'AT' \
  "$TMP/icon256.png"
convert "$TMP/icon256.png" -resize 48x48 -depth 8 PNG32:"$TMP/icon48.png"
convert "$TMP/icon256.png" -resize 32x32 -depth 8 PNG32:"$TMP/icon32.png"
convert -size 64x64 xc:none \
  -fill '#1F4E79' -draw "rectangle 0,14 12,20 rectangle 0,28 12,34 rectangle 0,42 12,48 rectangle 52,14 64,20 rectangle 52,28 64,34 rectangle 52,42 64,48" \
  -fill '#2E75B6' -stroke '#1F4E79' -strokewidth 4 -draw "roundrectangle 8,4 56,60 8,8" \
  -stroke none -font $F/DejaVuSans-Bold.ttf -pointsize 40 -fill white -gravity center -annotate +0+2 'A' \
  -resize 16x16 -depth 8 PNG32:"$TMP/icon16.png"
convert "$TMP/icon16.png" "$TMP/icon32.png" "$TMP/icon48.png" AtCmdGen.ico

# The update wizard's billboard, 116 x 201 (a 24-bit BMP: the wizard takes bitmaps): the
# chip with "AT" above an arrow pointing up into it, on the header's blue.
convert -size 116x201 gradient:'#2E75B6-#1B4F80' \
  -fill white -draw "roundrectangle 30,24 86,80 7,7" \
  -fill '#1F5C99' -draw "roundrectangle 37,31 79,73 5,5" \
  -fill white -draw "rectangle 24,34 30,38 rectangle 24,44 30,48 rectangle 24,54 30,58 rectangle 24,64 30,68" \
  -fill white -draw "rectangle 86,34 92,38 rectangle 86,44 92,48 rectangle 86,54 92,58 rectangle 86,64 92,68" \
  -font $F/DejaVuSans-Bold.ttf -pointsize 18 -fill white -annotate +43+60 'AT' \
  -fill '#9DC3E6' -draw "polygon 58,96 84,124 68,124 68,156 48,156 48,124 32,124" \
  -font $F/DejaVuSans-Bold.ttf -pointsize 15 -fill white -gravity south -annotate +0+16 'Update' \
  -type TrueColor BMP3:billboard.bmp
