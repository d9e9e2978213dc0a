"""The client of the probe (probe.cpp): one "probe serve" process per
session answers the fixture's questions about windows, keys and Notepad."""

import os
import select
import subprocess
import sys
import time

from basics import E2EError


class ProbeServer:
    """One probe process for a session ("probe serve"): each command a line of
    tab-separated arguments, answered with "STATUS LENGTH" and the output. A
    probe started for each command costs a tenth of a second of CPU, and the
    waits poll several times a second, in two sessions at a time, beside the
    builds. An answer still takes as long as a probe took to start: the tests
    were written at that pace, and a program just started or a box just
    closed gets the moment it always had."""

    PACE = 0.1  # seconds

    def __init__(self, command, env, log):
        self.proc = subprocess.Popen([*command, "serve"], env=env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=log)
        self.pending = b""

    def call(self, args, timeout):
        """(status, output), or None when the server has ended."""
        started = time.monotonic()
        answer = self._call(args, timeout)
        time.sleep(max(0.0, started + self.PACE - time.monotonic()))
        return answer

    def _call(self, args, timeout):
        if self.proc.poll() is not None:
            return None
        try:
            self.proc.stdin.write(("\t".join(args) + "\n").encode())
            self.proc.stdin.flush()
        except OSError:
            return None
        deadline = time.monotonic() + timeout
        while b"\n" not in self.pending:
            if not self._read(deadline, args):
                return None
        header, self.pending = self.pending.split(b"\n", 1)
        status, length = (int(field) for field in header.split())
        while len(self.pending) < length:
            if not self._read(deadline, args):
                return None
        body, self.pending = self.pending[:length], self.pending[length:]
        return status, body.decode("utf-8", "replace")

    def _read(self, deadline, args):
        fd = self.proc.stdout.fileno()
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            self.stop()
            raise E2EError(f"probe {' '.join(args)} timed out")
        chunk = os.read(fd, 65536)
        self.pending += chunk
        return bool(chunk)

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.close()
                self.proc.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.proc.kill()
                self.proc.wait(timeout=5)
        self.proc.stdout.close()


class ProbeClient:
    """Asks the probe of a build: through its server while that runs, else
    (the server ended; it is started again next time) as a process of its own
    for that command alone. `run(command, timeout)` runs such a process."""

    def __init__(self, tools, env, log, run):
        self.probe = tools.build_dir / "probe.exe"
        self.loader = tools.loader
        self.env = env
        self.log = log
        self.run = run
        self.server = None

    def call(self, args, timeout=30):
        """(status, output) of the probe command `args` (strings)."""
        if not self.probe.exists():
            raise E2EError(f"{self.probe} is not built")
        if self.server is None:
            self.server = ProbeServer([self.loader, str(self.probe)], self.env, self.log)
        answer = self.server.call(args, timeout)
        if answer is not None:
            return answer
        self.stop()
        command = [self.loader, str(self.probe), *args]
        result = self.run(command, timeout=timeout)
        if result.returncode == 1 and not result.stdout:
            # The probe says 1 only with its usage text, for a command line the
            # fixture never sends: a bare 1 is Wine failing to start it (seen
            # rarely on a loaded machine). Once more, then it counts.
            print(f"probe {' '.join(args)}: exit 1 without output, run again", file=sys.stderr)
            result = self.run(command, timeout=timeout)
        return result.returncode, result.stdout

    def stop(self):
        if self.server is not None:
            self.server.stop()
            self.server = None


def key_values(output):
    """The name=value lines of a probe's answer, by name."""
    info = {}
    for line in output.splitlines():
        name, sep, value = line.partition("=")
        if sep:
            info[name] = value
    return info
