#!/usr/bin/python3
"""Writes the sample reports and checks each with qpdf, pdfinfo, mutool and pdftotext.

usage: check_samples.py WRITE_SAMPLES OUTPUT_FOLDER
Every file must pass qpdf --check without a warning, open in pdfinfo and mutool info
with the expected page count and size, and give back every expected cell text.
"""
import pathlib
import re
import shutil
import subprocess
import sys


def run(*command):
    result = subprocess.run(command, capture_output=True)
    return result.returncode, (result.stdout + result.stderr).decode("utf-8", "replace")


def check(pdf, expect):
    faults = []
    code, out = run("qpdf", "--check", str(pdf))
    if code != 0 or "WARNING" in out.upper():
        faults.append("qpdf --check:\n" + out)

    code, info = run("pdfinfo", str(pdf))
    if code != 0 or "Syntax Error" in info:
        faults.append("pdfinfo:\n" + info)
    if not re.search(rf"^Pages: +{expect['pages']}$", info, re.M):
        faults.append(f"pdfinfo: expected {expect['pages']} pages:\n{info}")
    if not re.search(rf"^Page size: +{expect['size']} pts", info, re.M):
        faults.append(f"pdfinfo: expected page size {expect['size']}:\n{info}")

    code, out = run("mutool", "info", str(pdf))
    if code != 0 or "error" in out.lower() or "warning" in out.lower():
        faults.append("mutool info:\n" + out)
    if not re.search(rf"^Pages: {expect['pages']}$", out, re.M):
        faults.append(f"mutool info: expected {expect['pages']} pages:\n{out}")

    code, text = run("pdftotext", "-enc", "UTF-8", str(pdf), "-")
    if code != 0:
        faults.append("pdftotext:\n" + text)
    for wanted in expect["texts"]:
        if wanted not in text:
            faults.append(f"pdftotext lost {wanted!r}")
    return faults


def read_expect(path):
    expect = {"texts": []}
    for line in path.read_bytes().decode("cp1252").splitlines():
        key, _, value = line.partition(" ")
        if key == "text":
            expect["texts"].append(value)
        else:
            expect[key] = value
    return expect


def main():
    writer, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    subprocess.run([writer, str(folder)], check=True)
    samples = sorted(folder.glob("*.pdf"))
    if not samples:
        print("no sample written")
        return 1
    failed = 0
    for pdf in samples:
        faults = check(pdf, read_expect(pdf.with_suffix(".expect")))
        print(f"{pdf.name}: {'ok' if not faults else 'FAILED'}")
        for fault in faults:
            print("  " + fault.replace("\n", "\n    "))
        failed += bool(faults)
    print(f"{len(samples) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
