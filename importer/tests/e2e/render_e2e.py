#!/usr/bin/env python3
"""./moviquill render's path end to end, inside a running Wine session: the front
end's render step (tools/lib/render.sh) drives the editor host, which loads the
real plug-in, which renders through the registered control; the frames come
back as PNG files. Checks their number, size, format and alpha channel, and
writes a GoogleTest-style report for the test summary.

usage: render_e2e.py --bin DIR --results DIR"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile
import traceback
from pathlib import Path
from xml.sax.saxutils import quoteattr

ROOT = Path(__file__).resolve().parents[3]
WIDTH, HEIGHT, FRAMES = 64, 48, 3
BACKGROUND = (0x33, 0x66, 0x99)
SQUARE = 16  # pixels; frame k shows it at x = 4 + 16 k, y = 8
TWIPS = 20


class Bits:
    def __init__(self):
        self.bits = []

    def u(self, value, count):
        self.bits += [(value >> (count - 1 - i)) & 1 for i in range(count)]
        return self

    def s(self, value, count):
        return self.u(value & ((1 << count) - 1), count)

    def data(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, padded[i:i + 8])), 2) for i in range(0, len(padded), 8))


def rect(xmin, xmax, ymin, ymax, n=15):
    return Bits().u(n, 5).s(xmin, n).s(xmax, n).s(ymin, n).s(ymax, n).data()


def tag(code, body=b""):
    if len(body) < 63:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 63, len(body)) + body


def square_shape():
    side = SQUARE * TWIPS
    body = struct.pack("<H", 1) + rect(0, side, 0, side)
    body += bytes([1, 0x00, 255, 0, 0, 0])  # one solid red fill, no line styles
    bits = Bits().u(1, 4).u(0, 4)
    bits.u(0, 1).u(0b00101, 5).u(15, 5).s(0, 15).s(0, 15).u(1, 1)  # move to 0,0; fill 1
    for delta, vertical in ((side, False), (side, True), (-side, False), (-side, True)):
        bits.u(1, 1).u(1, 1).u(13, 4).u(0, 1).u(int(vertical), 1).s(delta, 15)
    bits.u(0, 6)
    return tag(2, body + bits.data())


def placement(frame):
    matrix = Bits().u(0, 1).u(0, 1).u(15, 5).s((4 + 16 * frame) * TWIPS, 15).s(8 * TWIPS, 15)
    if frame == 0:
        return tag(26, bytes([0x06]) + struct.pack("<HH", 1, 1) + matrix.data())
    return tag(26, bytes([0x05]) + struct.pack("<H", 1) + matrix.data())


def movie():
    tags = tag(9, bytes(BACKGROUND)) + square_shape()
    for frame in range(FRAMES):
        tags += placement(frame) + tag(1)
    tags += tag(0)
    header = rect(0, WIDTH * TWIPS, 0, HEIGHT * TWIPS) + struct.pack("<HH", 12 << 8, FRAMES)
    return b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(header) + len(tags)) + header + tags


def render(bin_dir, movie_path, out, *options):
    """The front end's step inside the Wine session, against the given binaries,
    into a new folder as the front end makes it."""
    out.mkdir()
    script = ('. "$1/tools/lib/common.sh"; . "$1/tools/lib/render.sh"; MVQ_BIN=$2; '
              'export WINEPREFIX=$3; shift 3; render_in_wine "$@"')
    args = ["bash", "-c", script, "render", str(ROOT), str(bin_dir), os.environ["WINEPREFIX"],
            str(movie_path), str(out), ""] + list(options)
    run = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        raise AssertionError(f"render failed ({run.returncode}): {run.stderr.strip()}")


def png_format(path):
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", f"{path.name} is no PNG"
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    return width, height, depth, colour


def rgba_pixels(path):
    """Decoded by ImageMagick, not by the code that wrote the file."""
    raw = subprocess.run(["/usr/bin/convert", str(path), "-depth", "8", "rgba:-"],
                         capture_output=True, check=True).stdout
    width = png_format(path)[0]
    return lambda x, y: tuple(raw[(y * width + x) * 4:(y * width + x) * 4 + 4])


def check_frames(out, names, width, height):
    found = sorted(p.name for p in out.glob("*") if not p.name.startswith("."))
    assert found == names, f"files {found}, expected {names}"
    for name in names:
        assert png_format(out / name) == (width, height, 8, 6), \
            f"{name}: {png_format(out / name)}, expected {width}x{height} 8-bit RGBA"


def check_alpha(out, frames, scale):
    for frame in frames:
        pixel = rgba_pixels(out / f"frame_{frame:05d}.png")
        x = 4 + 16 * frame + SQUARE // 2
        covered = pixel(x * scale, 16 * scale)
        assert covered == (255, 0, 0, 255), f"frame {frame}: under the square {covered}"
        for bare in ((x, 40), (x + 16 if frame < FRAMES - 1 else x - 16, 16), (WIDTH - 1, 0)):
            value = pixel(bare[0] * scale, bare[1] * scale)
            assert value[3] == 0, f"frame {frame}: alpha {value[3]} at {bare}, where nothing is"


def write_report(results_dir, cases):
    failures = sum(1 for _, error in cases if error)
    lines = [f'<testsuites tests="{len(cases)}" failures="{failures}">',
             f'<testsuite name="RenderEndToEnd" tests="{len(cases)}" failures="{failures}">']
    for name, error in cases:
        lines.append(f'<testcase name="{name}" classname="RenderEndToEnd">')
        if error:
            lines.append(f"<failure message={quoteattr(error)}/>")
        lines.append("</testcase>")
    lines += ["</testsuite>", "</testsuites>"]
    Path(results_dir).mkdir(parents=True, exist_ok=True)
    (Path(results_dir) / "render_e2e.xml").write_text("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--results", required=True)
    options = parser.parse_args()
    with tempfile.TemporaryDirectory() as temp:
        temp = Path(temp)
        movie_path = temp / "square.swf"
        movie_path.write_bytes(movie())
        whole, part = temp / "whole", temp / "part"

        def whole_clip():
            render(options.bin, movie_path, whole)
            check_frames(whole, [f"frame_{k:05d}.png" for k in range(FRAMES)], WIDTH, HEIGHT)
            check_alpha(whole, range(FRAMES), 1)

        def range_at_double_size():
            render(options.bin, movie_path, part, "--frames", "1-2", "--size", "128x96")
            check_frames(part, ["frame_00001.png", "frame_00002.png"], 128, 96)
            check_alpha(part, (1, 2), 2)

        cases = []
        for name, case in (("TheWholeClipAsRgbaPngsWithAlphaOnlyUnderTheShape", whole_clip),
                           ("ARangeAtAnotherSize", range_at_double_size)):
            try:
                case()
                cases.append((name, ""))
            except Exception as error:  # every failure goes into the report
                cases.append((name, str(error) or traceback.format_exc()))
                print(f"{name}: {error}", file=sys.stderr)
    write_report(options.results, cases)
    return 1 if any(error for _, error in cases) else 0


if __name__ == "__main__":
    sys.exit(main())
