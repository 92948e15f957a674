#!/usr/bin/env python3
"""The modern report of the marrowlintide command, read back as a reader sees it.

Usage: modern_test.py MARROWLINTIDE SAMPLE_DB WORKDIR
Every report is checked with qpdf --check; words and their boxes come from pdftotext -bbox.
"""
import html
import os
import re
import sqlite3
import subprocess
import sys
import unittest

TOOL, SAMPLE_DB, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')


def report(test, name, *args):
    """Writes a checked report; returns its pages, each a list of (text, xMin, yMin, xMax)."""
    out = os.path.join(WORK, name)
    result = subprocess.run([TOOL, "report", *args, "-q", "-o", out], capture_output=True, timeout=120)
    test.assertEqual(result.returncode, 0, result.stderr)
    qpdf = subprocess.run(["qpdf", "--check", out], capture_output=True, text=True)
    test.assertEqual(qpdf.returncode, 0, qpdf.stdout + qpdf.stderr)
    test.assertNotIn("WARNING", qpdf.stdout + qpdf.stderr)
    bbox = subprocess.run(["pdftotext", "-bbox", out, "-"], capture_output=True, text=True, check=True).stdout
    pages = []
    for page in bbox.split("<page ")[1:]:
        pages.append([(html.unescape(m[5]), float(m[1]), float(m[2]), float(m[3])) for m in WORD.finditer(page)])
    return out, pages


def page_size(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    width, height = re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", info).groups()
    return float(width), float(height)


def lines(words):
    """The words of a page grouped by their top, left to right."""
    rows = {}
    for word in words:
        rows.setdefault(round(word[2]), []).append(word)
    return [sorted(row, key=lambda w: w[1]) for _, row in sorted(rows.items())]


class ModernReport(unittest.TestCase):
    def test_every_page_has_captions_title_and_its_number(self):
        out, pages = report(self, "orders.pdf", "--db", SAMPLE_DB, "--sql", "SELECT * FROM orders",
                            "--title", "Orders of Zoë")
        n = len(pages)
        self.assertGreater(n, 2)
        for i, words in enumerate(pages, 1):
            texts = [w[0] for w in words]
            for caption in ("order_id", "order_date", "customer", "city", "amount", "paid"):
                self.assertIn(caption, texts, f"page {i}")
            self.assertIn("Zoë", texts, f"page {i}")
            self.assertIn(f"Page {i} of {n}", " ".join(texts), f"page {i}")
        self.assertEqual(page_size(out), (612, 792))
        info = subprocess.run(["pdfinfo", out], capture_output=True, text=True, check=True).stdout
        self.assertIn("Orders of Zoë", info)

    def test_alignment_cutting_and_formats(self):
        # Per case: query and options, then what each data line must show.
        long = "a text far too long for its narrow column"
        cases = [
            # Numbers right-aligned by default: every amount ends at the same x.
            (["--sql", "SELECT customer, amount FROM orders LIMIT 60"], "right"),
            # An explicit L wins over the default.
            (["--sql", "SELECT customer, amount FROM orders LIMIT 60", "--fields-alignment", ",L"], "left"),
            # A narrow column cuts its text with an ellipsis, inside the cell.
            (["--sql", f"SELECT '{long}' AS t, 42 AS n", "--fields-width", "10,4"], "cut"),
            # Formats: thousands and two decimals; a date pattern.
            (["--sql", "SELECT 1234567.5 AS n, '2024-03-05' AS d", "--fields-format", "#,##0.00"], "format"),
        ]
        for k, (args, kind) in enumerate(cases):
            with self.subTest(kind=kind):
                _, pages = report(self, f"case{k}.pdf", "--db", SAMPLE_DB, *args)
                rows = [row for row in lines(pages[0]) if row[0][0] != "Page"][1:]  # no captions, no footer
                if kind in ("right", "left"):
                    amounts = [row[-1] for row in rows if re.fullmatch(r"[\d.]+", row[-1][0])]
                    self.assertGreater(len(amounts), 30)
                    edge = [w[3] if kind == "right" else w[1] for w in amounts]
                    self.assertLess(max(edge) - min(edge), 1.0, edge)
                    if kind == "left":
                        self.assertGreater(max(w[3] for w in amounts) - min(w[3] for w in amounts), 5)
                elif kind == "cut":
                    row = rows[0]
                    self.assertTrue(row[-2][0].endswith("…"), row)
                    self.assertLess(row[-2][3], row[-1][1] - 6, "the cut text stays in its cell")
                else:
                    self.assertEqual([w[0] for w in rows[0]], ["1,234,567.50", "2024-03-05"])

    def test_text_columns_fit_the_page(self):
        db = os.path.join(WORK, "text.db")
        if os.path.exists(db):
            os.remove(db)
        con = sqlite3.connect(db)
        con.execute("CREATE TABLE people (" + ", ".join(f"c{i} TEXT" for i in range(12)) + ")")
        for r in range(120):
            con.execute("INSERT INTO people VALUES (" + ",".join("?" * 12) + ")",
                        [f"value {r} of column {i}" + (" with more words" if i % 3 == 0 else "") for i in range(12)])
        con.commit()
        con.close()
        # Two columns fit a portrait page; twelve turn it to landscape and shrink the widest.
        for columns, size in ((2, (612, 792)), (12, (792, 612))):
            with self.subTest(columns=columns):
                sql = "SELECT " + ", ".join(f"c{i}" for i in range(columns)) + " FROM people"
                out, pages = report(self, f"text{columns}.pdf", "--db", db, "--sql", sql)
                self.assertEqual(page_size(out), size)
                self.assertTrue(all(w[3] <= size[0] - 28 + 0.5 for page in pages for w in page))
        out, _ = report(self, "portrait.pdf", "--db", db, "--sql", "SELECT * FROM people", "--orientation", "portrait")
        self.assertEqual(page_size(out), (612, 792))

    def test_text_in_every_script(self):
        cases = [
            ("latin", "Łódź Kovač Ærø Œuvre Şişli Ağrı Brașov Đ ẞ"),
            ("greek", "Ελληνικά αβγ"),
            ("cyrillic", "Москва Ёжик"),
            ("cjk", "北京 東京 서울"),
            ("arabic", "مرحبا"),  # one word each: pdftotext gives right-to-left words in logical order
            ("hebrew", "שלום"),
            ("mixed", "Zürich 北京 Москва Ωmega"),
            ("emoji", "Cake 😀"),
            ("combining", "Cafe\u0301"),
            ("zwj", "😀\u200d😀"),
            ("missing", "\ue000\ue001"),  # private use: in no font
        ]
        # A hundred different CJK characters embed a small subset of the CJK font.
        cjk = ["".join(chr(0x4E00 + 7 * i) for i in range(row, row + 20)) for row in range(0, 100, 20)]
        csv = os.path.join(WORK, "scripts.csv")
        with open(csv, "w", encoding="utf-8") as f:
            f.write("case,text\n" + "".join(f"{name},{text}\n" for name, text in cases + [("cjk100", t) for t in cjk]))
        out = os.path.join(WORK, "scripts.pdf")
        result = subprocess.run([TOOL, "report", "--csv", csv, "-q", "-o", out], capture_output=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr.decode(), "marrowlintide: 2 characters are in none of the report's fonts; "
                                                 "--fallback-font can add one that has them\n")
        qpdf = subprocess.run(["qpdf", "--check", out], capture_output=True, text=True)
        self.assertEqual(qpdf.returncode, 0, qpdf.stdout + qpdf.stderr)
        self.assertNotIn("WARNING", qpdf.stdout + qpdf.stderr)
        text = subprocess.run(["pdftotext", out, "-"], capture_output=True, text=True, check=True).stdout
        text = re.sub("[\u202a-\u202e]", "", text)  # pdftotext's embedding marks around right-to-left text
        for name, expected in cases[:-1] + [("cjk100", t) for t in cjk]:
            with self.subTest(name):
                self.assertIn(expected, text)
        fonts = subprocess.run(["pdffonts", out], capture_output=True, text=True, check=True).stdout.splitlines()[2:]
        self.assertTrue(fonts)
        for font in fonts:
            self.assertRegex(font, r"^[A-Z]{6}\+\S+ +CID TrueType +\S+ +yes yes yes ")
        with open(out, "rb") as f:
            programs = [int(n) for n in re.findall(rb"/Length1 (\d+)", f.read())]
        self.assertTrue(programs and max(programs) < 200_000, programs)
        # Past the first 192 glyphs of a font, codes take two bytes.
        many = ["".join(chr(0x5000 + 20 * row + i) for i in range(20)) for row in range(20)]
        with open(csv, "w", encoding="utf-8") as f:
            f.write("text\n" + "".join(t + "\n" for t in many))
        result = subprocess.run([TOOL, "report", "--csv", csv, "-q", "-o", out], capture_output=True, timeout=120)
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        text = subprocess.run(["pdftotext", out, "-"], capture_output=True, text=True, check=True).stdout
        self.assertEqual([line for line in text.splitlines() if line.strip()][1:-1], many)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
