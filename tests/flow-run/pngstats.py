#!/usr/bin/env python3
"""Mean brightness (0..255) of a rectangle of a PNG picture: pngstats.py FILE X Y W H.
Coordinates in picture pixels, origin top-left. Reads 8-bit RGB and RGBA pictures."""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    pos, chunks, width, height, kind = 8, [], 0, 0, 0
    while pos < len(data):
        length, tag = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if tag == b'IHDR':
            width, height, depth, kind = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and kind in (2, 6), 'unsupported PNG'
        elif tag == b'IDAT':
            chunks.append(body)
        pos += 12 + length
    raw = zlib.decompress(b''.join(chunks))
    bpp = 3 if kind == 2 else 4
    stride = width * bpp
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        f, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if f == 1:
                line[x] = (line[x] + a) & 255
            elif f == 2:
                line[x] = (line[x] + b) & 255
            elif f == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, bpp, rows


def main():
    path, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
    _, _, bpp, rows = read_png(path)
    total = 0
    for row in rows[y:y + h]:
        for px in range(x, x + w):
            total += sum(row[px * bpp:px * bpp + 3]) / 3
    print(int(total / (w * h)))


if __name__ == '__main__':
    main()
