"""Runs one GoogleTest case of a Windows test program under Wine as a ctest
test of its own (cmake/Win32Cases.cmake lists them when ctest starts).

    gtest-case.py --list EXE           the program's cases, one a line
    gtest-case.py EXE CASE --first     the first case: under a test run
                                       (LUMA_E2E_TMP set) it runs the whole
                                       program once and keeps its report;
                                       its own outcome is its status
    gtest-case.py EXE CASE --after FIRST
                                       a later case: ctest runs it after
                                       FIRST (DEPENDS); it reports its outcome
                                       from FIRST's run

A Wine process costs about a second to start, more than most cases take: the
whole program in one process takes seconds where a process per case took
two minutes. ctest still counts, names and times out every case. Without a
test run, or when FIRST is not part of this one, a case runs in a process of
its own.
"""

import hashlib
import json
import os
import subprocess
import sys
from pathlib import Path

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


def results_dir(exe):
    root = os.environ.get("LUMA_E2E_TMP")
    if not root:
        return None
    path = str(Path(exe).resolve())
    return Path(root) / "gtest" / f"{Path(path).stem}-{hashlib.sha1(path.encode()).hexdigest()[:8]}"


def alone(exe, case):
    # As gtest_discover_tests runs a case.
    return wine(exe, f"--gtest_filter={case}", "--gtest_also_run_disabled_tests").returncode


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def outcomes(report):
    """{case: (result, milliseconds, [failure messages])} of a --gtest_output report."""
    found = {}
    for suite in report.get("testsuites", []):
        for case in suite.get("testsuite", []):
            name = f"{case.get('classname', suite['name'])}.{case['name']}"
            if case.get("status") == "NOTRUN" or case.get("result") == "SKIPPED":
                result = "SKIPPED"
            elif case.get("failures"):
                result = "FAILED"
            else:
                result = "OK"
            ms = round(float(str(case.get("time", "0s")).rstrip("s") or 0) * 1000)
            found[name] = (result, ms, [f["failure"] for f in case.get("failures", [])])
    return found


def report(case, where, first):
    """The case's outcome from FIRST's run, printed as GoogleTest prints it."""
    path = where / "report.json"
    if not path.exists():
        print(f"{case}: not run; the run of the whole program in {first} ended without a "
              "report (see that test's output)")
        return 1
    found = outcomes(json.loads(path.read_text()))
    if case not in found:
        print(f"{case}: not in the report of the run in {first}")
        return 1
    result, ms, failures = found[case]
    print(f"[ RUN      ] {case}")
    for failure in failures:
        print(failure)
    tags = {"OK": "[       OK ]", "FAILED": "[  FAILED  ]", "SKIPPED": "[  SKIPPED ]"}
    print(f"{tags[result]} {case} ({ms} ms, in the run of the whole program in {first})")
    return 1 if result == "FAILED" else 0


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--list":
        return list_cases(args[1])
    if len(args) == 3 and args[2] == "--first":
        exe, case = args[:2]
        where = results_dir(exe)
        if where is None:
            return alone(exe, case)
        where.mkdir(parents=True, exist_ok=True)
        (where / "report.json").unlink(missing_ok=True)
        (where / "started").touch()
        # Through a file, not a pipe: Wine's helpers may inherit it and outlive the run.
        with open(where / "output.txt", "w+b") as out:
            wine(exe, f"--gtest_output=json:{windows_path(where / 'report.json')}",
                 "--gtest_also_run_disabled_tests", stdout=out, stderr=subprocess.STDOUT)
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
        # Another case's skip must not read as this one's (ctest's skip pattern).
        print(text.replace("[  SKIPPED ]", "[  skipped ]"))
        return report(case, where, case)
    if len(args) == 4 and args[2] == "--after":
        exe, case, first = args[0], args[1], args[3]
        where = results_dir(exe)
        if where is None or not (where / "started").exists():
            return alone(exe, case)
        return report(case, where, first)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
