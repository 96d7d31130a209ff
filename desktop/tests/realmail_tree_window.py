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
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Kelpo", "tests"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from realmail_tree_test import build, verify  # noqa: E402
from realmail_test import read_corpus  # noqa: E402
from testrun import Checks, run_program, windows_path  # noqa: E402


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
    status, out_bytes, err_bytes = run_program(
        [options.wine_run, options.test, "--gtest_filter=RealmailTreeTest.*"], env=env, timeout=600)
    said = (out_bytes + err_bytes).decode("utf-8", errors="replace")
    check = Checks()

    check(status == 0 and "[  PASSED  ] 1 test" in said,
          "the window counted %d messages and ran the tree (exit %d)%s"
          % (total, status, "" if status == 0 else "\n" + said[-3000:]))
    verify(tree, out, check)
    return check.exit_status("the real-mail tree through the window")


if __name__ == "__main__":
    sys.exit(main())
