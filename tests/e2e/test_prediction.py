"""Word prediction under Wine: the row of words above the keys, turned on in
the settings file, chosen by clicking its cells, typing into Notepad (and
Wordpad): the word and a space, a capital after a latched Shift, the space
taken back before a comma, a click in the text starting the word afresh, German words and their capitals under a German
layout, a word learned by typing it twice and offered after a restart, and
nothing offered or learned in a password field, be it an edit's style or its
accessible object that says so.

What the row shows cannot be read from outside (GDI text); a case clicks a
cell and reads what it typed. What the program should offer is read from its
own word tables (data/words)."""

import time
import unicodedata

from lumae2e import SOURCE_DIR, E2EError, ProgramTestCase, also_32bit, poll, wait_for

VK_LSHIFT = 160
VK_SPACE = 32
LEARNED_WORDS = "Lumatype.words"
WORDPAD = r"C:\Program Files\Windows NT\Accessories\wordpad.exe"
# Typed first where a word should not start a sentence: the first word
# typed into an empty text is offered with a capital.
LEAD = "so "
# A word no table holds, and one more for the password field.
NEW_WORD = "zqxjk"
SECRET_WORD = "xqzvy"


def folded(word):
    """The word without regard to case and accents, as the program compares."""
    return "".join(c for c in unicodedata.normalize("NFD", word.lower())
                   if not unicodedata.combining(c))


def table_words(language):
    """The words of a language's table, the most frequent first."""
    lines = (SOURCE_DIR / "data" / "words" / f"{language}.tsv").read_text("utf-8").splitlines()
    return [line.split("\t")[0] for line in lines if line and not line.startswith("#")]


def first_offer(words, prefix):
    """The table's most frequent word that begins with prefix and is longer:
    the most likely offer when nothing has been learned."""
    for word in words:
        if folded(word).startswith(folded(prefix)) and len(word) > len(prefix):
            return word
    return None


def cell_of(words, typed, word, cells=5):
    """The cell that holds word once typed is typed letter by letter, when
    nothing has been learned: each letter fills the row with the most frequent
    matches, but a word still matching keeps the cell it had."""
    row = [None] * cells
    for length in range(1, len(typed) + 1):
        prefix = folded(typed[:length])
        matches = [w for w in words if folded(w).startswith(prefix) and folded(w) != prefix]
        row = [w if w in matches else None for w in row]
        fresh = iter(w for w in matches if w not in row)
        row = [w if w is not None else next(fresh, None) for w in row]
    return row.index(word)


class PredictionChecks:
    """Shared by the sessions of both layouts: typing by what the keys show,
    starting with prediction on, reading what was typed."""

    def start_predicting(self, folder=None):
        s = self.session
        folder = folder or s.app_folder()
        s.start_lumatype(folder=folder, prediction=True)
        s.park_pointer()
        return folder

    def type_text(self, text, win=None):
        """Clicks the keys that show these characters (space: the space bar)."""
        s = self.session
        win = win or s.window()
        shows = {key["plain"]: vk for vk, key in s.key_model.keys.items()}
        for ch in text:
            vk = VK_SPACE if ch == " " else shows.get(ch)
            if vk is None:
                raise E2EError(f"no key shows {ch!r} in this layout")
            s.click_key(vk, win=win)

    def click_every_cell(self, win):
        """Where no word should be offered: a cell holding one would type it."""
        for cell in range(5):
            self.session.click_cell(cell, win=win)

    def assertTyped(self, expected, timeout=15):
        s = self.session
        self.assertEqual(s.wait_text(expected, timeout), expected)
        self.assertEqual(s.foreground_class(), "Notepad", "Notepad lost the foreground")

    def assertTextBox(self, window_class, box_classes, expected):
        """The text of a text box of another program, once it is expected."""
        def text():
            for box in box_classes:
                rc, out = self.session.probe("text", window_class, box)
                if rc == 0:
                    return out
            return None

        self.assertEqual(poll(text, lambda seen: seen == expected, 15), expected)
        self.assertEqual(self.session.foreground_class(), window_class,
                         f"{window_class} lost the foreground")


class PredictionTest(PredictionChecks, ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.words = table_words("en")
        cls.wo_word = first_offer(cls.words, "wo")
        cls.wo_cell = cell_of(cls.words, "wo", cls.wo_word)

    @also_32bit
    def test_a_cell_types_the_most_frequent_word_and_a_space_with_a_capital_first(self):
        s = self.session
        self.start_predicting()
        win = s.window()
        self.type_text("wo", win)
        s.click_cell(self.wo_cell, win=win)
        capitalised = self.wo_word[0].upper() + self.wo_word[1:]
        self.assertTyped(capitalised + " ")
        self.type_text("wo", win)
        # The row with its words, as an artefact (word-row-window.png); the
        # pointer away long enough for the key under it to be drawn plain.
        s.park_pointer()
        time.sleep(1)
        s.shoot("word-row")
        s.click_cell(self.wo_cell, win=win)
        self.assertTyped(f"{capitalised} {self.wo_word} ")

    @also_32bit
    def test_a_latched_shift_capitalises_and_a_comma_takes_the_space_back(self):
        s = self.session
        self.start_predicting()
        win = s.window()
        self.type_text(LEAD, win)
        s.click_key(VK_LSHIFT, win=win)
        self.type_text("wo", win)
        s.click_cell(self.wo_cell, win=win)
        capitalised = self.wo_word[0].upper() + self.wo_word[1:]
        self.assertTyped(f"{LEAD}{capitalised} ")
        self.assertFalse(s.key_down(VK_LSHIFT), "Shift is still down after the word")
        self.type_text(",", win)
        self.assertTyped(f"{LEAD}{capitalised},")
        # Only right after a chosen word: a typed space stays.
        self.type_text(" wo", win)
        s.click_cell(self.wo_cell, win=win)
        self.type_text(" ,", win)
        self.assertTyped(f"{LEAD}{capitalised}, {self.wo_word}  ,")

    def test_a_click_in_the_text_starts_the_word_afresh(self):
        s = self.session
        self.start_predicting()
        win = s.window()
        self.type_text(LEAD + "wo", win)
        self.assertTyped(LEAD + "wo")
        # The caret to the start of the text, by a click there.
        rc, notepad = s.probe_kv("window", "Notepad")
        self.assertEqual(rc, 0)
        s.click_at(int(notepad["client_x"]) + 3, int(notepad["client_y"]) + 3)
        time.sleep(1.5)  # the keyboard looks at the caret three times a second
        self.type_text("r", win)
        word = first_offer(self.words, "r")
        s.click_cell(cell_of(self.words, "r", word), win=win)
        # Nothing is known before the caret now: a sentence starts.
        self.assertTyped(f"{word[0].upper()}{word[1:]} {LEAD}wo")

    def test_a_word_typed_twice_is_offered_after_a_restart(self):
        s = self.session
        self.assertIsNone(first_offer(self.words, NEW_WORD[:2]), "the table offers one")
        folder = self.start_predicting()
        self.type_text(f"{NEW_WORD} {NEW_WORD} ")
        self.assertTyped(f"{NEW_WORD} {NEW_WORD} ")
        self.close()
        self.assertIn(NEW_WORD, (folder / LEARNED_WORDS).read_text("utf-8"))

        self.start_predicting(folder)
        s.notepad_in_front_and_empty()
        self.type_text(LEAD + NEW_WORD[:2])
        s.click_cell(0)  # the only word that begins so
        self.assertTyped(f"{LEAD}{NEW_WORD} ")

    def test_a_password_field_gets_no_words_and_teaches_none(self):
        s = self.session
        folder = self.start_predicting()
        # An edit with the password style, and one without it that only its
        # accessible object marks as a password, as a field a program draws.
        for field_kind in ([], ["drawn"]):
            with self.subTest(field=field_kind or "style"):
                field = s._spawn("password", [s.tools.loader, s.tools.build_dir / "probe.exe",
                                              "password-window", *field_kind])
                self.addCleanup(s._kill, field)
                wait_for(lambda: s.foreground_class() == "LumaProbePassword", 30,
                         "the password window in front")
                time.sleep(1)  # the keyboard looks at the focused control three times a second
                win = s.window()
                self.type_text(f"{SECRET_WORD} {SECRET_WORD} {LEAD}wo", win)
                self.click_every_cell(win)
                self.type_text("1", win)  # after what a cell would have typed
                self.assertTextBox("LumaProbePassword", ["Edit"],
                                   f"{SECRET_WORD} {SECRET_WORD} {LEAD}wo1")
                s.probe("close", "LumaProbePassword")
                wait_for(lambda: s.foreground_class() != "LumaProbePassword", 30,
                         "the password window gone")
        with self.subTest(field="drawn, a password once the focus moved inside its window"):
            field = s._spawn("password", [s.tools.loader, s.tools.build_dir / "probe.exe",
                                          "password-window", "drawn-later"])
            self.addCleanup(s._kill, field)
            wait_for(lambda: s.foreground_class() == "LumaProbePassword", 30,
                     "the password window in front")

            def asked():
                return s.probe("text", "LumaProbePassword", "Static")[1]
            wait_for(lambda: asked().startswith("asked ") and asked() != "asked 0", 30,
                     "the field asked about")
            before = asked()
            s.probe("post", "LumaProbePassword", "0x8001")  # it says focus, as a page's field
            wait_for(lambda: asked() != before, 30, "the field asked about again")
            time.sleep(1)  # the answer comes back to the keyboard
            win = s.window()
            self.type_text(f"{SECRET_WORD} {SECRET_WORD} {LEAD}wo", win)
            self.click_every_cell(win)
            self.type_text("1", win)
            self.assertTextBox("LumaProbePassword", ["Edit"],
                               f"{SECRET_WORD} {SECRET_WORD} {LEAD}wo1")
            s.probe("close", "LumaProbePassword")
        self.close()
        learned = folder / LEARNED_WORDS
        if learned.exists():
            self.assertNotIn(SECRET_WORD, learned.read_text("utf-8"))

        self.start_predicting(folder)
        s.notepad_in_front_and_empty()
        win = s.window()
        self.type_text(LEAD + SECRET_WORD[:2], win)
        self.click_every_cell(win)
        self.type_text("1", win)
        self.assertTyped(f"{LEAD}{SECRET_WORD[:2]}1")

    def test_wordpad_gets_the_word_too(self):
        s = self.session
        self.start_predicting()
        # Not on the search path, as Notepad is.
        wordpad = s._spawn("wordpad", [s.tools.loader, WORDPAD])
        self.addCleanup(s._kill, wordpad)
        wait_for(lambda: s.foreground_class() == "WORDPADTOP", 60, "Wordpad in front")
        self.type_text(LEAD + "wo")
        s.click_cell(self.wo_cell)
        self.assertTextBox("WORDPADTOP", ["RICHEDIT50W", "RichEdit20W"], f"{LEAD}{self.wo_word} ")


class GermanPredictionTest(PredictionChecks, ProgramTestCase):
    keyboard_layout = "de"

    def test_german_words_and_a_noun_keeps_its_capital(self):
        words = table_words("de")
        # The first two letters of the most frequent capitalised word whose
        # two letters' most frequent word it is.
        prefix, noun = next((w[:2].lower(), w) for w in words
                            if w[0].isupper() and len(w) > 2 and w[:2].isalpha() and w[:2].isascii()
                            and first_offer(words, w[:2]) == w)
        lead = "und "
        self.start_predicting()
        win = self.session.window()
        self.type_text(lead + prefix, win)
        self.session.click_cell(cell_of(words, prefix, noun), win=win)
        self.assertTyped(f"{lead}{noun} ")
        # A word English has not: "ü" is a key of its own here.
        umlaut = first_offer(words, "fü")
        self.type_text("fü", win)
        self.session.click_cell(cell_of(words, "fü", umlaut), win=win)
        self.assertTyped(f"{lead}{noun} {umlaut} ")
