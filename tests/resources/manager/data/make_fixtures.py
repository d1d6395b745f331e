#!/usr/bin/env python3
# Writes the small images of the pack-loading test: one per format, a glyph sheet for the
# image font, and its alpha companion. Run from this folder; needs ImageMagick for JPEG and GIF.
import struct, subprocess, zlib

def png(path, w, h, pixels):  # pixels: list of (r, g, b, a) rows top to bottom
    raw = b''.join(b'\x00' + bytes(c for p in pixels[y * w:(y + 1) * w] for c in p) for y in range(h))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))

def tga(path, w, h, pixels):  # 32-bit, top-left origin
    with open(path, 'wb') as f:
        f.write(struct.pack('<BBBHHBHHHHBB', 0, 0, 2, 0, 0, 0, 0, 0, w, h, 32, 0x28))
        f.write(b''.join(bytes((b, g, r, a)) for (r, g, b, a) in pixels))

png('images/ball.png', 8, 4, [(255, 0, 0, 128)] * 32)
png('images/ball_alpha.png', 8, 4, [(0, 0, (x * 32) % 256, 255) for y in range(4) for x in range(8)])
tga('images/card.tga', 4, 4, [(255, 255, 0, 255)] * 16)
subprocess.run(['convert', '-size', '8x8', 'xc:#008000', 'images/pitch.jpg'], check=True)
subprocess.run(['convert', '-size', '4x4', 'xc:#0000FF', 'images/flag.gif'], check=True)

# Glyphs H, I and ! as 6 x 10 white shapes side by side.
shapes = {
    'H': ['#....#'] * 4 + ['######'] + ['#....#'] * 5,
    'I': ['.####.'] + ['..##..'] * 8 + ['.####.'],
    '!': ['..##..'] * 7 + ['......'] + ['..##..'] * 2,
}
w, h = 18, 10
pixels = []
for y in range(h):
    for ch in 'HI!':
        pixels += [(255, 255, 255, 255) if c == '#' else (0, 0, 0, 0) for c in shapes[ch][y]]
png('fonts/glyphs.png', w, h, pixels)
