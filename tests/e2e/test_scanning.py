"""Typing with one switch under Wine: scanning turned on in the settings file
or by its menu commands (posted), the switch keys pressed through the X
server, as a switch interface's keys reach Wine; a row, then a key of it,
picked by Space types the key into Notepad, and no space reaches it; Shift
then a letter types a capital; the back step returns to the rows; in step
mode Enter steps and Space picks; with scanning off Space types again; the
scanning values survive a restart.

Where the highlight is cannot be asked of the program: it is read from the
screen, as a frame in the highlight's color around a row, a key, a row's
back step (dashed) or everything (stopped), at the places the program's own
keyboard model gives. The screen is read straight from the X server (a
keyboard's worth in a millisecond or so), so a press follows the highlight
reaching the wanted item within a small part of the 0.5 s step."""

import time
import unittest

from lumae2e import (VK_SHIFT, ProgramTestCase, XScreen, also_32bit, ini_values, scale,
                     wait_for)

SCAN_KEYS = 0x0500
SCAN_TIME_HALF_SECOND = 0x0510
SCAN_STEP = 0x0580
VK_LSHIFT = 160
VK_E, VK_H, VK_I, VK_O = 69, 72, 73, 79
# The frame's colors that stand out from the faces of the default scheme,
# each with the color of the thin line inside it (black or white, whichever
# stands out from the frame).
FRAME_COLORS = {"#BE00BE": "#FFFFFF", "#FFD200": "#000000"}
# Presses this soon after a pick are ignored (the default lockout): a press
# follows the one before by more, and a little more for the two to reach
# Wine some milliseconds apart.
LOCKOUT_S = 0.4
STOPPED = ("stopped", None)


def scan_rows(layout):
    """The rows the scan steps through in a keyboard of one block, top to
    bottom, as the program groups them: a row is the band of the highest key
    left, and every key whose outline's centre lies inside that band joins it,
    once. Each row is a list of (vk, design box), left to right."""
    parts = sorted(((vk, box) for vk in sorted(layout.outlines)
                    for box in layout.outlines[vk]), key=lambda part: part[1][1] + part[1][3])
    bands = []
    for vk, box in parts:
        centre = box[1] + box[3]
        if not bands or centre >= 2 * bands[-1][0][3] or centre <= 2 * bands[-1][0][1]:
            bands.append((box, []))
        if vk not in (key for key, _ in bands[-1][1]):
            bands[-1][1].append((vk, box))
    return [sorted(keys, key=lambda key: key[1][0]) for _, keys in bands]


def around(boxes):
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


class HighlightOnScreen:
    """Where the highlight is, read from the keyboard's client area: a frame
    runs from the outline box's corners out to one pixel past its right and
    bottom edges, so its outermost pixels lie on the box's own edges."""

    def __init__(self, session):
        win = session.window()
        layout = session.key_model.layout()
        self.origin = session.x_client_origin(win)
        self.size = (win["client_w"], win["client_h"])
        self.rows = scan_rows(layout)

        def client(box):
            return (scale(box[0], win["client_w"], layout.width),
                    scale(box[1], win["client_h"], layout.height),
                    scale(box[2], win["client_w"], layout.width),
                    scale(box[3], win["client_h"], layout.height))

        self.row_boxes = [client(around([box for _, box in row])) for row in self.rows]
        self.key_boxes = {vk: client(box) for row in self.rows for vk, box in row}
        self.everything = around(self.row_boxes)
        self.screen = XScreen(session.display)

    def row_of(self, vk):
        return next(i for i, row in enumerate(self.rows) if vk in (key for key, _ in row))

    @staticmethod
    def edge(box):
        """Points on the outermost pixels of a frame around box."""
        left, top, right, bottom = box
        points = []
        for n in range(1, 6):
            x = left + (right - left) * n // 6
            y = top + (bottom - top) * n // 6
            points += [(x, top), (x, bottom), (left, y), (right, y)]
        return points

    def where(self):
        """("row", index), ("back", index of its row), ("key", vk), STOPPED
        or None: nothing recognised (no scan, or a frame in the making)."""
        part = self.screen.grab(*self.origin, *self.size)
        for frame, inner in FRAME_COLORS.items():
            def seen(box):
                return {part.pixel(x, y) for x, y in self.edge(box)}

            if seen(self.everything) == {frame}:
                return STOPPED
            for index, box in enumerate(self.row_boxes):
                colors = seen(box)
                if colors == {frame}:
                    return ("row", index)
                if colors == {frame, inner}:
                    return ("back", index)
            for vk, box in self.key_boxes.items():
                if seen(box) == {frame}:
                    return ("key", vk)
        return None

    def close(self):
        self.screen.close()


class ScanningTest(ProgramTestCase):

    def tearDown(self):
        if getattr(self, "highlight", None) is not None:
            self.highlight.close()
            self.highlight = None
        super().tearDown()

    def start_scanning(self, folder=None, **values):
        """The program started from a folder whose settings file holds these
        values; the highlight's reader for it."""
        s = self.session
        folder = folder or s.app_folder()
        if values:
            lines = "".join(f"{name}={value}\r\n" for name, value in values.items())
            (folder / "Lumtyp.ini").write_bytes(f"[Main]\r\n{lines}".encode())
        self.start(folder)
        self.highlight = HighlightOnScreen(s)
        return folder

    def press(self, key):
        """A key pressed and released on the X server's keyboard."""
        self.session.xdotool("key", key)
        self.last_press = time.monotonic()

    def past_lockout(self):
        return time.monotonic() - getattr(self, "last_press", 0) >= LOCKOUT_S

    def wait_highlight(self, wanted, what, timeout=10):
        """Waits for the highlight to be where wanted(place) holds."""
        seen = []
        try:
            wait_for(lambda: seen.append(self.highlight.where()) or wanted(seen[-1]), timeout,
                     what, interval=0.01)
        except AssertionError:
            self.fail(f"the highlight was last on {seen[-1]}, not on {what}")

    def pick(self, wanted, timeout=30):
        """Space pressed as soon as the automatic scan highlights what is
        wanted; a scan that stopped is started again by the switch."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            last = self.highlight.where()
            # The first item after a pick is lit at once, and for longer
            # than the lockout.
            if last == wanted and self.past_lockout():
                self.press("space")
                return
            if last == STOPPED and self.past_lockout():
                self.press("space")
            time.sleep(0.01)
        self.fail(f"the highlight never came to {wanted} (last on {last})")

    def step_to(self, wanted, limit=30):
        """Enter pressed until the step scan highlights what is wanted; each
        step seen on the screen before the next."""
        here = None
        for _ in range(limit):
            wait_for(self.highlight.where, 10, "a highlight", interval=0.01)
            here = self.highlight.where()
            if here == wanted:
                return
            wait_for(self.past_lockout, 10, "the lockout's end", interval=0.01)
            self.press("Return")
            wait_for(lambda: self.highlight.where() not in (here, None), 10,
                     f"a step from {here}", interval=0.01)
        self.fail(f"{limit} steps never came to {wanted} (last on {here})")

    def type_by_steps(self, vk, shoot=None):
        """Steps to the key's row, picks it, steps to the key and picks it;
        with shoot, pictures NAME-row and NAME-key of the highlight."""
        h = self.highlight
        self.step_to(("row", h.row_of(vk)))
        if shoot:
            self.session.shoot(f"{shoot}-row")
        self.press("space")
        self.step_to(("key", vk))
        if shoot:
            self.session.shoot(f"{shoot}-key")
        self.press("space")

    def assertTyped(self, expected):
        s = self.session
        self.assertEqual(s.wait_text(expected), expected)
        # Nothing more comes, no space nor line the switches were pressed as.
        self.assertEqual(s.stable_text(), expected)
        self.assertEqual(s.foreground_class(), "Notepad", "Notepad lost the foreground")

    # ----- cases -----

    def test_space_picks_the_row_then_the_key_and_no_space_reaches_notepad(self):
        self.start_scanning(ScanKeys=1, ScanTime=500)
        h = self.highlight
        row = h.row_of(VK_H)
        self.pick(("row", row))
        self.wait_highlight(lambda place: place in [("key", vk) for vk, _ in h.rows[row]],
                            "a key of the row")
        self.pick(("key", VK_H))
        self.assertTyped("h")
        self.close()

    def test_shift_then_a_letter_by_scanning_types_a_capital(self):
        s = self.session
        self.start_scanning(ScanKeys=1, ScanTime=500)
        h = self.highlight
        self.pick(("row", h.row_of(VK_LSHIFT)))
        self.pick(("key", VK_LSHIFT))
        wait_for(lambda: s.key_down(VK_SHIFT), 10, "Shift latched by the pick")
        self.pick(("row", h.row_of(VK_I)))
        self.pick(("key", VK_I))
        self.assertTyped("I")
        wait_for(lambda: not s.key_down(VK_SHIFT), 10, "Shift up after the letter")
        self.close()

    def test_the_back_step_returns_to_the_rows(self):
        self.start_scanning(ScanKeys=1, ScanTime=500)
        h = self.highlight
        row = h.row_of(VK_H)
        self.pick(("row", row))
        self.pick(("back", row))
        # Up on the row it left, the rows scanned again.
        self.wait_highlight(lambda place: place and place[0] == "row", "a row")
        self.pick(("row", h.row_of(VK_O)))
        self.pick(("key", VK_O))
        self.assertTyped("o")
        self.close()

    @also_32bit
    def test_step_mode_enter_steps_and_space_picks(self):
        folder = self.start_scanning(ScanKeys=1)
        self.command(SCAN_STEP)
        wait_for(lambda: ini_values(folder).get("ScanMode") == "1", 10, "ScanMode=1")
        # The new mode starts at the top.
        self.wait_highlight(lambda place: place == ("row", 0), "the top row")
        self.type_by_steps(VK_E, shoot="scan-highlight")
        self.assertTyped("e")
        self.close()

    def test_with_scanning_switched_off_space_types_again(self):
        folder = self.start_scanning(ScanKeys=1, ScanTime=500)
        self.wait_highlight(lambda place: place is not None, "any item")
        self.command(SCAN_KEYS)
        wait_for(lambda: ini_values(folder).get("ScanKeys") == "0", 10, "ScanKeys=0")
        wait_for(lambda: self.highlight.where() is None, 10, "no highlight", interval=0.05)
        self.press("h")
        self.press("space")
        self.press("i")
        self.assertTyped("h i")
        self.close()

    def test_the_scanning_values_survive_a_restart(self):
        folder = self.start_scanning()
        self.assertIsNone(self.highlight.where(), "scanning is on at first")
        self.command(SCAN_KEYS)
        self.command(SCAN_TIME_HALF_SECOND)
        self.command(SCAN_STEP)
        wait_for(lambda: ini_values(folder).get("ScanMode") == "1", 10, "ScanMode=1")
        self.close()
        values = ini_values(folder)
        self.assertEqual({name: values.get(name) for name in ("ScanKeys", "ScanTime", "ScanMode")},
                         {"ScanKeys": "1", "ScanTime": "500", "ScanMode": "1"})

        self.highlight.close()
        self.start_scanning(folder)
        # Scanning on, in step mode: nothing moves but by Enter.
        self.wait_highlight(lambda place: place == ("row", 0), "the top row")
        self.type_by_steps(VK_O)
        self.assertTyped("o")
        self.close()


if __name__ == "__main__":
    unittest.main()
