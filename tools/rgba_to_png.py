#!/usr/bin/env python3
"""Turns raw frames (top-down 8-bit R, G, B, A, as the editor host writes them)
into PNG files with their alpha channel.

usage: rgba_to_png.py WIDTH HEIGHT DIR
Every DIR/NAME.rgba becomes DIR/NAME.png; the raw file is removed once its
PNG is written. Exit code 1 when a raw file has the wrong size."""
import struct
import sys
import zlib
from pathlib import Path


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, rgba):
    stride = width * 4
    # Filter type 0 (none) before every row.
    rows = b"".join(b"\x00" + rgba[y * stride:(y + 1) * stride] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    width, height, folder = int(argv[1]), int(argv[2]), Path(argv[3])
    status = 0
    for raw in sorted(folder.glob("*.rgba")):
        data = raw.read_bytes()
        if len(data) != width * height * 4:
            print(f"rgba_to_png: {raw.name} holds {len(data)} bytes, not {width}x{height}x4",
                  file=sys.stderr)
            status = 1
            continue
        raw.with_suffix(".png").write_bytes(png_bytes(width, height, data))
        raw.unlink()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
