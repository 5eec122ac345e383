#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the hicolor PNG icons from the program icon (src/ui/resources/icon.xpm).

Run from the repository:  python3 packaging/icons/make-icons.py
Smaller sizes average the covered pixels, larger ones repeat them, so the
picture stays sharp. Writes packaging/icons/<size>/vocatrix.png.
"""
import os
import re
import struct
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
ROOT = os.path.dirname(os.path.abspath(__file__))
XPM = os.path.join(ROOT, "..", "..", "src", "ui", "resources", "icon.xpm")


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', open(path).read())
    width, height, ncolors, cpp = map(int, rows[0].split()[:4])
    colors = {}
    for row in rows[1:1 + ncolors]:
        key, value = row[:cpp], row[cpp:].split()[-1]
        colors[key] = (0, 0, 0, 0) if value.lower() == "none" else tuple(
            int(value[i:i + 2], 16) for i in (1, 3, 5)) + (255,)
    pixels = rows[1 + ncolors:1 + ncolors + height]
    return width, height, [[colors[line[x * cpp:(x + 1) * cpp]] for x in range(width)] for line in pixels]


def scale(src, width, height, size):
    out = []
    for ty in range(size):
        row = []
        for tx in range(size):
            if size >= width:  # repeat pixels
                row.append(src[ty * height // size][tx * width // size])
                continue
            # average the source area, colours weighted by their opacity
            x0, x1 = tx * width / size, (tx + 1) * width / size
            y0, y1 = ty * height / size, (ty + 1) * height / size
            acc = [0.0] * 4
            area = 0.0
            for sy in range(int(y0), min(height, int(y1 + 0.999))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(width, int(x1 + 0.999))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    r, g, b, a = src[sy][sx]
                    acc[0] += r * a * w
                    acc[1] += g * a * w
                    acc[2] += b * a * w
                    acc[3] += a * w
                    area += w
            alpha = acc[3] / area
            row.append(tuple(round(c / acc[3]) if acc[3] else 0 for c in acc[:3]) + (round(alpha),))
        out.append(row)
    return out


def write_png(path, pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    width, height, src = read_xpm(XPM)
    for size in SIZES:
        folder = os.path.join(ROOT, str(size))
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "vocatrix.png"), scale(src, width, height, size))


if __name__ == "__main__":
    main()
