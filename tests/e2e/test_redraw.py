"""Hovers, presses and releases copy only the keys they change to the screen:
after a run of them the window must show exactly what a full redraw shows,
with no stale pixel left of an earlier look. The full redraws come from
"Change Colors": one while a key is held and hot, then seven, which step
through the schemes back to the same one;
and under Wine, where every process runs at one integrity level, the
keyboard never says it cannot type into the window in front."""

import time
import unittest

from lumae2e import ARTEFACTS, LETTERS, ProgramTestCase, ini_pairs, wait_for

CHANGE_COLORS = 1028
VK_E, VK_H, VK_BACK, VK_ENTER = 69, 72, 8, 13


class RedrawTest(ProgramTestCase):
    def client_pixels(self, name):
        """The client area's pixels, row by row, with the pointer off the window."""
        s = self.session
        s.park_pointer()
        time.sleep(0.3)  # the leave notice and its copy
        win, image = s.shoot(name)
        ox, oy = s.x_client_origin(win)
        return win, [[image.pixel(ox + x, oy + y) for x in range(win["client_w"])]
                     for y in range(win["client_h"])]

    def hover(self, vk):
        s = self.session
        s.move_pointer(*s.key_point(vk))
        time.sleep(0.1)

    def change_colors(self, folder, scheme):
        self.command(CHANGE_COLORS)
        wait_for(lambda: ("Colors", str(scheme)) in ini_pairs(folder), 10,
                 f"Colors={scheme} in the file")

    def test_hovers_presses_and_releases_leave_the_picture_of_a_full_redraw(self):
        s = self.session
        folder = s.app_folder()
        win = self.start(folder)
        self.assertEqual(win["title"], "Lumatype")

        # Ordinary keys, a right click (Shift latched: full redraws between
        # partial copies), Backspace, Enter.
        s.type_keys("hello")
        s.click_key(LETTERS["a"], button=3)
        s.click_key(VK_BACK)
        s.click_key(VK_ENTER)
        # A full redraw with a key held down and hot: what it showed must
        # give way to the rest look wherever the later copies reach.
        s.move_pointer(*s.key_point(VK_H))
        time.sleep(0.1)
        s.xdotool("mousedown", 1)
        self.change_colors(folder, 2)
        s.xdotool("mouseup", 1)
        # Neighbours and keys far apart, in and out of the window, a held key.
        for vk in (65, 72, 76, 13, 27, 49, 69, 73, 79, 8, 32, 76, 65):
            self.hover(vk)
        s.park_pointer()
        self.hover(13)
        s.hold_key(VK_E, 0.3)
        s.click_key(LETTERS["o"])
        for vk in (73, 79, 8, 73):
            self.hover(vk)
        s.stable_text()
        self.assertEqual(s.window()["title"], "Lumatype")
        _, after_input = self.client_pixels("redraw-after-input")

        for scheme in (3, 4, 5, 6, 7, 1, 2):
            self.change_colors(folder, scheme)
        time.sleep(0.5)  # the last redraw reaches the screen
        _, redrawn = self.client_pixels("redraw-full")

        stale = [(x, y, after_input[y][x], redrawn[y][x])
                 for y in range(len(redrawn)) for x in range(len(redrawn[y]))
                 if after_input[y][x] != redrawn[y][x]]
        self.assertEqual(stale[:10], [],
                         f"{len(stale)} pixels differ from the full redraw (x, y, shown, "
                         f"redrawn); see {ARTEFACTS}/redraw-after-input-window.png and "
                         f"redraw-full-window.png")
        self.close()

if __name__ == "__main__":
    unittest.main()
