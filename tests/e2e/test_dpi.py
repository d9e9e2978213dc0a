"""At 150 %: lumatype.exe in a Wine prefix whose screen has 144 DPI
(LogPixels=144 under HKCU\\Control Panel\\Desktop, set before the prefix's
first program starts), with a picture at 100 % to compare.

What Wine 8 does at 144 DPI, measured with a small program of its own: it
treats every program as per-monitor DPI aware, whether its manifest says so
or not (the window's awareness context reads "per monitor", and
SetProcessDpiAwarenessContext fails as already set). GetDpiForWindow,
GetDpiForSystem and LOGPIXELSX/Y of the screen and of memory DCs all give 144.
Wine scales no window and stretches no bitmap: a window gets the pixel size it
asks for, the frame grows (caption 28 pixels instead of 19), and fonts given in
points come out 1.5 times as tall. So a program that ignores the DPI keeps a
441 x 181 keyboard with labels too big for their keys; this one sizes itself.
Wine sends no WM_DPICHANGED (one screen, one DPI); the Win32 tests send it.
"""

import time
import unittest

from lumae2e import Session, SessionTestCase, scale
from test_drawing import REST_BORDER, border_points

VK_ESCAPE = 27


def shoot(session, name):
    """The pictures of the keyboard at rest: the pointer parked off it first."""
    session.park_pointer()
    time.sleep(0.5)
    return session.shoot(name)


def escape_ink_height(session, win, image):
    """Height in pixels of the Esc key's caption: the rows inside the key's
    border that hold pixels far from the key face's color."""
    w, h = win["client_w"], win["client_h"]
    ox, oy = session.x_client_origin(win)
    keys = session.key_model.layout()
    x1, y1, x2, y2 = keys.rect(VK_ESCAPE)
    left, right = ox + scale(x1, w, keys.width) + 3, ox + scale(x2, w, keys.width) - 3
    top, bottom = oy + scale(y1, h, keys.height) + 3, oy + scale(y2, h, keys.height) - 3
    colors = {}
    for y in range(top, bottom):
        for x in range(left, right):
            colors[image.pixel(x, y)] = colors.get(image.pixel(x, y), 0) + 1
    face = max(colors, key=colors.get)

    def far(color):
        return sum(abs(int(color[i:i + 2], 16) - int(face[i:i + 2], 16)) for i in (1, 3, 5)) > 150

    rows = [y for y in range(top, bottom)
            if any(far(image.pixel(x, y)) for x in range(left, right))]
    return rows[-1] - rows[0] + 1 if rows else 0


class At150PercentTest(SessionTestCase):
    dpi = 144

    def setUp(self):
        self.assertEqual(self.session.foreground_class(), "Notepad",
                         "Notepad must be in the foreground before the test")

    def test_1_default_client_area_and_the_windows_dpi(self):
        s = self.session
        win = s.window()
        self.assertEqual((win["client_w"], win["client_h"]), (662, 272))
        rc, dpi = s.probe_kv("dpi", "TMainForm")
        self.assertEqual((rc, dpi), (0, {"window": "144", "screen": "144"}))
        # Still on the work area's bottom, centred.
        rc, wa = s.probe_kv("workarea")
        self.assertEqual(win["bottom"], int(wa["bottom"]))
        self.assertEqual(win["left"], (int(wa["right"]) - (win["right"] - win["left"])) // 2)
        # The slider: as wide as the right Shift key, 36 (24 at 96 DPI) high.
        rc, slider = s.probe_kv("slider")
        self.assertEqual((int(slider["right"]) - int(slider["left"]),
                          int(slider["bottom"]) - int(slider["top"])), (90, 36))

    def test_2_clicks_type_into_notepad_which_keeps_the_foreground(self):
        s = self.session
        s.clear_notepad()
        s.type_keys("hello")
        self.assertEqual(s.wait_text("hello"), "hello")
        self.assertEqual(s.foreground_class(), "Notepad")
        s.park_pointer()

    def test_3_keys_and_labels_drawn_at_150_percent(self):
        s = self.session
        win, image = shoot(s, "screen-150pct")
        w, h = win["client_w"], win["client_h"]
        ox, oy = s.x_client_origin(win)
        wrong = [f"{what} at ({x},{y}): {image.pixel(ox + x, oy + y)}"
                 for what, x, y in border_points(s.key_model.layout(), w, h)
                 if image.pixel(ox + x, oy + y) != REST_BORDER]
        self.assertEqual(wrong, [], f"{len(wrong)} border pixels are not {REST_BORDER}")
        at150 = escape_ink_height(s, win, image)

        # The same picture at 100 %, in a session of Wine's own 96 DPI.
        reference = Session()
        try:
            reference.start()
            reference.start_lumatype()
            win100, image100 = shoot(reference, "screen-100pct")
            self.assertEqual((win100["client_w"], win100["client_h"]), (441, 181))
            at100 = escape_ink_height(reference, win100, image100)
        finally:
            reference.stop()
        self.assertGreater(at100, 4, "no Esc caption at 100 %")
        self.assertTrue(1.3 <= at150 / at100 <= 1.7,
                        f"Esc caption {at150} pixels tall at 150 %, {at100} at 100 %")


if __name__ == "__main__":
    unittest.main()
