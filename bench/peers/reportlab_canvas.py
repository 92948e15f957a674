#!/usr/bin/python3
"""ReportLab peer of the benchmark: the report drawn on a reportlab.pdfgen canvas, with page
compression off. It reads the same table and draws the same grid, in the same order, as the
C++ peers; the numbers below are those of Layout.h beside this file. With --ttf, the text is
in that TrueType font (ReportLab's TTFont, a subset embedded) and the pages are compressed.

usage: reportlab_canvas.py [--ttf FONT.ttf] DB OUT.pdf
"""
import sqlite3
import sys
from contextlib import closing

from reportlab.pdfgen import canvas

PAGE_WIDTH, PAGE_HEIGHT = 612, 792
MARGIN = 10
ROW_PITCH = 18
ROWS_PER_PAGE = 42
FONT_SIZE = 8
COLUMN_CHARS = (5, 24, 14, 10, 10, 6)
ROW_COLOURS = ((242, 242, 242), (221, 235, 247))
QUERY = "SELECT id, name, city, amount, due, paid FROM t"
CAPTIONS = ("id", "name", "city", "amount", "due", "paid")

TABLE_RIGHT = PAGE_WIDTH - MARGIN
TOP_RULE_Y = PAGE_HEIGHT - 13
COLUMN_X = [MARGIN + 8 * sum(COLUMN_CHARS[:c]) for c in range(len(COLUMN_CHARS))] + [TABLE_RIGHT]
FILLS = [tuple(c / 255 for c in rgb) for rgb in ROW_COLOURS]


def rows(db):
    """The captions, then every record as the texts that marrowlintide shows: the amount with
    15 significant digits, the date as month/day/year."""
    yield CAPTIONS
    with closing(sqlite3.connect(f"file:{db}?mode=ro", uri=True)) as con:
        for id_, name, city, amount, due, paid in con.execute(QUERY):
            year, month, day = due.split("-")
            yield (str(id_), name, city, f"{amount:.15g}", f"{int(month)}/{int(day)}/{year}",
                   "True" if paid else "False")


def main(db, out, ttf=None):
    font = "Helvetica"
    if ttf:
        from reportlab.pdfbase import pdfmetrics
        from reportlab.pdfbase.ttfonts import TTFont
        font = "Embedded"
        pdfmetrics.registerFont(TTFont(font, ttf))
    pdf = canvas.Canvas(out, pagesize=(PAGE_WIDTH, PAGE_HEIGHT), pageCompression=1 if ttf else 0)
    page_row = 0
    for row, texts in enumerate(rows(db)):
        if page_row == 0:
            pdf.setFont(font, FONT_SIZE)
            pdf.setLineWidth(1)
        page_row += 1
        baseline = PAGE_HEIGHT - (ROW_PITCH * page_row + 8)
        y = baseline - 5
        fill = FILLS[row % 2]
        for c, text in enumerate(texts):
            x, right = COLUMN_X[c], COLUMN_X[c + 1]
            if page_row == 1:
                pdf.line(x, TOP_RULE_Y, right, TOP_RULE_Y)
            pdf.setFillColorRGB(*fill)
            pdf.rect(x, y, right - x, ROW_PITCH - 1, stroke=0, fill=1)
            pdf.setFillColorRGB(0, 0, 0)
            pdf.drawString(x + 1, baseline, text)
            pdf.line(x, y, x, y + ROW_PITCH)
        pdf.line(TABLE_RIGHT, y, TABLE_RIGHT, y + ROW_PITCH)
        pdf.line(MARGIN, y, TABLE_RIGHT, y)
        if page_row == ROWS_PER_PAGE:
            pdf.showPage()
            page_row = 0
    pdf.save()


if __name__ == "__main__":
    args = sys.argv[1:]
    ttf = None
    if args[:1] == ["--ttf"] and len(args) > 1:
        ttf, args = args[1], args[2:]
    if len(args) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*args, ttf=ttf)
