#!/usr/bin/env python3
"""Soak and load run of lumatype.exe under Wine, typing into Notepad through
the end-to-end fixture (tests/e2e/lumae2e.py):

1. clicks: a seeded random sequence of letters, digits, Space, Backspace,
   Shift and Ctrl latches, right clicks (Shift) and middle clicks (Ctrl);
   the text Notepad must end with is computed here. Ctrl only ever meets
   digits and letters that neither type nor start a Notepad command.
2. holds: keys held for some seconds each: the repeats arrive, the text is
   the one key, and nothing is down after each release.
3. resizes: the window through a few hundred sizes from tiny to the whole
   screen, a key clicked at every size that shows the keys; then the picture
   at the design size.

After each part: no key is reported down; the program's GDI and USER objects
and its private memory are compared between the early and the late reading.
Prints the figures and writes them to build/win64/artefacts/soak.txt;
exits non-zero when a check fails.
"""

import argparse
import random
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from lumae2e import ARTEFACTS, DESIGN_H, DESIGN_W, SCREEN_H, SCREEN_W, Session, wait_for  # noqa: E402
from test_drawing import REST_BORDER, border_points  # noqa: E402


# The keys clicked here: the modifiers by virtual-key code, the others by
# what they type (a digit or letter is its own code in upper case).
LSHIFT, RSHIFT, LCTRL, RCTRL = 160, 161, 162, 163
MODIFIERS = (LSHIFT, RSHIFT, LCTRL, RCTRL)
VK_OF_CHAR = {" ": 32, "\b": 8}
SHIFTED = dict(zip("1234567890", "!@#$%^&*()"))
DIGITS = "1234567890"
TYPING = "qwertyuiopasdfghjklzxcvbnm1234567890"
# With Ctrl, these type nothing and start nothing in Wine's Notepad (checked
# by hand: Ctrl+A selects, C/V/X/Z edit, I, J and M type, F, G, H, N, O, P, S
# open dialogs).
CTRL_SAFE = DIGITS + "qwertyudklb"
LEFT, MIDDLE, RIGHT = 1, 2, 3


def plan_clicks(rng, count):
    """[(key, button)] and the text after each click."""
    latched, text, clicks, texts = set(), [], [], []
    while len(clicks) < count:
        r = rng.random()
        if r < 0.12:
            vk = rng.choice(sorted(MODIFIERS))
            clicks.append((vk, rng.choice([LEFT, LEFT, LEFT, RIGHT, MIDDLE])))
            latched ^= {vk}
            texts.append("".join(text))
            continue
        button = LEFT if r < 0.86 else RIGHT if r < 0.94 else MIDDLE
        ctrl = bool(latched & {LCTRL, RCTRL}) or button == MIDDLE
        shift = bool(latched & {LSHIFT, RSHIFT}) or button == RIGHT
        if ctrl:
            key = rng.choice(DIGITS if shift else CTRL_SAFE)
        else:
            r = rng.random()
            key = "\b" if r < 0.12 else " " if r < 0.18 else rng.choice(TYPING)
        clicks.append((key, button))
        latched.clear()  # every latched key is released after the key
        if not ctrl:
            if key == "\b":
                if text:
                    text.pop()
            elif shift:
                text.append(SHIFTED.get(key, key.upper()))
            else:
                text.append(key)
        texts.append("".join(text))
    for vk in sorted(latched):  # nothing left latched at the end
        clicks.append((vk, LEFT))
        texts.append("".join(text))
    return clicks, texts


class Soak:
    def __init__(self, session, args):
        self.s = session
        self.args = args
        self.rng = random.Random(args.seed)
        self.failures = []
        self.lines = []

    # ----- helpers -----

    def say(self, line):
        print(line, flush=True)
        self.lines.append(line)

    def check(self, ok, what):
        self.say(f"  {'ok  ' if ok else 'FAIL'} {what}")
        if not ok:
            self.failures.append(what)
        return ok

    def point(self, key, win):
        """Where a key of the plan is on the screen, as the program lays it out."""
        vk = key if key in MODIFIERS else VK_OF_CHAR.get(key) or ord(key.upper())
        return self.s.key_point(vk, win)

    def run_clicks(self, clicks, win):
        """One xdotool run for a batch of clicks."""
        args = []
        for key, button in clicks:
            x, y = self.point(key, win)
            args += ["mousemove", x, y, "sleep", self.args.pause, "click", button,
                     "sleep", self.args.pause]
        self.s._run(["xdotool", *map(str, args)], timeout=30 + 2 * len(clicks), check=True)

    def keys_down(self):
        rc, info = self.s.probe_kv("keys-down")
        return info.get("down", "?") if rc == 0 else "?"

    def linux_pid(self):
        pid = self.s.lumatype.pid
        try:
            if b"lumatype.exe" in Path(f"/proc/{pid}/cmdline").read_bytes():
                return pid
        except OSError:
            pass
        for entry in Path("/proc").iterdir():
            try:
                if entry.name.isdigit() and (entry / "cmdline").read_bytes().rstrip(b"\0 ") \
                        .endswith(str(self.folder / "lumatype.exe").encode()):
                    return int(entry.name)
            except OSError:
                continue
        return None

    def resources(self):
        """GDI and USER objects (probe), private bytes: the probe's figure, or
        where Wine leaves it at 0 the private memory Linux counts for the process."""
        rc, info = self.s.probe_kv("resources", "TMainForm")
        figures = {"gdi": int(info.get("gdi", -1)), "user": int(info.get("user", -1)),
                   "private": int(info.get("private", 0))}
        if figures["private"] == 0 and self.pid:
            total = 0
            for line in Path(f"/proc/{self.pid}/smaps_rollup").read_text().splitlines():
                if line.startswith(("Private_Clean:", "Private_Dirty:", "SwapPss:")):
                    total += int(line.split()[1]) * 1024
            figures["private"] = total
        return figures

    def compare(self, part, first, last):
        kib = lambda v: f"{v / 1024:.0f} KiB"  # noqa: E731
        self.say(f"  {part}: GDI {first['gdi']} -> {last['gdi']}, USER {first['user']} -> "
                 f"{last['user']}, private {kib(first['private'])} -> {kib(last['private'])}")
        self.check(last["gdi"] <= first["gdi"], f"{part}: GDI objects flat")
        self.check(last["user"] <= first["user"], f"{part}: USER objects flat")
        growth = last["private"] - first["private"]
        self.check(growth <= self.args.memory_slack * 1024,
                   f"{part}: private memory grew {growth / 1024:+.0f} KiB "
                   f"(allowed {self.args.memory_slack} KiB)")

    def wait_text(self, expected, timeout=30):
        return self.s.wait_text(expected, timeout)

    def text_check(self, part, expected):
        seen = self.wait_text(expected)
        if seen == expected:
            return self.check(True, f"{part}: Notepad holds the expected {len(expected)} characters")
        at = next((i for i, (a, b) in enumerate(zip(seen, expected)) if a != b),
                  min(len(seen), len(expected)))
        return self.check(False, f"{part}: text differs at {at}: got {seen[at - 10:at + 20]!r}, "
                          f"expected {expected[at - 10:at + 20]!r} "
                          f"({len(seen)} vs {len(expected)} characters)")

    def no_key_down(self, part):
        down = self.keys_down()
        return self.check(down == "", f"{part}: no key reported down (down={down!r})")

    # ----- parts -----

    def start(self):
        s = self.s
        self.folder = s.app_folder()
        s.start_lumatype(folder=self.folder)
        s.park_pointer()
        self.pid = self.linux_pid()
        s.clear_notepad()

    def clicks(self):
        a = self.args
        s = self.s
        clicks, texts = plan_clicks(self.rng, a.clicks)
        self.say(f"clicks: {len(clicks)} (seed {a.seed}), checked every {a.check_every}")
        win = s.window()
        started = time.monotonic()
        first = last = None
        done = 0
        while done < len(clicks):
            end = min(done + a.check_every, len(clicks))
            for batch in range(done, end, 50):
                self.run_clicks(clicks[batch:min(batch + 50, end)], win)
            done = end
            if not self.text_check(f"after {done} clicks", texts[done - 1]):
                break
            figures = self.resources()
            self.say(f"  after {done} clicks: {figures}")
            if first is None and done >= min(1000, len(clicks)):
                first = figures
            last = figures
        elapsed = time.monotonic() - started
        self.say(f"  {done} clicks in {elapsed:.0f} s ({done / elapsed:.1f} per second), "
                 f"{len(texts[-1])} characters typed")
        self.no_key_down("clicks")
        if first and last:
            self.compare("clicks, first 1000 to last", first, last)
        self.s.clear_notepad()

    def holds(self):
        a = self.args
        s = self.s
        self.say(f"holds: {a.holds} of {a.hold_seconds} s")
        win = s.window()
        first = last = None
        repeats = []
        for i in range(a.holds):
            key = self.rng.choice(TYPING)
            shifted = i % 3 == 2
            s.clear_notepad()
            if shifted:
                self.run_clicks([(LSHIFT, LEFT)], win)
            x, y = self.point(key, win)
            s._run(["xdotool", *map(str, ("mousemove", x, y, "sleep", 0.1, "mousedown", 1,
                                          "sleep", a.hold_seconds, "mouseup", 1))],
                   timeout=a.hold_seconds + 30, check=True)
            time.sleep(0.5)
            text = s.notepad_text()
            char = SHIFTED.get(key, key.upper()) if shifted else key
            down = self.keys_down()
            repeats.append(len(text) - 1)
            if set(text) != {char} or len(text) < 2 or down != "":
                self.check(False, f"hold {i + 1} of {key!r}{' with Shift' if shifted else ''}: "
                           f"{len(text)} characters {set(text)}, down={down!r}")
            figures = self.resources()
            first = first or figures
            last = figures
        self.say(f"  repeats per hold: min {min(repeats)}, max {max(repeats)}, "
                 f"total {sum(repeats)}")
        self.check(min(repeats) > 0, "holds: the repeats arrive in every hold")
        self.no_key_down("holds")
        self.compare("holds, first to last", first, last)
        s.clear_notepad()

    def resizes(self):
        a = self.args
        s = self.s
        self.say(f"resizes: {a.resizes}")
        rc, work = s.probe_kv("workarea")
        full_w = int(work["right"]) - int(work["left"])
        full_h = int(work["bottom"]) - int(work["top"])
        s.probe("set-client-size", DESIGN_W, DESIGN_H)
        before = self.resources()
        sizes = [(24, 10), (full_w, full_h)]
        while len(sizes) < a.resizes:
            w = int(24 * (full_w / 24) ** self.rng.random())  # as many small sizes as large
            h = int(10 * (full_h / 10) ** self.rng.random())
            sizes.append((w, h))
        expected = []
        clicked = 0
        s.probe("move", 0, 0)
        for w, h in sizes:
            rc, info = s.probe_kv("set-client-size", w, h)
            if rc != 0:
                self.check(False, f"resize to {w} x {h}: probe status {rc}")
                break
            win = {k: int(v) for k, v in info.items()}
            if not (0 <= win["client_x"] < 100 and 0 <= win["client_y"] < 100):
                s.probe("move", 0, 0)  # pushed off by a size larger than the screen
                continue
            if win["client_w"] < 120 or win["client_h"] < 50:
                continue
            key = self.rng.choice(TYPING)
            x, y = self.point(key, win)
            if not (0 <= x < SCREEN_W and 0 <= y < SCREEN_H):
                continue
            self.run_clicks([(key, LEFT)], win)
            expected.append(key)
            clicked += 1
        self.check(s.lumatype.poll() is None, "resizes: the program still runs")
        self.say(f"  {len(sizes)} sizes from 24 x 10 to {full_w} x {full_h}, {clicked} clicked")
        self.text_check("resizes", "".join(expected))
        self.no_key_down("resizes")
        s.probe("set-client-size", DESIGN_W, DESIGN_H)
        s.probe("move", 100, 100)
        s.park_pointer()
        time.sleep(1)
        self.compare("resizes, design size before and after", before, self.resources())
        self.picture()

    def picture(self):
        s = self.s
        win = s.window()
        image = s.screenshot(ARTEFACTS / "soak-end.png")
        ox, oy = s.x_client_origin(win)
        keys = s.key_model.layout()
        wrong = [what for what, x, y in border_points(keys, win["client_w"], win["client_h"])
                 if image.pixel(ox + x, oy + y) != REST_BORDER]
        self.check((win["client_w"], win["client_h"]) == (DESIGN_W, DESIGN_H) and not wrong,
                   f"picture at {win['client_w']} x {win['client_h']}: "
                   f"{len(wrong)} key border pixels wrong")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--clicks", type=int, default=2000)
    parser.add_argument("--check-every", type=int, default=500)
    parser.add_argument("--holds", type=int, default=16)
    parser.add_argument("--hold-seconds", type=float, default=5)
    parser.add_argument("--resizes", type=int, default=200)
    parser.add_argument("--seed", type=int, default=10)
    parser.add_argument("--pause", type=float, default=0.03,
                        help="seconds after each pointer move and each click")
    parser.add_argument("--memory-slack", type=int, default=1024,
                        help="KiB of private memory a part may gain")
    args = parser.parse_args()

    session = Session()
    soak = Soak(session, args)
    started = time.monotonic()
    try:
        session.start()
        soak.start()
        soak.clicks()
        if args.holds:
            soak.holds()
        if args.resizes:
            soak.resizes()
        session.stop_lumatype()
        soak.no_key_down("after the close")
    finally:
        session.stop()
    soak.say(f"total {time.monotonic() - started:.0f} s; "
             f"{'all checks passed' if not soak.failures else f'{len(soak.failures)} FAILED'}")
    ARTEFACTS.mkdir(parents=True, exist_ok=True)
    (ARTEFACTS / "soak.txt").write_text("\n".join(soak.lines) + "\n")
    return 1 if soak.failures else 0


if __name__ == "__main__":
    sys.exit(main())
