"""The Python tests' reports, in the XML form GoogleTest writes, so that
tools/test_summary.py counts them with the rest."""

import re
import sys
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path


def write_report(result, tests, folder, suite_name, file_name):
    suite = ET.Element("testsuites")
    group = ET.SubElement(suite, "testsuite", name=suite_name)
    failed = {t.id(): text for t, text in result.failures + result.errors}
    skipped = {t.id() for t, _ in result.skipped}
    for test in tests:
        case = ET.SubElement(group, "testcase", name=test.id().rsplit(".", 1)[-1], classname=suite_name)
        if test.id() in failed:
            # A terminal's escapes in a message would make the report unreadable XML.
            text = re.sub(r"[\x00-\x08\x0b\x0c\x0e-\x1f]", "?", failed[test.id()])
            ET.SubElement(case, "failure", message="failed").text = text
        elif test.id() in skipped:
            case.set("result", "skipped")
    Path(folder).mkdir(parents=True, exist_ok=True)
    ET.ElementTree(suite).write(Path(folder) / file_name)


def run_cases(case_class, file_name):
    """Runs one TestCase class; with a folder as the first argument, writes its report there."""
    tests = list(unittest.defaultTestLoader.loadTestsFromTestCase(case_class))
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(tests))
    if len(sys.argv) > 1:
        write_report(result, tests, sys.argv[1], case_class.__name__, file_name)
    return 0 if result.wasSuccessful() else 1
