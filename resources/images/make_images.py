#!/usr/bin/env python3
"""Draws the program's pictures (icon 513, hand cursor 315, bitmaps 317 and 525)
and writes them as .ico, .cur and .bmp files beside this script.

Run it again after changing a picture; the outputs are committed so that the
build needs nothing but the resource compiler."""
import math
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


class Canvas:
    def __init__(self, width, height, fill=(255, 255, 255)):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]
        self.opaque = [[True] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color
            self.opaque[y][x] = True

    def clear(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.opaque[y][x] = False

    def rect(self, x0, y0, x1, y1, color):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, color)

    def shape(self, inside, color):
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.put(x, y, color)


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def quill(cx, cy, length, width, angle):
    """A feather: a leaf shape along a line at angle (radians), tip at the bottom left."""
    ux, uy = math.cos(angle), math.sin(angle)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        along = dx * ux + dy * uy
        across = -dx * uy + dy * ux
        t = along / length + 0.5
        if not 0.0 <= t <= 1.0:
            return False
        return abs(across) <= width * math.sin(math.pi * t) ** 0.8 * (0.3 + 0.7 * t)
    return inside


def film_strip(canvas, x0, y0, x1, y1):
    canvas.rect(x0, y0, x1, y1, (40, 40, 48))
    hole = max(2, (y1 - y0) // 8)
    x = x0 + hole
    while x + hole <= x1 - hole:
        canvas.rect(x, y0 + hole // 2 + 1, x + hole, y0 + hole // 2 + 1 + hole, (235, 235, 235))
        canvas.rect(x, y1 - hole // 2 - 1 - hole, x + hole, y1 - hole // 2 - 1, (235, 235, 235))
        x += 2 * hole
    canvas.rect(x0 + hole, y0 + 2 * hole + 1, x1 - hole, y1 - 2 * hole - 1, (90, 150, 220))


def app_picture(size):
    c = Canvas(size, size)
    for y in range(size):
        for x in range(size):
            c.clear(x, y)
    film_strip(c, 0, size // 4, size, size * 3 // 4 + 1)
    c.shape(quill(size * 0.55, size * 0.45, size * 0.95, size * 0.16, -math.pi / 4),
            (250, 250, 250))
    c.shape(quill(size * 0.55, size * 0.45, size * 0.85, size * 0.05, -math.pi / 4),
            (200, 60, 40))
    return c


def logo_bitmap():
    c = Canvas(72, 68, (255, 255, 255))
    film_strip(c, 2, 14, 70, 54)
    c.shape(quill(40, 30, 64, 10, -math.pi / 4), (250, 250, 250))
    c.shape(quill(40, 30, 58, 3, -math.pi / 4), (200, 60, 40))
    return c


def player_badge():
    c = Canvas(102, 32, (255, 255, 255))
    c.shape(rounded(1, 1, 31, 31, 6), (190, 20, 30))
    # A stylised "f": a curved stroke and a cross bar.
    c.shape(lambda x, y: 9 <= x - (y - 16) * 0.15 <= 13 and 8 <= y <= 26, (255, 255, 255))
    c.shape(lambda x, y: (x - 17) ** 2 + (y - 9) ** 2 <= 25 and (x - 17) ** 2 + (y - 9) ** 2 >= 6
            and y <= 10 and x >= 12, (255, 255, 255))
    c.rect(7, 14, 19, 17, (255, 255, 255))
    # Two grey bars standing for the product name.
    c.rect(36, 8, 98, 13, (110, 110, 110))
    c.rect(36, 19, 80, 24, (160, 160, 160))
    return c


def hand_cursor():
    """32 x 32, black outline, white fill, hot spot at the finger tip (5, 0)."""
    rows = [
        "     XX          ",
        "    X..X         ",
        "    X..X         ",
        "    X..X         ",
        "    X..X         ",
        "    X..XXX       ",
        "    X..X..XXX    ",
        "    X..X..X..XX  ",
        " XX X..X..X..X.X ",
        "X..XX........X..X",
        "X...X...........X",
        " X..............X",
        "  X.............X",
        "  X............X ",
        "   X...........X ",
        "   X..........X  ",
        "    X.........X  ",
        "    X........X   ",
        "     X.......X   ",
        "     XXXXXXXXX   ",
    ]
    c = Canvas(32, 32, (255, 255, 255))
    for y in range(32):
        for x in range(32):
            c.clear(x, y)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "X":
                c.put(x, y, (0, 0, 0))
            elif ch == ".":
                c.put(x, y, (255, 255, 255))
    return c, (5, 0)


def dib(canvas, bits, with_mask):
    """A DIB as icons and cursors hold it: colour rows bottom-up, then an AND mask."""
    w, h = canvas.width, canvas.height
    stride = ((w * bits // 8) + 3) & ~3
    colour = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = canvas.pixels[y][x] if canvas.opaque[y][x] else (0, 0, 0)
            row += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, 255 if canvas.opaque[y][x] else 0))
        colour += row + bytes(stride - len(row))
    mask = bytearray()
    if with_mask:
        mstride = ((w + 31) // 32) * 4
        for y in reversed(range(h)):
            row = bytearray(mstride)
            for x in range(w):
                if not canvas.opaque[y][x]:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
    height_field = h * 2 if with_mask else h
    header = struct.pack("<IiiHHIIiiII", 40, w, height_field, 1, bits, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def icon_file(images, kind=1, hotspots=None):
    """kind 1: .ico, kind 2: .cur (planes/bitcount fields hold the hot spot)."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    blobs = []
    for i, (canvas, bits) in enumerate(images):
        blob = dib(canvas, bits, True)
        a, b = (hotspots[i] if hotspots else (1, bits))
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def bmp_file(canvas):
    body = dib(canvas, 24, False)
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40) + body


def main():
    (HERE / "moviquill.ico").write_bytes(
        icon_file([(app_picture(32), 32), (app_picture(16), 32)]))
    cursor, hotspot = hand_cursor()
    (HERE / "hand.cur").write_bytes(icon_file([(cursor, 24)], kind=2, hotspots=[hotspot]))
    (HERE / "flash_player.bmp").write_bytes(bmp_file(player_badge()))
    (HERE / "moviquill_logo.bmp").write_bytes(bmp_file(logo_bitmap()))


if __name__ == "__main__":
    main()
