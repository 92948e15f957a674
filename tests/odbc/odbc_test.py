#!/usr/bin/env python3
"""The command against real databases through ODBC: a PostgreSQL 15 server of its own
(started in a temporary folder as an unprivileged user, Unix socket only, stopped at the
end whatever happens) through psqlODBC, and SQLite through its ODBC driver.

Usage: odbc_test.py MARROWLINTIDE WORKDIR
"""
import os
import signal
import sqlite3
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from postgres_server import PostgresServer  # noqa: E402

TOOL, WORK = sys.argv[1], sys.argv[2]
PASSWORD = "s3cret-Pässword"


def run(args, env=None, **kwargs):
    # The classic layout: these tests count its rows a page and compare its bytes.
    return subprocess.run([TOOL, "report", "--classic", *args, "--quiet"], capture_output=True, timeout=120,
                          env=dict(os.environ, **(env or {})), **kwargs)


def text_of(test, pdf, *pages):
    """The text of a checked PDF (of its pages from .. to, when given), as words."""
    qpdf = subprocess.run(["qpdf", "--check", pdf], capture_output=True, text=True)
    test.assertEqual(qpdf.returncode, 0, qpdf.stdout[-2000:] + qpdf.stderr[-2000:])
    pick = ["-f", str(pages[0]), "-l", str(pages[1])] if pages else []
    text = subprocess.run(["pdftotext", "-layout", *pick, pdf, "-"], capture_output=True, text=True, check=True).stdout
    return text.split()


def path(name):
    return os.path.join(WORK, name)


SERVER = None

# Each mapped type: the column's SQL type, a value, and how the report shows it. The
# second row of every column is NULL, which shows as an empty cell.
TYPES = [
    ("char(5)", "'ab'", "ab"),
    ("varchar(12)", "'Zürich Ærø'", "Zürich Ærø"),
    ("text", "repeat('long ', 3) || 'é'", "long long long é"),
    ("smallint", "-32768", "-32768"),
    ("integer", "2147483647", "2147483647"),
    ("bigint", "-9000000000", "-9000000000"),
    ("numeric(12,2)", "1234567.89", "1234567.89"),
    ("numeric(5,0)", "-42", "-42"),
    ("numeric", "3.14159", "3.1416"),
    ("real", "1.5", "1.5"),
    ("double precision", "-0.125", "-0.125"),
    ("boolean", "true", "True"),
    ("date", "'1850-01-02'", "1/2/1850"),
    ("time", "'23:59:58'", "11:59:58 PM"),
    ("timestamp", "'2024-02-29 13:45:10'", "2/29/2024 1:45:10 PM"),
    ("bytea", "'\\x414243'", "ABC"),
]


class PostgresReports(unittest.TestCase):
    def report(self, sql, out, *extra, pages=()):
        result = run(["--odbc", SERVER.connection, "--sql", sql, "-o", out, *extra],
                     env={"MARROWLINTIDE_ODBC_PASSWORD": PASSWORD})
        self.assertEqual(result.returncode, 0, result.stderr)
        return text_of(self, out, *pages)

    def test_every_mapped_type_and_null(self):
        for sql_type, value, shown in TYPES:
            with self.subTest(sql_type):
                sql = f"SELECT v FROM (VALUES (CAST({value} AS {sql_type})), (NULL)) AS x(v)"
                words = self.report(sql, path("type.pdf"), "--layout", "tabular", "--fields-width", "40")
                self.assertEqual(words, ["v", *shown.split(), "v"])

    def test_hundred_thousand_rows_and_no_rows(self):
        sql = ("SELECT g AS id, 'name ' || g AS name, g * 0.25 AS amount FROM generate_series(1, 100000) AS g"
               " ORDER BY g")
        # 42 rows a page: the captions and 41 records, then 42 records a page.
        words = self.report(sql, path("big.pdf"), "--fields-width", "8,12,8", pages=(2381, 2381))
        self.assertEqual(words[-4:], ["100000", "name", "100000", "25000"])
        empty = self.report("SELECT 1 AS one, 'x' AS two WHERE false", path("none.pdf"))
        self.assertEqual(empty, ["one", "two"])

    def test_ctrl_c_cancels_a_slow_query(self):
        out = path("slow.pdf")
        proc = subprocess.Popen([TOOL, "report", "--odbc", SERVER.connection, "--sql", "SELECT pg_sleep(30) AS s",
                                 "-o", out], stderr=subprocess.PIPE,
                                env=dict(os.environ, MARROWLINTIDE_ODBC_PASSWORD=PASSWORD))
        time.sleep(1)
        started = time.monotonic()
        proc.send_signal(signal.SIGINT)
        _, err = proc.communicate(timeout=60)
        self.assertLess(time.monotonic() - started, 5, err)
        self.assertEqual(proc.returncode, 130, err)
        self.assertIn(b"canceled before the first record", err)
        self.assertFalse(os.path.exists(out))

    def test_psql_pipe(self):
        out = path("piped.pdf")
        psql = subprocess.Popen(SERVER.psql_command("--csv", "-c", "SELECT g AS n, 'Genève ' || g AS city"
                                                    " FROM generate_series(1, 3) AS g"),
                                stdout=subprocess.PIPE, env=SERVER.environment())
        result = run(["--csv", "-", "-o", out], stdin=psql.stdout)
        psql.wait()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(text_of(self, out), ["n", "city", "1", "Genève", "1", "2", "Genève", "2", "3",
                                                      "Genève", "3"])

    def test_bad_input(self):
        lost = ("SELECT g, CASE WHEN g = 5000 THEN pg_terminate_backend(pg_backend_pid()) END"
                " FROM generate_series(1, 10000) AS g")
        env = {"MARROWLINTIDE_ODBC_PASSWORD": PASSWORD}
        cases = [
            ("unreachable server", ["--odbc", SERVER.connection.replace(SERVER.dir, "/nonexistent"), "--sql",
                                    "SELECT 1"], env, "No such file or directory"),
            ("wrong password", ["--odbc", SERVER.connection, "--sql", "SELECT 1"],
             {"MARROWLINTIDE_ODBC_PASSWORD": "wrong-" + PASSWORD}, "password authentication failed"),
            ("password in the string", ["--odbc", SERVER.connection + ";PWD=wrong-" + PASSWORD, "--sql", "SELECT 1"],
             {}, "password authentication failed"),
            ("missing driver", ["--odbc", "Driver=No Such Driver;Database=x", "--sql", "SELECT 1"], env, "No Such"),
            ("missing DSN", ["--dsn", "nosuchdsn", "--sql", "SELECT 1"], env, "not installed"),
            ("bad SQL", ["--odbc", SERVER.connection, "--sql", "SELEKT 1"], env, "syntax error"),
            ("connection lost", ["--odbc", SERVER.connection + ";UseDeclareFetch=1;Fetch=100", "--sql", lost], env,
             "the connection to the database was lost"),
        ]
        for name, args, case_env, fragment in cases:
            with self.subTest(name):
                out = path("bad.pdf")
                result = run([*args, "-o", out], env=case_env)
                err = result.stderr.decode()
                self.assertEqual(result.returncode, 1, err)
                self.assertEqual(len(err.splitlines()), 1, err)
                self.assertTrue(err.startswith("marrowlintide: "), err)
                self.assertIn(fragment, err)
                self.assertNotIn(PASSWORD, err)
                self.assertFalse(os.path.exists(out), "a failed run must leave no file")


class SqliteThroughOdbc(unittest.TestCase):
    def test_same_report_as_the_sqlite_source(self):
        db = path("same.db")
        if os.path.exists(db):
            os.remove(db)
        con = sqlite3.connect(db)
        con.execute("CREATE TABLE t (id INTEGER, name VARCHAR(20), amount DOUBLE, day DATE, moment TIMESTAMP,"
                    " at TIME, paid BOOLEAN, small SMALLINT, big BIGINT)")
        con.executemany("INSERT INTO t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", [
            (1, "Zürich", 2.25, "2024-02-29", "2024-02-29 13:45:10", "08:30:00", 1, 7, 9000000000),
            (None,) * 9,
            (-5, "Ærø", -0.1, "1850-01-02", "1850-01-02 06:00:00", "23:59:59", 0, -7, -1),
        ] + [(i, f"name {i}", i / 4, "2000-01-01", "2000-01-01 00:00:01", "00:00:00", i % 2, i % 100, i * 1000)
             for i in range(2000)])
        con.commit()
        con.close()
        reports = []
        for source in (["--db", db], ["--odbc", f"Driver=SQLite3;Database={db}"]):
            out = path("same.pdf")
            result = run([*source, "--sql", "SELECT * FROM t", "-o", out])
            self.assertEqual(result.returncode, 0, result.stderr)
            text_of(self, out)
            with open(out, "rb") as f:
                reports.append([line for line in f.read().split(b"\r\n") if not line.startswith(b"/CreationDate")])
        self.assertEqual(reports[0], reports[1])


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    # A run stopped with SIGTERM still stops its server (unittest lets KeyboardInterrupt through).
    def interrupt(*_):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, interrupt)
    SERVER = PostgresServer(PASSWORD)
    try:
        SERVER.psql("-c", "SELECT 1", stdout=subprocess.DEVNULL)
        code = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result.wasSuccessful()
    finally:
        SERVER.stop()
    sys.exit(0 if code else 1)
