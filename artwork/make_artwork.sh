#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick into this folder: the main window's
# two backgrounds (1000x700 and the taller 1000x782 of the bet-count layout, as JPEG,
# which the program decodes several times faster than PNG at that size), the
# minimise and close picture buttons (28x33), the loading picture (377x126) and the
# window icon (64x64).
# The pictures are committed; run this again after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"

# The palette: a crimson title band, gold rules, warm paper, white cards.
band_top='#a0222a'
band_bottom='#73141a'
gold='#d6a542'
paper_top='#f8f1e5'
paper_bottom='#ecdfc8'
card='#fffdf9'
card_line='#cdb389'
tray='#84181e'
socket='#5e0f14'
ink='#5a2a1a'
# No time stamps in the PNG files: the same drawing gives the same bytes.
stamp=(-define png:exclude-chunks=date,time)

# Appends to args a soft shadow under the rectangle "x0,y0 x1,y1" on a canvas of size $1.
shadow() {
    args+=(\( -size "$1" xc:none -fill '#00000038' -draw "roundrectangle $2 4,4" -blur 0x3 \)
        -composite)
}

# The background of height $1 written to $2; further arguments draw on the plan card.
background() {
    local height=$1 out=$2
    shift 2
    args=(-size "1000x$height" "gradient:$paper_top-$paper_bottom"
        \( -size 1000x33 "gradient:$band_top-$band_bottom" \) -geometry +0+0 -composite
        -fill "$gold" -draw 'rectangle 0,33 999,34')
    shadow "1000x$height" '6,78 537,210'
    shadow "1000x$height" '6,223 537,620'
    shadow "1000x$height" '547,70 728,657'
    shadow "1000x$height" '737,43 997,657'
    args+=(-stroke "$card_line" -strokewidth 1 -fill "$card"
        -draw 'roundrectangle 4,75 535,208 6,6'
        -draw 'rectangle 4,221 535,618'
        -draw 'rectangle 545,68 726,655'
        -draw 'rectangle 735,41 995,655'
        "$@"
        # Gold rules under the two headings.
        -stroke none -fill "$gold" -draw 'rectangle 7,70 86,71' -draw 'rectangle 546,64 640,65'
        # The dice tray with its three sockets and two studs between them.
        -fill "$tray" -draw 'roundrectangle 182,86 476,140 10,10'
        -fill "$socket"
        -draw 'roundrectangle 188,94 225,132 6,6'
        -draw 'roundrectangle 308,94 345,132 6,6'
        -draw 'roundrectangle 428,94 465,132 6,6'
        -fill "$gold" -draw 'circle 266,113 269,113' -draw 'circle 386,113 389,113'
        # The countdown's pill and a small clock before its caption.
        -fill "$tray" -draw 'roundrectangle 180,163 340,193 14,14'
        -fill none -stroke "$ink" -strokewidth 1.5 -draw 'circle 38,178 38,171'
        -draw 'line 38,178 38,173' -draw 'line 38,178 42,180'
        # A thin rim, since the window has no system frame.
        -stroke "$band_bottom" -strokewidth 1 -fill none -draw 'rectangle 0,0 999,666')
    convert "${args[@]}" -sampling-factor 1x1 -quality 95 "$out"
}

background 700 background.jpg
# The bet-count layout: a rule between the bet panel and the shortened plan box.
background 782 background-bet.jpg -stroke '#e4d3b2' -draw 'line 8,287 531,287'

# Picture buttons: the title band's own gradient with a white sign.
button() {
    local out=$1
    shift
    convert -size 28x33 "gradient:$band_top-$band_bottom" -stroke white -strokewidth 2 \
        -fill none "$@" "${stamp[@]}" "png32:$out"
}
button button-minimise.png -draw 'line 9,20 19,20'
button button-close.png -draw 'line 9,11 19,21' -draw 'line 19,11 9,21'

# The window icon: a die showing four on the crimson band.
convert -size 64x64 xc:none -fill "$band_bottom" -draw 'roundrectangle 0,0 63,63 12,12' \
    -fill white -draw 'roundrectangle 8,8 55,55 9,9' -fill '#c8141e' \
    -draw 'circle 20,20 25,20' -draw 'circle 43,20 48,20' \
    -draw 'circle 20,43 25,43' -draw 'circle 43,43 48,43' "${stamp[@]}" png32:icon.png

# The loading picture: three dice on the crimson band inside a gold rim.
die() {  # x y face: appends the die to args
    local x=$1 y=$2 face=$3 s=78
    local q1=$((s / 4)) q2=$((s / 2)) q3=$((s * 3 / 4))
    local pips colour='#222222'
    case $face in
        1) pips="$q2,$q2" ;;
        2) pips="$q1,$q1 $q3,$q3" ;;
        3) pips="$q1,$q1 $q2,$q2 $q3,$q3" ;;
        4) pips="$q1,$q1 $q3,$q1 $q1,$q3 $q3,$q3" ;;
        5) pips="$q1,$q1 $q3,$q1 $q2,$q2 $q1,$q3 $q3,$q3" ;;
        6) pips="$q1,$q1 $q3,$q1 $q1,$q2 $q3,$q2 $q1,$q3 $q3,$q3" ;;
    esac
    # One and four are red on a Chinese die.
    if [[ $face == 1 || $face == 4 ]]; then colour='#c8141e'; fi
    args+=(-stroke '#d8c9b0' -strokewidth 1 -fill white
        -draw "roundrectangle $x,$y $((x + s)),$((y + s)) 12,12" -stroke none -fill "$colour")
    for p in $pips; do
        local px=$((x + ${p%,*})) py=$((y + ${p#*,}))
        args+=(-draw "circle $px,$py $((px + 7)),$py")
    done
}
args=(-size 377x126 "gradient:$band_top-$band_bottom"
    -fill none -stroke "$gold" -strokewidth 3 -draw 'roundrectangle 2,2 374,123 14,14')
die 44 16 4
die 150 16 2
die 256 16 6
args+=(-stroke none -fill "$gold")
for x in 164 180 196 212; do args+=(-draw "circle $x,108 $((x + 2)),108"); done
convert "${args[@]}" "${stamp[@]}" png32:loading.png
