#!/usr/bin/env python3
"""./moviquill commands side by side. Each command runs in a session of its own
(display, Wine server, sound loopback), so conversions started together all
succeed and a recording hears only its own movie; Ctrl-C of a conversion leaves
nothing of its own running and no temporary folder behind.

The commands start their own sessions, outside the test run's Wine. Usage:
command_isolation_test.py REPORT_DIR (a GoogleTest-style report for the summary)."""
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import uuid
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from convert_command_test import sound_seconds, streams  # noqa: E402
from report import run_cases  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
FRONT_END = ROOT / "moviquill"
SESSION_VARIABLES = ("DISPLAY", "WINEPREFIX", "PULSE_SERVER", "MVQ_SESSION", "MVQ_PULSE_MISSING",
                     "MVQ_CONVERT_NO_SETUP")


def silent_movie(path, frames, fps=12, width=160, height=120):
    """A plain movie of grey frames and no sound at all."""
    bits = 15
    fields = [bits, 0, width * 20, 0, height * 20]
    value, count = 0, 0
    for field, size in zip(fields, (5, bits, bits, bits, bits)):
        value, count = (value << size) | field, count + size
    value <<= -count % 8
    stage = value.to_bytes((count + 7) // 8, "big")
    tags = struct.pack("<H", 9 << 6 | 3) + bytes([128, 128, 128])
    tags += struct.pack("<H", 1 << 6) * frames + struct.pack("<H", 0)
    body = stage + struct.pack("<HH", fps << 8, frames) + tags
    path.write_bytes(b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body)


def command_environment(**extra):
    """The caller's environment without the test run's session: the command makes its own."""
    env = {k: v for k, v in os.environ.items() if k not in SESSION_VARIABLES}
    env.update(MVQ_NO_SETUP="1", **extra)
    return env


def peak(path):
    """The largest sample of the file's sound track, as 16-bit."""
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", str(path), "-map", "0:a:0", "-f", "s16le", "-"],
                         capture_output=True, check=True).stdout
    samples = struct.unpack("<%dh" % (len(pcm) // 2), pcm[:len(pcm) // 2 * 2])
    return max((abs(s) for s in samples), default=0)


def processes_marked(mark, folder):
    """(pid, name) of every process whose environment carries the mark or names the folder."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) == os.getpid():
            continue
        try:
            environ = (entry / "environ").read_bytes()
            name = (entry / "comm").read_text().strip()
            state = (entry / "stat").read_text().rsplit(")", 1)[1].split()[0]
        except OSError:
            continue
        if state != "Z" and (mark.encode() in environ or str(folder).encode() in environ):
            found.append((int(entry.name), name))
    return found


def wait_until(condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.2)
    return condition()


def have_commands():
    return all(shutil.which(c) for c in ("ffprobe", "ffmpeg", "Xvfb", "pulseaudio")) and \
        (Path(os.environ.get("MVQ_BUILD_DIR", ROOT / "build")) / "wineprefix" / ".mvq-ready").exists()


@unittest.skipUnless(have_commands(), "no ffmpeg, Xvfb, pulseaudio or prepared Wine prefix")
class CommandIsolation(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="mvq-isolation-"))

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self, folder, *args, **extra):
        folder.mkdir(parents=True, exist_ok=True)
        return subprocess.Popen([str(FRONT_END), "convert", *args], cwd=folder, env=command_environment(**extra),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)

    def test_three_conversions_started_together_all_succeed_and_hear_only_themselves(self):
        quiet = self.folder / "quiet.swf"
        silent_movie(quiet, 96)
        runs = {
            # The sample movie's tone, played normally: its loop keeps it sounding for 8 s.
            "tone": self.start(self.folder / "tone", "--mode", "normal", "--end", "95", "--sound", "record"),
            # A movie without sound recorded at the same time must stay silent.
            "quiet": self.start(self.folder / "quiet", str(quiet), "--mode", "normal", "--sound", "record"),
            "steps": self.start(self.folder / "steps", str(quiet), "--end", "23", "--mode", "frame-by-frame",
                                "--size", "200x150", "--sound", "none"),
        }
        results = {name: run.communicate(timeout=900) for name, run in runs.items()}
        for name, run in runs.items():
            self.assertEqual(0, run.returncode, "%s: %s" % (name, results[name][1]))

        tone = self.folder / "tone" / "sample.avi"
        self.assertEqual("96", streams(tone)["video"]["nb_read_frames"])
        self.assertGreater(peak(tone), 4000)
        recorded = self.folder / "quiet" / "quiet.avi"
        self.assertEqual("96", streams(recorded)["video"]["nb_read_frames"])
        self.assertGreater(sound_seconds(recorded), 7)
        self.assertLess(peak(recorded), 100)
        video = streams(self.folder / "steps" / "quiet.avi")
        self.assertNotIn("audio", video)
        self.assertEqual((200, 150, "24"), (video["video"]["width"], video["video"]["height"],
                                            video["video"]["nb_read_frames"]))

    def test_ctrl_c_leaves_nothing_of_the_run_behind(self):
        movie = self.folder / "long.swf"
        silent_movie(movie, 24)
        mark = "mvq-run-" + uuid.uuid4().hex
        temp = self.folder / "tmp"
        temp.mkdir()
        # Recording a long stretch, so that the run is in full flight when interrupted.
        run = self.start(self.folder / "out", str(movie), "--mode", "normal", "--end", "100000",
                         "--sound", "record", MVQ_TEST_MARK=mark, TMPDIR=str(temp))
        # The server is wineserver or wineserver64, after the installed Wine.
        names = lambda: {name.replace("wineserver64", "wineserver") for _, name in processes_marked(mark, temp)}  # noqa: E731
        try:
            started = wait_until(lambda: {"Xvfb", "wineserver", "pulseaudio", "Moviquill.exe"} <= names(), 300)
            self.assertTrue(started, "the run did not get going: %s" % sorted(names()))
            time.sleep(3)
        finally:
            os.killpg(run.pid, signal.SIGINT)  # what Ctrl-C in a terminal does
            run.communicate(timeout=120)
        self.assertNotEqual(0, run.returncode)
        wait_until(lambda: not processes_marked(mark, temp), 30)
        self.assertEqual([], processes_marked(mark, temp))
        self.assertEqual([], [p.name for p in temp.iterdir()])


if __name__ == "__main__":
    sys.exit(run_cases(CommandIsolation, "command_isolation.xml"))
