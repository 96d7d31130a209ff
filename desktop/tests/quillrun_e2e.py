#!/usr/bin/env python3
"""End to end: the real Quillrun.exe under Wine on the test display, started
as a user starts it and driven from outside by the driver program through
its windows and the real file-open dialog. Checks what the windows said, the
output files byte for byte and the exit codes, and leaves PNG pictures of
the windows in the screenshots folder."""
import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import bmp2png  # noqa: E402
from testrun import Checks, fresh_folder, program_arguments, run_program, windows_path  # noqa: E402

check = Checks()


def wine(args, wine_run, timeout=300):
    """Runs a Windows program; returns its exit status and its output as text."""
    status, out, _ = run_program([wine_run] + args, timeout=timeout)
    return status, out.decode("cp932", errors="replace").replace("\r\n", "\n")


def drive(driver, wine_run, args):
    status, text = wine([driver] + args, wine_run)
    seen = {}
    for line in text.splitlines():
        key, _, value = line.partition("=")
        if key == "failure":
            check(False, "driver: " + value)
        seen.setdefault(key, value)
    print("   driver %s: exit %d" % (args[0], status))
    return status, seen


def mbox_messages(count):
    lines = []
    for i in range(count):
        lines += ["From sender%d@example.com Mon Dec  7 10:00:00 2026" % i,
                  "Return-Path: <sender%d@example.com>" % i,
                  "Received: from mail.example.com by mx.example.com",
                  "Message-ID: <%d@example.com>" % i,
                  "Date: Mon, 7 Dec 2026 10:00:00 +0900",
                  "From: sender%d@example.com" % i,
                  "To: user@example.com",
                  "Subject: message %d" % i,
                  "MIME-Version: 1.0",
                  "Content-Type: text/plain; charset=us-ascii",
                  "", "Body of message %d." % i, ""]
    return ("\n".join(lines)).encode("ascii")


def main():
    parser = program_arguments("--driver", "--program", windows=True, description=__doc__)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()

    args.work = fresh_folder(args.work)
    os.makedirs(args.screenshots, exist_ok=True)
    pictures = windows_path(args.screenshots)

    # A count and a run of an mbox file through the windows.
    mail = os.path.join(args.work, "mailbox.mbox")
    shutil.copy(os.path.join(args.samples, "mailbox.mbox"), mail)
    out = os.path.join(args.work, "out")
    status, seen = drive(args.driver, args.wine,
                         ["extract", windows_path(args.program), windows_path(mail),
                          windows_path(out), "2", pictures])
    check(status == 0, "the extraction was driven to its end")
    check(seen.get("row-name") == "mailbox.mbox", "the row is named mailbox.mbox (%r)" % seen.get("row-name"))
    check(seen.get("row-count") == "3", "the row counts 3 messages (%r)" % seen.get("row-count"))
    check(seen.get("row-folder") == windows_path(args.work),
          "the row's folder is the file's (%r)" % seen.get("row-folder"))
    check(seen.get("about-caption") == "Quillbox について",
          "Alt+A opened the About box (%r)" % seen.get("about-caption"))
    check(seen.get("about-main-enabled") == "no", "the About box is modal")
    check(seen.get("about-closed") == "yes", "Enter closed the About box")
    check(seen.get("box-caption") == "情報", "the closing box is information (%r)" % seen.get("box-caption"))
    check(seen.get("box-text") == "抽出処理が終了しました。",
          "the closing box says the run finished (%r)" % seen.get("box-text"))
    check(seen.get("exit-code") == "0", "the program ended with 0 when closed")
    expected = os.path.join(args.samples, "expected", "mbox")
    names = sorted(os.listdir(expected))
    got = sorted(os.listdir(out)) if os.path.isdir(out) else []
    check(got == names, "the output folder holds %s (%s)" % (names, got))
    for name in names:
        if name in got:
            with open(os.path.join(out, name), "rb") as a, open(os.path.join(expected, name), "rb") as b:
                check(a.read() == b.read(), name + " equals the expected bytes")
    # Each file is dated as its message's Date field (the sample's, in UTC).
    dates = {"00001.eml": 1041812100, "00002.eml": 1041933725, "00003.eml": 1042202710}
    for name, when in sorted(dates.items()):
        if name in got:
            mtime = int(os.stat(os.path.join(out, name)).st_mtime)
            check(mtime == when, "%s is dated %d as its message (%d)" % (name, when, mtime))

    # A platform that is too old: the refusal, no window, exit code 0.
    key = "HKCU\\Software\\Wine\\AppDefaults\\Quillrun.exe"
    wine(["reg", "add", key, "/v", "Version", "/d", "nt351", "/f"], args.wine)
    try:
        status, seen = drive(args.driver, args.wine,
                             ["refused", windows_path(args.program), pictures])
    finally:
        wine(["reg", "delete", key, "/f"], args.wine)
    check(status == 0, "the refusal was driven to its end")
    check(seen.get("box-caption") == "エラー", "the refusal is an error (%r)" % seen.get("box-caption"))
    check(seen.get("box-text") == "実行にはWindows 95以降またはWindows NT 4.0以降が必要です。",
          "the refusal names the versions (%r)" % seen.get("box-text"))
    check(seen.get("main-window") == "no", "no main window was shown")
    check(seen.get("exit-code") == "0", "the refused program ended with 0")

    # Closing the window while the library extracts: the process still ends,
    # after the call in progress has written every message.
    big = os.path.join(args.work, "big.mbox")
    with open(big, "wb") as f:
        f.write(mbox_messages(3000))
    big_out = os.path.join(args.work, "big-out")
    status, seen = drive(args.driver, args.wine,
                         ["close-while-busy", windows_path(args.program), windows_path(big),
                          windows_path(big_out)])
    check(status == 0, "the close during a run was driven to its end")
    check(seen.get("exit-code") == "0", "the program ended with 0 (%r)" % seen.get("exit-code"))
    written = len(os.listdir(big_out)) if os.path.isdir(big_out) else 0
    check(written == 3000, "the call in progress wrote all 3000 messages (%d)" % written)

    bmps = [os.path.join(args.screenshots, n) for n in os.listdir(args.screenshots) if n.endswith(".bmp")]
    bmp2png.main(bmps)
    for name in ("main-idle", "main-after-count", "about", "run-finished", "refused"):
        check(os.path.isfile(os.path.join(args.screenshots, name + ".png")), "picture " + name + ".png")

    return check.exit_status("quillrun end to end")


if __name__ == "__main__":
    sys.exit(main())
