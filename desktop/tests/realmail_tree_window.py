#!/usr/bin/env python3
"""The real-mail tree of Kelpo/tests/realmail_tree_test.py through the
desktop program's real window: the tree is built here, the window test
(quillrun_test, RealmailTreeTest) adds its folder as a row, checks
"フォルダ構成を保って保存", counts and runs it over the real Corvex.dll, and
the files it wrote are judged here as the console tool's are.

    realmail_tree_window.py --wine-run W --test quillrun_test.exe --corpus DIR --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "Kelpo", "tests"))
from realmail_tree_test import build, verify  # noqa: E402
from realmail_test import read_corpus  # noqa: E402


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--test", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    root, out = os.path.join(work, "mail"), os.path.join(work, "out")
    tree = build(root, read_corpus(os.path.abspath(options.corpus)))
    total = sum(len(v) for v in tree.expected.values())
    env = dict(os.environ, QUILLBOX_TREE=windows_path(root), QUILLBOX_TREE_OUT=windows_path(out),
               QUILLBOX_TREE_MESSAGES=str(total))
    with open(os.path.join(work, "test.log"), "wb") as log:
        status = subprocess.run([options.wine_run, options.test, "--gtest_filter=RealmailTreeTest.*"],
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, env=env,
                                timeout=600).returncode
    with open(os.path.join(work, "test.log"), "rb") as log:
        said = log.read().decode("utf-8", errors="replace")
    failures = []

    def check(ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            failures.append(what)

    check(status == 0 and "[  PASSED  ] 1 test" in said,
          "the window counted %d messages and ran the tree (exit %d)%s"
          % (total, status, "" if status == 0 else "\n" + said[-3000:]))
    verify(tree, out, check)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
