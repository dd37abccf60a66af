#!/usr/bin/env python3
"""Draws the two side files that ship beside the ferrovale executable:

  HAND-M.CUR    the hand pointer shown over push buttons, a Windows cursor
                file (type 2) whose directory entry carries the hotspot;
  ferrovale.png the window icon, two database drums with an arrow between.

The outputs are committed; run this only to change the pictures.
"""
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent

# X = outline, o = fill, anything else = transparent. The tip of the index
# finger is the hotspot.
HAND = """
.....XX..........
....XooX.........
....XooX.........
....XooX.........
....XooX.........
....XooXXX.......
....XooXooXXX....
....XooXooXooXX..
....XooXooXooXoX.
XXX.XooXooXooXooX
XooXXooooooooXooX
XoooXoooooooooooX
.XooXoooooooooooX
..XoXoooooooooooX
..XoooooooooooooX
...XooooooooooooX
...XoooooooooooX.
....XooooooooooX.
....XoooooooooX..
.....XooooooooX..
.....XooooooooX..
.....XXXXXXXXXX..
""".split()
HOTSPOT = (5, 0)
CURSOR_SIZE = 32


def hand_cursor() -> bytes:
    n = CURSOR_SIZE
    colours = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255)}
    pixels = [[colours.get(HAND[y][x], (0, 0, 0, 0)) if y < len(HAND) and x < len(HAND[y])
               else (0, 0, 0, 0) for x in range(n)] for y in range(n)]
    # DIB rows run bottom-up: colour plane (BGRA) then the 1-bit AND mask,
    # whose set bits mark transparent pixels.
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        mask += bits.to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return directory + entry + image


def png(width: int, height: int, rgba_rows) -> bytes:
    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_colour_at(x: float, y: float):
    """The icon as shapes on a 64-unit square, topmost first."""
    def drum(cx, top, bottom, rx, ry, side, lid):
        if ((x - cx) / rx) ** 2 + ((y - top) / ry) ** 2 <= 1:
            return lid
        if abs(x - cx) <= rx and top <= y <= bottom:
            return side
        if ((x - cx) / rx) ** 2 + ((y - bottom) / ry) ** 2 <= 1:
            return side
        return None

    # arrow from the left drum to the right one
    if 26 <= x <= 36 and 29 <= y <= 35:
        return (255, 255, 255, 255)
    if 36 <= x <= 44 and abs(y - 32) <= (44 - x) * 0.9:
        return (255, 255, 255, 255)
    left = drum(15, 18, 44, 10, 4.5, (214, 96, 40, 255), (240, 150, 100, 255))
    if left:
        return left
    right = drum(50, 18, 44, 10, 4.5, (40, 110, 200, 255), (120, 170, 235, 255))
    if right:
        return right
    # rounded square background
    r = 10
    dx = max(r - x, 0, x - (64 - r))
    dy = max(r - y, 0, y - (64 - r))
    if 0 <= x <= 64 and 0 <= y <= 64 and dx * dx + dy * dy <= r * r:
        return (32, 52, 64, 255)
    return (0, 0, 0, 0)


def icon(size: int = 64, samples: int = 4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    u = (px + (sx + 0.5) / samples) * 64 / size
                    v = (py + (sy + 0.5) / samples) * 64 / size
                    r, g, b, a = icon_colour_at(u, v)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / samples ** 2
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha),))
        rows.append(row)
    return png(size, size, rows)


if __name__ == "__main__":
    (HERE / "HAND-M.CUR").write_bytes(hand_cursor())
    (HERE / "ferrovale.png").write_bytes(icon())
