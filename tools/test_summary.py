#!/usr/bin/env python3
"""Sums GoogleTest XML reports into the closing line 'N passed, M failed'.

A test executable that crashed leaves no report; ctest has already said so, and
the caller's exit code carries it. A program that ctest ran again (the loopback
tests' until-pass) finds its report there and writes NAME_1.xml, NAME_2.xml, ...
beside it: only its last run counts. Exit code 1 when any case failed."""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def last_reports(folder):
    """Each program's report of its last run, in name order."""
    latest = {}
    for report in Path(folder).glob("*.xml"):
        name, run = report.stem, 0
        rerun = re.fullmatch(r"(.+)_(\d+)", name)
        if rerun and (report.parent / f"{rerun.group(1)}.xml").exists():
            name, run = rerun.group(1), int(rerun.group(2))
        if name not in latest or run > latest[name][0]:
            latest[name] = (run, report)
    return [latest[name][1] for name in sorted(latest)]


def count(folders):
    """(passed, failed, skipped) over the folders' last reports."""
    passed = failed = skipped = 0
    for folder in folders:
        for report in last_reports(folder):
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
    return passed, failed, skipped


def main(folders):
    passed, failed, skipped = count(folders)
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
