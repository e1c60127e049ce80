#!/usr/bin/env python3
"""Writes the small picture files the file tests read. Run from this folder."""
import struct, zlib


def dib_icon_entry(w, h, bits, palette, rows_bottom_up, mask_rows_bottom_up):
    hdr = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    return hdr + pal + b''.join(rows_bottom_up) + b''.join(mask_rows_bottom_up)


def ico(entries):
    # entries: (w, h, colors, bits, data)
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b''
    for (w, h, colors, bits, data) in entries:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, colors, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def png(w, h, rgba_rows):
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + row for row in rgba_rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


# 8 x 8, 4 bits: left half red, right half blue; the top-left 2 x 2 transparent by the mask.
pal = [(0, 0, 0), (255, 0, 0), (0, 0, 255)] + [(0, 0, 0)] * 13
rows = [bytes([0x11, 0x11, 0x22, 0x22]) for _ in range(8)]
masks = [bytes([0x00, 0, 0, 0]) for _ in range(6)] + [bytes([0xC0, 0, 0, 0])] * 2
big = dib_icon_entry(8, 8, 4, pal, rows, masks)
# 4 x 4, 4 bits, all index 1 (red): smaller, so not the one shown.
small = dib_icon_entry(4, 4, 4, pal, [bytes([0x11, 0x11, 0, 0])] * 4, [bytes(4)] * 4)
open('bmp_entry.ico', 'wb').write(ico([(4, 4, 16, 4, small), (8, 8, 16, 4, big)]))

# 16 x 16 PNG entry: green, alpha 0 on the first row, half alpha on the second.
rgba = []
for y in range(16):
    a = 0 if y == 0 else (128 if y == 1 else 255)
    rgba.append(bytes([0, 255, 0, a]) * 16)
open('png_entry.ico', 'wb').write(ico([(16, 16, 0, 32, png(16, 16, rgba))]))

# A BMP whose pixel rows stop half-way.
hdr = struct.pack('<IiiHHIIiiII', 40, 10, 10, 1, 24, 0, 0, 0, 0, 0, 0)
body = hdr + bytes(40 * 5)
open('damaged.bmp', 'wb').write(b'BM' + struct.pack('<IHHI', 14 + len(body), 0, 0, 54) + body)
