"""The group run of scripts/groupcases.py as both kinds use it: what a later
case reports from the first case's run, and GoogleTest's report kept."""

import contextlib
import importlib.util
import io
import os
import tempfile
import unittest
from pathlib import Path
from unittest import mock

from groupcases import FAIL, OK, SKIP, Group

# gtest-case.py has a dash in its name: loaded by path.
_found = importlib.util.spec_from_file_location(
    "gtest_case", Path(__file__).resolve().parent / "gtest-case.py")
gtest_case = importlib.util.module_from_spec(_found)
_found.loader.exec_module(gtest_case)


def reported(group, case_id, first=False):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        status = group.report_first() if first else group.report(case_id)
    return status, out.getvalue()


class GroupTest(unittest.TestCase):
    def setUp(self):
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        patch = mock.patch.dict(os.environ, {"LUMA_E2E_TMP": root.name})
        patch.start()
        self.addCleanup(patch.stop)

    def assertReports(self, group, table):
        """Each (case, status, text the report holds) of the table."""
        for case_id, status, text in table:
            with self.subTest(case_id):
                got, out = reported(group, case_id)
                self.assertEqual(got, status)
                self.assertIn(text, out)

    def test_outcomes_are_kept_per_test_run_and_per_build(self):
        with mock.patch.dict(os.environ, {"LUMA_E2E_TMP": ""}):
            group = Group("gtest", "/b/win32_tests.exe", "A.First")
            self.assertFalse(group.in_test_run())
            self.assertFalse(group.ran())
        win64 = Group("e2e", "/b/win64", "m.C.test_a")
        win32 = Group("e2e", "/b/win32", "m.C.test_a")
        win64.begin()
        self.assertFalse(win32.ran())

    def test_a_later_case_reports_what_the_run_kept(self):
        group = Group("gtest", "/b/win32_tests.exe", "A.First")
        self.assertFalse(group.ran())
        group.begin()
        group.keep("A.First", OK, 0.1)
        group.keep("Keys/B.Param/0", FAIL, 0.2, ["expected 1, got 2"])
        group.keep("A.Skipped", SKIP, 0.0, ["no display"])
        group.end()
        self.assertTrue(group.ran())
        # status, and what ctest's skip pattern must (not) find
        table = [("A.First", 0, "\nOK\n"), ("Keys/B.Param/0", 1, "expected 1, got 2\nFAILED"),
                 ("A.Skipped", 0, "OK (skipped=1): no display"),
                 ("A.Missing", 1, "A.Missing: not in the run of A.First")]
        self.assertReports(group, table)

    def test_a_run_that_failed_or_ended_early_fails_the_cases_it_did_not_reach(self):
        group = Group("e2e", "/b/win64", "m.C.test_a", "e2e.m.C.test_a")
        group.begin()
        self.assertEqual(reported(group, "m.C.test_b")[0], 1)
        group.keep("m.C.test_a", OK, 1.0)
        group.end(["tearDownClass: the session did not stop"])
        status, out = reported(group, "m.C.test_b")
        self.assertEqual(status, 1)
        self.assertIn("the session did not stop", out)
        # The first case passed, but its run failed after it.
        self.assertEqual(reported(group, None, first=True)[0], 1)

    def test_a_class_skipped_whole_skips_every_case(self):
        group = Group("e2e", "/b/win32", "m.C.test_a")
        group.begin()
        group.end([], "32-bit programs do not run here")
        for first in (True, False):
            status, out = reported(group, "m.C.test_b", first)
            self.assertEqual(status, 0)
            self.assertIn("OK (skipped=1)", out)

    def test_a_new_run_forgets_the_last_ones_outcomes(self):
        group = Group("gtest", "/b/win32_tests.exe", "A.First")
        group.begin()
        group.keep("A.Second", FAIL, 0.0)
        group.end()
        group.begin()
        self.assertEqual(reported(group, "A.Second")[0], 1)
        self.assertIn("ended before it", reported(group, "A.Second")[1])

    def test_gtest_report_outcomes(self):
        group = Group("gtest", "/b/win32_tests.exe", "A.Pass")
        group.begin()
        gtest_case.keep_outcomes(group, {"testsuites": [
            {"name": "A", "testsuite": [
                {"name": "Pass", "time": "0.012s"},
                {"name": "Fail", "time": "0s", "failures": [{"failure": "x.cpp:3\nboom"}]},
                {"name": "Skip", "result": "SKIPPED"},
                {"name": "Disabled", "status": "NOTRUN"}]},
            {"name": "Keys/K", "testsuite": [
                {"name": "Sends/0", "classname": "Keys/K", "time": "0.5s"}]}]})
        group.end()
        table = [("A.Pass", 0, "ok (0.012 s"), ("A.Fail", 1, "boom"),
                 ("A.Skip", 0, "OK (skipped=1)"), ("A.Disabled", 0, "OK (skipped=1)"),
                 ("Keys/K.Sends/0", 0, "ok (0.5 s")]
        self.assertReports(group, table)


if __name__ == "__main__":
    unittest.main()
