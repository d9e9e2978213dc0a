"""The full keyboard: chosen from the system menu (the command is posted from
outside, as Wine cannot read another process's system menu), its arrows,
Home, End and Delete in Notepad, the numeric pad with Num Lock on and off, a
restart that comes back as it was left, and the way back to Standard."""

import time
import unittest

from lumae2e import ARTEFACTS, WM_SYSCOMMAND, ProgramTestCase, also_32bit, ini_values, wait_for

SC_MAXIMIZE = 0xF030
# The system may set the low four bits of a command; they are passed here too.
FULL_KEYBOARD = 0x0410
WS_MAXIMIZE = 0x01000000
STANDARD_W, FULL_W, DESIGN_H = 441, 671, 181
VK_SHIFT, VK_CONTROL = 16, 17

# The keys of "Full" clicked here, by name: (virtual-key code, outline part).
# Delete's second part is Standard's top-right place, Enter's the pad's Enter.
FULL_KEYS = {
    "a": (65, 0), "b": (66, 0), "c": (67, 0), "e": (69, 0), "h": (72, 0), "o": (79, 0),
    "enter": (13, 0), "lshift": (160, 0), "lctrl": (162, 0), "delete-top-right": (46, 1),
    "home": (36, 0), "delete": (46, 0), "end": (35, 0),
    "up": (38, 0), "left": (37, 0), "right": (39, 0),
    "numlock": (144, 0), "pad7": (103, 0), "pad4": (100, 0),
    "pad1": (97, 0), "pad3": (99, 0), "pad+": (107, 0), "pad-enter": (13, 1),
}


class FullKeyboardTest(ProgramTestCase):
    # ----- helpers -----

    def switch(self, low_bits=0):
        """Posts "Full Keyboard" and waits for the window to take the other width."""
        s = self.session
        before = s.window()
        rc, _ = s.probe("post", "TMainForm", WM_SYSCOMMAND, FULL_KEYBOARD | low_bits)
        self.assertEqual(rc, 0)
        return wait_for(lambda: (lambda w: w if w["client_w"] != before["client_w"] else None)(
            s.window()), 20, "the window in the other width")

    def click(self, *names, win=None):
        s = self.session
        win = win or s.window()
        for name in names:
            vk, part = FULL_KEYS[name]
            s.click_at(*s.key_point(vk, win, layout="Full", part=part))

    def assertTyped(self, expected):
        s = self.session
        self.assertEqual(s.wait_text(expected), expected)
        self.assertEqual(s.foreground_class(), "Notepad", "Notepad lost the foreground")

    def client_picture(self, name):
        """The client area's pixels, pointer parked off the keyboard."""
        s = self.session
        s.park_pointer()
        time.sleep(0.5)
        win = s.window()
        ox, oy = s.x_client_origin(win)
        image = s.screenshot(ARTEFACTS / f"{name}.png")
        return [image.pixel(x, y) for y in range(oy, oy + win["client_h"], 3)
                for x in range(ox, ox + win["client_w"], 3)]

    # ----- cases -----

    @also_32bit
    def test_arrows_home_end_and_latched_shift_and_ctrl_move_the_caret(self):
        s = self.session
        folder = s.app_folder()
        standard = self.start(folder)
        self.assertEqual(standard["client_w"], STANDARD_W)
        win = self.switch(low_bits=0x3)
        self.assertEqual((win["client_w"], win["client_h"]), (FULL_W, DESIGN_H))
        wait_for(lambda: ini_values(folder).get("Keyboard") == "1", 10, "Keyboard=1 in the file")
        s.park_pointer()
        time.sleep(0.5)
        s.shoot("full-keyboard")

        self.click("a", "c", "left", "b", win=win)
        self.assertTyped("abc")
        self.click("end", "e", "home", "h", win=win)
        self.assertTyped("habce")
        # Shift latched for Home selects back to the line start; "o" replaces it.
        self.click("right", "right", "lshift", "home", "o", win=win)
        self.assertTyped("oce")
        self.assertFalse(s.key_down(VK_SHIFT), "Shift is still down")
        # Ctrl latched for End: the end of the text, not of the line.
        self.click("enter", "up", "lctrl", "end", "a", win=win)
        self.assertTyped("o\r\ncea")
        self.assertFalse(s.key_down(VK_CONTROL), "Ctrl is still down")
        self.close()

    def test_numeric_pad_with_num_lock_on_and_off_and_the_delete_keys(self):
        s = self.session
        self.start(s.app_folder())
        win = self.switch()
        # The keyboard follows the system's Num Lock: with it off the pad's 7
        # is Home and types nothing, and a click on Num Lock turns it on.
        self.click("pad7", win=win)
        if s.wait_text("7", timeout=3) == "":
            self.click("numlock", "pad7", win=win)
        self.click("pad+", "pad3", "pad-enter", "pad1", win=win)
        self.assertTyped("7+3\r\n1")
        # Num Lock clicked off: the pad's 4 is Left.
        self.click("numlock", "pad4", "e", win=win)
        self.assertTyped("7+3\r\ne1")
        # Delete deletes forward, in the navigation block and in Standard's place.
        self.click("delete", win=win)
        self.assertTyped("7+3\r\ne")
        self.click("left", "delete-top-right", win=win)
        self.assertTyped("7+3\r\n")
        self.assertEqual(s.probe_kv("keys-down")[1].get("down", ""), "")
        self.close()

    def test_a_restart_comes_back_full_and_switching_back_gives_standard_again(self):
        s = self.session
        folder = s.app_folder()
        self.start(folder)
        standard = self.client_picture("full-switch-standard")
        full = self.switch()
        self.assertEqual(s.probe_kv("move", 120, 300)[0], 0)
        left = s.window()
        self.close()
        self.assertEqual(ini_values(folder)["Keyboard"], "1")

        win = self.start(folder)
        self.assertEqual({k: win[k] for k in ("left", "top", "right", "bottom")},
                         {k: left[k] for k in ("left", "top", "right", "bottom")})
        self.assertEqual(win["client_w"], full["client_w"])
        # A latched Shift is released before the switch.
        self.click("lshift", win=win)
        self.assertTrue(s.key_down(VK_SHIFT))
        back = self.switch()
        self.assertFalse(s.key_down(VK_SHIFT), "Shift is still down after the switch")
        self.assertEqual((back["client_w"], back["client_h"]), (STANDARD_W, DESIGN_H))
        self.assertEqual(ini_values(folder)["Keyboard"], "0")
        self.assertEqual(self.client_picture("full-switch-back"), standard,
                         "Standard does not look as it did before the switch")

        # Maximised, it stays so and the keys fit the window.
        s.probe("post", "TMainForm", WM_SYSCOMMAND, SC_MAXIMIZE)
        maxed = wait_for(lambda: (lambda w: w if w["style"] & WS_MAXIMIZE else None)(s.window()),
                         20, "the window maximised")
        s.probe("activate", "Notepad")
        wait_for(lambda: s.foreground_class() == "Notepad", 10, "Notepad in front")
        self.assertEqual(s.probe("post", "TMainForm", WM_SYSCOMMAND, FULL_KEYBOARD)[0], 0)
        wait_for(lambda: ini_values(folder).get("Keyboard") == "1", 10, "Keyboard=1")
        after = s.window()
        self.assertTrue(after["style"] & WS_MAXIMIZE)
        self.assertEqual((after["client_w"], after["client_h"]),
                         (maxed["client_w"], maxed["client_h"]))
        self.click("pad-enter", "a", win=after)
        self.assertTyped("\r\na")
        self.close()


if __name__ == "__main__":
    unittest.main()
