#!/usr/bin/env python3
"""Help on a fresh setup: ./moviquill setup makes a new Wine prefix for a build
root of its own (the builds are this one's), the program is started from a
folder that holds no help page, and Help must open the page that ships with it. Web pages go to a command that
copies what it is given, so the test sees which file was opened.

Runs inside the Windows test session (its display). Usage:
help_fresh_setup_test.py REPORT_DIR; writes REPORT_DIR/help_fresh_setup.xml in the
GoogleTest report layout the test summary reads."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from report import run_cases  # noqa: E402
ROOT = Path(__file__).resolve().parents[2]
FRONT_END = ROOT / "moviquill"
BUILD = Path(os.environ.get("MVQ_BUILD_DIR", ROOT / "build"))
HELP_PAGE = ROOT / "resources" / "MVQHelp.htm"
ID_HELP, ID_EXIT = 32784, 32770


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


@unittest.skipUnless(os.environ.get("DISPLAY"), "no display")
class HelpOnAFreshSetup(unittest.TestCase):
    def setUp(self):
        self.root = Path(tempfile.mkdtemp(prefix="mvq-fresh-"))
        for part in ("win", "native", "bin"):
            (self.root / part).symlink_to(BUILD / part)
        self.env = dict(os.environ, MVQ_BUILD_DIR=str(self.root), WINEPREFIX=str(self.root / "wineprefix"),
                        WINEARCH="win32", WINEDEBUG="-all")
        self.log = open(self.root / "commands.log", "w")
        self.started = False

    def tearDown(self):
        if self.started:
            self.driver("attach", "terminate")
        if (self.root / "wineprefix").exists():  # the prefix made here, and only its server
            subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        self.log.close()
        shutil.rmtree(self.root, ignore_errors=True)

    def command(self, *args):
        """A Windows program of the prefix; its output goes through a file, as the
        server a first program starts would hold a pipe open."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", *args], env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=120)
            out.seek(0)
            return out.read().decode(errors="replace").replace("\r", "")

    def driver(self, *lines):
        return self.command(str(self.root / "bin" / "mvq-ui.exe"), *lines)

    def test_help_opens_the_page_beside_the_program(self):
        setup = subprocess.run([str(FRONT_END), "setup"], env=self.env, cwd=self.root, stdin=subprocess.DEVNULL,
                               stdout=self.log, stderr=self.log, timeout=900)
        self.assertEqual(0, setup.returncode, "setup failed; see " + str(self.root / "commands.log"))
        subprocess.Popen(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).wait(timeout=60)
        opened = self.root / "opened.htm"
        self.command("reg", "add", "HKCR\\.htm", "/ve", "/d", "MvqHelpCheck", "/f")
        self.command("reg", "add", "HKCR\\MvqHelpCheck\\shell\\open\\command", "/ve", "/d",
                     'cmd.exe /c copy "%1" "' + windows_path(opened) + '"', "/f")

        # Started from a folder that holds no help page, as a user would start it.
        program = windows_path(self.root / "bin" / "Moviquill.exe")
        replies = self.driver('start %s cwd="%s"' % (program, windows_path(self.root)), "main-window 60000")
        self.started = True
        self.assertNotIn("error", replies.split(), "no main window: " + replies)
        replies = self.driver("attach", "menu %d" % ID_HELP).split()
        self.assertEqual(["ok", "ok"], [r for r in replies if r in ("ok", "error")])
        deadline = time.monotonic() + 30
        while not opened.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertTrue(opened.exists(), "Help opened nothing")
        self.assertEqual(HELP_PAGE.read_bytes(), opened.read_bytes())

        replies = self.driver("attach", "menu %d" % ID_EXIT, "wait-exit 10000").split()
        self.assertEqual(["ok", "ok", "ok"], [r for r in replies if r in ("ok", "error")])
        self.started = False


if __name__ == "__main__":
    sys.exit(run_cases(HelpOnAFreshSetup, "help_fresh_setup.xml"))
