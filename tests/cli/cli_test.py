#!/usr/bin/env python3
"""End-to-end tests of the marrowlintide command, run as a newcomer would run it.

Usage: cli_test.py MARROWLINTIDE SAMPLE_DB WORKDIR
Every PDF written is checked with qpdf --check and read back with pdftotext.
"""
import email
import os
import re
import signal
import sqlite3
import stat
import subprocess
import sys
import time
import unittest

TOOL, SAMPLE_DB, WORK = sys.argv[1], sys.argv[2], sys.argv[3]


def run(*args, **kwargs):
    return subprocess.run([TOOL, *args], capture_output=True, text=False, timeout=120, **kwargs)


def check_pdf(test, path):
    qpdf = subprocess.run(["qpdf", "--check", path], capture_output=True, text=True)
    test.assertEqual(qpdf.returncode, 0, qpdf.stdout + qpdf.stderr)
    test.assertNotIn("WARNING", qpdf.stdout + qpdf.stderr)
    return subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True, check=True).stdout


def path(name):
    return os.path.join(WORK, name)


class Report(unittest.TestCase):
    def test_sample_orders_report(self):
        out = path("orders.pdf")
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT * FROM orders", "-o", out, "--quiet")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr.decode(), "")
        text = check_pdf(self, out)
        self.assertIn("order_id", text)
        for name in ("José", "Łucja", "Łódź", "Kovač", "北京"):
            self.assertIn(name, text)
        self.assertIn("Genève", text)

    def test_max_records_and_captions(self):
        out = path("five.pdf")
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT order_id FROM orders ORDER BY order_id",
                     "--max-records", "5", "--fields-caption", "Number", "--classic", "-o", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        words = check_pdf(self, out).split()
        self.assertEqual(words, ["Number", "1", "2", "3", "4", "5"])

    def test_rows_per_file_writes_numbered_complete_files(self):
        out = path("split.pdf")
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT order_id FROM orders ORDER BY order_id LIMIT 5",
                     "--rows-per-file", "2", "--no-caption", "--classic", "-o", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        texts = [check_pdf(self, path(n)).split() for n in ("split.pdf", "split001.pdf", "split002.pdf")]
        self.assertEqual(texts, [["1", "2"], ["3", "4"], ["5"]])
        self.assertFalse(os.path.exists(path("split003.pdf")))

    def test_layouts(self):
        # Two records (a, b) and (c, d) of the columns x and y, as the page's text lines.
        query = "SELECT 'a' AS x, 'b' AS y UNION ALL SELECT 'c', 'd'"
        expected = {"columnar": ["x y", "a b", "c d"],            # a record a row
                    "reversed": ["x a c", "y b d"],               # a record a column
                    "tabular": ["x a", "y b", "x c", "y d"]}      # a value a row, with its caption
        for layout, lines in expected.items():
            out = path(f"layout-{layout}.pdf")
            result = run("report", "--db", SAMPLE_DB, "--sql", query, "--layout", layout, "--classic", "-o", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            text = check_pdf(self, out)
            self.assertEqual([" ".join(line.split()) for line in text.splitlines() if line.strip()], lines, layout)

    def test_standard_output(self):
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT 1 AS one", "--classic", "-o", "-")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(result.stdout.startswith(b"%PDF-1.2\r\n"))
        self.assertTrue(result.stdout.endswith(b"%%EOF\r\n"))
        # A reader that stops early, and no standard output at all: one line, exit 1.
        proc = subprocess.Popen([TOOL, "report", "--db", big_db(), "--sql", "SELECT * FROM t", "-o", "-"],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.assertTrue(proc.stdout.read(100000).startswith(b"%PDF"))
        proc.stdout.close()
        err = proc.stderr.read().decode()
        self.assertEqual((proc.wait(timeout=60), err), (1, "marrowlintide: Cannot write standard output: Broken pipe\n"))
        closed = subprocess.run(["sh", "-c", '"$0" report --db "$1" --sql "SELECT 1" -o - >&-', TOOL, SAMPLE_DB],
                                capture_output=True, text=True, timeout=60)
        self.assertEqual((closed.returncode, closed.stderr),
                         (1, "marrowlintide: Cannot open standard output: Bad file descriptor\n"))

    def test_csv_with_quotes_accents_and_bom(self):
        csv = path("people.csv")
        with open(csv, "wb") as f:
            f.write('\ufeffname,city\r\n"Dupré, José","Zürich ""Altstadt"""\r\n"two\nlines",Łódź\r\n'.encode("utf-8"))
        out = path("people.pdf")
        # The command line's own texts are converted as the file's are.
        result = run("report", "--csv", csv, "--header", "Zoë", "--fields-caption", "Näme", "--classic", "-o", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        text = check_pdf(self, out)
        self.assertIn("Zoë", text)
        self.assertIn("Näme", text)
        self.assertIn("Dupré, José", text)
        self.assertIn('Zürich "Altstadt"', text)
        # Ł and ź have no place in Windows-1252: the command says so once.
        self.assertIn("?ód?", text)
        self.assertEqual(result.stderr.decode(), 'marrowlintide: 2 characters are not in Windows-1252 and show as "?"; the modern report can show them\n')

    def test_csv_delimiters_encodings_pipes_and_fifos(self):
        # The same table in several spellings; each is read from a file, a pipe and a FIFO.
        rows = [["name", "city", "amount"], ["José", "Genève", "12,5"], ["€uro", "Zürich", "3"]]
        expected = ["name", "city", "amount", "José", "Genève", "12,5", "€uro", "Zürich", "3"]
        cases = [  # delimiter, encoding, options
            (";", "windows-1252", ["--csv-delimiter", ";", "--csv-encoding", "windows-1252"]),
            (";", "windows-1252", ["--csv-delimiter", "auto", "--csv-encoding", "windows-1252"]),
            ("\t", "utf-8", ["--csv-delimiter", "auto"]),
            ("|", "utf-8", ["--csv-delimiter", "|"]),
        ]
        for delimiter, encoding, options in cases:
            lines = [delimiter.join(f'"{v}"' if delimiter in v or "," in v else v for v in row) for row in rows]
            data = "\r\n".join(lines).encode(encoding)
            csv = path("delimited.csv")
            with open(csv, "wb") as f:
                f.write(data)
            # A new FIFO each time: a writer left blocked by an interrupted earlier run holds
            # the old one, and would add its copy of the data to this run's.
            fifo = path("delimited.fifo")
            if os.path.lexists(fifo):
                os.remove(fifo)
            os.mkfifo(fifo)
            for via in ("file", "pipe", "fifo"):
                with self.subTest(delimiter=delimiter, encoding=encoding, options=options, via=via):
                    out = path("delimited.pdf")
                    source = {"file": csv, "pipe": "-", "fifo": fifo}[via]
                    writer = None
                    if via == "fifo":
                        writer = subprocess.Popen(["sh", "-c", f'cat "{csv}" > "{fifo}"'])
                    result = run("report", "--csv", source, *options, "--classic", "-o", out,
                                 input=data if via == "pipe" else None)
                    if writer:
                        writer.wait(timeout=60)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertEqual(check_pdf(self, out).split(), expected)

    def test_query_without_rows_is_a_valid_empty_report(self):
        out = path("empty.pdf")
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT * FROM orders WHERE 0", "--classic", "-o", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(check_pdf(self, out).split(), ["order_id", "order_date", "customer", "city", "amount", "paid"])


class BadInput(unittest.TestCase):
    def assertFails(self, args, fragment, code=1, out=None):
        result = run(*args)
        self.assertEqual(result.returncode, code, result.stderr)
        lines = result.stderr.decode().strip().splitlines()
        self.assertTrue(lines and lines[0].startswith("marrowlintide: "), result.stderr)
        self.assertIn(fragment, lines[0])
        if out:
            self.assertFalse(os.path.exists(out), "a failed run must leave no file")

    def test_missing_database(self):
        out = path("none.pdf")
        self.assertFails(["report", "--db", path("missing.db"), "--sql", "SELECT 1", "-o", out], "missing.db", out=out)

    def test_bad_sql(self):
        out = path("none.pdf")
        self.assertFails(["report", "--db", SAMPLE_DB, "--sql", "SELEKT 1", "-o", out], "syntax error", out=out)

    def test_ragged_csv(self):
        csv = path("ragged.csv")
        with open(csv, "w") as f:
            f.write("a,b\n1,2\n3\n")
        out = path("ragged.pdf")
        self.assertFails(["report", "--csv", csv, "-o", out], "ragged.csv", out=out)

    def test_unwritable_output(self):
        self.assertFails(["report", "--db", SAMPLE_DB, "--sql", "SELECT 1", "-o", "/nonexistent/dir/x.pdf"],
                         "/nonexistent/dir/x.pdf")

    def test_failed_run_removes_only_what_it_wrote(self):
        # A folder in the output's place cannot be opened: it must survive the failure.
        folder = path("folder.pdf")
        os.makedirs(folder, exist_ok=True)
        self.assertFails(["report", "--db", SAMPLE_DB, "--sql", "SELECT 1", "-o", folder], "folder.pdf")
        self.assertTrue(os.path.isdir(folder))
        # A device that fails every write (a private copy of /dev/full) stays in place.
        if os.geteuid() == 0:
            full = path("full.pdf")
            if not os.path.exists(full):
                os.mknod(full, 0o666 | stat.S_IFCHR, os.makedev(1, 7))
            self.assertFails(["report", "--db", SAMPLE_DB, "--sql", "SELECT * FROM orders", "-o", full], "full.pdf")
            self.assertTrue(stat.S_ISCHR(os.stat(full).st_mode))

    def test_usage_errors(self):
        base = ["report", "--db", SAMPLE_DB, "--sql", "SELECT 1", "-o", path("u.pdf")]
        self.assertFails(base + ["--fields-width", "10,abc"], '"abc" is not a number', code=2, out=path("u.pdf"))
        self.assertFails(base + ["--page-width", "0"], "--page-width must be greater than 0", code=2)
        self.assertFails(base + ["--odd-color", "#12345"], "#RRGGBB", code=2)
        self.assertFails(["report", "--csv", "a.csv", "--db", "x.db", "--sql", "q"], "not both", code=2)
        self.assertFails(["report"], "no source", code=2)
        self.assertFails(["frobnicate"], "unknown command", code=2)

    def test_help_and_version(self):
        self.assertEqual(run("--help").returncode, 0)
        self.assertIn(b"Usage: marrowlintide report", run("--help").stdout)
        self.assertRegex(run("--version").stdout.decode(), r"^marrowlintide \d+\.\d+\.\d+\n$")
        # A full or closed standard output is a failure, said on stderr.
        for option in ("--help", "--version"):
            with open("/dev/full", "wb") as full:
                result = subprocess.run([TOOL, option], stdout=full, stderr=subprocess.PIPE)
            self.assertEqual((result.returncode, result.stderr),
                             (1, b"marrowlintide: cannot write to standard output: No space left on device\n"))
            result = subprocess.run([TOOL, option], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                    preexec_fn=lambda: os.close(1))
            self.assertEqual((result.returncode, result.stderr),
                             (1, b"marrowlintide: cannot write to standard output: Bad file descriptor\n"))


def big_db():
    """A table of 1,000,000 rows, made once."""
    db = path("big.db")
    if not os.path.exists(db):
        con = sqlite3.connect(db)
        con.execute("CREATE TABLE t (id INTEGER, name VARCHAR(20))")
        con.execute("INSERT INTO t WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n LIMIT 1000000)"
                    " SELECT i, 'name ' || i FROM n")
        con.commit()
        con.close()
    return db


def fake_program(name, body):
    """An executable shell script in WORK/bin."""
    folder = path("bin")
    os.makedirs(folder, exist_ok=True)
    script = os.path.join(folder, name)
    with open(script, "w") as f:
        f.write("#!/bin/sh\n" + body + "\n")
    os.chmod(script, 0o755)
    return script


def wait_for(file, seconds=10):
    deadline = time.monotonic() + seconds
    while not os.path.exists(file) and time.monotonic() < deadline:
        time.sleep(0.05)
    return os.path.exists(file)


class AfterExport(unittest.TestCase):
    def test_mail_attaches_the_exact_report(self):
        saved = path("mail.eml")
        sendmail = fake_program("sendmail", f'echo "$@" > "{saved}.args"; cat > "{saved}"')
        out = path("mailed.pdf")
        env = dict(os.environ, MARROWLINTIDE_SENDMAIL=sendmail)
        result = run("report", "--db", SAMPLE_DB, "--sql", "SELECT * FROM orders", "-o", out, "--quiet",
                     "--mail-to", "boss@example.com", "--mail-subject", "Orders", env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(saved, "rb") as f:
            message = email.message_from_bytes(f.read())
        self.assertEqual(message["To"], "boss@example.com")
        self.assertEqual(message["Subject"], "Orders")
        attachments = [part for part in message.walk() if part.get_filename()]
        self.assertEqual(len(attachments), 1)
        with open(out, "rb") as f:
            self.assertEqual(attachments[0].get_payload(decode=True), f.read())
        with open(saved + ".args") as f:
            self.assertEqual(f.read().split(), ["-t", "-i"])

    def test_open_after_cancel_opens_the_partial_report(self):
        opened = path("opened.txt")
        if os.path.exists(opened):
            os.remove(opened)
        fake_program("xdg-open", f'echo "$1" > "{opened}.part"; mv "{opened}.part" "{opened}"')
        out = path("opened.pdf")
        env = dict(os.environ, PATH=path("bin") + os.pathsep + os.environ["PATH"])
        proc = subprocess.Popen([TOOL, "report", "--db", big_db(), "--sql", "SELECT * FROM t", "-o", out, "--open"],
                                stderr=subprocess.PIPE, env=env)
        time.sleep(0.2)
        proc.send_signal(signal.SIGINT)
        _, err = proc.communicate(timeout=60)
        self.assertEqual(proc.returncode, 130, err)
        self.assertTrue(wait_for(opened), "xdg-open was not started")
        with open(opened) as f:
            self.assertEqual(os.path.realpath(f.read().strip()), os.path.realpath(out))
        check_pdf(self, out)


class Cancel(unittest.TestCase):
    def test_ctrl_c_leaves_a_complete_report(self):
        db = big_db()
        out = path("canceled.pdf")
        proc = subprocess.Popen([TOOL, "report", "--db", db, "--sql", "SELECT * FROM t", "-o", out],
                                stderr=subprocess.PIPE)
        time.sleep(0.2)
        proc.send_signal(signal.SIGINT)
        _, err = proc.communicate(timeout=60)
        self.assertEqual(proc.returncode, 130, err)
        written = re.search(rb"canceled; the report holds the (\d+) records", err)
        self.assertTrue(written, err)
        self.assertLess(int(written.group(1)), 1000000)
        text = check_pdf(self, out)
        self.assertIn("name 1", text)



class OutputFile(unittest.TestCase):
    """A report file is complete or absent: each run writes a temporary file beside it."""

    def folder(self, name):
        folder = path(name)
        if os.path.isdir(folder):
            for entry in os.listdir(folder):
                os.remove(os.path.join(folder, entry))
        os.makedirs(folder, exist_ok=True)
        return folder

    def test_concurrent_runs_to_one_name_each_write_a_complete_file(self):
        out = os.path.join(self.folder("concurrent"), "same.pdf")
        runs = [subprocess.Popen([TOOL, "report", "--db", SAMPLE_DB, "--sql", f"SELECT {k} AS run, * FROM orders",
                                  "-o", out], stderr=subprocess.PIPE) for k in range(8)]
        for proc in runs:
            _, err = proc.communicate(timeout=120)
            self.assertEqual(proc.returncode, 0, err)
        self.assertEqual(os.listdir(os.path.dirname(out)), ["same.pdf"])
        self.assertEqual(check_pdf(self, out).count("startxref"), 0)
        with open(out, "rb") as f:
            self.assertEqual(f.read().count(b"startxref"), 1)

    def test_failed_or_killed_run_leaves_the_previous_report(self):
        ragged = path("ragged2.csv")
        with open(ragged, "w") as f:
            f.write("a,b\n" + "1,2\n" * 5000 + "3\n")
        slow = ["report", "--db", big_db(), "--sql", "SELECT * FROM t"]
        # The second row never comes (it counts 10^12 pairs): the canceled run waits for it
        # until the second Ctrl-C.
        stuck = ["report", "--db", big_db(), "--sql",
                 "WITH x(i) AS (VALUES (1), (2)) SELECT (SELECT count(*) FROM t, t AS u WHERE x.i = 2) AS n FROM x"]
        cases = [("failure", ["report", "--csv", ragged], []),
                 ("SIGTERM", slow, [signal.SIGTERM]),
                 ("SIGHUP", slow, [signal.SIGHUP]),
                 ("second Ctrl-C", stuck, [signal.SIGINT, signal.SIGINT])]
        for name, args, signals in cases:
            with self.subTest(name):
                out = os.path.join(self.folder("previous"), "report.pdf")
                with open(out, "wb") as f:
                    f.write(b"the previous report")
                proc = subprocess.Popen([TOOL, *args, "-o", out], stderr=subprocess.PIPE)
                for sig in signals:
                    time.sleep(0.3)
                    proc.send_signal(sig)
                _, err = proc.communicate(timeout=60)
                self.assertEqual(proc.returncode, -signals[-1] if signals else 1, err)
                self.assertEqual(os.listdir(os.path.dirname(out)), ["report.pdf"])
                with open(out, "rb") as f:
                    self.assertEqual(f.read(), b"the previous report")

    def test_ctrl_c_interrupts_a_slow_query(self):
        out = path("slow.pdf")
        proc = subprocess.Popen([TOOL, "report", "--db", SAMPLE_DB, "-o", out, "--sql",
                                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n LIMIT 1000000000)"
                                 " SELECT max(i) FROM n"], stderr=subprocess.PIPE)
        time.sleep(0.3)
        proc.send_signal(signal.SIGINT)
        _, err = proc.communicate(timeout=10)
        self.assertEqual(proc.returncode, 130, err)
        self.assertIn(b"canceled before the first record", err)
        self.assertFalse(os.path.exists(out))



class Database(unittest.TestCase):
    def test_locked_database_waits_one_busy_timeout(self):
        db = path("locked.db")
        if os.path.exists(db):
            os.remove(db)
        con = sqlite3.connect(db, isolation_level=None)
        con.execute("CREATE TABLE t (a)")
        con.execute("BEGIN EXCLUSIVE")
        con.execute("INSERT INTO t VALUES (1)")
        started = time.monotonic()
        result = run("report", "--db", db, "--sql", "SELECT * FROM t", "-o", path("locked.pdf"))
        waited = time.monotonic() - started
        con.close()
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(b"database is locked", result.stderr)
        self.assertLess(waited, 9, "the busy timeout is 5 s")

    def test_wal_database_in_a_folder_the_reader_cannot_write(self):
        folder = path("wal")
        os.makedirs(folder, exist_ok=True)
        db = os.path.join(folder, "w.db")
        if not os.path.exists(db):
            con = sqlite3.connect(db)
            con.execute("PRAGMA journal_mode=WAL")
            con.execute("CREATE TABLE t (a VARCHAR(10))")
            con.execute("INSERT INTO t VALUES ('walrow')")
            con.commit()
            con.close()
        os.chmod(folder, 0o555)
        out = path("wal.pdf")
        # root may write anywhere: the run then takes the identity of nobody.
        become_nobody = (lambda: (os.setgroups([]), os.setgid(65534), os.setuid(65534))) if os.geteuid() == 0 else None
        for name in (WORK, path("")):
            os.chmod(name, os.stat(name).st_mode | 0o755)
        result = subprocess.run([TOOL, "report", "--db", db, "--sql", "SELECT * FROM t", "-o", "-"],
                                capture_output=True, preexec_fn=become_nobody)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(folder)), ["w.db"])
        with open(out, "wb") as f:
            f.write(result.stdout)
        self.assertIn("walrow", check_pdf(self, out))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=[sys.argv[0], "-v"])
