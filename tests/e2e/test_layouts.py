"""Real German and French keyboard layouts under Wine, with Notepad: what each
character key shows is what it types, plain and with a right click (Shift),
and the keys sit where these layouts put them.

What a key shows comes from keymodel.exe: the program's own keyboard model
(the same code, built in the same order as the main window builds it) asked
in a process under the same locale and X keymap. That it is what the program
draws is checked, not assumed: the model's picture of the keyboard must equal
the program's window pixel for pixel. A probe that re-implemented the caption
rule beside the program could agree with itself while the program drew
something else; reading the real window's text back needs no such copy but
cannot be done (GDI text is not readable from outside).

Wine 8 cannot switch layouts at run time, translate AltGr, or combine dead
keys; those stay with the unit tests' fakes."""

import subprocess
import unicodedata

from lumae2e import ARTEFACTS, DESIGN_H, DESIGN_W, VK_SHIFT, Image, SessionTestCase

VK_LSHIFT = 160


class LayoutChecks:
    """The checks, run under the class's keyboard_layout; a subclass names
    the layout, its handle, the keys looked at by position, and its dead keys."""

    hkl = None
    # (design rectangle, plain, shifted): what the key there shows and types.
    positions = []
    dead_keys = {}  # vk: accent shown
    letter_e = 69

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.model = cls.session.key_model

    def setUp(self):
        s = self.session
        s.notepad_in_front_and_empty()

    def tearDown(self):
        self.session.park_pointer()

    # ----- helpers -----

    def click_rect(self, rect, button=1, win=None):
        x1, y1, x2, y2 = rect
        self.session.click_at(*self.session.screen_point((x1 + x2) // 2, (y1 + y2) // 2, win),
                              button=button)

    def typed(self, expected, timeout=15):
        s = self.session
        text = s.wait_text(expected, timeout)
        self.assertEqual(s.foreground_class(), "Notepad", "Notepad lost the foreground")
        return text

    def window_differences(self, name=None):
        """Pixels where the program's window differs from the model's picture,
        the slider's corner left out; with a name the window is kept as an
        artefact."""
        s = self.session
        s.park_pointer()
        win = s.window()
        self.assertEqual((win["client_w"], win["client_h"]), (DESIGN_W, DESIGN_H))
        rc, slider = s.probe_kv("slider")
        self.assertEqual(rc, 0)
        sl = int(slider["left"]) - win["client_x"]
        st = int(slider["top"]) - win["client_y"]
        ox, oy = s.x_client_origin(win)
        model = Image.load(self.model.picture)
        path = s.workdir / "screen.png"

        def differences():
            screen = s.screenshot(path)
            return [(x, y) for y in range(DESIGN_H) for x in range(DESIGN_W)
                    if not (x >= sl and y >= st)
                    and screen.pixel(ox + x, oy + y) != model.pixel(x, y)]

        # The window may still be painting a moment after the last click.
        found = differences()
        for _ in range(10):
            if not found:
                break
            found = differences()
        if name:
            ARTEFACTS.mkdir(parents=True, exist_ok=True)
            subprocess.run(["convert", str(path), "-crop", f"{DESIGN_W}x{DESIGN_H}+{ox}+{oy}",
                            "+repage", str(ARTEFACTS / f"{name}.png")], timeout=30, check=False)
        return found

    # ----- tests -----

    def test_keys_show_the_layout_and_a_dead_key_leaves_nothing_pending(self):
        m = self.model
        self.assertEqual(m.hkl, self.hkl)
        for rect, plain, shifted in self.positions:
            vk = m.at(rect)
            with self.subTest(position=rect):
                self.assertIsNotNone(vk, "no key drawn there")
                self.assertEqual((m.keys[vk]["plain"], m.keys[vk]["shifted"]), (plain, shifted))
        for vk, accent in self.dead_keys.items():
            self.assertEqual(m.keys[vk]["plain"], accent, f"dead key {vk}")
        differences = self.window_differences(f"layout-{self.keyboard_layout}")
        self.assertEqual(differences[:10], [],
                         f"{len(differences)} pixels of the window differ from the model's")

        # A dead key, then a letter. Wine composes nothing (its ToUnicodeEx
        # keeps no dead-key state) and Notepad gets the dead key's WM_DEADCHAR,
        # then the letter: what arrives is Wine's business, so only that the
        # letter arrives is checked. Lumatype's own part: every key is up
        # again, and no accent is pending in its translation state, or the
        # captions it reads afterwards (the Shift ones, first read when Shift
        # is latched below) would come out combined with it, and the window
        # would no longer equal the model's picture, in which the dead key
        # shows its accent and every other key its own character.
        s = self.session
        win = s.window()
        for vk, accent in self.dead_keys.items():
            with self.subTest(dead_key=vk):
                s.clear_notepad()
                rect = self.model.keys[vk]["rect"]
                self.click_rect(rect, 1, win)
                self.click_rect(self.model.keys[self.letter_e]["rect"], 1, win)
                text = s.stable_text()
                self.assertIn("e", unicodedata.normalize("NFD", text), repr(text))
                self.assertLessEqual(len(text), 2, repr(text))
                for code in (vk, self.letter_e, VK_SHIFT, VK_LSHIFT):
                    self.assertFalse(s.key_down(code), f"key {code} is still down")
                s.click_key(VK_LSHIFT, win=win)  # latched, then released
                s.click_key(VK_LSHIFT, win=win)
                self.assertFalse(s.key_down(VK_SHIFT))
                self.assertEqual(self.window_differences()[:10], [])

    def test_every_character_key_types_what_it_shows(self):
        s = self.session
        win = s.window()
        keys = [key for vk, key in sorted(self.model.keys.items()) if vk not in self.dead_keys]
        self.assertGreaterEqual(len(keys), 45)
        # A key that shows nothing (no character in this layout) types nothing.
        for button, level in ((1, "plain"), (3, "shifted")):
            s.clear_notepad()
            expected = ""
            for key in keys:
                self.click_rect(key["rect"], button, win)
                expected += key[level].strip()
            text = self.typed(expected)
            self.assertEqual(text, expected, f"{level}: keys in the order of their codes")
            self.assertFalse(s.key_down(VK_SHIFT), "Shift is still down")
        # Spot checks by position, independent of the model's placement.
        s.clear_notepad()
        for rect, plain, shifted in self.positions:
            self.click_rect(rect, 1, win)
            self.click_rect(rect, 3, win)
        expected = "".join(plain + shifted for _, plain, shifted in self.positions)
        self.assertEqual(self.typed(expected), expected)

# Design rectangles of the built-in layout, named by the US English key there.
RIGHT_OF_0 = (330, 30, 360, 60)
RIGHT_OF_P = (350, 60, 380, 90)
RIGHT_OF_L = (330, 90, 360, 120)
LEFT_OF_Z = (50, 120, 80, 150)
US_Y, US_Z = (200, 60, 230, 90), (80, 120, 110, 150)
US_Q, US_A = (50, 60, 80, 90), (60, 90, 90, 120)
US_2 = (60, 30, 90, 60)


class GermanLayoutTest(LayoutChecks, SessionTestCase):
    keyboard_layout = "de"
    hkl = "04070407"
    positions = [(RIGHT_OF_L, "ö", "Ö"), (RIGHT_OF_0, "ß", "?"), (RIGHT_OF_P, "ü", "Ü"),
                 (LEFT_OF_Z, "<", ">"), (US_Y, "z", "Z"), (US_Z, "y", "Y")]
    # Wine's numbers for the German dead keys: ^ left of 1, ´ right of ß.
    dead_keys = {192: "^", 187: "´"}


class FrenchLayoutTest(LayoutChecks, SessionTestCase):
    keyboard_layout = "fr"
    hkl = "040C040C"
    positions = [(US_Q, "a", "A"), (US_A, "q", "Q"), (US_2, "é", "2"), (US_Z, "w", "W")]
    dead_keys = {221: "^"}
