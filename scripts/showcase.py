#!/usr/bin/env python3
"""Starts Lumatype on a virtual display of its own (Xvfb, openbox, Wine's
Notepad), types a word into Notepad with it, writes screenshots and prints
their paths, then stops everything it started.

Usage: showcase.py [--docs]   (--docs also copies the window picture to docs/screenshot.png)
"""

import shutil
import subprocess
import sys
import time
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(SOURCE_DIR / "tests" / "e2e"))

import lumae2e  # noqa: E402


def main():
    out_dir = lumae2e.ARTEFACTS
    out_dir.mkdir(parents=True, exist_ok=True)
    screen = out_dir / "run-screen.png"
    window = out_dir / "run-window.png"
    session = lumae2e.Session()
    try:
        print("Starting Xvfb, openbox, Notepad and Lumatype under Wine "
              "(the first start of a Wine prefix takes a while)...", flush=True)
        session.start()
        session.start_lumatype()
        session.type_keys("hello")
        session.wait_text("hello")
        session.park_pointer()
        time.sleep(0.5)
        win = session.window()
        session.screenshot(screen)
        # Crop to the window as the X server shows it, frame included.
        ox, oy = session.x_client_origin(win)
        left = max(ox - (win["client_x"] - win["left"]), 0)
        top = max(oy - (win["client_y"] - win["top"]), 0)
        size = f"{win['right'] - win['left']}x{win['bottom'] - win['top']}"
        subprocess.run(["convert", str(screen), "-crop", f"{size}+{left}+{top}", "+repage",
                        str(window)], check=True, timeout=30)
        if "--docs" in sys.argv[1:]:
            docs = SOURCE_DIR / "docs" / "screenshot.png"
            docs.parent.mkdir(exist_ok=True)
            shutil.copyfile(window, docs)
            print(f"README picture: {docs}")
        print(f"Notepad received: {session.notepad_text()!r}")
        print(f"Screenshot (whole screen): {screen}")
        print(f"Screenshot (window):       {window}")
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except lumae2e.E2EError as error:
        print(f"showcase failed: {error}", file=sys.stderr)
        sys.exit(1)
