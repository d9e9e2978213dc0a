"""Checks the release packages scripts/package.sh wrote to dist/: what each zip
holds, the read-me, the checksums, the stripped programs, and their version
resource, manifest and icon as Windows reads them (versioninfo.exe of the
64-bit build, under Wine). Skipped when dist/ has no packages of this version.

Run after scripts/package.sh and building preset win64:
    python3 -m unittest -v test_package      (in tests/package)
"""

import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

SOURCE = os.environ.get("LUMA_SOURCE_DIR") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("LUMA_BUILD_DIR") or os.path.join(SOURCE, "build", "win64")
DIST = os.path.join(SOURCE, "dist")
FLAVORS = {"win32": 0x014C, "win64": 0x8664}  # the PE machine of each program


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(Lumatype VERSION (\d+\.\d+\.\d+)", f.read()).group(1)


VERSION = project_version()


def zip_path(flavor):
    return os.path.join(DIST, f"lumatype-{VERSION}-{flavor}.zip")


def pe_header(program):
    """Machine, symbol count and section names (long ones from the string table)."""
    (offset,) = struct.unpack_from("<I", program, 0x3C)
    assert program[offset:offset + 4] == b"PE\0\0"
    machine, sections, _, symbols_at, symbols, optional_size = struct.unpack_from(
        "<HHIIIH", program, offset + 4)
    table = offset + 24 + optional_size
    strings = symbols_at + 18 * symbols
    names = []
    for i in range(sections):
        name = program[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("latin-1")
        if name.startswith("/"):
            at = strings + int(name[1:])
            name = program[at:program.index(b"\0", at)].decode("latin-1")
        names.append(name)
    return machine, symbols, names


@unittest.skipUnless(all(os.path.exists(zip_path(f)) for f in FLAVORS),
                     f"no packages of {VERSION} in dist/ (scripts/package.sh)")
class PackageTest(unittest.TestCase):
    def read(self, flavor, name):
        with zipfile.ZipFile(zip_path(flavor)) as z:
            return z.read(name)

    def test_each_zip_holds_the_program_the_read_me_and_the_word_tables_attribution(self):
        for flavor in FLAVORS:
            with self.subTest(flavor), zipfile.ZipFile(zip_path(flavor)) as z:
                self.assertEqual(sorted(z.namelist()),
                                 ["README.txt", "WORD-TABLES.txt", "lumatype.exe"])
                self.assertIsNone(z.testzip())
                attribution = z.read("WORD-TABLES.txt").decode("utf-8")
                for needed in ("wordfreq", "Robyn Speer", "CC BY-SA 4.0",
                               "https://creativecommons.org/licenses/by-sa/4.0/"):
                    self.assertIn(needed, attribution)

    def test_the_read_me_is_short_cr_lf_text_on_settings_and_switches(self):
        for flavor, bits in (("win32", "32-bit"), ("win64", "64-bit")):
            with self.subTest(flavor):
                text = self.read(flavor, "README.txt").decode("ascii")
                self.assertTrue(text.endswith("\r\n"))
                self.assertNotRegex(text, r"[^\r]\n|\r[^\n]", "every line ends in CR LF")
                self.assertLess(text.count("\r\n"), 40)
                self.assertIn(f"Lumatype {VERSION}, {bits}", text)
                for needed in ("lumatype.exe", "Lumtyp.ini",
                               r"HKEY_CURRENT_USER\SOFTWARE\Halvorin\Plumtap",
                               "HKEY_LOCAL_MACHINE", "/COMMON", "/DEBUG", "Log.txt"):
                    self.assertIn(needed, text)

    def test_the_checksums_list_and_verify_both_zips(self):
        with open(os.path.join(DIST, "SHA256SUMS"), encoding="ascii") as f:
            listed = sorted(line.split()[1] for line in f if line.strip())
        self.assertEqual(listed, sorted(os.path.basename(zip_path(f)) for f in FLAVORS))
        result = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=DIST,
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_the_programs_are_stripped_and_built_for_their_machine(self):
        for flavor, machine in FLAVORS.items():
            with self.subTest(flavor):
                found, symbols, sections = pe_header(
                    self.read(flavor, "lumatype.exe"))
                self.assertEqual(found, machine)
                self.assertEqual(symbols, 0, "no symbols")
                self.assertFalse([s for s in sections if s.startswith(".debug")])
                self.assertIn(".rsrc", sections)

    def test_windows_reads_the_version_resource_manifest_and_icon(self):
        reader = os.path.join(BUILD, "versioninfo.exe")
        self.assertTrue(os.path.exists(reader), f"{reader}: build preset win64 first")
        for flavor in FLAVORS:
            with self.subTest(flavor), tempfile.TemporaryDirectory() as folder:
                with zipfile.ZipFile(zip_path(flavor)) as z:
                    z.extract("lumatype.exe", folder)
                program = "Z:" + os.path.join(folder, "lumatype.exe").replace("/", "\\")
                result = subprocess.run(
                    [os.path.join(SOURCE, "scripts", "wine-run.sh"), reader, program],
                    capture_output=True, text=True, timeout=240)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                found = dict(line.strip().split("=", 1) for line in result.stdout.splitlines()
                             if "=" in line)
                self.assertEqual(found, {
                    "FixedFileVersion": f"{VERSION}.0",
                    "FixedProductVersion": f"{VERSION}.0",
                    "FileType": "1",  # VFT_APP
                    "ProductName": "Lumatype",
                    "FileVersion": VERSION,
                    "ProductVersion": VERSION,
                    "FileDescription": "Lumatype on-screen keyboard",
                    "OriginalFilename": "lumatype.exe",
                    "Comments": "Word tables adapted from wordfreq by Robyn Speer, CC BY-SA 4.0 "
                                "(https://creativecommons.org/licenses/by-sa/4.0/); see "
                                "WORD-TABLES.txt",
                    "Manifest": "yes",
                    "Icon": "yes",
                    "WordTables": "DE EN ES FR IT NL PL PT RU SV",
                })


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        for name in sorted(unittest.TestLoader().getTestCaseNames(PackageTest)):
            print(f"test_package.PackageTest.{name}")
    else:
        unittest.main()
