#!/bin/sh
# Regenerates the image fixtures of the resource tests with ImageMagick (run by hand; the
# files are checked in). Two sources:
#   rgba: 4 x 2 pixels, row 0 = (255,0,0,255) (0,255,0,128) (0,0,255,0) (255,255,255,255),
#         row 1 = (0,0,0,255) (18,52,86,200) (255,128,0,255) (10,20,30,40)
#   quad: 16 x 16 pixels, quadrants red (top left), green (top right), blue (bottom left),
#         white (bottom right), opaque
#   greyquad: 16 x 16 grey pixels, quadrants 0, 85, 170, 255 in the same places
set -e
cd "$(dirname "$0")"
python3 - <<'PY'
rgba = bytes([255,0,0,255, 0,255,0,128, 0,0,255,0, 255,255,255,255,
              0,0,0,255, 18,52,86,200, 255,128,0,255, 10,20,30,40])
open('/tmp/kelvane-rgba.raw', 'wb').write(rgba)
quad = bytearray()
for y in range(16):
    for x in range(16):
        c = [(255,0,0),(0,255,0),(0,0,255),(255,255,255)][(y >= 8) * 2 + (x >= 8)]
        quad += bytes(c)
open('/tmp/kelvane-quad.raw', 'wb').write(bytes(quad))
grey = bytes([0, 85, 170, 255][(y >= 8) * 2 + (x >= 8)] for y in range(16) for x in range(16))
open('/tmp/kelvane-grey.raw', 'wb').write(grey)
PY
RGBA="-size 4x2 -depth 8 rgba:/tmp/kelvane-rgba.raw"
QUAD="-size 16x16 -depth 8 rgb:/tmp/kelvane-quad.raw"
GREY="-size 16x16 -depth 8 gray:/tmp/kelvane-grey.raw"
convert $RGBA PNG32:rgba.png
convert $RGBA -interlace PNG PNG32:rgba_interlaced.png
convert $RGBA -depth 16 PNG64:rgba16.png
convert $QUAD PNG8:quad_palette.png
convert $GREY -depth 2 -type Grayscale PNG:grey2.png
convert $QUAD -quality 95 -sampling-factor 1x1 quad.jpg
convert $GREY -quality 95 grey.jpg
convert $QUAD quad.gif
convert $QUAD -interlace GIF quad_interlaced.gif
convert $QUAD -quality 100 quad.jp2
convert $QUAD -quality 100 quad.j2k
rm -f /tmp/kelvane-rgba.raw /tmp/kelvane-quad.raw /tmp/kelvane-grey.raw
