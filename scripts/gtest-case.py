"""Runs one GoogleTest case of a Windows test program under Wine as a ctest
test of its own (cmake/Win32Cases.cmake lists them when ctest starts).

    gtest-case.py --list EXE           the program's cases, one a line
    gtest-case.py EXE CASE --first     the first case: under a test run it
                                       runs the whole program once and keeps
                                       each case's outcome; its own outcome
                                       is its status
    gtest-case.py EXE CASE --after FIRST
                                       a later case: ctest runs it after
                                       FIRST (DEPENDS); it reports its outcome
                                       from FIRST's run

A Wine process costs about a second to start, more than most cases take: the
whole program in one process takes seconds where a process per case took
two minutes. The group run and its reports are scripts/groupcases.py's.
"""

import json
import subprocess
import sys
from pathlib import Path

from groupcases import FAIL, OK, SKIP, Group

WINE_RUN = Path(__file__).resolve().parent / "wine-run.sh"


def wine(exe, *args, **kwargs):
    return subprocess.run([str(WINE_RUN), exe, *args], stdin=subprocess.DEVNULL, **kwargs)


def list_cases(exe):
    out = wine(exe, "--gtest_list_tests", capture_output=True, text=True, timeout=300)
    if out.returncode != 0:
        sys.stderr.write(out.stdout + out.stderr)
        return out.returncode
    suite = None
    for line in out.stdout.splitlines():
        name = line.split("#")[0].rstrip()
        if not name or name.startswith("Running main()"):
            continue
        if not line.startswith(" "):
            suite = name
        elif suite:
            print(suite + name.strip())
    return 0


def group_of(exe, first):
    return Group("gtest", Path(exe).resolve(), first)


def alone(exe, case):
    # As gtest_discover_tests runs a case.
    return wine(exe, f"--gtest_filter={case}", "--gtest_also_run_disabled_tests").returncode


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def keep_outcomes(group, report):
    """Keeps each case of a --gtest_output report."""
    for suite in report.get("testsuites", []):
        for case in suite.get("testsuite", []):
            name = f"{case.get('classname', suite['name'])}.{case['name']}"
            failures = [f["failure"] for f in case.get("failures", [])]
            if case.get("status") == "NOTRUN" or case.get("result") == "SKIPPED":
                status = SKIP
            elif failures:
                status = FAIL
            else:
                status = OK
            seconds = float(str(case.get("time", "0s")).rstrip("s") or 0)
            group.keep(name, status, round(seconds, 3), failures)


def run_program(exe, group):
    """The whole program in one Wine process, its output printed."""
    group.begin()
    report = group.where / "report.json"
    # Through a file, not a pipe: Wine's helpers may inherit it and outlive the run.
    with open(group.where / "output.txt", "w+b") as out:
        ended = wine(exe, f"--gtest_output=json:{windows_path(report)}",
                     "--gtest_also_run_disabled_tests", stdout=out,
                     stderr=subprocess.STDOUT).returncode
        out.seek(0)
        text = out.read().decode("utf-8", "replace")
    # Another case's skip must not read as this one's (ctest's skip pattern).
    print(text.replace("[  SKIPPED ]", "[  skipped ]"))
    if report.exists():
        keep_outcomes(group, json.loads(report.read_text()))
        group.end()
    else:
        group.end([f"the program ended with status {ended} without a report "
                   "(see its output above)"])


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--list":
        return list_cases(args[1])
    if len(args) == 3 and args[2] == "--first":
        exe, case = args[:2]
        group = group_of(exe, case)
        if not group.in_test_run():
            return alone(exe, case)
        run_program(exe, group)
        return group.report_first()
    if len(args) == 4 and args[2] == "--after":
        exe, case, first = args[0], args[1], args[3]
        group = group_of(exe, first)
        if not group.ran():
            return alone(exe, case)
        return group.report(case)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
