#!/usr/bin/env python3
"""Checks what we ship, as its users receive it.

Usage: package_test.py CLASS --work DIR [--build DIR] [--version V] [--dll32 DLL] [--dll64 DLL]
  WindowsZip  the zip of scripts/windows-zip: its files and SHA-256 list, and each DLL as
              `objdump -p` shows it (exports, imports) with its version resource
  Install     `cmake --install` of the native build, then a project of its own that finds
              the library with find_package and one built with pkg-config, both run
  Debian      CPack's .deb packages unpacked into a scratch root: their dependencies, the
              installed command's --version, the sample report and the manual page
"""
import argparse
import hashlib
import os
import pathlib
import re
import shutil
import subprocess
import sys
import unittest
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
ENTRY_POINTS = ["DllUnregisterServer", "DllRegisterServer", "DllCanUnloadNow", "DllGetClassObject"]
SYSTEM_DLLS = {"kernel32.dll", "advapi32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll",
               "user32.dll", "gdi32.dll", "shlwapi.dll", "version.dll", "ws2_32.dll", "odbc32.dll",
               "mapi32.dll", "rpcrt4.dll", "bcrypt.dll", "crypt32.dll"}
ARGS = None


def run(*command, **kwargs):
    result = subprocess.run([str(c) for c in command], capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, command))} failed ({result.returncode}):\n"
                             f"{result.stdout}{result.stderr}")
    return result.stdout


def fresh(name):
    folder = pathlib.Path(ARGS.work) / name
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    return folder


def utf16(text):
    return text.encode("utf-16-le")


def check_sample_report(test, command, database, out):
    """The command writes the sample orders report: a valid PDF with the orders' texts."""
    run(command, "report", "--db", database, "--sql", "SELECT * FROM orders", "-o", out, "--quiet")
    run("qpdf", "--check", out)
    text = run("pdftotext", out, "-")
    test.assertIn("José Dupré", text)


class WindowsZip(unittest.TestCase):
    def test_zip_holds_both_widths_samples_guide_and_checksums(self):
        work = fresh("zip")
        out = work / "windows.zip"
        run(sys.executable, ROOT / "scripts" / "windows-zip", out, ARGS.version, ARGS.dll32, ARGS.dll64)
        folder = f"marrowlintide-{ARGS.version}-windows"
        with zipfile.ZipFile(out) as z:
            self.assertEqual(sorted(z.namelist()), sorted(f"{folder}/{n}" for n in [
                "x86/tarvik_Marrowlintide.dll", "x64/tarvik_Marrowlintide.dll", "INSTALL.md",
                "asp/SaveToFile.asp", "asp/ShowPDF.asp", "SHA256SUMS"]))
            z.extractall(work)
        unpacked = work / folder
        sums = (unpacked / "SHA256SUMS").read_text().splitlines()
        self.assertEqual(len(sums), 5)
        for line in sums:
            digest, name = line.split("  ")
            self.assertEqual(hashlib.sha256((unpacked / name).read_bytes()).hexdigest(), digest, name)
        # The same inputs give the same zip.
        run(sys.executable, ROOT / "scripts" / "windows-zip", work / "again.zip", ARGS.version, ARGS.dll32, ARGS.dll64)
        self.assertEqual(out.read_bytes(), (work / "again.zip").read_bytes())

        clsid = re.search(r"uuid\(([0-9A-Fa-f-]{36})\)[^\]]*\]\s*coclass",
                          (ROOT / "component" / "tarvik_Marrowlintide.idl").read_text()).group(1)
        for folder_name, bits, pe_format in [("x86", 32, "pei-i386"), ("x64", 64, "pei-x86-64")]:
            with self.subTest(width=bits):
                self.check_dll(unpacked / folder_name / "tarvik_Marrowlintide.dll", bits, pe_format, clsid)

    def check_dll(self, dll, bits, pe_format, clsid):
        dump = run("objdump", "-p", dll)
        self.assertEqual(re.search(r"file format (\S+)", dump).group(1), pe_format)
        # "[   i] Name" rows of the export name table: the name's ordinal is i + 1 (base 1).
        self.assertIn("Ordinal Base \t\t\t1", dump)
        names = re.findall(r"^\s*\[\s*(\d+)\] (\w+)$", dump.split("[Ordinal/Name Pointer] Table")[1], re.M)
        self.assertEqual(sorted((int(i) + 1, n) for i, n in names), list(enumerate(ENTRY_POINTS, 1)))
        imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
        self.assertTrue(imports, "no imports found")
        self.assertEqual(imports - SYSTEM_DLLS, set(), "imports beyond Windows' own DLLs")

        data = dll.read_bytes()
        # VS_FIXEDFILEINFO: signature, structure version, file version MS/LS, product version MS/LS.
        fixed = data.find(b"\xbd\x04\xef\xfe")
        self.assertNotEqual(fixed, -1, "no version resource")
        major, minor, patch = (int(p) for p in ARGS.version.split("."))
        words = [int.from_bytes(data[fixed + 8 + 4 * i:fixed + 12 + 4 * i], "little") for i in range(4)]
        self.assertEqual(words, [major << 16 | minor, patch << 16] * 2)
        for key, value in [("FileVersion", ARGS.version), ("ProductVersion", ARGS.version),
                           ("ProductName", "Marrowlintide"),
                           ("FileDescription", f"Marrowlintide PDF table reports for classic ASP ({bits}-bit)")]:
            self.assertRegex(data, re.escape(utf16(key + "\0")) + b"(\0\0)?" + re.escape(utf16(value + "\0")), key)
        # The same ProgID and CLSID in both widths (the GUID as its bytes in memory).
        self.assertIn(utf16("tarvik_Marrowlintide.Marrowlintide"), data)
        parts = clsid.split("-")
        guid = (int(parts[0], 16).to_bytes(4, "little") + int(parts[1], 16).to_bytes(2, "little") +
                int(parts[2], 16).to_bytes(2, "little") + bytes.fromhex(parts[3] + parts[4]))
        self.assertIn(guid, data)


class Install(unittest.TestCase):
    def test_installed_library_builds_and_runs_outside_projects(self):
        work = fresh("install")
        root = work / "root"
        run("cmake", "--install", ARGS.build, "--prefix", root)
        self.assertTrue((root / "bin" / "marrowlintide").exists())
        consumer = ROOT / "tests" / "install" / "consumer"
        database = pathlib.Path(ARGS.build) / "samples" / "sample.db"

        # find_package(Marrowlintide), as another CMake project says it.
        run("cmake", "-S", consumer, "-B", work / "cmake", f"-DCMAKE_PREFIX_PATH={root}", "-DCMAKE_BUILD_TYPE=Release")
        run("cmake", "--build", work / "cmake")
        # pkg-config, as a Makefile would use it.
        pc = next(root.rglob("marrowlintide.pc"))
        flags = run("pkg-config", "--cflags", "--libs", "marrowlintide", env={**os.environ, "PKG_CONFIG_PATH": str(pc.parent)})
        run("c++", "-std=c++20", "-O1", consumer / "consumer.cpp", "-o", work / "pkgconfig", *flags.split())

        for program in [work / "cmake" / "consumer", work / "pkgconfig"]:
            out = work / f"{program.name}.pdf"
            self.assertEqual(run(program, database, "SELECT * FROM orders", out), "ExportResult 1\n")
            run("qpdf", "--check", out)
            self.assertIn("José Dupré", run("pdftotext", out, "-"))


class Debian(unittest.TestCase):
    def test_packages_install_and_run_the_sample_report(self):
        work = fresh("deb")
        run("cpack", "-G", "DEB", "-B", work, cwd=ARGS.build)
        debs = {run("dpkg-deb", "-f", deb, "Package").strip(): deb for deb in work.glob("*.deb")}
        self.assertEqual(sorted(debs), ["libmarrowlintide-dev", "marrowlintide"])
        depends = run("dpkg-deb", "-f", debs["marrowlintide"], "Depends")
        for library in ["libc6", "libstdc++6", "libsqlite3-0"]:
            self.assertIn(library, depends)
        self.assertIn("libsqlite3-dev", run("dpkg-deb", "-f", debs["libmarrowlintide-dev"], "Depends"))

        root = work / "root"
        for deb in debs.values():
            run("dpkg-deb", "-x", deb, root)
        command = root / "usr" / "bin" / "marrowlintide"
        self.assertRegex(run(command, "--version"), rf"^marrowlintide {re.escape(ARGS.version)}\n$")
        examples = root / "usr" / "share" / "doc" / "marrowlintide" / "examples"
        check_sample_report(self, command, examples / "sample.db", work / "orders.pdf")
        for path in ["usr/share/bash-completion/completions/marrowlintide", "usr/include/marrowlintide/pdf/DorvexToPDF.h",
                     "usr/lib/cmake/Marrowlintide/MarrowlintideConfig.cmake", "usr/lib/libmarrowlintide.a"]:
            self.assertTrue((root / path).exists(), path)

        # `man marrowlintide` shows every option that the installed command's --help lists.
        page = run("man", "-l", root / "usr/share/man/man1/marrowlintide.1.gz",
                   env={**os.environ, "MANWIDTH": "200", "MAN_KEEP_FORMATTING": "", "LC_ALL": "C.UTF-8"})
        page = page.replace("\u2010", "-")
        options = set(re.findall(r"(?<![\w-])(--?[A-Za-z][\w-]*)", run(command, "--help")))
        self.assertEqual(sorted(o for o in options if not re.search(rf"(?<![\w-]){re.escape(o)}(?![\w-])", page)), [])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("test")
    for option in ["--work", "--build", "--version", "--dll32", "--dll64"]:
        parser.add_argument(option)
    ARGS = parser.parse_args()
    suite = unittest.defaultTestLoader.loadTestsFromName(ARGS.test, sys.modules[__name__])
    return 0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
