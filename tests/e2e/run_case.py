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
case. The group run and its reports are scripts/groupcases.py's.
"""

import argparse
import os
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
from groupcases import FAIL, OK, SKIP, Group  # noqa: E402


def group_of(first):
    """The class run of FIRST, apart for each build (both builds run the same cases)."""
    return Group("e2e", os.environ.get("LUMA_BUILD_DIR", ""), first, f"e2e.{first}")


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


def run_class(group, others):
    """Runs the group's first case and OTHERS in one process, so in one
    session per class; keeps each outcome as it is known."""
    group.begin()
    result = KeepingResult(sys.stdout)
    result.on_case = lambda case_id, case: group.keep(case_id, case["status"], case["seconds"],
                                                      case["details"])
    suite = unittest.defaultTestLoader.loadTestsFromNames([group.first, *others])
    started = time.monotonic()
    result.startTestRun()
    try:
        suite(result)
    finally:
        result.stopTestRun()
    result.printErrors()
    seconds = time.monotonic() - started
    group.end(result.class_errors, result.class_skip)
    print(f"\nclass run: {len(result.cases)} of {1 + len(others)} cases in {seconds:.0f} s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case")
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--with", dest="others", nargs="*", default=None)
    mode.add_argument("--after")
    args = parser.parse_args()
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

    if args.others is not None:
        group = group_of(args.case)
        if not group.in_test_run():
            return alone(args.case)
        run_class(group, args.others)
        return group.report_first()
    if args.after:
        group = group_of(args.after)
        if not group.ran():
            return alone(args.case)
        return group.report(args.case)
    return alone(args.case)


if __name__ == "__main__":
    sys.exit(main())
