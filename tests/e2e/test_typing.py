"""Typing into Notepad by clicking keys: letters, the latched Shift, right
click, Backspace, Enter, Caps Lock, auto-repeat, dragging the window, and no
key left down when the keyboard is closed. Notepad keeps the foreground."""

import unittest

from lumae2e import BACKGROUND, VK_SHIFT, E2EError, SessionTestCase, also_32bit, poll, wait_for

VK_BACK, VK_RETURN, VK_CAPITAL, VK_LSHIFT = 8, 13, 20, 160


class TypingTest(SessionTestCase):
    # Started in setUp, and again after a test that closes it.
    start_lumatype = False
    start_error = None

    def setUp(self):
        s = self.session
        if self.start_error:
            self.fail(f"Lumatype did not start: {self.start_error}")
        if s.lumatype is None or s.lumatype.poll() is not None:
            s.lumatype = None
            try:
                s.start_lumatype()
            except E2EError as error:
                type(self).start_error = str(error)
                raise
        s.notepad_in_front_and_empty()

    def tearDown(self):
        self.session.park_pointer()

    def assertTyped(self, expected, timeout=10):
        self.assertEqual(self.session.wait_text(expected, timeout), expected)
        self.assertEqual(self.session.foreground_class(), "Notepad",
                         "Notepad lost the foreground")

    @also_32bit
    def test_letters(self):
        self.session.type_keys("hello")
        self.assertTyped("hello")

    @also_32bit
    def test_left_shift_latches_for_one_key(self):
        s = self.session
        s.click_key(VK_LSHIFT)
        s.type_keys("hi")
        self.assertTyped("Hi")
        self.assertFalse(s.key_down(VK_SHIFT), "Shift is still down after the key")

    @also_32bit
    def test_right_click_adds_shift(self):
        s = self.session
        s.click_key(49, button=3)
        s.click_key(49)
        self.assertTyped("!1")
        self.assertFalse(s.key_down(VK_SHIFT))

    @also_32bit
    def test_backspace_deletes(self):
        s = self.session
        s.type_keys("hel")
        s.click_key(VK_BACK)
        self.assertTyped("he")

    @also_32bit
    def test_enter_starts_a_new_line(self):
        s = self.session
        s.type_keys("a")
        s.click_key(VK_RETURN)
        s.type_keys("e")
        self.assertTyped("a\r\ne")

    def test_caps_lock_on_then_off(self):
        s = self.session
        s.click_key(VK_CAPITAL)
        try:
            s.type_keys("a")
            self.assertTyped("A")
        finally:
            s.click_key(VK_CAPITAL)
        s.type_keys("a")
        self.assertTyped("Aa")

    @also_32bit
    def test_holding_a_key_repeats(self):
        s = self.session
        s.hold_key(65, 1.5)
        text = s.stable_text()
        self.assertEqual(set(text), {"a"}, f"typed {text!r}")
        # One key-down at the press, then the repeats.
        self.assertGreater(len(text) - 1, 20, f"{len(text)} a's after a hold of 1.5 s")
        self.assertEqual(s.foreground_class(), "Notepad")

    def test_dragging_the_background_moves_the_window(self):
        s = self.session
        before = s.window()
        x1, y1, x2, y2 = BACKGROUND
        start = s.screen_point((x1 + x2) // 2, (y1 + y2) // 2, before)
        s.drag(start, (-150, -120))
        after = poll(s.window, lambda w: w["left"] < before["left"] - 100
                     and w["top"] < before["top"] - 80, 10)
        self.assertLess(after["left"], before["left"] - 100, f"before {before}, after {after}")
        self.assertLess(after["top"], before["top"] - 80, f"before {before}, after {after}")
        self.assertEqual(s.foreground_class(), "Notepad")
        self.assertEqual(s.notepad_text(), "", "the drag typed something")

    def test_closing_with_shift_latched_leaves_shift_up(self):
        s = self.session
        s.click_key(VK_LSHIFT)
        wait_for(lambda: s.key_down(VK_SHIFT), 5, "Shift down after the click")
        rc, out = s.probe_kv("close")
        self.assertEqual(out.get("closed"), "1", "the window did not close")
        try:
            s.lumatype.wait(timeout=15)
        except Exception as error:  # noqa: BLE001
            raise E2EError("lumatype.exe did not exit after its window closed") from error
        self.assertFalse(s.key_down(VK_SHIFT), "Shift stays down after the close")
        self.assertFalse(s.key_down(VK_LSHIFT), "left Shift stays down after the close")
        s.xdotool("key", "a")
        self.assertTyped("a")


if __name__ == "__main__":
    unittest.main()
