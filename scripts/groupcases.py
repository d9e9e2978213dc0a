"""A group of test cases run once, each case still a ctest test of its own:
the Win32 test program (scripts/gtest-case.py) and an end-to-end test class
(tests/e2e/run_case.py) both start slowly, so the group's first ctest test
runs the whole group and keeps every case's outcome, and the others, which
ctest runs after it (DEPENDS), report theirs from it.

Outside a test run (LUMA_E2E_TMP unset), or when the first case is not part
of this one, a case runs alone as its own kind runs it.
"""

import hashlib
import json
import os
from pathlib import Path
from urllib.parse import quote

OK, FAIL, SKIP = "ok", "FAIL", "skipped"


class Group:
    """Where the run of a group keeps its cases' outcomes in this test run.
    KIND and SOURCE (the program or build) keep apart groups whose first
    cases have the same name; FIRST_TEST is the first case's ctest name."""

    def __init__(self, kind, source, first, first_test=None):
        self.first = first
        self.label = first_test or first
        root = os.environ.get("LUMA_E2E_TMP")
        if root:
            key = f"{Path(source).name}-{hashlib.sha1(str(source).encode()).hexdigest()[:8]}"
            self.where = Path(root) / kind / key / first
        else:
            self.where = None

    def in_test_run(self):
        return self.where is not None

    def ran(self):
        """Whether the first case has started the group's run."""
        return self.where is not None and (self.where / "started").exists()

    def begin(self):
        self.where.mkdir(parents=True, exist_ok=True)
        for old in self.where.glob("*.json"):
            old.unlink()
        (self.where / "started").touch()

    def keep(self, case_id, status, seconds, details=()):
        self._write(case_file(case_id),
                    {"status": status, "seconds": seconds, "details": list(details)})

    def end(self, errors=(), skip=None):
        """The group's own outcome: errors outside any case (its set-up, or a
        run that ended early), or the reason the whole group was skipped."""
        self._write("group.json", {"errors": list(errors), "skip": skip})

    def report(self, case_id):
        """Prints a case's outcome from the group's run; returns its exit status."""
        case = self._read(case_file(case_id))
        group = self._read("group.json")
        if case is not None:
            print(f"{case_id} ... {case['status']} ({case['seconds']} s in the run of "
                  f"{self.label})")
            for detail in case["details"]:
                print(detail)
            return finish(case["status"], case["details"])
        if group is None:
            print(f"{case_id}: not run; the run of {self.label} ended before it "
                  "(see that test's output)")
            return 1
        if group["skip"] is not None:
            return finish(SKIP, [group["skip"]])
        if group["errors"]:
            print(f"{case_id}: not run; the run of {self.label} failed:")
            print("\n".join(group["errors"]))
        else:
            print(f"{case_id}: not in the run of {self.label}")
        return 1

    def report_first(self):
        """The first case's exit status: its own outcome, and a failure when
        the group's run failed outside any case."""
        status = self.report(self.first)
        group = self._read("group.json") or {"errors": ["the run did not end"]}
        if status == 0 and group["errors"]:
            print(f"the run of {self.label} ended with an error:\n" + "\n".join(group["errors"]))
            return 1
        return status

    def _write(self, name, value):
        path = self.where / name
        path.with_suffix(".tmp").write_text(json.dumps(value))
        path.with_suffix(".tmp").replace(path)

    def _read(self, name):
        path = self.where / name
        return json.loads(path.read_text()) if path.exists() else None


def case_file(case_id):
    # A parameterised GoogleTest case's name has slashes.
    return quote(case_id, safe="") + ".json"


def finish(status, details):
    """The last line of a case's report; ctest takes a skip from it
    (SKIP_REGULAR_EXPRESSION "OK \\(skipped=", as unittest's own line)."""
    if status == SKIP:
        print(f"OK (skipped=1): {details[0] if details else ''}")
        return 0
    if status == FAIL:
        print("FAILED")
        return 1
    print("OK")
    return 0
