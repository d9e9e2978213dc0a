"""What every part of the end-to-end fixture shares: where the build under
test is, the screen and the program's start-up size, the error a failed
check raises, and the waits."""

import os
import time
from fractions import Fraction
from pathlib import Path

SOURCE_DIR = Path(os.environ.get("LUMA_SOURCE_DIR", Path(__file__).resolve().parents[2]))
BUILD_DIR = Path(os.environ.get("LUMA_BUILD_DIR", SOURCE_DIR / "build" / "win64"))
ARTEFACTS = BUILD_DIR / "artefacts"
SCREEN_W, SCREEN_H = 1280, 1024

# The client size the keyboard starts at: the built-in layout's design size.
DESIGN_W, DESIGN_H = 441, 181

VK_SHIFT = 16
WM_SYSCOMMAND = 0x0112


class E2EError(AssertionError):
    pass


def also_32bit(test):
    """Marks a test case that also runs against the 32-bit build (list_tests.py)."""
    test.also_32bit = True
    return test


def scale(value, size, design):
    """A design coordinate on a client area of the given size: the ceiling of
    the exact product, as the keyboard rescales its outlines."""
    product = Fraction(value * size, design)
    return -((-product.numerator) // product.denominator)


def poll(read, done, timeout, interval=0.2):
    """Reads until done(value) holds or the timeout passes; returns the last
    value read, for the caller to assert on."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if done(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def wait_for(predicate, timeout, what, interval=0.2):
    """Polls until predicate() returns a true value; returns it or raises."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = predicate()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise E2EError(f"timed out after {timeout:.0f} s waiting for {what} (last: {last!r})")
        time.sleep(interval)
