#!/usr/bin/env python3
"""The real-mail tree of Kelpo/tests/realmail_tree_test.py through the
desktop program's real window: the tree is built here, the window test
(quillrun_test, RealmailTreeTest) adds its folder as a row, checks
"フォルダ構成を保って保存", counts and runs it over the real Corvex.dll, and
the files it wrote are judged here as the console tool's are.

    realmail_tree_window.py --wine W --test quillrun_test.exe --corpus DIR --work DIR
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Kelpo", "tests"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from realmail_tree_test import build, verify  # noqa: E402
from realmail_test import read_corpus  # noqa: E402
from testrun import (Checks, corpus_folder, fresh_folder, program_arguments,  # noqa: E402
                     run_program, windows_path)


def main():
    options = program_arguments("--test", corpus=True, windows=True, description=__doc__).parse_args()
    corpus = corpus_folder(options.corpus)
    if corpus is None:
        return 1
    work = fresh_folder(options.work)
    root, out = os.path.join(work, "mail"), os.path.join(work, "out")
    tree = build(root, read_corpus(corpus))
    total = sum(len(v) for v in tree.expected.values())
    env = dict(os.environ, QUILLBOX_TREE=windows_path(root), QUILLBOX_TREE_OUT=windows_path(out),
               QUILLBOX_TREE_MESSAGES=str(total))
    status, out_bytes, err_bytes = run_program(
        [options.wine, options.test, "--gtest_filter=RealmailTreeTest.*"], env=env, timeout=600)
    said = (out_bytes + err_bytes).decode("utf-8", errors="replace")
    check = Checks()

    check(status == 0 and "[  PASSED  ] 1 test" in said,
          "the window counted %d messages and ran the tree (exit %d)%s"
          % (total, status, "" if status == 0 else "\n" + said[-3000:]))
    verify(tree, out, check)
    return check.exit_status("the real-mail tree through the window")


if __name__ == "__main__":
    sys.exit(main())
