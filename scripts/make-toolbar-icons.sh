#!/usr/bin/env bash
# Draws the editor toolbar's button pictures (30 x 30, light on transparent, for the dark strip)
# into resources/zelvo/<image name>.png. The pictures are committed; run this again only to
# change them. Needs ImageMagick and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "$0")/../resources/zelvo"
ink='#d8dbe2'
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
serifItalic=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf

glyph() {  # name font size text [extra draw]
    local name=$1 font=$2 size=$3 text=$4
    shift 4
    convert -size 30x30 xc:none -font "$font" -pointsize "$size" -fill "$ink" -gravity center \
        -annotate +0+0 "$text" "$@" "PNG32:$name.png"
}
lines() {  # name draw-commands
    local name=$1
    shift
    convert -size 30x30 xc:none -stroke "$ink" -strokewidth 2 -fill none "$@" "PNG32:$name.png"
}

glyph Font "$sans" 15 "Aa"
glyph Bold "$bold" 17 "B"
glyph italic "$serifItalic" 17 "I"
glyph E_X1 "$sans" 14 "x₁"
glyph E_X2 "$sans" 14 "x²"
glyph strikethrough "$sans" 17 "S" -stroke "$ink" -strokewidth 2 -draw "line 7,15 23,15"
glyph underline "$sans" 16 "U" -stroke "$ink" -strokewidth 2 -draw "line 8,25 22,25"
glyph clearformat "$sans" 16 "T" -stroke '#e07a5f' -strokewidth 2 -draw "line 8,23 22,8"
glyph undo "$sans" 18 "↶"
glyph redo "$sans" 18 "↷"
lines align-left -draw "line 7,9 23,9" -draw "line 7,13 17,13" -draw "line 7,17 23,17" -draw "line 7,21 17,21"
lines align-center -draw "line 7,9 23,9" -draw "line 10,13 20,13" -draw "line 7,17 23,17" -draw "line 10,21 20,21"
lines align-right -draw "line 7,9 23,9" -draw "line 13,13 23,13" -draw "line 7,17 23,17" -draw "line 13,21 23,21"
glyph E_H1 "$bold" 13 "H1"
glyph E_H2 "$bold" 13 "H2"
glyph textColor "$bold" 16 "A" -stroke '#e07a5f' -strokewidth 3 -draw "line 8,25 22,25"
convert -size 30x30 xc:none -fill '#ffff66' -draw "rectangle 6,6 24,24" -font "$bold" \
    -pointsize 15 -fill '#1e2028' -gravity center -annotate +0+0 "A" PNG32:bgColor.png
lines ul -draw "line 12,9 23,9" -draw "line 12,15 23,15" -draw "line 12,21 23,21" \
    -fill "$ink" -draw "circle 8,9 9,9" -draw "circle 8,15 9,15" -draw "circle 8,21 9,21"
convert -size 30x30 xc:none -font "$sans" -pointsize 7 -fill "$ink" -gravity northwest \
    -annotate +5+5 "1" -annotate +5+11 "2" -annotate +5+17 "3" -stroke "$ink" -strokewidth 2 \
    -draw "line 12,9 23,9" -draw "line 12,15 23,15" -draw "line 12,21 23,21" PNG32:ol.png
lines hr -draw "line 6,15 24,15"
lines image -draw "rectangle 6,8 24,22" -draw "polyline 6,20 12,14 17,19 20,16 24,20"
lines link -draw "roundrectangle 5,11 16,19 4,4" -draw "roundrectangle 14,11 25,19 4,4"
lines unlink -draw "roundrectangle 4,11 13,19 4,4" -draw "roundrectangle 17,11 26,19 4,4" \
    -draw "line 15,7 15,10" -draw "line 15,20 15,23"
glyph code "$bold" 12 "</>"
