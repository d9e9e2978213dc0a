"""Pictures of a session's screen: screenshots through ImageMagick, where X
shows the keyboard's client area, and pixels read back for comparison; parts
of the screen read straight from the X server where a picture has to be
quick."""

import ctypes
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
        return cls.from_ppm(raw)

    @classmethod
    def from_ppm(cls, raw):
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


class _ImageFunctions(ctypes.Structure):
    _fields_ = [("create_image", ctypes.c_void_p),
                ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
                ("get_pixel", ctypes.c_void_p), ("put_pixel", ctypes.c_void_p),
                ("sub_image", ctypes.c_void_p), ("add_pixel", ctypes.c_void_p)]


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong), ("obdata", ctypes.c_void_p),
                ("f", _ImageFunctions)]


class ScreenPart(Image):
    """A part of the screen as the X server keeps it: 32-bit pixels, blue first."""

    def __init__(self, width, height, data, stride):
        super().__init__(width, height, data)
        self.stride = stride

    def pixel(self, x, y):
        i = y * self.stride + x * 4
        b, g, r = self.data[i:i + 3]
        return f"#{r:02X}{g:02X}{b:02X}"


class XScreen:
    """The screen of a display read through libX11 (XGetImage): a keyboard's
    worth in about a millisecond, where `import` takes a few hundred, quick
    enough to follow what changes twice a second."""

    _ZPIXMAP = 2
    _ALL_PLANES = 0xFFFFFFFF

    def __init__(self, display):
        self._x11 = x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.POINTER(_XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = x11.XOpenDisplay(display.encode())
        if not self._display:
            raise E2EError(f"cannot open the X display {display}")
        self._root = x11.XDefaultRootWindow(self._display)

    def grab(self, left, top, width, height):
        image = self._x11.XGetImage(self._display, self._root, left, top, width, height,
                                    self._ALL_PLANES, self._ZPIXMAP)
        if not image:
            raise E2EError(f"cannot read {width}x{height}+{left}+{top} from the screen")
        try:
            info = image.contents
            if info.bits_per_pixel != 32 or info.red_mask != 0xFF0000 or info.byte_order != 0:
                raise E2EError("the screen's pixels are not 32-bit, blue first")
            data = ctypes.string_at(info.data, info.bytes_per_line * info.height)
            return ScreenPart(info.width, info.height, data, info.bytes_per_line)
        finally:
            image.contents.f.destroy_image(image)

    def close(self):
        if self._display:
            self._x11.XCloseDisplay(self._display)
            self._display = None
