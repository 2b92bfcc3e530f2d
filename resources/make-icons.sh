#!/usr/bin/env bash
# Draws the tool-bar and window icons from simple shapes (ImageMagick).
# Run once by hand after changing a shape; the PNG and ICO files are committed.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # name, then draw primitives
    local name=$1; shift
    convert -size 32x32 xc:none -strokewidth 2 "$@" "$name"
}

draw start.png   -fill '#2e9e44' -stroke '#1d6b2d' -draw 'polygon 9,5 27,16 9,27'
draw pause.png   -fill '#e0a020' -stroke '#9a6b0c' -draw 'rectangle 8,6 13,26' -draw 'rectangle 19,6 24,26'
draw export.png  -fill none -stroke '#3a6ea5' -draw 'polyline 14,8 5,8 5,27 24,27 24,18' \
                 -fill '#3a6ea5' -draw 'polygon 17,4 28,4 28,15 24,11 16,19 13,16 21,8'
draw delete.png  -fill '#f2f2f2' -stroke '#b03030' -draw 'rectangle 9,9 23,28' -draw 'line 6,7 26,7' \
                 -draw 'line 13,4 19,4' -draw 'line 13,13 13,24' -draw 'line 19,13 19,24'
draw save.png    -fill '#4a78b0' -stroke '#2a4a75' -draw 'polygon 4,4 24,4 28,8 28,28 4,28' \
                 -fill '#ffffff' -stroke none -draw 'rectangle 9,6 21,13' -draw 'rectangle 8,19 24,27'
draw history.png -fill '#ffffff' -stroke '#5a5a5a' -draw 'circle 16,16 16,3' -draw 'line 16,16 16,8' \
                 -draw 'line 16,16 22,19'
draw tests.png   -fill none -stroke '#5a5a5a' -draw 'polyline 4,4 4,28 28,28' -stroke '#2e7d32' -strokewidth 3 \
                 -draw 'polyline 6,25 9,17 13,12 18,9 27,7'
draw equipment.png -fill '#d9d9d9' -stroke '#4a4a4a' -draw 'rectangle 5,8 23,24' -draw 'rectangle 23,13 28,19' \
                 -draw 'line 9,24 7,28' -draw 'line 19,24 21,28' -fill '#4a4a4a' -draw 'rectangle 8,11 20,13'
draw options.png -fill '#7a7a7a' -stroke '#4a4a4a' -draw 'circle 16,16 16,5' \
                 -draw 'rectangle 14,1 18,6' -draw 'rectangle 14,26 18,31' -draw 'rectangle 1,14 6,18' \
                 -draw 'rectangle 26,14 31,18' -fill '#ffffff' -draw 'circle 16,16 16,12'
draw help.png    -fill '#3a8ad0' -stroke '#245a8a' -draw 'circle 16,16 16,3' -fill none -stroke '#ffffff' \
                 -strokewidth 3 -draw 'arc 11,8 21,18 180,90' -draw 'line 16,18 16,21' -draw 'point 16,25' \
                 -draw 'line 16,24 16,25'
draw close.png   -fill '#d04040' -stroke '#8a2020' -draw 'circle 16,16 16,3' -stroke '#ffffff' -strokewidth 3 \
                 -draw 'line 11,11 21,21' -draw 'line 21,11 11,21'

# Window icon: a meter face with a needle, one 32x32 picture in 16 colours.
convert -size 32x32 xc:'#1f4e79' -fill '#f4f4f4' -stroke '#0f2e4f' -strokewidth 1 \
        -draw 'roundrectangle 3,3 28,28 4,4' -fill '#1f4e79' -stroke none -draw 'rectangle 6,20 25,25' \
        -stroke '#d03030' -strokewidth 2 -draw 'line 16,18 23,8' -stroke '#0f2e4f' -fill '#0f2e4f' \
        -draw 'circle 16,18 16,16' -colors 16 -type Palette -define icon:auto-resize=32 app.ico

# The desktop's icon: the same meter face, drawn at 64x64.
convert -size 64x64 xc:none -fill '#1f4e79' -stroke none -draw 'roundrectangle 0,0 63,63 8,8' \
        -fill '#f4f4f4' -stroke '#0f2e4f' -strokewidth 2 -draw 'roundrectangle 6,6 57,57 8,8' \
        -fill '#1f4e79' -stroke none -draw 'rectangle 12,40 51,51' \
        -stroke '#d03030' -strokewidth 4 -draw 'line 32,36 46,16' -stroke '#0f2e4f' -fill '#0f2e4f' \
        -draw 'circle 32,36 32,32' tessra.png
