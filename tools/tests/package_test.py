#!/usr/bin/env python3
"""./moviquill package: the zip holds what a Windows user installs and nothing of
the tests; unpacked into a clean Wine prefix and installed by its own note
(INSTALL.txt's steps), the packaged program converts a movie with the packaged
compressor and control.

Runs inside the Windows test session (its display); the conversion makes a
session of its own. Usage: package_test.py REPORT_DIR."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from command_isolation_test import FRONT_END, ROOT, command_environment, have_commands  # noqa: E402
from convert_command_test import streams  # noqa: E402
from report import run_cases  # noqa: E402

BUILD = Path(os.environ.get("MVQ_BUILD_DIR", ROOT / "build"))
# What the test itself needs beside the program to work it: not part of the package.
TEST_TOOLS = ("mvq-ui.exe", "mvq-ui-probe.dll", "make-sample-movie.exe")
FLASH_CLSID = "{D27CDB6E-AE6D-11CF-96B8-444553540000}"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


@unittest.skipUnless(os.environ.get("DISPLAY") and have_commands(), "no display, ffmpeg or prepared prefix")
class PackageInstall(unittest.TestCase):
    def setUp(self):
        self.root = Path(tempfile.mkdtemp(prefix="mvq-package-"))
        self.prefix = self.root / "wineprefix"
        self.wine_env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH="win32", WINEDEBUG="-all")

    def tearDown(self):
        if self.prefix.exists():  # the prefix made here, and only its server
            self.wine("wineserver", "-k")
        shutil.rmtree(self.root, ignore_errors=True)

    def wine(self, *args):
        """A command in the clean prefix; output through a file, since a first
        program's server would hold a pipe open."""
        with tempfile.TemporaryFile() as out:
            run = subprocess.run(list(args), env=self.wine_env, stdin=subprocess.DEVNULL, stdout=out,
                                 stderr=subprocess.DEVNULL, timeout=300)
            out.seek(0)
            return run.returncode, out.read().decode(errors="replace").replace("\r", "")

    def make_package(self):
        run = subprocess.run([str(FRONT_END), "package"], env=command_environment(), capture_output=True,
                             text=True, timeout=600)
        self.assertEqual(0, run.returncode, run.stderr)
        return Path(run.stdout.strip().splitlines()[-1])

    def unpack(self, package):
        with zipfile.ZipFile(package) as archive:
            names = archive.namelist()
            archive.extractall(self.root / "unpacked")
        top = {n.split("/")[0] for n in names}
        self.assertEqual(1, len(top), top)
        return names, self.root / "unpacked" / top.pop()

    def test_the_package_holds_the_deliverables_and_no_tests(self):
        names, _ = self.unpack(self.make_package())
        files = {n.split("/", 1)[1] for n in names if not n.endswith("/")}
        for needed in ("INSTALL.txt", "Moviquill.exe", "MVQHelp.htm", "plugins/im-tq-swf.prm",
                       "codec/mvqzmbv.dll", "codec/install-codec.cmd", "optional/flash-control/mvqflash.ocx",
                       "optional/flash-control/register-control.cmd",
                       "optional/flash-control/fonts/LiberationSans-Regular.ttf"):
            self.assertIn(needed, files)
        self.assertFalse([f for f in files if "test" in f.lower() or f.endswith(TEST_TOOLS)], files)

    def test_installed_by_its_note_into_a_clean_prefix_it_converts_a_movie(self):
        _, unpacked = self.unpack(self.make_package())
        self.prefix.mkdir()
        self.assertEqual(0, self.wine("wineboot", "-i")[0])
        self.wine("wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f")
        code, said = self.wine("wine", "cmd", "/c", windows_path(unpacked / "codec" / "install-codec.cmd"))
        self.assertEqual((0, True), (code, "is installed" in said), said)
        code, said = self.wine("wine", "cmd", "/c",
                               windows_path(unpacked / "optional" / "flash-control" / "register-control.cmd"))
        self.assertEqual((0, True), (code, "is registered" in said), said)
        _, server = self.wine("wine", "reg", "query", "HKCR\\CLSID\\%s\\InprocServer32" % FLASH_CLSID, "/ve")
        self.assertIn("optional\\flash-control\\mvqflash.ocx".lower(), server.lower())
        self.wine("wineserver", "-w")
        (self.prefix / ".mvq-ready").touch()

        # A build root of the packaged program, the clean prefix and the test's own tools.
        bin_folder = self.root / "bin"
        bin_folder.mkdir()
        for name in ("Moviquill.exe", "MVQHelp.htm"):
            shutil.copy(unpacked / name, bin_folder)
        for name in TEST_TOOLS:
            shutil.copy(BUILD / "bin" / name, bin_folder)
        for part in ("win", "native"):
            (self.root / part).symlink_to(BUILD / part)
        work = self.root / "work"
        work.mkdir()
        run = subprocess.run([str(FRONT_END), "convert", "--quiet"], cwd=work, capture_output=True, text=True,
                             env=command_environment(MVQ_BUILD_DIR=str(self.root)), timeout=600)
        self.assertEqual(0, run.returncode, run.stderr)
        video = streams(work / "sample.avi")["video"]
        self.assertEqual(("zmbv", "48"), (video["codec_name"], video["nb_read_frames"]))


if __name__ == "__main__":
    sys.exit(run_cases(PackageInstall, "package.xml"))
