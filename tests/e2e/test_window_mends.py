"""The window's extended style keeps a taskbar button without taking the
foreground; a background drag lasts while the button is held, however far one
pointer step jumps; losing the mouse capture releases a held key."""

import time
import unittest

from lumae2e import BACKGROUND, E2EError, SessionTestCase, wait_for

WS_EX_TOPMOST = 0x00000008
WS_EX_APPWINDOW = 0x00040000
WS_EX_NOACTIVATE = 0x08000000
WM_CAPTURECHANGED = 0x0215
VK_A = 65


class WindowMendsTest(SessionTestCase):
    def setUp(self):
        s = self.session
        s.notepad_in_front_and_empty()

    def tearDown(self):
        self.session.xdotool("mouseup", 1)
        self.session.park_pointer()

    def test_app_window_style_and_clicks_leave_notepad_in_foreground(self):
        s = self.session
        wanted = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW
        self.assertEqual(s.window()["exstyle"] & wanted, wanted)
        s.type_keys("a")
        self.assertEqual(s.wait_text("a"), "a")
        self.assertEqual(s.foreground_class(), "Notepad")

    def test_fast_drag_toward_each_edge_moves_the_window(self):
        s = self.session
        # (edge, window position before, first step): each first step lands
        # well outside the window before it can follow.
        cases = [("left", (780, 300), (-600, 0)), ("right", (40, 300), (400, 0)),
                 ("top", (400, 600), (0, -400)), ("bottom", (400, 80), (0, 400))]
        for edge, (left, top), (dx, dy) in cases:
            with self.subTest(edge=edge):
                rc, _ = s.probe_kv("move", left, top)
                self.assertEqual(rc, 0)
                before = s.window()
                x1, y1, x2, y2 = BACKGROUND
                x, y = s.screen_point((x1 + x2) // 2, (y1 + y2) // 2, before)
                s.xdotool("mousemove", "--sync", x, y)
                time.sleep(0.05)
                s.xdotool("mousedown", 1)
                time.sleep(0.1)
                sx, sy = (dx > 0) - (dx < 0), (dy > 0) - (dy < 0)
                steps = [(x + dx, y + dy), (x + dx + 20 * sx, y + dy + 20 * sy),
                         (x + dx + 40 * sx, y + dy + 40 * sy)]
                for px, py in steps:
                    s.xdotool("mousemove", px, py)
                    time.sleep(0.1)
                s.xdotool("mouseup", 1)
                moved_x, moved_y = dx + 40 * sx, dy + 40 * sy

                seen = []

                def followed():
                    seen.append(s.window())
                    return (abs(seen[-1]["left"] - before["left"] - moved_x) <= 2
                            and abs(seen[-1]["top"] - before["top"] - moved_y) <= 2)

                try:
                    wait_for(followed, 10, "the window to follow the drag", interval=0.3)
                except E2EError:
                    self.fail(f"dragged by ({moved_x}, {moved_y}) from {before['left']},"
                              f"{before['top']}; the window is at {seen[-1]['left']},"
                              f"{seen[-1]['top']}")
                self.assertEqual(s.foreground_class(), "Notepad")
                self.assertEqual(s.notepad_text(), "", "the drag typed something")

    def test_losing_the_capture_releases_a_held_key(self):
        s = self.session
        s.xdotool("mousemove", "--sync", *s.key_point(VK_A))
        time.sleep(0.05)
        s.xdotool("mousedown", 1)
        # Repeating: more than the first key-down has arrived.
        wait_for(lambda: len(s.notepad_text()) > 3, 10, "the held key to repeat")
        rc, _ = s.probe_kv("send", "TMainForm", WM_CAPTURECHANGED, 0, 0)
        self.assertEqual(rc, 0)
        lengths = []

        def stopped():
            lengths.append(len(s.notepad_text()))
            return len(lengths) >= 2 and lengths[-1] == lengths[-2]

        wait_for(stopped, 10, "Notepad's text to stop growing", interval=0.5)
        self.assertFalse(s.key_down(VK_A), "A is still down after the capture was lost")
        s.xdotool("mouseup", 1)
        self.assertEqual(set(s.notepad_text()), {"a"})
        self.assertEqual(s.foreground_class(), "Notepad")


if __name__ == "__main__":
    unittest.main()
