"""The window: top-most, never activated by a click, placed on the work-area
bottom, and faded by the transparency slider."""

import unittest

from lumae2e import BACKGROUND, SessionTestCase, also_32bit

WS_EX_TOPMOST = 0x00000008
WS_EX_NOACTIVATE = 0x08000000


class WindowTest(SessionTestCase):
    def setUp(self):
        super().setUp()
        self.assertEqual(self.session.foreground_class(), "Notepad",
                         "Notepad must be in the foreground before the test")

    @also_32bit
    def test_placement_on_work_area_bottom_centred(self):
        rc, wa = self.session.probe_kv("workarea")
        self.assertEqual(rc, 0)
        wa = {k: int(v) for k, v in wa.items()}
        win = self.session.window()
        width = win["right"] - win["left"]
        self.assertEqual(win["bottom"], wa["bottom"], f"outer rect {win}, work area {wa}")
        self.assertEqual(win["left"], (wa["right"] - width) // 2, f"outer rect {win}, work area {wa}")
        self.assertEqual((win["client_w"], win["client_h"]), (441, 181))

    @also_32bit
    def test_topmost_and_not_activating(self):
        win = self.session.window()
        self.assertEqual(win["topmost"], 1)
        self.assertEqual(win["exstyle"] & (WS_EX_TOPMOST | WS_EX_NOACTIVATE),
                         WS_EX_TOPMOST | WS_EX_NOACTIVATE)

    def test_clicks_leave_notepad_in_foreground(self):
        s = self.session
        win = s.window()
        x1, y1, x2, y2 = BACKGROUND
        places = {
            "Esc": s.key_point(27, win),
            "A": s.key_point(65, win),
            "space bar": s.key_point(32, win),
            "keyboard background": s.screen_point((x1 + x2) // 2, (y1 + y2) // 2, win),
            "top-left client corner": (win["client_x"] + 1, win["client_y"] + 1),
            "Esc, right click": s.key_point(27, win),
        }
        for name, (x, y) in places.items():
            with self.subTest(place=name):
                s.click_at(x, y, button=3 if "right click" in name else 1)
                self.assertEqual(s.foreground_class(), "Notepad")
        s.park_pointer()

    def test_slider_fades_the_window(self):
        s = self.session
        # (slider request, expected position, layered, alpha)
        cases = [(254, 254, 1, 254), (255, 255, 0, -1), (100, 100, 1, 100),
                 (5, 20, 1, 20), (255, 255, 0, -1)]
        for request, position, layered, alpha in cases:
            with self.subTest(slider=request):
                rc, out = s.probe_kv("set-slider", request)
                self.assertEqual(rc, 0, "no trackbar in the window")
                self.assertEqual(int(out["position"]), position)
                win = s.window()
                self.assertEqual(win["layered"], layered)
                self.assertEqual(win["alpha"], alpha)
        self.assertEqual(s.foreground_class(), "Notepad")


if __name__ == "__main__":
    unittest.main()
