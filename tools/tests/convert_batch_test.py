#!/usr/bin/env python3
"""./moviquill convert IN... --out-dir DIR: movies side by side, each run in a
session of its own, one JSON line per movie, failures kept to their own movie,
and Ctrl-C stopping only what the batch started.

The runs start their own sessions, outside the test run's Wine. Usage:
convert_batch_test.py REPORT_DIR (a GoogleTest-style report for the summary)."""
import json
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import uuid
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from command_isolation_test import (FRONT_END, command_environment, have_commands, processes_marked,  # noqa: E402
                                    silent_movie, wait_until)
from convert_command_test import streams  # noqa: E402
from report import run_cases  # noqa: E402


@unittest.skipUnless(have_commands(), "no ffmpeg, Xvfb, pulseaudio or prepared Wine prefix")
class ConvertBatch(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="mvq-batch-"))
        self.temp = self.folder / "tmp"
        self.temp.mkdir()

    def tearDown(self):
        subprocess.run(["rm", "-rf", str(self.folder)])

    def batch(self, *args, **extra):
        run = subprocess.run([str(FRONT_END), "convert", *args], cwd=self.folder, capture_output=True, text=True,
                             env=command_environment(TMPDIR=str(self.temp), **extra), timeout=900)
        return run.returncode, [json.loads(line) for line in run.stdout.splitlines()], run.stderr

    def test_good_and_bad_movies_each_get_their_line(self):
        for name in ("a", "b"):
            (self.folder / name).mkdir()
            silent_movie(self.folder / name / "clip.swf", 12)
        good = (self.folder / "a" / "clip.swf").read_bytes()
        (self.folder / "cut.swf").write_bytes(good[:len(good) // 2])
        (self.folder / "junk.swf").write_bytes(b"not a movie at all, just words")
        inputs = ["a/clip.swf", "cut.swf", "b/clip.swf", "junk.swf", "missing.swf"]
        code, lines, err = self.batch(*inputs, "--out-dir", "out", "--format", "mp4", "--jobs", "2",
                                      "--sound", "none")
        self.assertEqual(1, code, err)
        self.assertEqual(sorted(inputs), sorted(line["input"] for line in lines), lines)
        results = {line["input"]: line for line in lines}
        out = self.folder / "out"
        for name, output in (("a/clip.swf", out / "clip.mp4"), ("b/clip.swf", out / "clip-2.mp4")):
            line = results[name]
            self.assertEqual(("ok", str(output)), (line["result"], line["output"]), line)
            self.assertGreater(line["seconds"], 0)
            video = streams(output)["video"]
            self.assertEqual(("h264", "12", 160, 120),
                             (video["codec_name"], video["nb_read_frames"], video["width"], video["height"]))
        for name in ("cut.swf", "junk.swf", "missing.swf"):
            line = results[name]
            self.assertEqual("error", line["result"], line)
            self.assertTrue(line["message"], line)
            self.assertFalse(Path(line["output"]).exists(), line)
        self.assertIn("no such movie", results["missing.swf"]["message"])
        self.assertIn("2 of 5 movies converted, 3 failed", err)
        self.assertEqual(["clip-2.mp4", "clip.mp4"], sorted(p.name for p in out.iterdir()))
        self.assertEqual([], list(self.temp.iterdir()))

    def test_an_all_good_batch_succeeds_and_options_reach_every_run(self):
        silent_movie(self.folder / "one.swf", 30)
        silent_movie(self.folder / "two.swf", 30)
        code, lines, err = self.batch("one.swf", "two.swf", "--out-dir", "avis", "--format", "avi", "--end", "9",
                                      "--size", "120x90", "--sound", "none", "--codec", "uncompressed")
        self.assertEqual(0, code, err)
        self.assertEqual(["ok", "ok"], [line["result"] for line in lines])
        for name in ("one", "two"):
            video = streams(self.folder / "avis" / (name + ".avi"))["video"]
            self.assertEqual(("10", 120, 90), (video["nb_read_frames"], video["width"], video["height"]))

    def test_bad_batch_arguments_are_refused(self):
        silent_movie(self.folder / "one.swf", 12)
        for args in (["--out-dir", "o"], ["one.swf", "--out-dir", "o", "--format", "flv"],
                     ["one.swf", "--out-dir", "o", "--jobs", "0"], ["one.swf", "--out-dir", "o", "--crf", "20",
                                                                   "--format", "avi"],
                     ["one.swf", "one.swf", "one.swf"]):
            code, lines, err = self.batch(*args)
            self.assertNotEqual(0, code, args)
            self.assertEqual([], lines, args)
            self.assertIn("moviquill:", err, args)

    def test_ctrl_c_stops_every_run_of_the_batch_and_nothing_else(self):
        silent_movie(self.folder / "long.swf", 24)
        silent_movie(self.folder / "other.swf", 24)
        mark = "mvq-batch-" + uuid.uuid4().hex
        # Someone else's process with the same mark's look, not started by the batch, must live on.
        bystander = subprocess.Popen(["sleep", "300"], env=dict(os.environ, MVQ_TEST_MARK=mark + "-other"))
        run = subprocess.Popen([str(FRONT_END), "convert", "long.swf", "other.swf", "--out-dir", "out", "--jobs", "2",
                                "--mode", "normal", "--end", "100000", "--sound", "record"], cwd=self.folder,
                               env=command_environment(MVQ_TEST_MARK=mark, TMPDIR=str(self.temp)),
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, start_new_session=True)
        try:
            programs = lambda: [p for p in processes_marked(mark, self.temp) if p[1] == "Moviquill.exe"]  # noqa: E731
            self.assertTrue(wait_until(lambda: len(programs()) == 2, 300), processes_marked(mark, self.temp))
            time.sleep(2)
        finally:
            os.killpg(run.pid, signal.SIGINT)
            out, err = run.communicate(timeout=120)
        self.assertNotEqual(0, run.returncode)
        self.assertTrue(wait_until(lambda: not [p for p in processes_marked(mark, self.temp)
                                                if p[0] != bystander.pid], 30))
        self.assertIsNone(bystander.poll())
        bystander.kill()
        bystander.wait()
        self.assertEqual([], [p.name for p in self.temp.iterdir()])
        self.assertFalse((self.folder / "out" / "long.mp4").exists())


if __name__ == "__main__":
    sys.exit(run_cases(ConvertBatch, "convert_batch.xml"))
