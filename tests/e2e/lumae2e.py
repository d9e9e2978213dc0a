"""The end-to-end fixture: a private X display with a window manager, Wine's
Notepad as the application being typed into, and lumatype.exe, all under one
private Wine prefix.

The build under test is LUMA_BUILD_DIR (default build/win64); its wine.env,
written by CMake, names the Wine loader that runs its lumatype.exe. Notepad,
the probe and the prefix come from the 64-bit build named there
(LUMA_WINE_TOOLS_BUILD), so the same tests drive the 32-bit program too.

Every wait has a timeout, every process started here is killed by pid when the
session stops (also when a test fails), and `wineserver -k` ends what Wine
itself started in the private prefix.
"""

import atexit
import fcntl
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from fractions import Fraction
from pathlib import Path

SOURCE_DIR = Path(os.environ.get("LUMA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
BUILD_DIR = Path(os.environ.get("LUMA_BUILD_DIR", SOURCE_DIR / "build" / "win64"))
ARTEFACTS = BUILD_DIR / "artefacts"
SCREEN_W, SCREEN_H = 1280, 1024

# The built-in layout's design size and the design rectangles (x1, y1, x2, y2)
# of the keys the tests click, by virtual-key code.
DESIGN_W, DESIGN_H = 441, 181
KEYS = {
    27: (0, 0, 30, 30),       # Esc
    8: (390, 30, 440, 60),    # Backsp
    49: (30, 30, 60, 60),     # 1
    69: (110, 60, 140, 90),   # E
    73: (260, 60, 290, 90),   # I
    79: (290, 60, 320, 90),   # O
    20: (0, 90, 60, 120),     # Caps
    65: (60, 90, 90, 120),    # A
    72: (210, 90, 240, 120),  # H
    76: (300, 90, 330, 120),  # L
    13: (390, 90, 440, 120),  # Enter
    160: (0, 120, 50, 150),   # left Shift
    161: (380, 120, 440, 150),  # right Shift
    32: (100, 150, 275, 180),  # Space
}
LETTERS = {"a": 65, "e": 69, "h": 72, "i": 73, "l": 76, "o": 79, "1": 49}
# Keyboard background: the strip between the right Shift key (ends at y 150)
# and the slider, which is at most 24 high at the bottom right.
BACKGROUND = (385, 151, 435, 156)

# Key rows of the built-in layout: (y1, y2, [x borders]) for checking the picture.
ROWS = [
    (0, 30, [0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 390, 440]),
    (30, 60, [0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 390, 440]),
    (60, 90, [0, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320, 350, 380, 410, 440]),
    (90, 120, [0, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330, 360, 390, 440]),
    (120, 150, [0, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320, 350, 380, 440]),
    (150, 180, [0, 40, 70, 100, 275, 315, 350, 380]),
]

VK_SHIFT = 16
WM_SYSCOMMAND = 0x0112

# Keyboard layouts a session can run under, by X keymap name: the Unix locale
# Wine 8 takes the layout from (GetKeyboardLayout follows the locale, not X).
# It has to be a single-byte one: only then does Wine match the keys beyond
# ASCII (umlauts, accents) to its own layout tables.
LAYOUT_LOCALES = {"de": "de_DE.ISO-8859-1", "fr": "fr_FR.ISO-8859-1"}


class E2EError(AssertionError):
    pass


def also_32bit(test):
    """Marks a test case that also runs against the 32-bit build (list_tests.py)."""
    test.also_32bit = True
    return test


class WineOfBuild:
    """The Wine settings a build was configured with (its wine.env)."""

    def __init__(self, build_dir):
        self.build_dir = Path(build_dir)
        path = self.build_dir / "wine.env"
        if not path.exists():
            raise E2EError(f"no {path}: configure and build that preset first")
        values = dict(line.split("=", 1) for line in path.read_text().splitlines() if "=" in line)
        self.loader = values["LUMA_WINE_LOADER"]
        self.wineserver = values["LUMA_WINESERVER"]
        self.optional = values.get("LUMA_WINE_OPTIONAL") == "1"
        self.tools_build = Path(values.get("LUMA_WINE_TOOLS_BUILD") or self.build_dir)
        self.fontconfig_file = values.get("LUMA_FONTCONFIG_FILE")
        # Where qemu runs Wine's 32-bit side: the reservation its processes need.
        self.qemu_reserved_va = values.get("QEMU_RESERVED_VA")

    def runs(self):
        env = dict(os.environ)
        if self.qemu_reserved_va:
            env["QEMU_RESERVED_VA"] = self.qemu_reserved_va
        try:
            return subprocess.run([self.loader, "--version"], env=env, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=300).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False


def _exit_on_signal(signum, frame):
    # Turn a polite kill into SystemExit so that the cleanups still run.
    raise SystemExit(128 + signum)


for _signal in (signal.SIGTERM, signal.SIGHUP):
    signal.signal(_signal, _exit_on_signal)


def scale(value, size, design):
    """A design coordinate on a client area of the given size: the ceiling of
    the exact product, as the keyboard rescales its outlines."""
    product = Fraction(value * size, design)
    return -((-product.numerator) // product.denominator)


def poll(read, done, timeout, interval=0.2):
    """Reads until done(value) holds or the timeout passes; returns the last
    value read, for the caller to assert on."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if done(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def wait_for(predicate, timeout, what, interval=0.2):
    """Polls until predicate() returns a true value; returns it or raises."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = predicate()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise E2EError(f"timed out after {timeout:.0f} s waiting for {what} (last: {last!r})")
        time.sleep(interval)


_private_root = None


def _template_root():
    """Where the prepared prefix is kept: LUMA_E2E_TMP, shared by the test
    processes of one test run (test.sh removes it at the end), or a folder of
    this process."""
    global _private_root
    if os.environ.get("LUMA_E2E_TMP"):
        root = Path(os.environ["LUMA_E2E_TMP"])
        root.mkdir(parents=True, exist_ok=True)
        return root
    if _private_root is None:
        _private_root = Path(tempfile.mkdtemp(prefix="lumatype-e2e-"))
        atexit.register(shutil.rmtree, _private_root, True)
    return _private_root


def _copy_prefix(template, target):
    # Hard links for everything but the registry, which the wineserver of
    # the copy rewrites: a copy takes a moment, a new prefix ~10 s (much more
    # for its 32-bit side under an emulator).
    def link_or_copy(source, dest):
        if source.endswith(".reg"):
            return shutil.copy2(source, dest)
        try:
            return os.link(source, dest)
        except OSError:
            return shutil.copy2(source, dest)

    shutil.copytree(template, target, symlinks=True, copy_function=link_or_copy)


def wine_env(tools, display, prefix):
    """The environment of the Wine programs of a session."""
    env = dict(os.environ, DISPLAY=display, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("WAYLAND_DISPLAY", None)
    if tools.fontconfig_file:
        # Wine's Tahoma for the labels, without installing it system-wide.
        env["FONTCONFIG_FILE"] = tools.fontconfig_file
    if tools.qemu_reserved_va:
        env["QEMU_RESERVED_VA"] = tools.qemu_reserved_va
    return env


def prepared_prefix(tools, env, dpi=None):
    """The prefix of a test run, made once and copied for every session (and
    for test.sh's own, scripts/session.sh); made before anything runs in it:
    programs started together in a new prefix race over its creation. One
    with another screen DPI is a copy of it with the DPI changed: a new prefix
    takes ~10 s, ~2 min where Wine's 32-bit side runs under an emulator."""
    root = _template_root()
    base = None if dpi is None else prepared_prefix(tools, env)
    name = "prepared-prefix" if dpi is None else f"prepared-prefix-{dpi}dpi"
    template = root / name
    with open(root / f"{name}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (template / ".lumatype-ready").exists():
            return template
        shutil.rmtree(template, ignore_errors=True)
        env = dict(env, WINEPREFIX=str(template))
        with open(root / f"{name}.log", "ab") as log:
            def run(args, timeout):
                try:
                    subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=log, timeout=timeout)
                except subprocess.TimeoutExpired as error:
                    raise E2EError(f"preparing {template}: {args[1]} timed out") from error

            if base is None:
                run([tools.loader, "wineboot", "-i"], 600)
                # A crashing program should end, not wait behind Wine's crash dialog.
                run([tools.loader, "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                     "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"], 120)
            else:
                _copy_prefix(base, template)
                (template / ".lumatype-ready").unlink()
                # Read when a Wine process starts: set before a session's first one.
                run([tools.loader, "reg", "add", r"HKCU\Control Panel\Desktop", "/v",
                     "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"], 120)
            run([tools.wineserver, "-w"], 120)
        (template / ".lumatype-ready").touch()
    return template


def _compiled_locales(locale):
    """A LOCPATH folder holding `locale`, compiled from the system's locale
    sources once per test run: nothing is installed system-wide."""
    root = _template_root() / "locales"
    root.mkdir(parents=True, exist_ok=True)
    target = root / locale
    with open(root.parent / "locales.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (target / "LC_CTYPE").exists():
            name, charset = locale.split(".")
            # localedef reports warnings through its status; the files tell.
            subprocess.run(["localedef", "-i", name, "-f", charset, str(target)],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=120)
            if not (target / "LC_CTYPE").exists():
                raise E2EError(f"localedef could not compile {locale} "
                               "(package locales, see scripts/setup.sh)")
    return root


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


class Session:
    """Xvfb + openbox + Notepad (+ Lumatype on demand) on a display of its own;
    with keyboard_layout ("de", "fr") the display has that X keymap and the
    Wine programs that layout."""

    def __init__(self, build_dir=BUILD_DIR, dpi=None, keyboard_layout=None):
        self.keyboard_layout = keyboard_layout
        self.program = WineOfBuild(build_dir)
        self.tools = WineOfBuild(self.program.tools_build)
        self.dpi = dpi  # the prefix's screen DPI; None leaves Wine's 96
        self.procs = []  # (name, Popen), killed in reverse order at stop
        self.display = None
        self.pointer = None
        self.lumatype = None
        # A window handle that stands for its class in every probe (two instances).
        self.target_window = None
        self.workdir = Path(tempfile.mkdtemp(prefix="lumatype-e2e-"))
        self.log = open(self.workdir / "session.log", "wb")
        self.env = None
        self.probe_server = None

    # ----- life -----

    def start(self):
        if self.program.optional and not self.program.runs():
            self.stop()
            raise unittest.SkipTest(f"{self.program.loader} does not run here "
                                    "(scripts/setup.sh tells what is missing)")
        try:
            self._start_x()
            self.env = wine_env(self.tools, self.display, self.workdir / "wine")
            self._start_wm()
            _copy_prefix(prepared_prefix(self.tools, self.env, self.dpi), self.env["WINEPREFIX"])
            if self.keyboard_layout:
                self._set_keyboard_layout(self.keyboard_layout)
            self._start_notepad()
        except BaseException:
            self.stop()
            raise
        return self

    def stop(self):
        """Ends everything this session started; safe to call more than once."""
        if self.probe_server is not None:
            self.probe_server.stop()
            self.probe_server = None
        wine = [p for n, p in self.procs if n in ("notepad", "lumatype")]
        others = [p for n, p in self.procs if n not in ("notepad", "lumatype")]
        for proc in reversed(wine):
            self._kill(proc)
        if self.env is not None:
            # Wine's own helpers (services, explorer) end with the wineserver.
            try:
                subprocess.run([self.tools.wineserver, "-k"], env=self.env, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except (subprocess.TimeoutExpired, OSError):
                pass
        for proc in reversed(others):  # openbox, then the X server
            self._kill(proc)
        self.procs.clear()
        self.lumatype = None
        if not self.log.closed:
            self.log.close()
        if os.environ.get("LUMA_E2E_KEEP_LOGS"):
            print(f"session files kept in {self.workdir}")
        else:
            shutil.rmtree(self.workdir, ignore_errors=True)

    @staticmethod
    def _kill(proc):
        if proc.poll() is not None:
            return
        try:
            proc.send_signal(signal.SIGTERM)
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        except OSError:
            pass

    def _spawn(self, name, args, env=None):
        proc = subprocess.Popen(args, env=env or self.env, stdin=subprocess.DEVNULL,
                                stdout=self.log, stderr=self.log)
        self.procs.append((name, proc))
        return proc

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        try:
            proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                 f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp", "-noreset"],
                stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                pass_fds=(write_fd,))
        finally:
            os.close(write_fd)
        self.procs.append(("Xvfb", proc))
        # Xvfb picks a free display number and writes it to the pipe.
        os.set_blocking(read_fd, False)
        number = b""

        def ready():
            nonlocal number
            if proc.poll() is not None:
                raise E2EError("Xvfb exited at start")
            try:
                chunk = os.read(read_fd, 64)
            except BlockingIOError:
                chunk = b""
            number += chunk
            return number.endswith(b"\n")

        try:
            wait_for(ready, 20, "Xvfb")
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()

    def _set_keyboard_layout(self, layout):
        """The X keymap (kept: the server runs with -noreset) and the locale
        of every Wine program from now on."""
        self._run(["setxkbmap", "-layout", layout, "-option", ""], timeout=30, check=True)
        symbols = self._run(["xkbcomp", "-w0", self.display, "-"], timeout=30).stdout
        if f"+{layout}+" not in symbols and f"+{layout}(" not in symbols:
            raise E2EError(f"the X keymap did not become {layout!r}")
        locale = LAYOUT_LOCALES[layout]
        self.env.update(LOCPATH=str(_compiled_locales(locale)), LC_ALL=locale)

    def _start_wm(self):
        self._spawn("openbox", ["openbox", "--sm-disable"])
        wait_for(lambda: self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   timeout=5).stdout.find("window id") >= 0,
                 20, "openbox")

    def _start_notepad(self):
        self._spawn("notepad", [self.tools.loader, "notepad"])
        wait_for(lambda: self.probe("window", "Notepad")[0] == 0, 60, "the Notepad window")
        try:
            wait_for(lambda: self.foreground_class() == "Notepad", 10,
                     "Notepad in the foreground")
        except E2EError:
            # A new window is not always given the foreground; ask for it once.
            self.probe("activate", "Notepad")
            wait_for(lambda: self.foreground_class() == "Notepad", 20,
                     "Notepad in the foreground")

    def _run(self, args, timeout=30, check=False, env=None):
        # Output goes through a file, not a pipe: a Wine program may start
        # Wine's own helpers, which inherit its handles and outlive it.
        with tempfile.TemporaryFile(dir=self.workdir) as out:
            try:
                proc = subprocess.Popen(args, env=env or self.env, stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=self.log)
            except OSError as error:
                raise E2EError(f"cannot start {args[0]}: {error}") from error
            try:
                returncode = proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired as error:
                self._kill(proc)
                raise E2EError(f"{' '.join(map(str, args))} timed out") from error
            out.seek(0)
            result = subprocess.CompletedProcess(args, returncode,
                                                 out.read().decode("utf-8", "replace"))
        if check and returncode != 0:
            raise E2EError(f"{' '.join(map(str, args))} failed: {returncode}")
        return result

    # ----- Lumatype -----

    def app_folder(self, exe=None):
        """A new folder with a copy of lumatype.exe: its settings file goes there."""
        source = Path(exe) if exe else self.program.build_dir / "lumatype.exe"
        if not source.exists():
            raise E2EError(f"{source} is not built")
        folder = Path(tempfile.mkdtemp(prefix="app-", dir=self.workdir))
        shutil.copy2(source, folder / "lumatype.exe")
        return folder

    def start_lumatype(self, exe=None, folder=None, args=(), wait=True):
        """Starts a fresh copy of lumatype.exe in a folder of its own, so that
        no settings file from an earlier run changes its start; or the copy in
        `folder`, with `args`. With wait=False it returns at once."""
        if folder is None:
            folder = self.app_folder(exe)
        target = Path(folder) / "lumatype.exe"
        self.lumatype_log = Path(tempfile.mkstemp(prefix="lumatype-", suffix=".log",
                                                  dir=self.workdir)[1])
        with open(self.lumatype_log, "wb") as log:
            self.lumatype = subprocess.Popen([self.program.loader, str(target), *map(str, args)],
                                             env=self.env, stdin=subprocess.DEVNULL, stdout=log,
                                             stderr=log)
        self.procs.append(("lumatype", self.lumatype))
        if not wait:
            return None
        # Generous: a 32-bit program under an emulator takes ~40 s to start.
        return wait_for(self._lumatype_window, 180, 'the window "Lumatype" (TMainForm)')

    def _lumatype_window(self):
        if self.lumatype is not None and self.lumatype.poll() is not None:
            output = self.lumatype_log.read_bytes().decode("utf-8", "replace")
            raise E2EError(f"lumatype.exe exited with {self.lumatype.returncode}; its output "
                           f"ends:\n{output[-3000:]}")
        if self.foreground_class() == "#32770":
            rc, info = self.probe_kv("foreground")
            raise E2EError(f"a message box came up instead: {info.get('title')!r}")
        rc, info = self.probe_kv("window", "TMainForm")
        if rc == 0 and info.get("visible") == "1" and info.get("title") == "Lumatype":
            return info
        return None

    def stop_lumatype(self):
        if self.lumatype is None:
            return
        if self.lumatype.poll() is None:
            self.probe("close", timeout=20)
            try:
                self.lumatype.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._kill(self.lumatype)
        self.procs = [(n, p) for n, p in self.procs if p is not self.lumatype]
        self.lumatype = None

    def window(self):
        rc, info = self.probe_kv("window", "TMainForm")
        if rc != 0:
            raise E2EError("no TMainForm window")
        return {k: (int(v) if k != "title" else v) for k, v in info.items()}

    def x_client_origin(self, win):
        """Where the X server shows the client area. The window manager draws
        its own frame and may nudge the window (e.g. 1 pixel up at the screen
        bottom) without Wine knowing, so pictures are located through X."""
        ids = self._run(["xdotool", "search", "--name", "^Lumatype$"]).stdout.split()
        for wid in ids:
            info = self._run(["xwininfo", "-id", wid]).stdout
            fields = {}
            for line in info.splitlines():
                name, sep, value = line.strip().partition(":")
                if sep:
                    fields[name] = value.strip()
            try:
                x = int(fields["Absolute upper-left X"])
                y = int(fields["Absolute upper-left Y"])
                w, h = int(fields["Width"]), int(fields["Height"])
            except (KeyError, ValueError):
                continue
            if (w, h) == (win["client_w"], win["client_h"]):
                return x, y
        return win["client_x"], win["client_y"]

    # ----- probe -----

    def probe(self, *args, timeout=30):
        probe = self.tools.build_dir / "probe.exe"
        if not probe.exists():
            raise E2EError(f"{probe} is not built")
        target = ("--hwnd", str(self.target_window)) if self.target_window else ()
        if self.probe_server is None:
            self.probe_server = ProbeServer([self.tools.loader, str(probe)], self.env, self.log)
        answer = self.probe_server.call([*target, *map(str, args)], timeout)
        if answer is not None:
            return answer
        # The server has ended (it is started again next time): this command alone.
        self.probe_server.stop()
        self.probe_server = None
        command = [self.tools.loader, str(probe), *target, *map(str, args)]
        result = self._run(command, timeout=timeout)
        if result.returncode == 1 and not result.stdout:
            # The probe says 1 only with its usage text, for a command line the
            # fixture never sends: a bare 1 is Wine failing to start it (seen
            # rarely on a loaded machine). Once more, then it counts.
            print(f"probe {' '.join(map(str, args))}: exit 1 without output, run again",
                  file=sys.stderr)
            result = self._run(command, timeout=timeout)
        return result.returncode, result.stdout

    def probe_kv(self, *args):
        rc, out = self.probe(*args)
        info = {}
        for line in out.splitlines():
            name, sep, value = line.partition("=")
            if sep:
                info[name] = value
        return rc, info

    def foreground_class(self):
        rc, info = self.probe_kv("foreground")
        return info.get("class") if rc == 0 else None

    def notepad_text(self):
        rc, out = self.probe("notepad-text")
        if rc != 0:
            raise E2EError(f"cannot read Notepad's text (probe status {rc})")
        return out

    def clear_notepad(self):
        self.probe("notepad-clear")
        wait_for(lambda: self.notepad_text() == "", 10, "Notepad to be empty")

    def notepad_in_front_and_empty(self):
        """Where each typing test starts: Notepad in the foreground (an
        earlier test may have left another window there), with no text."""
        if self.foreground_class() != "Notepad":
            self.probe("activate", "Notepad")
            wait_for(lambda: self.foreground_class() == "Notepad", 10,
                     "Notepad in the foreground")
        self.clear_notepad()

    def key_down(self, vk):
        rc, info = self.probe_kv("keystate", vk)
        return info.get("down") == "1"

    def wait_text(self, expected, timeout=10):
        """Waits for Notepad's text to become `expected`; returns the text seen last."""
        seen = []

        def check():
            seen.append(self.notepad_text())
            return seen[-1] == expected

        try:
            wait_for(check, timeout, f"Notepad text {expected!r}", interval=0.3)
        except E2EError:
            pass
        return seen[-1]

    # ----- pointer -----

    def xdotool(self, *args):
        self._run(["xdotool", *map(str, args)], timeout=20, check=True)

    def screen_point(self, design_x, design_y, win=None):
        win = win or self.window()
        x = win["client_x"] + design_x * win["client_w"] // DESIGN_W
        y = win["client_y"] + design_y * win["client_h"] // DESIGN_H
        return x, y

    def key_point(self, vk, win=None):
        x1, y1, x2, y2 = KEYS[vk]
        return self.screen_point((x1 + x2) // 2, (y1 + y2) // 2, win)

    # The short pauses below pace the input as a hand would, so that Wine sees
    # a move before a press and separate clicks; no test result waits on them.

    def move_pointer(self, x, y):
        # "mousemove --sync" waits for the pointer to move: not to where it is.
        if (x, y) != self.pointer:
            self.xdotool("mousemove", "--sync", x, y)
            self.pointer = (x, y)

    def click_at(self, x, y, button=1):
        self.move_pointer(x, y)
        time.sleep(0.05)
        self.xdotool("click", button)
        time.sleep(0.15)

    def click_key(self, vk, button=1, win=None):
        self.click_at(*self.key_point(vk, win), button=button)

    def type_keys(self, text):
        win = self.window()
        for ch in text:
            self.click_key(LETTERS[ch], win=win)

    def hold_key(self, vk, seconds):
        self.move_pointer(*self.key_point(vk))
        time.sleep(0.05)
        self.xdotool("mousedown", 1)
        time.sleep(seconds)
        self.xdotool("mouseup", 1)

    def drag(self, start, offset, steps=10):
        x, y = start
        dx, dy = offset
        self.move_pointer(x, y)
        time.sleep(0.05)
        self.xdotool("mousedown", 1)
        time.sleep(0.1)
        for step in range(1, steps + 1):
            self.xdotool("mousemove", x + dx * step // steps, y + dy * step // steps)
            self.pointer = (x + dx * step // steps, y + dy * step // steps)
            time.sleep(0.05)
        time.sleep(0.1)
        self.xdotool("mouseup", 1)

    def park_pointer(self):
        """Moves the pointer to the top-left corner, off the keyboard, so that no key is hot."""
        self.move_pointer(2, 2)

    def stable_text(self, timeout=10):
        """Notepad's text once it has stopped changing (two equal reads in a row)."""
        reads = [None]

        def read():
            reads.append(self.notepad_text())
            return reads[-2:]

        return poll(read, lambda last: last[0] == last[1], timeout, interval=0.3)[-1]

    # ----- screen -----

    def screenshot(self, path):
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run(["import", "-display", self.display, "-window", "root", str(path)],
                  timeout=30, check=True)
        return Image.load(path)

    def shoot(self, name):
        """The screen as ARTEFACTS/NAME.png and the keyboard window alone as
        NAME-window.png; returns the window and the screen's picture."""
        win = self.window()
        path = ARTEFACTS / f"{name}.png"
        image = self.screenshot(path)
        left, top = max(win["left"], 0), max(win["top"], 0)
        crop = f"{win['right'] - left}x{win['bottom'] - top}+{left}+{top}"
        subprocess.run(["convert", str(path), "-crop", crop, "+repage",
                        str(ARTEFACTS / f"{name}-window.png")], timeout=30, check=False)
        return win, image


class SessionTestCase(unittest.TestCase):
    """One display, window manager and Notepad per test class, stopped when
    the class is done; its cases must not depend on one another's leftovers
    (under test.sh they share it, run_case.py). Lumatype is started once for
    the class, or afresh for every test with fresh_lumatype, or by the tests
    themselves with start_lumatype False."""

    start_lumatype = True
    fresh_lumatype = False
    dpi = None  # the screen DPI of the class's own Wine prefix; None: Wine's 96
    keyboard_layout = None  # e.g. "de": the session's X keymap and Wine's layout

    @classmethod
    def setUpClass(cls):
        cls.session = Session(dpi=cls.dpi, keyboard_layout=cls.keyboard_layout)
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        if cls.start_lumatype and not cls.fresh_lumatype:
            cls.session.start_lumatype()

    def setUp(self):
        if self.fresh_lumatype:
            self.session.stop_lumatype()
            self.session.start_lumatype()

    def start(self, folder, *args):
        """Starts Lumatype from a program folder of its own, with these
        switches, the pointer parked away from it; its window."""
        self.session.start_lumatype(folder=folder, args=args)
        self.session.park_pointer()
        return self.session.window()

    def close(self):
        """Closes the keyboard as a user does and waits for the process to end."""
        s = self.session
        proc = s.lumatype
        s.stop_lumatype()
        self.assertEqual(proc.poll(), 0, "lumatype.exe did not end with exit code 0")


def ini_lines(folder):
    """The lines of the program's "Lumtyp.ini" in FOLDER."""
    return (folder / "Lumtyp.ini").read_bytes().decode("latin-1").split("\r\n")


def ini_pairs(folder):
    """Its name=value pairs, in their order."""
    return [tuple(line.split("=", 1)) for line in ini_lines(folder) if "=" in line]


def ini_values(folder):
    """Its values by name."""
    return dict(ini_pairs(folder))


class ProgramTestCase(SessionTestCase):
    """A class whose cases start the program themselves, each with Notepad in
    front and empty, and end with the program stopped and no button held."""

    start_lumatype = False

    def setUp(self):
        super().setUp()
        self.session.notepad_in_front_and_empty()

    def tearDown(self):
        self.session.stop_lumatype()
        self.session.xdotool("mouseup", 1)

    def command(self, wparam):
        """Posts a system-menu command to the keyboard, as its menu would."""
        rc, _ = self.session.probe("post", "TMainForm", WM_SYSCOMMAND, wparam)
        self.assertEqual(rc, 0)


class Image:
    """An RGB picture read through ImageMagick as binary PPM."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def load(cls, path):
        raw = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"],
                             capture_output=True, timeout=30, check=True).stdout
        fields, pos = [], 0
        while len(fields) < 4:
            while raw[pos:pos + 1].isspace():
                pos += 1
            if raw[pos:pos + 1] == b"#":
                pos = raw.index(b"\n", pos)
                continue
            end = pos
            while not raw[end:end + 1].isspace():
                end += 1
            fields.append(raw[pos:end])
            pos = end
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise E2EError("unexpected picture format")
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, raw[pos + 1:])

    def pixel(self, x, y):
        """Color at (x, y) as "#RRGGBB"."""
        i = (y * self.width + x) * 3
        r, g, b = self.data[i:i + 3]
        return f"#{r:02X}{g:02X}{b:02X}"


if __name__ == "__main__":
    # scripts/session.sh: "lumae2e.py prefix TARGET" makes TARGET a copy of
    # the test run's prepared prefix, for the build LUMA_BUILD_DIR names.
    if sys.argv[1:2] != ["prefix"] or len(sys.argv) != 3:
        sys.exit("usage: lumae2e.py prefix TARGET")
    tools = WineOfBuild(WineOfBuild(BUILD_DIR).tools_build)
    _copy_prefix(prepared_prefix(tools, wine_env(tools, os.environ.get("DISPLAY", ""), "")),
                 sys.argv[2])
