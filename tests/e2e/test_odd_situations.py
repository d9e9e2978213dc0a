"""Odd situations: two keyboards at once on one settings file, a settings
file that comes, goes or turns into a directory between runs and during one,
a keyboard killed with Shift latched, and folder names full of format
directives on their way into the log, the settings file and the error box.
Each case runs copies of lumatype.exe in folders of its own."""

import shutil
import time
import unittest

from lumae2e import VK_SHIFT, ProgramTestCase, ini_lines, ini_pairs, ini_values, wait_for
from test_settings import PLACEMENT, SETTINGS_KEY, outer

WM_CLOSE = 0x0010
CHANGE_COLORS = 1028
VK_LSHIFT = 160
OWN_NAMES = {"Site", "Colors", "AutoClick", "AlphaBlend", "TMainFormState", *PLACEMENT}


class OddSituationsTest(ProgramTestCase):
    def setUp(self):
        self.session.target_window = None
        super().setUp()

    def tearDown(self):
        self.session.target_window = None
        super().tearDown()

    # ----- helpers -----

    def types(self, text):
        s = self.session
        s.clear_notepad()
        s.type_keys(text)
        self.assertEqual(s.wait_text(text), text)

    def registry_alpha(self):
        out = self.session._run([self.session.tools.loader, "reg", "query", rf"HKCU\{SETTINGS_KEY}", "/v",
                                 "AlphaBlend"], timeout=60)
        fields = [line.split() for line in out.stdout.splitlines()]
        return next((f[2] for f in fields if len(f) >= 3 and f[0] == "AlphaBlend"), None)

    def clear_registry(self):
        self.session._run([self.session.tools.loader, "reg", "delete", rf"HKCU\{SETTINGS_KEY}", "/f"], timeout=60)

    def assertIntact(self, folder):
        """Section line first, then each of the program's values once, CR LF throughout."""
        raw = (folder / "Lumtyp.ini").read_bytes()
        self.assertTrue(raw.endswith(b"\r\n"), raw)
        self.assertNotIn(b"\n", raw.replace(b"\r\n", b""), raw)
        lines = ini_lines(folder)[:-1]
        self.assertEqual(lines[0], "[Main]")
        names = [name for name, _ in ini_pairs(folder)]
        self.assertEqual(len(names), len(set(names)), f"a value twice: {lines}")
        self.assertLessEqual(set(names), OWN_NAMES)

    # ----- cases -----

    def test_two_instances_type_and_the_one_closed_last_keeps_its_values(self):
        s = self.session
        folder = s.app_folder()
        self.start(folder)
        first_proc = s.lumatype
        (first,) = self.windows()
        s.target_window = first
        s.probe("move", 100, 100)
        s.start_lumatype(folder=folder, wait=False)
        second_proc = s.lumatype
        wait_for(lambda: len(self.windows()) == 2, 60, "a second keyboard window")
        second = next(h for h in self.windows() if h != first)
        s.target_window = second
        wait_for(lambda: s.window()["visible"] == 1, 30, "the second window shown")
        s.park_pointer()
        self.assertEqual(s.foreground_class(), "Notepad")

        for window, alpha, letters in ((first, 100, "ha"), (second, 200, "el")):
            s.target_window = window
            self.assertEqual(s.probe_kv("set-slider", alpha)[1].get("position"), str(alpha))
            self.command(CHANGE_COLORS)
            self.types(letters)
        # The second read the first one's scheme from the file and stepped on from it.
        wait_for(lambda: ("Colors", "3") in ini_pairs(folder), 10, "Colors=3 in the file")

        s.target_window = first
        self.assertEqual(s.probe_kv("close")[1].get("closed"), "1")
        first_proc.wait(timeout=15)
        self.assertEqual(first_proc.returncode, 0)
        self.assertEqual(ini_values(folder)["AlphaBlend"], "100")
        s.target_window = second
        self.types("o")  # the second keyboard still types
        left = s.window()
        s.lumatype = second_proc
        self.close()

        self.assertIntact(folder)
        values = ini_values(folder)
        self.assertEqual((values["AlphaBlend"], values["Colors"], values["TMainFormState"]),
                         ("200", "3", "0"))
        self.assertEqual({k: values[k] for k in PLACEMENT}, outer(left))

    def windows(self):
        rc, out = self.session.probe("windows", "TMainForm")
        return [int(line.split("=")[1]) for line in out.splitlines() if line.startswith("hwnd=")]

    def test_settings_file_appears_disappears_and_turns_into_a_directory(self):
        s = self.session
        self.clear_registry()
        self.addCleanup(self.clear_registry)
        folder = s.app_folder()
        ini = folder / "Lumtyp.ini"

        with self.subTest(run="no file"):
            self.start(folder)
            s.probe("set-slider", 150)
            self.close()
            self.assertEqual(ini_values(folder)["AlphaBlend"], "150")

        with self.subTest(run="a directory: the registry"):
            ini.unlink()
            ini.mkdir()
            win = self.start(folder)
            self.assertEqual(win["alpha"], -1)  # the registry holds nothing yet: opaque
            s.probe("set-slider", 120)
            self.types("a")
            self.close()
            self.assertTrue(ini.is_dir())
            self.assertEqual(self.registry_alpha(), "0x78")

        with self.subTest(run="a file again, with LF line ends and a line of the user's"):
            ini.rmdir()
            ini.write_bytes(b"[Main]\nAlphaBlend=90\n; mine\nSite=1\n")
            win = self.start(folder)
            self.assertEqual(win["alpha"], 90)
            self.types("e")
            self.close()
            self.assertIn("; mine", ini_lines(folder))
            self.assertEqual(ini_values(folder)["AlphaBlend"], "90")
            self.assertEqual(self.registry_alpha(), "0x78")

        with self.subTest(run="gone before the start, and again while running"):
            ini.unlink()
            win = self.start(folder)
            self.assertEqual(win["alpha"], -1)
            self.assertEqual(ini.read_bytes(), b"[Main]\r\nSite=1\r\n")
            ini.unlink()
            s.probe("set-slider", 60)
            self.close()
            values = ini_values(folder)
            self.assertEqual(values["AlphaBlend"], "60")
            self.assertEqual({k: values[k] for k in PLACEMENT}, outer(win))
            self.assertIntact(folder)

    def test_killed_with_shift_latched_the_next_start_releases_it(self):
        s = self.session
        folder = s.app_folder()
        self.start(folder)
        s.click_key(VK_LSHIFT)
        wait_for(lambda: s.key_down(VK_SHIFT), 5, "Shift down after the click")
        proc = s.lumatype
        proc.kill()
        proc.wait(timeout=15)
        s.stop_lumatype()
        wait_for(lambda: not self.windows(), 20, "the window gone with its process")
        self.assertTrue(s.key_down(VK_SHIFT), "the system let go of Shift by itself")

        self.start(folder)
        self.assertFalse(s.key_down(VK_SHIFT), "Shift still down after the next start")
        self.assertFalse(s.key_down(VK_LSHIFT), "left Shift still down after the next start")
        self.types("a")
        self.close()

    def test_format_directives_in_the_folder_name_reach_the_log_file_and_box_as_text(self):
        s = self.session
        folder = s.workdir / "odd %s%n%x%p %d%%" / "lumatype"
        folder.mkdir(parents=True)
        shutil.copy2(s.app_folder() / "lumatype.exe", folder / "lumatype.exe")

        self.start(folder, "/DEBUG")
        self.types("h")
        self.close()
        log = (folder / "Log.txt").read_bytes().decode("latin-1")
        self.assertRegex(log, r"\A[^\r\n%]+ : MainForm\r\n\Z")
        self.assertIntact(folder)
        self.assertEqual([name for name, _ in ini_pairs(folder)][:3],
                         ["Site", "AutoClick", "AlphaBlend"])

        # The file turns into a directory while the keyboard runs: the first
        # write at the close fails and names the file.
        self.start(folder)
        ini = folder / "Lumtyp.ini"
        ini.unlink()
        ini.mkdir()
        proc = s.lumatype
        self.assertEqual(s.probe("post", "TMainForm", WM_CLOSE)[0], 0)
        box = wait_for(lambda: (lambda r: r[1] if r[0] == 0 else None)(s.probe_kv("message-box")),
                       30, "the error box")
        windows_path = "Z:" + str(ini).replace("/", "\\")
        self.assertEqual(box, {"title": "Lumatype", "icon": "1",
                               "text": f"Unable to write to {windows_path}."})
        s.probe("message-box", "ok")
        wait_for(lambda: proc.poll() is not None, 30, "the process to end after the box")
        self.assertEqual(proc.returncode, 0)
        s.stop_lumatype()
        time.sleep(0.5)
        self.assertFalse(s.key_down(VK_SHIFT))


if __name__ == "__main__":
    unittest.main()
