"""Runs one end-to-end case as a ctest test of its own.

    run_case.py ID                    the case alone, in a session of its own
    run_case.py ID --with ID2 ...     the first case of its class: under a test
                                      run (LUMA_E2E_TMP set) it runs the whole
                                      class in one session and keeps each
                                      case's outcome; its own is its status
    run_case.py ID --after FIRST      a later case: ctest runs it after FIRST
                                      (DEPENDS); it reports what FIRST kept

A session (display, prefix, Notepad, program) costs seconds, and a minute for
a 32-bit program under an emulator, so the cases of a class share one, as
SessionTestCase is built for; ctest still counts, times out and names every
case. A case that FIRST's run never reached fails, naming FIRST. Without a
test run, or when FIRST is not part of this one, a case runs alone.
"""

import argparse
import hashlib
import json
import os
import sys
import time
import unittest
from pathlib import Path

OK, FAIL, SKIP = "ok", "FAIL", "skipped"


def results_dir(first):
    """Where the class run of FIRST keeps its cases' outcomes in this test
    run, apart for each build (both builds run the same cases)."""
    root = os.environ.get("LUMA_E2E_TMP")
    if not root:
        return None
    build = os.environ.get("LUMA_BUILD_DIR", "")
    key = f"{Path(build).name}-{hashlib.sha1(build.encode()).hexdigest()[:8]}"
    return Path(root) / "cases" / key / first


def alone(case_id):
    """The case in a process and session of its own, as unittest runs it."""
    program = unittest.main(module=None, argv=["run_case.py", "-v", case_id], exit=False)
    return 0 if program.result.wasSuccessful() else 1


class KeepingResult(unittest.TextTestResult):
    """Prints as unittest -v does and keeps each case's outcome: failed when
    it or any of its subtests failed. Errors of the class's own set-up and
    tear-down are kept apart."""

    def __init__(self, stream):
        super().__init__(unittest.runner._WritelnDecorator(stream), True, 2)
        self.buffer = True  # a case's output goes with its failure
        self.cases = {}
        self.class_errors = []
        self.class_skip = None
        self._started = None

    def _keep(self, test, status, detail=None):
        if isinstance(test, unittest.suite._ErrorHolder):
            if status == SKIP:
                self.class_skip = detail
            else:
                self.class_errors.append(f"{test.description}\n{detail}")
            return
        case = self.cases.setdefault(test.id(), {"status": OK, "details": []})
        if status != OK and case["status"] != FAIL:
            case["status"] = status
        if detail:
            case["details"].append(detail)

    def startTest(self, test):
        super().startTest(test)
        self._started = time.monotonic()

    def stopTest(self, test):
        super().stopTest(test)
        case = self.cases.setdefault(test.id(), {"status": OK, "details": []})
        case["seconds"] = round(time.monotonic() - self._started, 1)
        self.on_case(test.id(), case)

    def on_case(self, case_id, case):
        pass

    def addSuccess(self, test):
        super().addSuccess(test)
        self._keep(test, OK)

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._keep(test, FAIL, self.failures[-1][1])

    def addError(self, test, err):
        super().addError(test, err)
        self._keep(test, FAIL, self.errors[-1][1])

    def addSkip(self, test, reason):
        super().addSkip(test, reason)
        self._keep(test, SKIP, reason)

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        if err is not None:
            kept = [text for case, text in self.failures + self.errors if case is subtest]
            self._keep(test, FAIL, f"{subtest.id()}\n{kept[-1] if kept else err[1]}")

    def addUnexpectedSuccess(self, test):
        super().addUnexpectedSuccess(test)
        self._keep(test, FAIL, "unexpected success")


def run_class(first, others, where):
    """Runs FIRST and OTHERS in one process, so in one session per class;
    writes each outcome to WHERE as it is known. Returns FIRST's status."""
    where.mkdir(parents=True, exist_ok=True)
    (where / "started").touch()
    result = KeepingResult(sys.stdout)

    def write(case_id, case):
        path = where / f"{case_id}.json"
        path.with_suffix(".tmp").write_text(json.dumps(case))
        path.with_suffix(".tmp").replace(path)

    result.on_case = write
    suite = unittest.defaultTestLoader.loadTestsFromNames([first, *others])
    started = time.monotonic()
    result.startTestRun()
    try:
        suite(result)
    finally:
        result.stopTestRun()
    result.printErrors()
    seconds = time.monotonic() - started
    outcome = {"class_errors": result.class_errors, "class_skip": result.class_skip}
    (where / "class.json").write_text(json.dumps(outcome))
    print(f"\nclass run: {len(result.cases)} of {1 + len(others)} cases in {seconds:.0f} s")
    own = result.cases.get(first)
    if own is None:
        return report(first, None, outcome, first)
    if result.class_errors:
        # An error at the class's end (its session's stop) belongs to the run.
        print("the class run ended with an error:\n" + "\n".join(result.class_errors))
        return 1
    return finish(own["status"], own.get("details"))


def finish(status, details):
    if status == SKIP:
        # The skip is ctest's (SKIP_REGULAR_EXPRESSION), as for unittest's own line.
        print(f"OK (skipped=1): {details[0] if details else ''}")
        return 0
    if status == FAIL:
        print("FAILED")
        return 1
    print("OK")
    return 0


def report(case_id, case, outcome, first):
    """A case's outcome from the class run of FIRST."""
    if case is not None:
        print(f"{case_id} ... {case['status']} ({case.get('seconds', 0)} s in the class run of "
              f"e2e.{first})")
        for detail in case["details"]:
            print(detail)
        return finish(case["status"], case["details"])
    if outcome is None:
        print(f"{case_id}: not run; the class run of e2e.{first} ended before it "
              "(see that test's output)")
        return 1
    if outcome["class_skip"] is not None:
        return finish(SKIP, [outcome["class_skip"]])
    print(f"{case_id}: not run; the class run of e2e.{first} failed:")
    print("\n".join(outcome["class_errors"]) or "(no error was reported)")
    return 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    group = parser.add_mutually_exclusive_group()
    group.add_argument("--with", dest="others", nargs="*", default=None)
    group.add_argument("--after")
    args = parser.parse_args()
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

    if args.others is not None:
        where = results_dir(args.case)
        if where is None:
            return alone(args.case)
        return run_class(args.case, args.others, where)
    if args.after:
        where = results_dir(args.after)
        if where is None or not (where / "started").exists():
            return alone(args.case)
        case_file = where / f"{args.case}.json"
        case = json.loads(case_file.read_text()) if case_file.exists() else None
        class_file = where / "class.json"
        outcome = json.loads(class_file.read_text()) if class_file.exists() else None
        return report(args.case, case, outcome, args.after)
    return alone(args.case)


if __name__ == "__main__":
    sys.exit(main())
