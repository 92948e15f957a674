#!/usr/bin/env python3
"""Keeps the manual page and the bash completion in step with `marrowlintide --help`.

Usage: docs_test.py MARROWLINTIDE MANPAGE COMPLETION
The options are read from --help when the test runs, so an option added to the command
but not to the manual page or the completion fails here.
"""
import re
import subprocess
import sys
import unittest

TOOL, MANPAGE, COMPLETION = sys.argv[1:4]
OPTION = re.compile(r"(?<![\w-])(--?[A-Za-z][\w-]*)")


def help_options():
    text = subprocess.run([TOOL, "--help"], capture_output=True, text=True, check=True).stdout
    return set(OPTION.findall(text)) | {"--help", "--version"}


def completion_words(*words):
    """What the completion offers after `marrowlintide WORDS...`, the last word being typed."""
    script = f"""
source {COMPLETION!r}
COMP_WORDS=(marrowlintide {" ".join(repr(w) for w in words)})
COMP_CWORD={len(words)}
_marrowlintide
printf '%s\\n' "${{COMPREPLY[@]}}"
"""
    run = subprocess.run(["bash", "-c", script], capture_output=True, text=True, check=True)
    return set(run.stdout.split()), run.stderr


class Docs(unittest.TestCase):
    def test_manual_page_describes_every_option(self):
        with open(MANPAGE, encoding="utf-8") as f:
            source = f.read()
        text = re.sub(r"\\f[BIRP]", "", source).replace("\\-", "-")
        missing = sorted(o for o in help_options() if not re.search(rf"(?<![\w-]){re.escape(o)}(?![\w-])", text))
        self.assertEqual(missing, [], "options of --help that the manual page lacks")
        # Every option the page describes is one the command still has.
        described = set(OPTION.findall("\n".join(re.findall(r"^\.(?:B|BI|BR) (.*)$", text, re.M))))
        self.assertEqual(sorted(described - help_options() - {"-h"}), [], "options described but gone from --help")

    def test_manual_page_formats_without_warnings(self):
        run = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", MANPAGE], capture_output=True, text=True)
        self.assertEqual((run.returncode, run.stderr), (0, ""))

    def test_completion_offers_every_option_and_values(self):
        offered, errors = completion_words("report", "-")
        self.assertEqual(errors, "")
        self.assertEqual(sorted(help_options() - offered - {"--version"}), [], "options the completion lacks")
        self.assertEqual(sorted(offered - help_options() - {"-h"}), [], "completion offers options --help lacks")
        self.assertEqual(completion_words("")[0], {"report", "--help", "--version"})
        self.assertEqual(completion_words("report", "--page-size", "a")[0], {"a4"})
        self.assertEqual(completion_words("report", "--sql", "-")[0], set())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
