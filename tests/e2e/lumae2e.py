"""The end-to-end fixture, the one module the tests import; its parts:

    basics.py       the build under test, screen and design sizes, E2EError, the waits
    wineprefix.py   the Wine of a build, the session's Wine environment, the
                    prepared prefix and its copies, compiled locales
    probeclient.py  the client of probe.exe ("probe serve" and its fallback)
    keymodel.py     where the keys are: keymodel.exe's model, once per layout
    pictures.py     screenshots, where X shows the client area, pixels, quick
                    reads of a part of the screen
    session.py      display, window manager, Notepad, the program, the
                    pointer, and the test classes built on a session

    python3 lumae2e.py prefix TARGET
        as wineprefix.py: TARGET becomes a copy of the test run's prepared
        prefix (scripts/session.sh).
"""

import sys

from basics import (ARTEFACTS, BUILD_DIR, DESIGN_H, DESIGN_W, SCREEN_H, SCREEN_W, SOURCE_DIR,
                    VK_SHIFT, WM_SYSCOMMAND, E2EError, also_32bit, poll, scale, wait_for)
from keymodel import KeyModel, Layout
from pictures import Image, XScreen
from session import (BACKGROUND, LAYOUT_LOCALES, LETTERS, ProgramTestCase, Session,
                     SessionTestCase, ini_lines, ini_pairs, ini_values)
from wineprefix import WineOfBuild, prepared_prefix, wine_env

__all__ = ["ARTEFACTS", "BACKGROUND", "BUILD_DIR", "DESIGN_H", "DESIGN_W", "LAYOUT_LOCALES",
           "LETTERS", "SCREEN_H", "SCREEN_W", "SOURCE_DIR", "VK_SHIFT", "WM_SYSCOMMAND",
           "E2EError", "Image", "KeyModel", "Layout", "ProgramTestCase", "Session",
           "SessionTestCase", "WineOfBuild", "XScreen", "also_32bit", "ini_lines", "ini_pairs",
           "ini_values", "poll", "prepared_prefix", "scale", "wait_for", "wine_env"]

if __name__ == "__main__":
    import wineprefix

    wineprefix.main(sys.argv)
