"""Typing without a button: Hover Click turned on from outside (Wine cannot
read another process's system menu, so the command is posted), keys clicked
by resting the pointer on them, once per visit, Shift by hover; a Shift held
down long enough locks; Hover Click and its time survive a restart."""

import time
import unittest

from lumae2e import VK_SHIFT, ProgramTestCase, ini_values, wait_for

HOVER_CLICK = 0x0200
HOVER_TIME_HALF_SECOND = 0x0210
VK_LSHIFT = 160
HOVER_SECONDS = 0.5
VK_B, VK_C, VK_D = 66, 67, 68


class HoverTest(ProgramTestCase):

    def rest_on(self, vk):
        self.session.move_pointer(*self.session.key_point(vk))

    def leave_keyboard(self):
        # Wine tells a window that the pointer left it only from a timer of
        # its own (400 ms, slower on a loaded machine): a return before that
        # would read as a rest that never ended.
        self.session.park_pointer()
        time.sleep(2)

    def assertTyped(self, expected):
        s = self.session
        self.assertEqual(s.wait_text(expected), expected)
        self.assertEqual(s.foreground_class(), "Notepad", "Notepad lost the foreground")

    def test_resting_clicks_once_per_visit_with_shift_and_survives_a_restart(self):
        s = self.session
        folder = s.app_folder()
        self.start(folder)
        self.command(HOVER_CLICK)
        self.command(HOVER_TIME_HALF_SECOND)
        wait_for(lambda: ini_values(folder).get("HoverTime") == "500", 10, "HoverTime=500")
        self.assertEqual(ini_values(folder).get("HoverClick"), "1")

        self.rest_on(65)
        self.assertTyped("a")
        # Resting on three times as long clicks no more.
        time.sleep(3 * HOVER_SECONDS)
        self.assertEqual(s.stable_text(), "a")
        self.leave_keyboard()
        self.rest_on(65)
        self.assertTyped("aa")

        self.rest_on(VK_LSHIFT)
        wait_for(lambda: s.key_down(VK_SHIFT), 10, "Shift down by hover")
        self.rest_on(VK_B)
        self.assertTyped("aaB")
        wait_for(lambda: not s.key_down(VK_SHIFT), 10, "Shift up after the key")

        s.park_pointer()
        self.close()
        values = ini_values(folder)
        self.assertEqual((values.get("HoverClick"), values.get("HoverTime")), ("1", "500"))
        s.clear_notepad()
        self.start(folder)
        self.rest_on(65)
        self.assertTyped("a")
        s.park_pointer()
        self.close()

    def test_a_held_shift_locks_until_it_is_clicked(self):
        s = self.session
        self.start(s.app_folder())
        s.hold_key(VK_LSHIFT, 1.0)
        wait_for(lambda: s.key_down(VK_SHIFT), 10, "Shift down after the hold")
        s.click_key(VK_C)
        s.click_key(VK_D)
        self.assertTyped("CD")
        self.assertTrue(s.key_down(VK_SHIFT), "the locked Shift went up after a key")
        s.click_key(VK_LSHIFT)
        wait_for(lambda: not s.key_down(VK_SHIFT), 10, "Shift up after its click")
        s.click_key(VK_C)
        self.assertTyped("CDc")
        s.park_pointer()
        self.close()


if __name__ == "__main__":
    unittest.main()
