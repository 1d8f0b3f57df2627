#!/bin/sh
# Draws the About page's picture (233 x 60, 24 bits per pixel, BMP) with
# ImageMagick: a night-blue band, a flashlight cone and the name. Run from
# this folder; the result is kept in the repository.
set -e
convert -size 233x60 gradient:'#101c3a'-'#2b4a86' \
	-fill '#ffe9a0' -stroke none -draw "polygon 14,30 64,8 64,52" \
	-fill '#fff6d6' -draw "circle 14,30 19,30" \
	-fill '#101c3a' -draw "polygon 64,8 70,8 70,52 64,52" \
	-font DejaVu-Sans-Bold -pointsize 26 -fill white -annotate +80+34 'vistel' \
	-font DejaVu-Sans -pointsize 10 -fill '#c8d6f0' -annotate +81+50 'walk-through preview' \
	-type TrueColor -alpha off BMP3:about_logo.bmp
