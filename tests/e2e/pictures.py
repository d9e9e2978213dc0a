"""Pictures of a session's screen: screenshots through ImageMagick, where X
shows the keyboard's client area, and pixels read back for comparison."""

import subprocess
from pathlib import Path

from basics import E2EError


class Image:
    """An RGB picture read through ImageMagick as binary PPM."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def load(cls, path):
        raw = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"],
                             capture_output=True, timeout=30, check=True).stdout
        fields, pos = [], 0
        while len(fields) < 4:
            while raw[pos:pos + 1].isspace():
                pos += 1
            if raw[pos:pos + 1] == b"#":
                pos = raw.index(b"\n", pos)
                continue
            end = pos
            while not raw[end:end + 1].isspace():
                end += 1
            fields.append(raw[pos:end])
            pos = end
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise E2EError("unexpected picture format")
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, raw[pos + 1:])

    def pixel(self, x, y):
        """Color at (x, y) as "#RRGGBB"."""
        i = (y * self.width + x) * 3
        r, g, b = self.data[i:i + 3]
        return f"#{r:02X}{g:02X}{b:02X}"


def screenshot(run, display, path):
    """The whole screen of `display` saved as `path`, and its picture;
    `run(args, timeout, check)` runs a command of the session."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    run(["import", "-display", display, "-window", "root", str(path)], timeout=30, check=True)
    return Image.load(path)


def crop_window(screen_path, win, target):
    """The window `win` (the probe's rectangle) cut out of a screenshot."""
    left, top = max(win["left"], 0), max(win["top"], 0)
    crop = f"{win['right'] - left}x{win['bottom'] - top}+{left}+{top}"
    subprocess.run(["convert", str(screen_path), "-crop", crop, "+repage", str(target)],
                   timeout=30, check=False)


def x_client_origin(run, win):
    """Where the X server shows the client area. The window manager draws its
    own frame and may nudge the window (e.g. 1 pixel up at the screen bottom)
    without Wine knowing, so pictures are located through X."""
    ids = run(["xdotool", "search", "--name", "^Lumatype$"]).stdout.split()
    for wid in ids:
        info = run(["xwininfo", "-id", wid]).stdout
        fields = {}
        for line in info.splitlines():
            name, sep, value = line.strip().partition(":")
            if sep:
                fields[name] = value.strip()
        try:
            x = int(fields["Absolute upper-left X"])
            y = int(fields["Absolute upper-left Y"])
            w, h = int(fields["Width"]), int(fields["Height"])
        except (KeyError, ValueError):
            continue
        if (w, h) == (win["client_w"], win["client_h"]):
            return x, y
    return win["client_x"], win["client_y"]
