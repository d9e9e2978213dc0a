"""A session of the end-to-end tests: a private X display with a window
manager, Wine's Notepad as the application being typed into, and
lumatype.exe, all under one private Wine prefix; the pointer driven as a hand
would, and the test classes built on a session.

The build under test is LUMA_BUILD_DIR (default build/win64); its wine.env,
written by CMake, names the Wine loader that runs its lumatype.exe. Notepad,
the probe, the keyboard model and the prefix come from the 64-bit build named
there (LUMA_WINE_TOOLS_BUILD), so the same tests drive the 32-bit program too.

Every wait has a timeout, every process started here is killed by pid when the
session stops (also when a test fails), and `wineserver -k` ends what Wine
itself started in the private prefix.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import pictures
from basics import (ARTEFACTS, BUILD_DIR, DESIGN_H, DESIGN_W, SCREEN_H, SCREEN_W,
                    WM_SYSCOMMAND, E2EError, poll, wait_for)
from keymodel import load_key_model
from probeclient import ProbeClient, key_values
from wineprefix import WineOfBuild, compiled_locales, copy_prefix, prepared_prefix, wine_env

# The letters type_keys types, by virtual-key code.
LETTERS = {"a": 65, "e": 69, "h": 72, "i": 73, "l": 76, "o": 79, "1": 49}
# Keyboard background: the strip between the right Shift key (ends at y 150)
# and the slider, which is at most 24 high at the bottom right.
BACKGROUND = (385, 151, 435, 156)

# The row of words above the keys: its height at the keys' design size, and
# its cells, side by side across the client area.
WORD_ROW_DESIGN_H = 30
WORD_ROW_CELLS = 5

# Keyboard layouts a session can run under, by X keymap name: the Unix locale
# Wine 8 takes the layout from (GetKeyboardLayout follows the locale, not X).
# It has to be a single-byte one: only then does Wine match the keys beyond
# ASCII (umlauts, accents) to its own layout tables.
LAYOUT_LOCALES = {"de": "de_DE.ISO-8859-1", "fr": "fr_FR.ISO-8859-1"}


def _exit_on_signal(signum, frame):
    # Turn a polite kill into SystemExit so that the cleanups still run.
    raise SystemExit(128 + signum)


for _signal in (signal.SIGTERM, signal.SIGHUP):
    signal.signal(_signal, _exit_on_signal)

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
        self.probe_client = None
        # Where the keys are, under this session's keyboard layout (keymodel.py).
        self.key_model = None
        # Whether the program was started with word prediction on: then the
        # row of words takes the top of the client area and the keys lie below.
        self.word_row = False

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
            copy_prefix(prepared_prefix(self.tools, self.env, self.dpi), self.env["WINEPREFIX"])
            if self.keyboard_layout:
                self._set_keyboard_layout(self.keyboard_layout)
            self._start_notepad()
            self.key_model = load_key_model(self)
        except BaseException:
            self.stop()
            raise
        return self

    def stop(self):
        """Ends everything this session started; safe to call more than once."""
        if self.probe_client is not None:
            self.probe_client.stop()
            self.probe_client = None
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
        self.env.update(LOCPATH=str(compiled_locales(locale)), LC_ALL=locale)

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

    def start_lumatype(self, exe=None, folder=None, args=(), wait=True, prediction=False):
        """Starts a fresh copy of lumatype.exe in a folder of its own, so that
        no settings file from an earlier run changes its start; or the copy in
        `folder`, with `args`. With wait=False it returns at once. With
        prediction, a folder without a settings file gets one that turns word
        prediction on, and the keys are looked for below the row of words."""
        if folder is None:
            folder = self.app_folder(exe)
        if prediction and not (Path(folder) / "Lumtyp.ini").exists():
            (Path(folder) / "Lumtyp.ini").write_bytes(b"[Main]\r\nPrediction=1\r\n")
        self.word_row = prediction
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
        return pictures.x_client_origin(self._run, win)

    # ----- probe -----

    def probe(self, *args, timeout=30):
        if self.probe_client is None:
            self.probe_client = ProbeClient(self.tools, self.env, self.log, self._run)
        target = ("--hwnd", str(self.target_window)) if self.target_window else ()
        return self.probe_client.call([*target, *map(str, args)], timeout)

    def probe_kv(self, *args):
        rc, out = self.probe(*args)
        return rc, key_values(out)

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

    def screen_point(self, design_x, design_y, win=None, design=(DESIGN_W, DESIGN_H)):
        """The screen pixel of a design point, on a layout of that design size."""
        win = win or self.window()
        x = win["client_x"] + design_x * win["client_w"] // design[0]
        y = win["client_y"] + design_y * win["client_h"] // design[1]
        return x, y

    def word_row_height(self, win, layout="Standard"):
        """The row of words' height in pixels; 0 without it. It has a key
        row's share of the client height, rounded as the program rounds."""
        if not self.word_row:
            return 0
        whole = self.key_model.layout(layout).height + WORD_ROW_DESIGN_H
        return (win["client_h"] * WORD_ROW_DESIGN_H + whole // 2) // whole

    def key_point(self, vk, win=None, layout="Standard", part=0):
        """The middle of (a part of) a key where the layout draws it, below
        the row of words when there is one."""
        keys = self.key_model.layout(layout)
        win = win or self.window()
        row = self.word_row_height(win, layout)
        x, y = keys.centre(vk, part)
        return (win["client_x"] + x * win["client_w"] // keys.width,
                win["client_y"] + row + y * (win["client_h"] - row) // keys.height)

    def cell_point(self, cell, win=None):
        """The middle of a cell of the row of words (0 is the leftmost)."""
        win = win or self.window()
        left = win["client_w"] * cell // WORD_ROW_CELLS
        right = win["client_w"] * (cell + 1) // WORD_ROW_CELLS
        return (win["client_x"] + (left + right) // 2,
                win["client_y"] + self.word_row_height(win) // 2)

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

    def click_cell(self, cell, button=1, win=None):
        """Chooses the word in a cell of the row of words."""
        self.click_at(*self.cell_point(cell, win), button=button)

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
        return pictures.screenshot(self._run, self.display, path)

    def shoot(self, name):
        """The screen as ARTEFACTS/NAME.png and the keyboard window alone as
        NAME-window.png; returns the window and the screen's picture."""
        win = self.window()
        path = ARTEFACTS / f"{name}.png"
        image = self.screenshot(path)
        pictures.crop_window(path, win, ARTEFACTS / f"{name}-window.png")
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

