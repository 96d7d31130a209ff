"""What the test scripts share: a program of the build run natively or under
Wine with its output caught in files, a path of this machine as a Windows
program names it, and the record of checks that prints each one."""
import argparse
import os
import shutil
import subprocess
import tempfile


def windows_path(path):
    """A path of this machine as a program under Wine names it (drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def program_arguments(*programs, corpus=False, windows=False, description=None):
    """The options of a test of built programs: each program named (such as
    "--program"), the real-mail corpus when asked for, the work folder, and
    --wine, the build's wine-run script when the programs are Windows ones
    (required when the test runs only Windows programs). Returns the parser,
    for options of the test's own."""
    parser = argparse.ArgumentParser(description=description)
    for name in programs:
        parser.add_argument(name, required=True)
    if corpus:
        parser.add_argument("--corpus", required=True, help="the real-mail corpus (../shared/realmail)")
    parser.add_argument("--work", required=True, help="a folder for the test's files, emptied first")
    parser.add_argument("--wine", required=windows,
                        help="the build's wine-run script: the programs are Windows ones")
    return parser


def fresh_folder(path):
    """path, made empty; its absolute form."""
    path = os.path.abspath(path)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def corpus_folder(path):
    """The real-mail corpus at path, absolute; None (and said why) when it is not there."""
    path = os.path.abspath(path)
    if not os.path.isfile(os.path.join(path, "MANIFEST.tsv")):
        print("FAIL: the real-mail corpus is not at %s (it stands beside the checkout, "
              "as ../shared/realmail)" % path)
        return None
    return path


def run_program(command, env=None, cwd=None, timeout=300):
    """Runs command (a list of str or bytes) with no input; returns its exit
    status, standard output and standard error as bytes. The output goes
    through files, not pipes: Wine's helper processes inherit the handles and
    would hold a pipe open long after the program ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                env=env, cwd=cwd, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read(), err.read()


class Checks:
    """Each check printed as it is made ("ok" or "FAIL" and what it checks),
    the failed ones kept for the summary."""

    def __init__(self):
        self.failures = []
        self.made = 0

    def __call__(self, ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        self.made += 1
        if not ok:
            self.failures.append(what)
        return ok

    def exit_status(self, title):
        """Prints how many failed; 1 when any did, else 0."""
        print("%s: %d failed" % (title, len(self.failures)))
        return 1 if self.failures else 0
