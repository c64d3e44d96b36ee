#!/usr/bin/env python3
"""./moviquill convert into other containers than AVI (ffmpeg from the program's
AVI), the AVI's compressor choice, and the progress line on a terminal. Runs in
the test session's Wine, like convert_command_test.py.

Usage: convert_formats_test.py REPORT_DIR (writes REPORT_DIR/convert_formats.xml)."""
import os
import pty
import re
import select
import signal
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from fractions import Fraction
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from command_isolation_test import command_environment  # noqa: E402
from convert_command_test import FRONT_END, ROOT, sound_seconds, streams, write_wav  # noqa: E402
from report import run_cases  # noqa: E402

FRAMES = 24
RATE = Fraction(2997, 100)


def convert(folder, *args, **extra):
    env = dict(os.environ, MVQ_CONVERT_NO_SETUP="1", **extra)
    run = subprocess.run([str(FRONT_END), "convert", *args], cwd=folder, env=env, capture_output=True, text=True,
                         timeout=600)
    return run.returncode, run.stdout, run.stderr


def convert_on_terminal(folder, *args):
    return on_terminal(folder, dict(os.environ, MVQ_CONVERT_NO_SETUP="1"), "convert", *args)


def on_terminal(folder, env, *args):
    """Runs the command with its standard error on a pseudo-terminal: (exit code, what the terminal got)."""
    main, secondary = pty.openpty()
    run = subprocess.Popen([str(FRONT_END), *args], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=secondary)
    os.close(secondary)
    got = b""
    while True:
        ready, _, _ = select.select([main], [], [], 1.0)
        if ready:
            try:
                chunk = os.read(main, 65536)
            except OSError:  # the terminal's last writer is gone
                break
            if not chunk:
                break
            got += chunk
        elif run.poll() is not None:
            break
    os.close(main)
    return run.wait(timeout=600), got.decode(errors="replace")


def make_sample(path):
    maker = ROOT / "build" / "bin" / "make-sample-movie.exe"
    winpath = subprocess.run(["winepath", "-w", str(path)], capture_output=True, text=True).stdout.strip()
    subprocess.run(["wine", str(maker), winpath], check=True, capture_output=True, timeout=120)


@unittest.skipUnless(shutil.which("ffprobe"), "no ffprobe")
@unittest.skipUnless(os.environ.get("DISPLAY"), "no display")
class ConvertFormats(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.shared = Path(tempfile.mkdtemp(prefix="mvq-formats-"))
        cls.movie = cls.shared / "in.swf"
        make_sample(cls.movie)
        # A WAV shorter than the video: its whole length is the sound track.
        write_wav(cls.shared / "voice.wav", 0.5)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.shared, ignore_errors=True)

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="mvq-formats-"))
        self.temp = self.folder / "tmp"
        self.temp.mkdir()

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def convert_to(self, name, *args):
        """The sample's first 24 frames at 29.97 fps with the WAV's sound, into name."""
        code, out, err = convert(self.folder, str(self.movie), name, "--end", str(FRAMES - 1), "--fps100", "2997",
                                 "--sound", str(self.shared / "voice.wav"), *args, TMPDIR=str(self.temp))
        self.assertEqual(0, code, err)
        # Nothing made on the way is left: no intermediate AVI, no partial file.
        self.assertEqual([], list(self.temp.iterdir()))
        self.assertEqual(sorted([name, "tmp"]), sorted(p.name for p in self.folder.iterdir()))
        return streams(self.folder / name), err

    def assert_video(self, video, codec, width, height):
        self.assertEqual(codec, video["codec_name"])
        self.assertEqual((width, height), (video["width"], video["height"]))
        self.assertEqual(str(FRAMES), video["nb_read_frames"])
        self.assertEqual(RATE, Fraction(video["r_frame_rate"]))

    def test_h264_containers_keep_frames_rate_and_sound(self):
        for name in ("out.mp4", "out.mov"):
            with self.subTest(name):
                got, _ = self.convert_to(name, "--size", "200x150")
                self.assert_video(got["video"], "h264", 200, 150)
                self.assertEqual("yuv420p", got["video"]["pix_fmt"])
                self.assertEqual("aac", got["audio"]["codec_name"])
                self.assertAlmostEqual(0.5, sound_seconds(self.folder / name), delta=0.03)
                (self.folder / name).unlink()

    def test_odd_sizes_gain_a_row_and_a_column(self):
        got, _ = self.convert_to("out.mkv", "--size", "201x151", "--crf", "30")
        self.assert_video(got["video"], "h264", 202, 152)
        # Matroska cannot mark the AAC encoder's priming (1024 samples) or its last
        # frame's padding as such: a decoder hands them out as sound.
        self.assertAlmostEqual(0.5, sound_seconds(self.folder / "out.mkv"), delta=2 * 1024 / 44100)

    def test_webm_is_vp9_and_opus(self):
        got, _ = self.convert_to("out.webm", "--size", "160x120")
        self.assert_video(got["video"], "vp9", 160, 120)
        self.assertEqual("opus", got["audio"]["codec_name"])
        self.assertAlmostEqual(0.5, sound_seconds(self.folder / "out.webm"), delta=0.03)

    def test_gif_has_every_frame_and_no_sound(self):
        got, _ = self.convert_to("out.gif", "--size", "160x120")
        self.assertNotIn("audio", got)
        video = got["video"]
        self.assertEqual(("gif", 160, 120, str(FRAMES)),
                         (video["codec_name"], video["width"], video["height"], video["nb_read_frames"]))
        # GIF delays are hundredths of a second: the length within one of them.
        self.assertAlmostEqual(float(FRAMES / RATE), float(video["duration"]), delta=0.02)

    def test_lossless_avi_is_zmbv_or_one_warning_and_uncompressed(self):
        got, err = self.convert_to("out.avi", "--size", "160x120")
        warnings = [line for line in err.splitlines() if "warning" in line]
        if got["video"]["codec_name"] == "zmbv":
            self.assertEqual([], warnings)
        else:
            self.assertEqual("rawvideo", got["video"]["codec_name"])
            self.assertEqual(1, len(warnings), err)
            self.assertIn("ZMBV", warnings[0])
        self.assertEqual(str(FRAMES), got["video"]["nb_read_frames"])
        (self.folder / "out.avi").unlink()
        got, err = self.convert_to("out.avi", "--size", "160x120", "--codec", "uncompressed")
        self.assertEqual("rawvideo", got["video"]["codec_name"])
        self.assertNotIn("warning", err)

    def test_a_failed_conversion_leaves_nothing(self):
        code, out, err = convert(self.folder, str(self.movie), "out.mp4", "--start", "5", "--end", "2",
                                 TMPDIR=str(self.temp))
        self.assertNotEqual(0, code)
        self.assertIn("error:", err)
        self.assertEqual([], list(self.temp.iterdir()))
        self.assertEqual(["tmp"], [p.name for p in self.folder.iterdir()])

    def test_ctrl_c_while_encoding_leaves_nothing(self):
        env = dict(os.environ, MVQ_CONVERT_NO_SETUP="1", TMPDIR=str(self.temp))
        run = subprocess.Popen([str(FRONT_END), "convert", str(self.movie), "out.webm", "--end", "1499", "--sound",
                                "none"], cwd=self.folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            deadline = time.monotonic() + 300
            while not list(self.folder.glob(".out.webm*")) and time.monotonic() < deadline and run.poll() is None:
                time.sleep(0.1)
            self.assertTrue(list(self.folder.glob(".out.webm*")), "ffmpeg never started")
        finally:
            os.killpg(run.pid, signal.SIGINT)  # what Ctrl-C in a terminal does
            run.wait(timeout=120)
        self.assertNotEqual(0, run.returncode)
        self.assertEqual(["tmp"], [p.name for p in self.folder.iterdir()])
        self.assertEqual([], list(self.temp.iterdir()))

    def test_options_that_do_not_fit_the_output_are_refused(self):
        for args in (["out.avi", "--crf", "20"], ["out.gif", "--crf", "20"], ["out.mp4", "--codec", "uncompressed"],
                     ["out.flv"], ["out.mp4", "--crf", "x"], ["out.avi", "--codec", "zip"],
                     ["out.mp4", "--format", "mkv"], ["out.mp4", "extra.mp4"]):
            code, out, err = convert(self.folder, str(self.movie), *args)
            self.assertNotEqual(0, code, args)
            self.assertIn("moviquill:", err, args)
        self.assertEqual(["tmp"], [p.name for p in self.folder.iterdir()])

    def test_a_terminal_shows_the_progress_line_unless_quiet(self):
        code, shown = convert_on_terminal(self.folder, str(self.movie), "a.avi", "--end", "479", "--sound", "none",
                                          "--codec", "uncompressed")
        self.assertEqual(0, code, shown)
        self.assertRegex(shown, r"\r\[[#.]{20}\] \d+/480 frames  \d+\.\d fps  \d+:\d\d left\033\[K")
        done = [int(n) for n in re.findall(r"(\d+)/480 frames", shown)]
        self.assertEqual(sorted(done), done)
        self.assertTrue(shown.endswith("\r\033[K"), shown[-40:])  # the line goes when the work is done
        code, shown = convert_on_terminal(self.folder, str(self.movie), "b.avi", "--end", "479", "--sound", "none",
                                          "--quiet", "--codec", "uncompressed")
        self.assertEqual(0, code, shown)
        self.assertNotIn("frames", shown)
        self.assertNotIn("\r", shown)
        code, out, err = convert(self.folder, str(self.movie), "c.avi", "--end", "23", "--sound", "none",
                                 "--codec", "uncompressed")
        self.assertEqual(0, code, err)
        self.assertNotIn("\r", err)
        self.assertNotIn("frames", err)

    def test_render_shows_the_frames_written_on_a_terminal(self):
        # render runs in a session of its own, outside the test run's Wine.
        env = command_environment()
        code, shown = on_terminal(self.folder, env, "render", str(self.movie), "frames", "--frames", "0-95")
        self.assertEqual(0, code, shown)
        self.assertRegex(shown, r"\r\[[#.]{20}\] \d+/96 frames")
        self.assertIn("96 frames of 320x240", shown)
        code, shown = on_terminal(self.folder, env, "render", str(self.movie), "quiet", "--frames", "0-95", "--quiet")
        self.assertEqual(0, code, shown)
        self.assertNotIn("\r\033[K", shown)
        self.assertNotRegex(shown, r"\d+/96 frames")

    @unittest.skipUnless(os.environ.get("PULSE_SERVER") and not os.environ.get("MVQ_PULSE_MISSING"),
                         "no PulseAudio loopback")
    def test_recording_shows_its_seconds_first(self):
        code, shown = convert_on_terminal(self.folder, str(self.movie), "r.avi", "--end", "35", "--sound", "record",
                                          "--codec", "uncompressed")
        self.assertEqual(0, code, shown)
        recording = shown.find("recording [")
        self.assertNotEqual(-1, recording, shown)
        self.assertRegex(shown, r"recording \[[#.]{20}\] \d/3 s")
        frames = shown.find("/36 frames")
        self.assertGreater(frames, recording, shown)


if __name__ == "__main__":
    sys.exit(run_cases(ConvertFormats, "convert_formats.xml"))
