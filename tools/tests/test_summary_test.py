#!/usr/bin/env python3
"""The closing line's sums: a program that ctest ran again counts by its last
report only, reports of other programs whose names end in a number count as
they are, a report that cannot be read counts as a failure, and a failure whose
message holds a terminal's escapes still makes a readable report.

Usage: test_summary_test.py [REPORT_DIR]; writes REPORT_DIR/test_summary.xml in the
GoogleTest report layout the summary itself reads."""
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
import test_summary  # noqa: E402
from report import run_cases, write_report  # noqa: E402


def gtest_report(passed, failed):
    cases = [f'<testcase name="p{i}" classname="S"/>' for i in range(passed)]
    cases += [f'<testcase name="f{i}" classname="S"><failure message="x"/></testcase>' for i in range(failed)]
    return f'<testsuites><testsuite name="S">{"".join(cases)}</testsuite></testsuites>'


class TestSummary(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = Path(self.folder.name)

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, text):
        (self.path / name).write_text(text)

    def test_a_program_run_again_counts_by_its_last_run(self):
        self.write("audio_tests.xml", gtest_report(46, 1))
        self.write("audio_tests_1.xml", gtest_report(45, 2))
        self.write("audio_tests_2.xml", gtest_report(47, 0))
        self.write("app_tests.xml", gtest_report(3, 0))
        self.assertEqual((50, 0, 0), test_summary.count([self.folder.name]))

    def test_a_name_ending_in_a_number_is_a_program_of_its_own(self):
        self.write("ver_6_0_22_1.xml", gtest_report(2, 1))
        self.write("ver_6_0_22_2.xml", gtest_report(4, 0))
        self.assertEqual((6, 1, 0), test_summary.count([self.folder.name]))

    def test_a_failure_quoting_a_terminal_stays_readable(self):
        case = unittest.FunctionTestCase(lambda: None)
        result = unittest.TestResult()
        result.failures.append((case, "recording [####] 2/3 s\x1b[K\r"))
        write_report(result, [case], self.folder.name, "Terminal", "terminal.xml")
        self.assertEqual((0, 1, 0), test_summary.count([self.folder.name]))
        self.assertIn("2/3 s?[K", (self.path / "terminal.xml").read_text())

    def test_skipped_cases_and_unreadable_reports(self):
        self.write("a.xml", '<testsuites><testsuite><testcase name="s" result="skipped"/></testsuite></testsuites>')
        self.write("b.xml", "<testsuites>")
        self.assertEqual((0, 1, 1), test_summary.count([self.folder.name]))
        self.assertEqual(1, test_summary.main([self.folder.name]))


if __name__ == "__main__":
    sys.exit(run_cases(TestSummary, "test_summary.xml"))
