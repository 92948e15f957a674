"""A throwaway PostgreSQL 15 cluster for tests and benchmarks: made in a temporary folder,
reached over a Unix socket only (no TCP), with one user "marrow" and a password. As root,
the server runs as the user nobody. stop() ends it and removes the folder; call it in a
finally block."""
import os
import shutil
import subprocess
import tempfile

PG_BIN = "/usr/lib/postgresql/15/bin"
# psqlODBC options: booleans as BIT, no log files in /tmp.
PG_OPTIONS = "BoolsAsChar=0;CommLog=0;Debug=0"


class PostgresServer:
    def __init__(self, password):
        self.password = password
        self.dir = tempfile.mkdtemp(prefix="mlt-pg-")
        self.as_user = []
        if os.geteuid() == 0:
            shutil.chown(self.dir, "nobody", "nogroup")
            self.as_user = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        try:
            pwfile = os.path.join(self.dir, "pw")
            with open(pwfile, "w") as f:
                f.write(password + "\n")
            if self.as_user:
                shutil.chown(pwfile, "nobody", "nogroup")
            self.pg("initdb", "-D", self.data, "-U", "marrow", "--pwfile", pwfile, "-A", "scram-sha-256",
                    "-E", "UTF8", "--locale=C.UTF-8", "--no-sync")
            os.remove(pwfile)
            self.pg("pg_ctl", "-D", self.data, "-l", os.path.join(self.dir, "log"), "-w", "-o",
                    f"-k {self.dir} -c listen_addresses= -c fsync=off -c full_page_writes=off", "start")
        except BaseException:
            self.stop()
            raise
        self.connection = (f"Driver=PostgreSQL Unicode;Servername={self.dir};Database=postgres;"
                           f"UID=marrow;{PG_OPTIONS}")

    @property
    def data(self):
        return os.path.join(self.dir, "data")

    def pg(self, program, *args):
        subprocess.run([*self.as_user, os.path.join(PG_BIN, program), *args], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=120)

    def psql_command(self, *args):
        return ["psql", "-X", "-q", "-h", self.dir, "-U", "marrow", "-d", "postgres", *args]

    def environment(self):
        return dict(os.environ, PGPASSWORD=self.password)

    def psql(self, *args, **kwargs):
        return subprocess.run(self.psql_command("-v", "ON_ERROR_STOP=1", *args), env=self.environment(),
                              check=True, **kwargs)

    def stop(self):
        if os.path.exists(self.data):
            subprocess.run([*self.as_user, os.path.join(PG_BIN, "pg_ctl"), "-D", self.data, "-m", "immediate",
                            "stop"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.dir, ignore_errors=True)
