#!/usr/bin/env python3
"""Sums GoogleTest XML reports into the closing line 'N passed, M failed'.

A test executable that crashed leaves no report; ctest has already said so, and
the caller's exit code carries it. Exit code 1 when any case failed."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

passed = failed = skipped = 0
for folder in sys.argv[1:]:
    for report in sorted(Path(folder).glob("*.xml")):
        try:
            root = ET.parse(report).getroot()
        except ET.ParseError:
            print(f"unreadable report: {report}")
            failed += 1
            continue
        for case in root.iter("testcase"):
            if case.find("failure") is not None:
                failed += 1
            elif case.get("result") == "skipped" or case.find("skipped") is not None:
                skipped += 1
            else:
                passed += 1
line = f"{passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed else 0)
