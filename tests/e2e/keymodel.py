"""Where the keys are, from the program itself: keymodel.exe builds the
program's keyboard model as the main window does, under the session's
keyboard layout, and prints every key's outline in both built-in layouts,
what each character key shows, and (a BMP) the picture it draws. It runs
once per test run for each keyboard layout and screen DPI; the answer is
kept with the prepared prefix."""

import fcntl
import os

from basics import E2EError
from wineprefix import template_root


class Layout:
    """A built-in layout: its design size and, by virtual-key code, the design
    rectangles (x1, y1, x2, y2) of the parts of the outline each key is hit in
    (a two-part key has two)."""

    def __init__(self, name, width, height):
        self.name, self.width, self.height = name, width, height
        self.outlines = {}

    def rect(self, vk, part=0):
        try:
            return self.outlines[vk][part]
        except (KeyError, IndexError):
            raise E2EError(f"layout {self.name} draws no part {part} of key {vk}") from None

    def centre(self, vk, part=0):
        x1, y1, x2, y2 = self.rect(vk, part)
        return (x1 + x2) // 2, (y1 + y2) // 2

    def rects(self):
        """Every part of every outline."""
        return [rect for parts in self.outlines.values() for rect in parts]


class KeyModel:
    """keymodel.exe's answer: the layout handle; per character key of
    "Standard" the place it is drawn at, its rectangle and what it shows plain
    and with Shift; the built-in layouts by name; the picture's path."""

    def __init__(self, output, picture=None):
        self.hkl = None
        self.keys = {}
        self.layouts = {}
        self.picture = picture
        layout = None
        for line in output.splitlines():
            fields = line.split()
            if line.startswith("hkl="):
                self.hkl = line[4:].strip()
            elif fields and fields[0] == "key":
                vk, place, x1, y1, x2, y2 = map(int, fields[1:7])
                plain, shifted = (chr(int(v, 16)) for v in fields[7:9])
                self.keys[vk] = {"place": place, "rect": (x1, y1, x2, y2),
                                 "plain": plain, "shifted": shifted}
            elif fields and fields[0] == "layout":
                layout = Layout(fields[1], int(fields[2]), int(fields[3]))
                self.layouts[layout.name] = layout
            elif fields and fields[0] == "outline" and layout is not None:
                values = list(map(int, fields[2:]))
                layout.outlines[int(fields[1])] = [tuple(values[i:i + 4])
                                                   for i in range(0, len(values), 4)]
        if self.hkl is None or not self.keys or "Standard" not in self.layouts:
            raise E2EError(f"keymodel.exe printed no keys:\n{output[-2000:]}")

    def layout(self, name="Standard"):
        if name not in self.layouts:
            raise E2EError(f"keymodel.exe printed no layout {name!r}")
        return self.layouts[name]

    def at(self, rect):
        """The character key drawn in the design rectangle rect."""
        found = [vk for vk, key in self.keys.items() if key["rect"] == rect]
        return found[0] if found else None


def load_key_model(session):
    """The model under the session's keyboard layout and DPI, asked once per
    test run (and build of keymodel.exe); the foreground window's layout is
    the one read, so Notepad has to be in front."""
    exe = session.tools.build_dir / "keymodel.exe"
    if not exe.exists():
        raise E2EError(f"{exe} is not built")
    root = template_root() / "keymodel"
    root.mkdir(parents=True, exist_ok=True)
    name = (f"{session.keyboard_layout or 'us'}-{session.dpi or 96}dpi-"
            f"{exe.stat().st_mtime_ns}")
    text, picture = root / f"{name}.txt", root / f"{name}.bmp"
    with open(root / f"{name}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not text.exists():
            windows_path = "Z:" + str(picture).replace("/", "\\")
            result = session._run([session.tools.loader, str(exe), windows_path], timeout=120)
            KeyModel(result.stdout)  # raises when it printed no model
            partial = root / f"{name}.part"
            partial.write_text(result.stdout)
            os.replace(partial, text)
    return KeyModel(text.read_text(), picture)
