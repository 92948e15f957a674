#!/usr/bin/env python3
"""Runs one test of the Wine suite in the shared prefix.

  probe                 says whether this machine can run the suite for the DLL's width:
                        "runs: ..." (exit 0) or "skipped: reason" (exit 77)
  setup                 makes a fresh prefix of the DLL's width, starts its wineserver and
                        registers the ADO 1.0 type library that Wine's ADO needs for late binding
  shutdown              stops the prefix's wineserver
  program EXE GROUP     runs a test program: EXE GROUP <dll> <output folder>
  engine EXE            runs a program of the DLL's own build that tests the engine itself:
                        EXE <dll> <output folder>, ending with "END EXE-minus-_test"
  page FILE.vbs         runs a VBScript page (prelude.vbs first) with cscript: <dll> <output folder>

Programs and pages report FAIL, PDF and END lines (see programs/TestSupport.h). A run
passes when it exits 0, prints its END line and no FAIL, and every PDF in its output
folder is listed, passes `qpdf --check`, and shows the listed texts in `pdftotext`
("!text": must not show; "@a:b=N": the word b starts N points right of the word a;
"=arg": an argument of `marrowlintide report` (--command), whose byte-exact export of the
same records must give the same bytes, the creation date aside).
Exit code 77 means skipped: no Wine, no DLL to test, or a machine that cannot run 32-bit
programs (a kernel without 32-bit support fails Wine's loader with "Exec format error").
"""
import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys

SKIP = 77
ADO_TYPELIB_KEY = r"HKCR\TypeLib\{2A75196C-D9EB-4129-B803-931327F72D5C}\1.0\0"


def pe_machine(dll):
    """The machine field of a PE file's header: 0x14c for 32-bit x86, 0x8664 for x64."""
    with open(dll, "rb") as f:
        header = f.read(4096)
    pe = int.from_bytes(header[0x3C:0x40], "little")
    return int.from_bytes(header[pe + 4:pe + 6], "little")


def windows_path(path):
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def unix_path(path):
    if len(path) > 2 and path[1] == ":" and path[0] in "Zz":
        return path[2:].replace("\\", "/")
    return path


class Suite:
    def __init__(self, args):
        self.dll = pathlib.Path(args.dll)
        self.programs = pathlib.Path(args.programs)
        self.command = args.command_line_tool
        self.work = pathlib.Path(args.work)
        self.prefix = self.work / "prefix"
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        # Wine takes the ANSI code page from the locale; MLT_WINE_LOCALE picks another one.
        locale = os.environ.get("MLT_WINE_LOCALE", "en_US.UTF-8")
        self.env.update(WINEPREFIX=str(self.prefix), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG=locale, LC_ALL=locale)
        # A 64-bit DLL runs in a 64-bit prefix under Wine's 64-bit loader; Debian's `wine`
        # always takes the 32-bit one when it is installed.
        self.loader = "wine"
        self.bits = 32
        if self.dll.exists() and pe_machine(self.dll) == 0x8664:
            self.bits = 64
            self.loader = "/usr/lib/wine/wine64"
            self.env.update(WINEARCH="win64", WINELOADER=self.loader)
        else:
            self.env.update(WINEARCH="win32")

    def wine(self, *command, timeout=180):
        return subprocess.run([self.loader, *command], env=self.env, capture_output=True, text=True,
                              errors="replace", timeout=timeout)

    def cannot_run_reason(self):
        """Why this machine cannot run the suite, or None when it can."""
        if shutil.which(self.loader) is None:
            return f"no {self.loader}"
        if not self.dll.exists():
            return f"no {self.dll}"
        try:
            probe = subprocess.run([self.loader, "--version"], env=self.env, capture_output=True, text=True,
                                   errors="replace", timeout=60)
        except (OSError, subprocess.TimeoutExpired) as error:
            return f"Wine's loader {self.loader} does not start: {error}"
        if probe.returncode != 0:
            return f"Wine's loader {self.loader} does not start: {(probe.stderr or probe.stdout).strip()}"
        return None

    def setup(self):
        shutil.rmtree(self.work, ignore_errors=True)
        self.work.mkdir(parents=True)
        boot = subprocess.run([self.loader, "wineboot", "-i"], env=self.env, capture_output=True, text=True, timeout=600)
        if boot.returncode != 0:
            print(boot.stdout, boot.stderr)
            return 1
        # One server for the whole suite; it ends itself a minute after its last client.
        subprocess.run(["wineserver", "-p60"], env=self.env)
        tlb = self.programs / "adodb10.tlb"
        reg = self.wine("reg", "add", ADO_TYPELIB_KEY + "\\" + self.env["WINEARCH"], "/ve", "/d", windows_path(tlb), "/f")
        if reg.returncode != 0:
            print(reg.stdout, reg.stderr)
            return 1
        return 0

    def shutdown(self):
        if self.prefix.exists():
            subprocess.run(["wineserver", "-k"], env=self.env)
        return 0

    def output_folder(self, name):
        folder = self.work / "out" / name
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        return folder

    def program(self, exe, group):
        out = self.output_folder(f"{exe}.{group}")
        run = self.wine(str(self.programs / f"{exe}.exe"), group, windows_path(self.dll), windows_path(out))
        return self.judge(run, f"END {group}", out)

    def engine(self, exe):
        out = self.output_folder(exe)
        program = self.dll.parent.parent / "tests" / "wine" / "engine" / f"{exe}.exe"
        run = self.wine(str(program), windows_path(self.dll), windows_path(out))
        return self.judge(run, f"END {exe.removesuffix('_test')}", out)

    def page(self, file):
        page = pathlib.Path(file)
        out = self.output_folder(f"vbs.{page.stem}")
        script = out / page.name
        prelude = (page.parent / "prelude.vbs").read_text()
        script.write_text(prelude + "\n" + page.read_text(), encoding="utf-8")
        run = self.wine("cscript", "//nologo", windows_path(script), windows_path(self.dll), windows_path(out))
        return self.judge(run, f"END {page.stem}", out)

    def judge(self, run, end_marker, out):
        print(run.stdout, end="")
        if run.stderr.strip():
            print("stderr:", run.stderr, end="")
        lines = [line.rstrip("\r") for line in run.stdout.splitlines()]
        problems = [line for line in lines if line.startswith("FAIL")]
        if run.returncode != 0:
            problems.append(f"exit code {run.returncode}")
        if end_marker not in lines:
            problems.append(f"no '{end_marker}' line: the run stopped early")
        listed = set()
        for line in lines:
            if line.startswith("PDF "):
                path, *tokens = line[4:].split("\t")
                pdf = pathlib.Path(unix_path(path))
                listed.add(pdf.resolve())
                problems += check_pdf(pdf, [t for t in tokens if not t.startswith("=")])
                arguments = [t[1:] for t in tokens if t.startswith("=")]
                if arguments and pdf.exists():
                    problems += self.check_same_as_command(pdf, arguments)
        for pdf in out.rglob("*.pdf"):
            if pdf.resolve() not in listed:
                problems.append(f"{pdf}: produced but not checked by the test")
        for problem in problems:
            print("problem:", problem)
        return 1 if problems else 0

    def check_same_as_command(self, pdf, arguments):
        """The command's export of the same records in its byte-exact mode gives the same bytes."""
        if not self.command:
            return [f"{pdf}: no --command-line-tool to compare with"]
        usage = subprocess.run([self.command, "--help"], capture_output=True, text=True).stdout
        exact = ["--classic"] if "--classic" in usage else []
        out = pdf.with_suffix(".command")
        run = subprocess.run([self.command, "report", *map(unix_path, arguments), *exact, "--quiet", "-o", str(out)],
                             capture_output=True, text=True, errors="replace")
        if run.returncode != 0:
            return [f"{pdf}: marrowlintide failed ({run.returncode}): {run.stderr.strip()}"]
        dated = re.compile(rb"/CreationDate \(D:[^)]*\)")
        ours, theirs = (dated.sub(b"/CreationDate ()", p.read_bytes()) for p in (pdf, out))
        if ours == theirs:
            print(f"same bytes as marrowlintide report {' '.join(exact + arguments)}")
            return []
        at = next((i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b), min(len(ours), len(theirs)))
        return [f"{pdf}: differs from the command's export at byte {at}: {ours[at - 40:at + 40]!r} "
                f"against {theirs[at - 40:at + 40]!r}"]


def first_word_x(pdf):
    """The left edge of each word's first occurrence (top of the first page first)."""
    html = subprocess.run(["pdftotext", "-bbox", "-f", "1", "-l", "1", str(pdf), "-"], capture_output=True,
                          text=True, errors="replace").stdout
    found = {}
    for x, y, word in re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>', html):
        if word not in found or float(y) < found[word][1]:
            found[word] = (float(x), float(y))
    return {word: x for word, (x, _) in found.items()}


def check_offset(pdf, token, positions):
    """'@a:b=N': the word b starts N points to the right of the word a."""
    match = re.fullmatch(r"@([^:]+):([^=]+)=(-?[\d.]+)", token)
    if not match:
        return [f"bad position check '{token}'"]
    a, b, points = match.group(1), match.group(2), float(match.group(3))
    if a not in positions or b not in positions:
        return [f"{pdf}: no word '{a}' or '{b}' for '{token}'"]
    actual = positions[b] - positions[a]
    if abs(actual - points) > 0.5:
        return [f"{pdf}: '{b}' starts {actual:.1f} points after '{a}', expected {points:g}"]
    return []


def check_pdf(pdf, tokens):
    if not pdf.exists():
        return [f"{pdf}: missing"]
    qpdf = subprocess.run(["qpdf", "--check", str(pdf)], capture_output=True, text=True)
    if qpdf.returncode != 0:
        return [f"{pdf}: qpdf --check failed: {qpdf.stdout} {qpdf.stderr}"]
    text = subprocess.run(["pdftotext", str(pdf), "-"], capture_output=True, text=True, errors="replace").stdout
    words = " ".join(text.split())
    problems = []
    positions = first_word_x(pdf) if any(t.startswith("@") for t in tokens) else {}
    for token in tokens:
        if token.startswith("@"):
            problems += check_offset(pdf, token, positions)
        elif token.startswith("!"):
            if token[1:] in words:
                problems.append(f"{pdf}: shows '{token[1:]}'")
        elif token not in words:
            problems.append(f"{pdf}: does not show '{token}'")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dll", required=True)
    parser.add_argument("--programs", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--command-line-tool", help="the marrowlintide command, for exports compared with it")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    suite = Suite(args)
    command, *rest = args.command
    if command == "shutdown":
        return suite.shutdown()
    reason = suite.cannot_run_reason()
    if reason:
        print(f"skipped: {reason}")
        return SKIP
    if command == "probe":
        print(f"runs: {suite.dll} ({suite.bits}-bit) under {suite.loader}")
        return 0
    if command == "setup":
        return suite.setup()
    if command == "program":
        return suite.program(*rest)
    if command == "engine":
        return suite.engine(*rest)
    if command == "page":
        return suite.page(*rest)
    parser.error(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main())
