"""The end-to-end fixture: a private X display with a window manager, Wine's
Notepad as the application being typed into, and lumatype.exe, all under one
private Wine prefix.

Every wait has a timeout, every process started here is killed by pid when the
session stops (also when a test fails), and `wineserver -k` ends what Wine
itself started in the private prefix.
"""

import atexit
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from fractions import Fraction
from pathlib import Path

SOURCE_DIR = Path(os.environ.get("LUMA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
BUILD_DIR = Path(os.environ.get("LUMA_BUILD_DIR", SOURCE_DIR / "build" / "win64"))
ARTEFACTS = BUILD_DIR / "artefacts"
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
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


class E2EError(AssertionError):
    pass


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


_shared_prefix = None


def _prefix():
    """One private Wine prefix per test process: its first start takes ~10 s,
    later sessions reuse it."""
    global _shared_prefix
    if _shared_prefix is None:
        root = Path(os.environ.get("LUMA_E2E_TMP", tempfile.gettempdir()))
        root.mkdir(parents=True, exist_ok=True)
        _shared_prefix = Path(tempfile.mkdtemp(prefix="lumatype-e2e-wine-", dir=root))
        atexit.register(_remove_prefix, _shared_prefix)
    return _shared_prefix


def _remove_prefix(prefix):
    env = dict(os.environ, WINEPREFIX=str(prefix))
    try:
        subprocess.run([WINESERVER, "-k"], env=env, timeout=20,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except (subprocess.TimeoutExpired, OSError):
        pass
    shutil.rmtree(prefix, ignore_errors=True)


class Session:
    """Xvfb + openbox + Notepad (+ Lumatype on demand) on a display of its own."""

    def __init__(self):
        self.procs = []  # (name, Popen), killed in reverse order at stop
        self.display = None
        self.lumatype = None
        # A window handle that stands for its class in every probe (two instances).
        self.target_window = None
        self.workdir = Path(tempfile.mkdtemp(prefix="lumatype-e2e-"))
        self.log = open(self.workdir / "session.log", "wb")
        self.env = None

    # ----- life -----

    def start(self):
        try:
            self._start_x()
            self.env = dict(os.environ, DISPLAY=self.display, WINEPREFIX=str(_prefix()),
                            WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
            self.env.pop("WAYLAND_DISPLAY", None)
            self._start_wm()
            self._start_notepad()
        except BaseException:
            self.stop()
            raise
        return self

    def stop(self):
        """Ends everything this session started; safe to call more than once."""
        wine = [p for n, p in self.procs if n in ("notepad", "lumatype")]
        others = [p for n, p in self.procs if n not in ("notepad", "lumatype")]
        for proc in reversed(wine):
            self._kill(proc)
        if self.env is not None:
            # Wine's own helpers (services, explorer) end with the wineserver.
            try:
                subprocess.run([WINESERVER, "-k"], env=self.env, timeout=20,
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

    def _start_wm(self):
        self._spawn("openbox", ["openbox", "--sm-disable"])
        wait_for(lambda: self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   timeout=5).stdout.find("window id") >= 0,
                 20, "openbox")

    def _init_prefix(self):
        # Create the prefix before anything else runs in it: programs started
        # together in a new prefix race over its creation.
        marker = Path(self.env["WINEPREFIX"]) / ".lumatype-ready"
        if marker.exists():
            return
        self._run([WINE, "wineboot", "-i"], timeout=180)
        # A crashing program should end, not wait behind Wine's crash dialog.
        self._run([WINE, "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
                   "/t", "REG_DWORD", "/d", "0", "/f"], timeout=60)
        self._run([WINESERVER, "-w"], timeout=60)
        marker.touch()

    def _start_notepad(self):
        self._init_prefix()
        self._spawn("notepad", [WINE, "notepad"])
        wait_for(lambda: self.probe("window", "Notepad")[0] == 0, 60, "the Notepad window")
        try:
            wait_for(lambda: self.foreground_class() == "Notepad", 10,
                     "Notepad in the foreground")
        except E2EError:
            # A new window is not always given the foreground; ask for it once.
            self.probe("activate", "Notepad")
            wait_for(lambda: self.foreground_class() == "Notepad", 20,
                     "Notepad in the foreground")

    def _run(self, args, timeout=30, check=False):
        # Output goes through a file, not a pipe: a Wine program may start
        # Wine's own helpers, which inherit its handles and outlive it.
        with tempfile.TemporaryFile(dir=self.workdir) as out:
            try:
                proc = subprocess.Popen(args, env=self.env, stdin=subprocess.DEVNULL,
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
        source = Path(exe) if exe else BUILD_DIR / "lumatype.exe"
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
            self.lumatype = subprocess.Popen([WINE, str(target), *map(str, args)], env=self.env,
                                             stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        self.procs.append(("lumatype", self.lumatype))
        if not wait:
            return None
        return wait_for(self._lumatype_window, 60, 'the window "Lumatype" (TMainForm)')

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
        target = ("--hwnd", str(self.target_window)) if self.target_window else ()
        result = self._run([WINE, str(BUILD_DIR / "probe.exe"), *target, *map(str, args)],
                           timeout=timeout)
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

    def click_at(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", x, y)
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
        self.xdotool("mousemove", "--sync", *self.key_point(vk))
        time.sleep(0.05)
        self.xdotool("mousedown", 1)
        time.sleep(seconds)
        self.xdotool("mouseup", 1)
        time.sleep(0.2)

    def drag(self, start, offset, steps=10):
        x, y = start
        dx, dy = offset
        self.xdotool("mousemove", "--sync", x, y)
        time.sleep(0.05)
        self.xdotool("mousedown", 1)
        time.sleep(0.1)
        for step in range(1, steps + 1):
            self.xdotool("mousemove", x + dx * step // steps, y + dy * step // steps)
            time.sleep(0.05)
        time.sleep(0.1)
        self.xdotool("mouseup", 1)
        time.sleep(0.3)

    def park_pointer(self):
        """Moves the pointer to the top-left corner, off the keyboard, so that no key is hot."""
        self.xdotool("mousemove", "--sync", 2, 2)
        time.sleep(0.3)

    # ----- screen -----

    def screenshot(self, path):
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run(["import", "-display", self.display, "-window", "root", str(path)],
                  timeout=30, check=True)
        return Image.load(path)


class SessionTestCase(unittest.TestCase):
    """One display, window manager and Notepad per test class, stopped when
    the class is done; Lumatype started too unless start_lumatype is False."""

    start_lumatype = True

    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        if cls.start_lumatype:
            cls.session.start_lumatype()


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
