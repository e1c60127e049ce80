#!/usr/bin/env python3
"""Writes the small seed files of fuzz/corpus/<target>/. Run from this folder."""
import os, shutil, struct


def put(target, name, data):
    os.makedirs(os.path.join('corpus', target), exist_ok=True)
    open(os.path.join('corpus', target, name), 'wb').write(data)


def bmp(w, h, bits, comp, palette, pixels, extra=b'', hsize=40):
    info = struct.pack('<IiiHHIIiiII', hsize, w, h, 1, bits, comp, len(pixels), 0, 0, len(palette), 0)
    info += b'\0' * (hsize - 40) + extra + b''.join(struct.pack('<I', c) for c in palette)
    off = 14 + len(info)
    return b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off) + info + pixels


put('bmp', 'rgb24', bmp(3, 2, 24, 0, [], bytes(range(24))))
put('bmp', 'pal1_topdown', bmp(9, -2, 1, 0, [0, 0xFFFFFF], b'\xaa\x80\0\0\x55\x00\0\0'))
put('bmp', 'rle8', bmp(5, 2, 8, 1, [0, 0xFF, 0xFF00], bytes.fromhex('0201000302010200000002010001030001')))
put('bmp', 'rle4', bmp(5, 1, 4, 2, [0, 0xFF, 0xFF00], bytes.fromhex('051200030120000001')))
put('bmp', 'bf16', bmp(2, 1, 16, 3, [], b'\x00\xf8\xe0\x07', struct.pack('<III', 0xF800, 0x7E0, 0x1F)))
put('bmp', 'v5_32', bmp(1, 1, 32, 0, [], b'\x10\x20\x30\x40', b'', 124))
os2 = b'BM' + struct.pack('<IHHI', 0, 0, 0, 32) + struct.pack('<IHHHH', 12, 2, 1, 1, 1) + b'\0\0\0\x30\x20\x10' + b'\x40\0\0\0'
put('bmp', 'os2', os2)

for f in ('bmp_entry.ico', 'png_entry.ico'):
    put('ico', f, open(os.path.join('..', 'tests', 'files', 'data', f), 'rb').read())


def emf(records):
    body = b''.join(struct.pack('<II', t, 8 + len(p)) + p for (t, p) in records)
    eof = struct.pack('<IIIII', 14, 20, 0, 16, 20)
    h = struct.pack('<iiii', 0, 0, 99, 99) + struct.pack('<iiii', 0, 0, 2646, 2646)
    h += struct.pack('<IIIIHHIII', 0x464D4520, 0x10000, 88 + len(body) + 20, len(records) + 2, 8, 0, 0, 0, 0)
    h += struct.pack('<iiii', 960, 960, 254, 254)
    return struct.pack('<II', 1, 88) + h + body + eof


def i32s(*v):
    return struct.pack('<%di' % len(v), *v)


bmi = struct.pack('<IiiHHIIiiII', 40, 2, 1, 1, 24, 0, 0, 0, 0, 0, 0)
bits = b'\0\0\xff\xff\0\0\0\0'
sdib = i32s(0, 0, 0, 0, 10, 88, 0, 0, 2, 1) + struct.pack('<IIII', 80, len(bmi), 80 + len(bmi), len(bits)) + \
    struct.pack('<IIii', 0, 0xCC0020, 20, 10) + bmi + bits
text = i32s(0, 0, 0, 0, 1) + struct.pack('<ff', 1, 1) + i32s(20, 30) + struct.pack('<III', 2, 76, 0) + \
    i32s(0, 0, -1, -1) + struct.pack('<I', 0) + '間取'.encode('utf-16-le')
font = struct.pack('<Iiiiii', 3, -24, 0, 0, 0, 400) + bytes([0, 0, 0, 1]) + b'\0' * 4 + \
    'IPAPGothic'.encode('utf-16-le').ljust(64, b'\0')
poly16 = i32s(0, 0, 0, 0) + struct.pack('<I', 3) + struct.pack('<6h', 0, 0, 40, 0, 0, 40)
xform = struct.pack('<6f', 1, 0, 0, 1, 5, 65)
put('emf', 'shapes', emf([(39, i32s(1, 0, 0xFF, 0)), (37, i32s(1)), (38, i32s(2, 0, 3, 0, 0xFF00)), (37, i32s(2)),
                          (17, i32s(8)), (9, i32s(200, 200)), (11, i32s(100, 100)), (43, i32s(10, 10, 40, 40)),
                          (17, i32s(1)), (42, i32s(50, 10, 90, 50)), (86, poly16), (33, b''), (30, i32s(50, 60, 100, 100)),
                          (47, i32s(10, 10, 90, 90, 100, 50, 50, 0)), (34, i32s(-1)), (35, xform),
                          (44, i32s(0, 0, 20, 20, 5, 5)), (59, b''), (27, i32s(1, 1)), (54, i32s(9, 1)), (61, b''),
                          (60, b''), (63, i32s(0, 0, 0, 0)), (81, sdib), (82, font), (37, i32s(3)), (84, text)]))
put('metafile_player', 'shapes.emf', open('corpus/emf/shapes', 'rb').read())


def wmf(records, placeable=True):
    body = b''.join(struct.pack('<IH', 3 + len(p) // 2, fn) + p for (fn, p) in records)
    out = b''
    if placeable:
        out = struct.pack('<IHhhhhHIH', 0x9AC6CDD7, 0, 0, 0, 200, 200, 192, 0, 0)
    words = 9 + len(body) // 2 + 3
    out += struct.pack('<HHHIHIH', 1, 9, 0x300, words, 8, 0, 0) + body + struct.pack('<IH', 3, 0)
    return out


def h16(*v):
    return struct.pack('<%dh' % len(v), *v)


sjis = bytes.fromhex('8AD48EE6')
wfont = h16(-24, 0, 0, 0, 400) + bytes([0, 0, 0, 128]) + b'\0' * 4 + b'IPAPGothic\0\0'
stretch = struct.pack('<IH', 0xCC0020, 0) + h16(1, 2, 0, 0, 20, 40, 176, 20) + bmi + bits
put('wmf', 'shapes', wmf([(0x02FC, struct.pack('<HIH', 0, 0xFF, 0)), (0x012D, h16(0)), (0x02FA, h16(0, 2, 0) + struct.pack('<I', 0)),
                          (0x012D, h16(1)), (0x041B, h16(80, 80, 20, 20)), (0x0324, h16(3, 0, 0, 80, 0, 0, 80)),
                          (0x0538, h16(1, 3, 100, 100, 150, 100, 100, 150)), (0x0418, h16(100, 100, 0, 0)),
                          (0x0830, h16(150, 200, 150, 100, 200, 200, 100, 100)), (0x001E, b''),
                          (0x0416, h16(200, 200, 120, 100)), (0x0127, h16(-1)), (0x0F43, stretch), (0x02FB, wfont),
                          (0x012D, h16(2)), (0x0521, h16(4) + sjis + h16(30, 20)),
                          (0x0A32, h16(50, 10, 2, 0) + b'AB' + h16(8, 8))]))
put('wmf', 'bare', wmf([(0x020C, h16(120, 160)), (0x0213, h16(50, 50))], placeable=False))
put('metafile_player', 'shapes.wmf', open('corpus/wmf/shapes', 'rb').read())
put('metafile_player', 'bare.wmf', open('corpus/wmf/bare', 'rb').read())
