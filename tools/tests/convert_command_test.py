#!/usr/bin/env python3
"""./moviquill convert, run as a user runs it, inside the test session's Wine and
Xvfb (and PulseAudio loopback, for recording). Each case converts in a folder of
its own and reads the files back with ffprobe.

Usage: convert_command_test.py REPORT_DIR. Writes REPORT_DIR/convert_command.xml in
the GoogleTest report layout the test summary reads."""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from report import run_cases

ROOT = Path(__file__).resolve().parents[2]
FRONT_END = ROOT / "moviquill"


def convert(folder, *args):
    """Runs the command in folder: (exit code, stdout, stderr)."""
    env = dict(os.environ, MVQ_CONVERT_NO_SETUP="1")
    run = subprocess.run([str(FRONT_END), "convert", *args], cwd=folder, env=env,
                         capture_output=True, text=True, timeout=600)
    return run.returncode, run.stdout, run.stderr


def streams(path):
    """ffprobe's view of the file's streams, frames counted."""
    out = subprocess.run(["ffprobe", "-v", "error", "-count_frames", "-show_streams", "-of", "json",
                          str(path)], capture_output=True, text=True, check=True).stdout
    return {s["codec_type"]: s for s in json.loads(out)["streams"]}


def sound_seconds(path):
    """The length of the file's sound track, decoded to 44.1 kHz stereo."""
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", str(path), "-map", "0:a:0", "-ac", "2", "-ar", "44100",
                          "-f", "s16le", "-"], capture_output=True, check=True).stdout
    return len(pcm) / (44100 * 4)


def write_wav(path, seconds, rate=44100):
    frames = int(seconds * rate)
    data = b"".join(struct.pack("<hh", (i * 37) % 20000 - 10000, 0) for i in range(frames))
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt ")
        f.write(struct.pack("<IHHIIHH", 16, 1, 2, rate, rate * 4, 4, 16))
        f.write(b"data" + struct.pack("<I", len(data)) + data)


@unittest.skipUnless(shutil.which("ffprobe"), "no ffprobe")
@unittest.skipUnless(os.environ.get("DISPLAY"), "no display")
class ConvertCommand(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="mvq-convert-"))

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def test_without_arguments_the_sample_movie_becomes_sample_avi(self):
        code, out, err = convert(self.folder)
        self.assertEqual(0, code, err)
        avi = self.folder / "sample.avi"
        self.assertTrue(avi.exists(), out + err)
        self.assertIn(str(avi), out)
        video = streams(avi)["video"]
        # The dialog's defaults: the whole movie (four seconds at 12 fps), its stage size.
        self.assertEqual((320, 240), (video["width"], video["height"]))
        self.assertEqual("12/1", video["r_frame_rate"])
        self.assertEqual("48", video["nb_read_frames"])
        self.assertIn("codec_type=video", out)

    def test_options_fill_the_settings_dialog(self):
        movie = self.folder / "in.swf"
        self._sample(movie)
        code, out, err = convert(self.folder, str(movie), "part.avi", "--start", "2", "--end", "11",
                                 "--fps100", "2500", "--mode", "frame-by-frame", "--size", "200x150",
                                 "--stretch", "--sound", "none")
        self.assertEqual(0, code, err)
        got = streams(self.folder / "part.avi")
        self.assertNotIn("audio", got)
        video = got["video"]
        self.assertEqual((200, 150), (video["width"], video["height"]))
        self.assertEqual("25/1", video["r_frame_rate"])
        self.assertEqual("10", video["nb_read_frames"])

    def test_a_wav_file_gives_the_sound_track(self):
        movie = self.folder / "in.swf"
        self._sample(movie)
        write_wav(self.folder / "voice.wav", 0.5)
        code, out, err = convert(self.folder, str(movie), "--end", "23", "--sound", "voice.wav")
        self.assertEqual(0, code, err)
        got = streams(self.folder / "in.avi")
        self.assertEqual("24", got["video"]["nb_read_frames"])
        # The whole of a file shorter than the video.
        self.assertIn("audio", got)
        self.assertAlmostEqual(0.5, sound_seconds(self.folder / "in.avi"), places=3)

    @unittest.skipUnless(os.environ.get("PULSE_SERVER") and not os.environ.get("MVQ_PULSE_MISSING"),
                         "no PulseAudio loopback")
    def test_recording_takes_the_movies_own_sound(self):
        movie = self.folder / "in.swf"
        self._sample(movie)
        code, out, err = convert(self.folder, str(movie), "--end", "23", "--sound", "record")
        self.assertEqual(0, code, err)
        got = streams(self.folder / "in.avi")
        self.assertEqual("24", got["video"]["nb_read_frames"])
        self.assertAlmostEqual(2.0, sound_seconds(self.folder / "in.avi"), delta=0.1)

    def test_the_programs_error_box_becomes_the_error(self):
        movie = self.folder / "in.swf"
        self._sample(movie)
        code, out, err = convert(self.folder, str(movie), "--start", "5", "--end", "2")
        self.assertNotEqual(0, code)
        self.assertIn('The "Start/End frame" number is invalid.', err)
        self.assertFalse((self.folder / "in.avi").exists())
        (self.folder / "junk.swf").write_bytes(b"not a movie at all, just words")
        code, out, err = convert(self.folder, "junk.swf")
        self.assertNotEqual(0, code)
        self.assertIn("error:", err)
        self.assertFalse((self.folder / "junk.avi").exists())

    def test_bad_arguments_are_refused_before_anything_runs(self):
        movie = self.folder / "in.swf"
        self._sample(movie)
        for args in (["--mode", "sideways"], ["--size", "12"], ["missing.swf"], ["--sound", "none.wav"],
                     [str(movie), str(self.folder / "no" / "such" / "out.avi")]):
            code, out, err = convert(self.folder, *args)
            self.assertNotEqual(0, code, args)
            self.assertIn("moviquill:", err, args)
        self.assertEqual([movie], list(self.folder.iterdir()))

    def _sample(self, path):
        """The shipped sample movie, made by its own generator."""
        maker = ROOT / "build" / "bin" / "make-sample-movie.exe"
        winpath = subprocess.run(["winepath", "-w", str(path)], capture_output=True, text=True).stdout.strip()
        subprocess.run(["wine", str(maker), winpath], check=True, capture_output=True, timeout=120)
        self.assertTrue(path.exists())


if __name__ == "__main__":
    sys.exit(run_cases(ConvertCommand, "convert_command.xml"))
