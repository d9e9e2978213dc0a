"""The Wine side of the end-to-end tests: the Wine a build was configured
with, the environment of a session's Wine programs, and the prefix prepared
once per test run and copied for every session (and for scripts/session.sh).

    python3 wineprefix.py prefix TARGET
        makes TARGET a copy of the test run's prepared prefix, for the build
        LUMA_BUILD_DIR names.
"""

import atexit
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from basics import BUILD_DIR, E2EError


class WineOfBuild:
    """The Wine settings a build was configured with (its wine.env)."""

    def __init__(self, build_dir):
        self.build_dir = Path(build_dir)
        path = self.build_dir / "wine.env"
        if not path.exists():
            raise E2EError(f"no {path}: configure and build that preset first")
        values = dict(line.split("=", 1) for line in path.read_text().splitlines() if "=" in line)
        self.loader = values["LUMA_WINE_LOADER"]
        self.wineserver = values["LUMA_WINESERVER"]
        self.optional = values.get("LUMA_WINE_OPTIONAL") == "1"
        self.tools_build = Path(values.get("LUMA_WINE_TOOLS_BUILD") or self.build_dir)
        self.fontconfig_file = values.get("LUMA_FONTCONFIG_FILE")
        # Where qemu runs Wine's 32-bit side: the reservation its processes need.
        self.qemu_reserved_va = values.get("QEMU_RESERVED_VA")

    def runs(self):
        env = dict(os.environ)
        if self.qemu_reserved_va:
            env["QEMU_RESERVED_VA"] = self.qemu_reserved_va
        try:
            return subprocess.run([self.loader, "--version"], env=env, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=300).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False


_private_root = None


def template_root():
    """Where what a test run makes once is kept (the prepared prefix, the
    compiled locales, the keyboard models): LUMA_E2E_TMP, shared by the test
    processes of one test run (test.sh removes it at the end), or a folder of
    this process."""
    global _private_root
    if os.environ.get("LUMA_E2E_TMP"):
        root = Path(os.environ["LUMA_E2E_TMP"])
        root.mkdir(parents=True, exist_ok=True)
        return root
    if _private_root is None:
        _private_root = Path(tempfile.mkdtemp(prefix="lumatype-e2e-"))
        atexit.register(shutil.rmtree, _private_root, True)
    return _private_root


def copy_prefix(template, target):
    # Hard links for everything but the registry, which the wineserver of
    # the copy rewrites: a copy takes a moment, a new prefix ~10 s (much more
    # for its 32-bit side under an emulator).
    def link_or_copy(source, dest):
        if source.endswith(".reg"):
            return shutil.copy2(source, dest)
        try:
            return os.link(source, dest)
        except OSError:
            return shutil.copy2(source, dest)

    shutil.copytree(template, target, symlinks=True, copy_function=link_or_copy)


def wine_env(tools, display, prefix):
    """The environment of the Wine programs of a session."""
    env = dict(os.environ, DISPLAY=display, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("WAYLAND_DISPLAY", None)
    if tools.fontconfig_file:
        # Wine's Tahoma for the labels, without installing it system-wide.
        env["FONTCONFIG_FILE"] = tools.fontconfig_file
    if tools.qemu_reserved_va:
        env["QEMU_RESERVED_VA"] = tools.qemu_reserved_va
    return env


def prepared_prefix(tools, env, dpi=None):
    """The prefix of a test run, made once and copied for every session (and
    for test.sh's own, scripts/session.sh); made before anything runs in it:
    programs started together in a new prefix race over its creation. One
    with another screen DPI is a copy of it with the DPI changed: a new prefix
    takes ~10 s, ~2 min where Wine's 32-bit side runs under an emulator."""
    root = template_root()
    base = None if dpi is None else prepared_prefix(tools, env)
    name = "prepared-prefix" if dpi is None else f"prepared-prefix-{dpi}dpi"
    template = root / name
    with open(root / f"{name}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (template / ".lumatype-ready").exists():
            return template
        shutil.rmtree(template, ignore_errors=True)
        env = dict(env, WINEPREFIX=str(template))
        with open(root / f"{name}.log", "ab") as log:
            def run(args, timeout):
                try:
                    subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=log, timeout=timeout)
                except subprocess.TimeoutExpired as error:
                    raise E2EError(f"preparing {template}: {args[1]} timed out") from error

            if base is None:
                run([tools.loader, "wineboot", "-i"], 600)
                # A crashing program should end, not wait behind Wine's crash dialog.
                run([tools.loader, "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                     "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"], 120)
            else:
                copy_prefix(base, template)
                (template / ".lumatype-ready").unlink()
                # Read when a Wine process starts: set before a session's first one.
                run([tools.loader, "reg", "add", r"HKCU\Control Panel\Desktop", "/v",
                     "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"], 120)
            run([tools.wineserver, "-w"], 120)
        (template / ".lumatype-ready").touch()
    return template


def compiled_locales(locale):
    """A LOCPATH folder holding `locale`, compiled from the system's locale
    sources once per test run: nothing is installed system-wide."""
    root = template_root() / "locales"
    root.mkdir(parents=True, exist_ok=True)
    target = root / locale
    with open(root.parent / "locales.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (target / "LC_CTYPE").exists():
            name, charset = locale.split(".")
            # localedef reports warnings through its status; the files tell.
            subprocess.run(["localedef", "-i", name, "-f", charset, str(target)],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=120)
            if not (target / "LC_CTYPE").exists():
                raise E2EError(f"localedef could not compile {locale} "
                               "(package locales, see scripts/setup.sh)")
    return root


def main(argv):
    if argv[1:2] != ["prefix"] or len(argv) != 3:
        sys.exit(f"usage: {Path(argv[0]).name} prefix TARGET")
    tools = WineOfBuild(WineOfBuild(BUILD_DIR).tools_build)
    copy_prefix(prepared_prefix(tools, wine_env(tools, os.environ.get("DISPLAY", ""), "")),
                argv[2])


if __name__ == "__main__":
    main(sys.argv)
